// Win32: ties a dialog window to the C++ object that handles its messages. The object's pointer
// arrives with WM_INITDIALOG (as the dialog's init parameter, or inside the property-sheet page
// description) and is kept in the window's user data.
#pragma once

#include <windows.h>

#include <prsht.h>

#include <string>

// Handler must offer `void OnInitDialog(HWND)`, which takes WM_INITDIALOG (the focus goes to the
// default control), and `INT_PTR OnMessage(HWND, UINT, WPARAM, LPARAM)` for the messages after it;
// messages before WM_INITDIALOG get the default answer.
template <typename Handler>
INT_PTR CALLBACK DialogProcFor(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        ::SetWindowLongPtrA(hWnd, DWLP_USER, lParam);
        reinterpret_cast<Handler*>(lParam)->OnInitDialog(hWnd);
        return TRUE;
    }
    auto* handler = reinterpret_cast<Handler*>(::GetWindowLongPtrA(hWnd, DWLP_USER));
    return handler != nullptr ? handler->OnMessage(hWnd, message, wParam, lParam) : FALSE;
}

// A property page's handler offers `void OnSetActive(HWND)` and `void OnApply(HWND)`; both answer
// that there is no error, so the sheet may always close. Other notifications get the default. A
// handler may also take the page's commands with `void OnCommand(HWND, WPARAM)`.
template <typename Page>
INT_PTR CALLBACK PageProcFor(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG)
        ::SetWindowLongPtrA(hWnd, DWLP_USER, reinterpret_cast<PROPSHEETPAGEA*>(lParam)->lParam);
    auto* page = reinterpret_cast<Page*>(::GetWindowLongPtrA(hWnd, DWLP_USER));
    if (page == nullptr)
        return FALSE;
    if constexpr (requires { page->OnCommand(hWnd, WPARAM{}); }) {
        if (message == WM_COMMAND) {
            page->OnCommand(hWnd, wParam);
            return TRUE;
        }
    }
    if (message != WM_NOTIFY)
        return FALSE;
    switch (reinterpret_cast<NMHDR*>(lParam)->code) {
    case PSN_SETACTIVE:
        page->OnSetActive(hWnd);
        ::SetWindowLongPtrA(hWnd, DWLP_MSGRESULT, 0);
        return TRUE;
    case PSN_APPLY:
        page->OnApply(hWnd);
        ::SetWindowLongPtrA(hWnd, DWLP_MSGRESULT, PSNRET_NOERROR);
        return TRUE;
    default:
        return FALSE;
    }
}

// The description of a page from this program's dialog template, handled by the given object.
template <typename Page> PROPSHEETPAGEA DescribePage(Page* page, int templateId) {
    PROPSHEETPAGEA description{};
    description.dwSize = sizeof(description);
    description.hInstance = ::GetModuleHandleA(nullptr);
    description.pszTemplate = MAKEINTRESOURCEA(templateId);
    description.pfnDlgProc = &PageProcFor<Page>;
    description.lParam = reinterpret_cast<LPARAM>(page);
    return description;
}

// Centres a dialog on its owner, or on the screen's work area when it has none.
void CenterDialog(HWND dialog);

// The full text of a control.
std::string ControlText(HWND dialog, int controlId);

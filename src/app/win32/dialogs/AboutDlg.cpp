// Win32: AboutDlg, the About box on a white background.
#include "AboutDlg.h"

#include "DialogBinding.h"
#include "Kolvane.h"
#include "TextBuffer.h"
#include "VersionLine.h"
#include "WinHandles.h"
#include "resource.h"

#include <vector>

namespace {

// The day this file was compiled, as "Mon DD YYYY" (a blank before a one-digit day).
constexpr char kBuildDate[] = __DATE__;

constexpr COLORREF kBackground = RGB(0xFF, 0xFF, 0xFF);

class AboutDlg {
public:
    void OnInitDialog(HWND hWnd);
    INT_PTR OnMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

private:

    HWND m_hWnd = nullptr;
    BrushHandle m_background;
};

// The product version from the version resource of the given file; empty when there is none.
std::string VersionLineOf(const std::string& path) {
    DWORD handle = 0;
    const DWORD size = ::GetFileVersionInfoSizeA(path.c_str(), &handle);
    if (size == 0)
        return {};
    std::vector<char> data(size);
    if (!::GetFileVersionInfoA(path.c_str(), 0, size, data.data()))
        return {};
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    if (!::VerQueryValueA(data.data(), "\\", reinterpret_cast<void**>(&info), &length) ||
        info == nullptr || length < sizeof(VS_FIXEDFILEINFO))
        return {};
    return FormatVersionLine(info->dwProductVersionMS, info->dwProductVersionLS, kBuildDate);
}

INT_PTR AboutDlg::OnMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_CTLCOLORDLG:
        return reinterpret_cast<INT_PTR>(m_background.get());
    case WM_CTLCOLORSTATIC:
        ::SetBkMode(reinterpret_cast<HDC>(wParam), TRANSPARENT);
        return reinterpret_cast<INT_PTR>(m_background.get());
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE)
            ::PostMessageA(hWnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, 0), 0);
        return FALSE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL && HIWORD(wParam) == 0) {
            ::EndDialog(hWnd, IDCANCEL);
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

void AboutDlg::OnInitDialog(HWND hWnd) {
    m_hWnd = hWnd;
    CenterDialog(m_hWnd);
    ::SetDlgItemTextA(m_hWnd, IDC_WARNING, "");

    TextBuffer modulePath;
    KOLVANE_ASSERT(GetModuleFileName(NULL, modulePath.GetBufferSetLength(_MAX_PATH), _MAX_PATH));
    const std::string line = VersionLineOf(modulePath.ReleaseBuffer());
    if (!line.empty())
        ::SetDlgItemTextA(m_hWnd, IDC_VERSION, line.c_str());

    m_background.reset(::CreateSolidBrush(kBackground));
}

} // namespace

void ShowAboutDialog(HWND owner) {
    AboutDlg dialog;
    ::DialogBoxParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_ABOUT), owner,
                      &DialogProcFor<AboutDlg>, reinterpret_cast<LPARAM>(&dialog));
}

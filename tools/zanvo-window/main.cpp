// Win32: zanvo-window, a console tool that drives the running tray program through window
// messages: menu commands to its hidden main window, and reading, typing and pressing in its
// dialogs and message boxes (found by their title).
//
//   zanvo-window app-command ID          post a menu command to the main window
//   zanvo-window app-notify MOUSEMSG     post a tray-icon mouse event (e.g. 515, a double-click)
//   zanvo-window app-exists              exit 0 when the main window exists
//   zanvo-window wait TITLE [SECONDS]    wait for a dialog with that title, print its handle
//   zanvo-window count TITLE             print how many dialogs have that title
//   zanvo-window text TITLE ID           print a control's text
//   zanvo-window texts TITLE             print every control's id and text, one per line
//   zanvo-window set-text TITLE ID TEXT  replace a control's text
//   zanvo-window press TITLE ID          click a button (radio buttons check themselves)
//   zanvo-window checked TITLE ID        print 1 when a check or radio button is checked, else 0
//   zanvo-window command TITLE ID        post a command to the dialog (returns at once)
//   zanvo-window rect TITLE [ID]         print the screen rectangle of the dialog or of a control:
//                                        LEFT TOP RIGHT BOTTOM
//   zanvo-window page INDEX              show a page of the settings property sheet
//   zanvo-window list                    list visible top-level windows: handle, class, title
//   zanvo-window tray-remove             take the main window's icon out of the notification
//                                        area, as a restarting shell loses it
//   zanvo-window taskbar-created         broadcast "TaskbarCreated", as the shell does on start
//   zanvo-window tray-click MOUSEMSG     post a mouse event (e.g. 516, right button down) to the
//                                        icon in Wine's stand-alone tray, which passes it on
//   zanvo-window menu-keys VK...         press keys (virtual-key codes, e.g. 38 up, 13 return) in
//                                        the pop-up menu, waiting up to 10 s for it to open
//
// TITLE matches dialogs only; a title ending in "#sheet" matches the property sheet of that
// title, without it the sheet is skipped. Commands joined by "+" run one after the other in this
// process, the next as soon as the last is done (e.g. a menu command queued while the program is
// still busy with a press). Exit codes: 0 done, 1 not found, 2 usage.
#include <windows.h>

#include <commctrl.h>
#include <prsht.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr char kMainWindowClass[] = "ZanvoMainApplication";
constexpr char kSheetSuffix[] = "#sheet";
constexpr UINT kTrayCallbackMessage = 1190;
constexpr UINT kTrayIconId = 887;
// The stand-alone tray that Wine's X11 driver shows when the display has no tray of its own, and
// the window it gives each icon.
constexpr char kTrayWindowClass[] = "__winex11_standalone_tray";
constexpr char kTrayIconClass[] = "__winex11_tray_icon";
constexpr char kPopupMenuClass[] = "#32768";
constexpr UINT kAnswerTimeoutMs = 5000;

enum Exit { exOk = 0, exNotFound = 1, exUsage = 2 };

struct Search {
    std::string title;
    bool sheet;
    HWND found;
    int count;
};

bool IsSheet(HWND hWnd) {
    return ::FindWindowExA(hWnd, nullptr, WC_TABCONTROLA, nullptr) != nullptr;
}

BOOL CALLBACK MatchDialog(HWND hWnd, LPARAM lParam) {
    auto* search = reinterpret_cast<Search*>(lParam);
    char cls[64] = {};
    char title[256] = {};
    ::GetClassNameA(hWnd, cls, sizeof(cls));
    ::GetWindowTextA(hWnd, title, sizeof(title));
    if (::IsWindowVisible(hWnd) && std::string(cls) == "#32770" && search->title == title &&
        IsSheet(hWnd) == search->sheet) {
        ++search->count;
        if (search->found == nullptr)
            search->found = hWnd;
    }
    return TRUE;
}

Search FindDialog(std::string title) {
    Search search{title, false, nullptr, 0};
    const std::size_t suffix = sizeof(kSheetSuffix) - 1;
    if (title.size() > suffix && title.compare(title.size() - suffix, suffix, kSheetSuffix) == 0) {
        search.title = title.substr(0, title.size() - suffix);
        search.sheet = true;
    }
    ::EnumWindows(&MatchDialog, reinterpret_cast<LPARAM>(&search));
    return search;
}

struct ControlSearch {
    int id;
    HWND found;
};

// Prefers a visible control: the sheet keeps its hidden pages as children too.
BOOL CALLBACK MatchControl(HWND hWnd, LPARAM lParam) {
    auto* search = reinterpret_cast<ControlSearch*>(lParam);
    if (::GetDlgCtrlID(hWnd) == search->id && (search->found == nullptr || ::IsWindowVisible(hWnd)))
        search->found = hWnd;
    return TRUE;
}

HWND FindControl(const std::string& title, const char* id) {
    const Search dialog = FindDialog(title);
    if (dialog.found == nullptr)
        return nullptr;
    ControlSearch search{std::atoi(id), nullptr};
    ::EnumChildWindows(dialog.found, &MatchControl, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

LRESULT Send(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    DWORD_PTR result = 0;
    ::SendMessageTimeoutA(hWnd, message, wParam, lParam, SMTO_ABORTIFHUNG, kAnswerTimeoutMs,
                          &result);
    return static_cast<LRESULT>(result);
}

std::string TextOf(HWND hWnd) {
    const LRESULT length = Send(hWnd, WM_GETTEXTLENGTH, 0, 0);
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    const LRESULT copied =
        Send(hWnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(copied));
    return text;
}

int PostToMain(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND main = ::FindWindowA(kMainWindowClass, nullptr);
    if (main == nullptr)
        return exNotFound;
    return ::PostMessageA(main, message, wParam, lParam) ? exOk : exNotFound;
}

int WaitForDialog(const std::string& title, int seconds) {
    for (int waited = 0; waited <= seconds * 10; ++waited) {
        const Search search = FindDialog(title);
        if (search.found != nullptr) {
            std::printf("%p\n", static_cast<void*>(search.found));
            return exOk;
        }
        ::Sleep(100);
    }
    return exNotFound;
}

BOOL CALLBACK PrintControl(HWND hWnd, LPARAM) {
    std::printf("%d\t%s\n", ::GetDlgCtrlID(hWnd), TextOf(hWnd).c_str());
    return TRUE;
}

BOOL CALLBACK ListWindow(HWND hWnd, LPARAM) {
    if (!::IsWindowVisible(hWnd))
        return TRUE;
    char cls[64] = {};
    char title[256] = {};
    ::GetClassNameA(hWnd, cls, sizeof(cls));
    ::GetWindowTextA(hWnd, title, sizeof(title));
    std::printf("%p\t%s\t%s\n", static_cast<void*>(hWnd), cls, title);
    return TRUE;
}

int PrintRect(HWND hWnd) {
    RECT rc{};
    ::GetWindowRect(hWnd, &rc);
    std::printf("%ld %ld %ld %ld\n", rc.left, rc.top, rc.right, rc.bottom);
    return exOk;
}

int RemoveTrayIcon() {
    HWND main = ::FindWindowA(kMainWindowClass, nullptr);
    if (main == nullptr)
        return exNotFound;
    NOTIFYICONDATAA nid{};
    nid.cbSize = sizeof(nid);
    nid.hWnd = main;
    nid.uID = kTrayIconId;
    return ::Shell_NotifyIconA(NIM_DELETE, &nid) ? exOk : exNotFound;
}

int ClickTrayIcon(UINT mouseMessage) {
    HWND tray = ::FindWindowA(kTrayWindowClass, nullptr);
    HWND icon = tray ? ::FindWindowExA(tray, nullptr, kTrayIconClass, nullptr) : nullptr;
    if (icon == nullptr)
        return exNotFound;
    return ::PostMessageA(icon, mouseMessage, 0, 0) ? exOk : exNotFound;
}

int PressMenuKeys(char** keys, int count) {
    HWND menu = nullptr;
    for (int waited = 0; waited <= 100; ++waited) {
        menu = ::FindWindowA(kPopupMenuClass, nullptr);
        if (menu != nullptr && ::IsWindowVisible(menu))
            break;
        menu = nullptr;
        ::Sleep(100);
    }
    if (menu == nullptr)
        return exNotFound;
    for (int i = 0; i < count; ++i) {
        const auto key = static_cast<WPARAM>(std::atoi(keys[i]));
        ::PostMessageA(menu, WM_KEYDOWN, key, 1);
        ::PostMessageA(menu, WM_KEYUP, key, 1 | (1u << 30) | (1u << 31));
    }
    return exOk;
}

int Usage() {
    std::fputs("usage: zanvo-window COMMAND [ARGS]; see the top of tools/zanvo-window/main.cpp\n",
               stderr);
    return exUsage;
}

// One command: argv[1] and its operands, up to argc.
int Run(int argc, char** argv) {
    if (argc < 2)
        return Usage();
    const std::string command = argv[1];
    const int operands = argc - 2;

    if (command == "app-command" && operands == 1)
        return PostToMain(WM_COMMAND, static_cast<WPARAM>(std::atoi(argv[2])), 0);
    if (command == "app-notify" && operands == 1)
        return PostToMain(kTrayCallbackMessage, 0, static_cast<LPARAM>(std::atoi(argv[2])));
    if (command == "app-exists" && operands == 0)
        return ::FindWindowA(kMainWindowClass, nullptr) != nullptr ? exOk : exNotFound;
    if (command == "wait" && (operands == 1 || operands == 2))
        return WaitForDialog(argv[2], operands == 2 ? std::atoi(argv[3]) : 10);
    if (command == "count" && operands == 1) {
        std::printf("%d\n", FindDialog(argv[2]).count);
        return exOk;
    }
    if (command == "tray-remove" && operands == 0)
        return RemoveTrayIcon();
    if (command == "taskbar-created" && operands == 0)
        return ::PostMessageA(HWND_BROADCAST, ::RegisterWindowMessageA("TaskbarCreated"), 0, 0)
                   ? exOk
                   : exNotFound;
    if (command == "tray-click" && operands == 1)
        return ClickTrayIcon(static_cast<UINT>(std::atoi(argv[2])));
    if (command == "menu-keys" && operands >= 1)
        return PressMenuKeys(argv + 2, operands);
    if (command == "list" && operands == 0) {
        ::EnumWindows(&ListWindow, 0);
        return exOk;
    }
    if (command == "texts" && operands == 1) {
        const Search dialog = FindDialog(argv[2]);
        if (dialog.found == nullptr)
            return exNotFound;
        ::EnumChildWindows(dialog.found, &PrintControl, 0);
        return exOk;
    }
    if (command == "rect" && operands == 1) {
        const Search dialog = FindDialog(argv[2]);
        if (dialog.found == nullptr)
            return exNotFound;
        return PrintRect(dialog.found);
    }
    if (command == "page" && operands == 1) {
        const Search sheet = FindDialog(std::string("Zanvo Settings") + kSheetSuffix);
        if (sheet.found == nullptr)
            return exNotFound;
        Send(sheet.found, PSM_SETCURSEL, static_cast<WPARAM>(std::atoi(argv[2])), 0);
        return exOk;
    }
    if (command == "command" && operands == 2) {
        const Search dialog = FindDialog(argv[2]);
        if (dialog.found == nullptr)
            return exNotFound;
        const int id = std::atoi(argv[3]);
        HWND control = ::GetDlgItem(dialog.found, id);
        return ::PostMessageA(dialog.found, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                              reinterpret_cast<LPARAM>(control))
                   ? exOk
                   : exNotFound;
    }

    if (operands < 2)
        return Usage();
    HWND control = FindControl(argv[2], argv[3]);
    if (control == nullptr)
        return exNotFound;
    if (command == "text" && operands == 2) {
        std::printf("%s\n", TextOf(control).c_str());
        return exOk;
    }
    if (command == "set-text" && operands == 3) {
        Send(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[4]));
        return exOk;
    }
    if (command == "press" && operands == 2) {
        Send(control, BM_CLICK, 0, 0);
        return exOk;
    }
    if (command == "checked" && operands == 2) {
        std::printf("%d\n", Send(control, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0);
        return exOk;
    }
    if (command == "rect" && operands == 2)
        return PrintRect(control);
    return Usage();
}

} // namespace

int main(int argc, char** argv) {
    // Each command gets the program name before its words, as Run expects.
    int start = 0;
    for (int i = 1; i <= argc; ++i) {
        if (i < argc && std::string(argv[i]) != "+")
            continue;
        argv[start] = argv[0];
        const int result = Run(i - start, argv + start);
        if (result != exOk)
            return result;
        start = i;
    }
    return exOk;
}

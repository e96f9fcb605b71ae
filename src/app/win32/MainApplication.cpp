// Win32: MainApplication, the hidden main window, its tray icon and tray menu.
#include "MainApplication.h"

#include "AboutDlg.h"
#include "ApplicationSettings.h"
#include "ConnectionTexts.h"
#include "DataListeners.h"
#include "DataSupplier.h"
#include "DdeServer.h"
#include "Kolvane.h"
#include "MessageQueue.h"
#include "RtdService.h"
#include "SettingsDlg.h"
#include "TextBuffer.h"
#include "WinHandles.h"
#include "resource.h"

#include <windows.h>

#include <shellapi.h>

#include <array>
#include <cstdio>
#include <cstring>

namespace {

constexpr UINT kTrayIconId = 887;
constexpr UINT kTrayCallbackMessage = 1190;
constexpr UINT_PTR kIconTimerId = 2;
constexpr UINT kIconTimerPeriodMs = 50;
constexpr char kCaption[] = "Orbalis Zanvo";
constexpr char kTooltip[] = "Zanvo";
constexpr char kHelpFileName[] = "Zanvo.pdf";
// Broadcast by the shell when it starts, for example after a crash: every icon is to be added
// again.
constexpr char kTaskbarCreatedMessage[] = "TaskbarCreated";

// The owner of one object, deleted with it; m_p is what the rest of the program is handed.
template <typename T> class AutoPtr {
public:
    AutoPtr() = default;
    ~AutoPtr() { Free(); }
    AutoPtr(const AutoPtr&) = delete;
    AutoPtr& operator=(const AutoPtr&) = delete;

    void Attach(T* p) {
        Free();
        m_p = p;
    }
    void Free() {
        delete m_p;
        m_p = nullptr;
    }
    T* operator->() const { return m_p; }

    T* m_p = nullptr;
};

// Tray icons, indexed by the composite connection state (0: none known).
enum TrayIconIndex { tiDefault, tiDisconnected, tiConnecting, tiConnected, kTrayIconCount };

void ShowError(const char* text) {
    ::MessageBoxA(nullptr, text, kCaption, MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
}

class MainApplication {
public:
    MainApplication() = default;
    // The DDE server goes before the supplier it holds a pointer to.
    ~MainApplication() {
        m_ddeServer.Free();
        m_dataSupplier.Free();
        if (m_hWnd != nullptr && ::IsWindow(m_hWnd))
            ::DestroyWindow(m_hWnd);
    }
    MainApplication(const MainApplication&) = delete;
    MainApplication& operator=(const MainApplication&) = delete;

    bool Create();

private:
    static LRESULT CALLBACK WindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);

    int OnCreate();
    void OnTrayNotify(LPARAM mouseMessage);
    void ShowTrayMenu();
    void UpdateTrayIcon();
    NOTIFYICONDATAA StateIconData() const;
    void OnTaskbarCreated();
    void OnDestroy();
    void OnExit();
    void OnHelp();
    void OnSettings();
    void OnAbout();
    BOOL IsWindow() const { return ::IsWindow(m_hWnd); }
    NOTIFYICONDATAA TrayIconData(HICON icon) const;

    HWND m_hWnd = nullptr;
    AutoPtr<DdeServer> m_ddeServer;
    AutoPtr<DataSupplier> m_dataSupplier;
    // The supplier's listener: the DDE server and the real-time data objects.
    DataListeners m_listeners;
    ApplicationSettings m_settings;
    std::array<IconHandle, kTrayIconCount> m_icons;
    bool m_trayIconAdded = false;
    UINT m_taskbarCreated = 0;
};

MainApplication s_mainApplication;

bool MainApplication::Create() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = &MainApplication::WindowProc;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = kMainWindowClass;
    if (::RegisterClassA(&wc) == 0)
        return false;
    return ::CreateWindowExA(0, kMainWindowClass, nullptr, 0, 0, 0, 0, 0, nullptr, nullptr,
                             wc.hInstance, this) != nullptr;
}

LRESULT CALLBACK MainApplication::WindowProc(HWND hWnd, UINT message, WPARAM wParam,
                                             LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* app =
            static_cast<MainApplication*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        app->m_hWnd = hWnd;
        ::SetWindowLongPtrA(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(app));
    }
    auto* app = reinterpret_cast<MainApplication*>(::GetWindowLongPtrA(hWnd, GWLP_USERDATA));
    if (app == nullptr)
        return ::DefWindowProcA(hWnd, message, wParam, lParam);
    const LRESULT result = app->OnMessage(message, wParam, lParam);
    if (message == WM_NCDESTROY)
        app->m_hWnd = nullptr;
    return result;
}

LRESULT MainApplication::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == m_taskbarCreated && message != 0) {
        OnTaskbarCreated();
        return 0;
    }
    switch (message) {
    case WM_CREATE:
        return OnCreate();
    case kTrayCallbackMessage:
        OnTrayNotify(lParam);
        return 0;
    case WM_TIMER:
        if (wParam == kIconTimerId)
            UpdateTrayIcon();
        return 0;
    case WM_DESTROY:
        OnDestroy();
        return 0;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case ID_APP_EXIT:
            OnExit();
            return 0;
        case ID_APP_HELP:
            OnHelp();
            return 0;
        case ID_APP_SETTINGS:
            OnSettings();
            return 0;
        case ID_APP_ABOUT:
            OnAbout();
            return 0;
        }
        break;
    }
    return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

NOTIFYICONDATAA MainApplication::TrayIconData(HICON icon) const {
    NOTIFYICONDATAA nid{};
    nid.cbSize = sizeof(nid);
    nid.hWnd = m_hWnd;
    nid.uID = kTrayIconId;
    nid.uFlags = NIF_ICON;
    nid.hIcon = icon;
    return nid;
}

int MainApplication::OnCreate() {
    KOLVANE_ASSERT(!m_dataSupplier.m_p);
    KOLVANE_ASSERT(!m_ddeServer.m_p);

    if (!m_settings.Load(m_settings.ZanvoIniPath(), m_settings.TarvexIniPath())) {
        ShowError("Unable to load Application Settings");
        return -1;
    }

    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    IconHandle icoDef(::LoadIconA(instance, MAKEINTRESOURCEA(IDI_TRAY_DEFAULT)));
    KOLVANE_ASSERT(icoDef);
    IconHandle icoDisconnect(::LoadIconA(instance, MAKEINTRESOURCEA(IDI_TRAY_DISCONNECTED)));
    KOLVANE_ASSERT(icoDisconnect);
    IconHandle icoConnecting(::LoadIconA(instance, MAKEINTRESOURCEA(IDI_TRAY_CONNECTING)));
    KOLVANE_ASSERT(icoConnecting);
    IconHandle icoConnected(::LoadIconA(instance, MAKEINTRESOURCEA(IDI_TRAY_CONNECTED)));
    KOLVANE_ASSERT(icoConnected);

    NOTIFYICONDATAA nid = TrayIconData(icoDef.get());
    nid.uFlags |= NIF_MESSAGE;
    nid.uCallbackMessage = kTrayCallbackMessage;
    if (!::Shell_NotifyIconA(NIM_ADD, &nid)) {
        // The four icons are destroyed as their owners go out of scope.
        ShowError("Unable to start. Internal Error. Please reinstall Orbalis Zanvo");
        return -1;
    }

    m_icons[tiDefault] = std::move(icoDef);
    m_icons[tiDisconnected] = std::move(icoDisconnect);
    m_icons[tiConnecting] = std::move(icoConnecting);
    m_icons[tiConnected] = std::move(icoConnected);
    m_trayIconAdded = true;
    m_taskbarCreated = ::RegisterWindowMessageA(kTaskbarCreatedMessage);

    m_dataSupplier.Attach(new DataSupplier());
    m_ddeServer.Attach(new DdeServer(PlatformDdeApi(), PlatformMessageQueue(), m_dataSupplier.m_p,
                                     [this] { return ToConnectionSettings(m_settings); }));
    m_listeners.Add(m_ddeServer.m_p);
    m_dataSupplier->SetDataListener(&m_listeners);

    ::SetTimer(m_hWnd, kIconTimerId, kIconTimerPeriodMs, nullptr);

    if (!m_ddeServer->Start()) {
        ShowError("Unable to start DDE Server");
        return -1;
    }
    StartRtdService(m_dataSupplier.m_p, &m_listeners);
    return 0;
}

// The icon of the composite connection state, with the tooltip.
NOTIFYICONDATAA MainApplication::StateIconData() const {
    int index = tiDefault;
    if (m_dataSupplier.m_p) {
        const int state = m_dataSupplier->GetCompositeState();
        if (state > tiDefault && state < kTrayIconCount)
            index = state;
    }
    NOTIFYICONDATAA nid = TrayIconData(m_icons[index].get());
    nid.uFlags |= NIF_TIP;
    std::strncpy(nid.szTip, kTooltip, sizeof(nid.szTip) - 1);
    return nid;
}

void MainApplication::UpdateTrayIcon() {
    NOTIFYICONDATAA nid = StateIconData();
    KOLVANE_ASSERT(::Shell_NotifyIcon(NIM_MODIFY, &nid));
}

// The shell has started again and lost the icon. A failed add (a shell that still holds the icon
// refuses a second one) is left to the next tick, whose modification reports when the icon is not
// there.
void MainApplication::OnTaskbarCreated() {
    if (!m_trayIconAdded)
        return;
    NOTIFYICONDATAA nid = StateIconData();
    nid.uFlags |= NIF_MESSAGE;
    nid.uCallbackMessage = kTrayCallbackMessage;
    ::Shell_NotifyIconA(NIM_ADD, &nid);
}

void MainApplication::OnTrayNotify(LPARAM mouseMessage) {
    switch (static_cast<UINT>(mouseMessage)) {
    case WM_LBUTTONDBLCLK:
        ::SendMessageA(m_hWnd, WM_COMMAND, ID_APP_SETTINGS, 0);
        break;
    case WM_RBUTTONDOWN:
        ShowTrayMenu();
        break;
    default:
        break;
    }
}

void MainApplication::ShowTrayMenu() {
    MenuHandle menu(::CreatePopupMenu());
    if (!menu)
        return;
    ::AppendMenuA(menu.get(), MF_STRING, ID_APP_ABOUT, "About...");
    ::AppendMenuA(menu.get(), MF_STRING, ID_APP_HELP, "Help...");
    ::AppendMenuA(menu.get(), MF_SEPARATOR, 0, nullptr);
    ::AppendMenuA(menu.get(), MF_STRING, ID_APP_SETTINGS, "Settings...");
    ::AppendMenuA(menu.get(), MF_SEPARATOR, 0, nullptr);
    ::AppendMenuA(menu.get(), MF_STRING, ID_APP_EXIT, "Exit");

    MENUITEMINFOA item{};
    item.cbSize = sizeof(item);
    item.fMask = MIIM_STATE;
    item.fState = MFS_DEFAULT;
    ::SetMenuItemInfoA(menu.get(), ID_APP_SETTINGS, FALSE, &item);

    POINT pt{};
    ::GetCursorPos(&pt);
    if (::MonitorFromPoint(pt, MONITOR_DEFAULTTONULL) == nullptr) {
        MONITORINFO info{};
        info.cbSize = sizeof(info);
        if (::GetMonitorInfoA(::MonitorFromPoint(pt, MONITOR_DEFAULTTONEAREST), &info)) {
            if (pt.x < info.rcWork.left)
                pt.x = info.rcWork.left;
            if (pt.x > info.rcWork.right)
                pt.x = info.rcWork.right;
        }
    }

    ::SetForegroundWindow(m_hWnd);
    ::TrackPopupMenu(menu.get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON, pt.x, pt.y, 0,
                     m_hWnd, nullptr);
}

void MainApplication::OnSettings() {
    // The real-time data cells let go of their subscriptions while the DDE server makes its
    // items anew (and reconnects the supplier), then subscribe again.
    const Resubscribe resubscribe = [this](bool reconnect) {
        StopRtdSubscriptions();
        m_ddeServer->ReconnectAndResubscribe(reconnect);
        StartRtdSubscriptions();
    };
    OpenSettingsDialog(resubscribe, m_settings, *m_dataSupplier.m_p);
}

void MainApplication::OnAbout() {
    ShowAboutDialog(::GetActiveWindow());
}

void MainApplication::OnHelp() {
    TextBuffer helpFile;
    KOLVANE_ASSERT(GetModuleFileName(NULL, helpFile.GetBufferSetLength(_MAX_PATH + 1), _MAX_PATH));
    std::string path = helpFile.ReleaseBuffer();
    path.erase(path.rfind('\\') + 1);
    path += kHelpFileName;

    if (::GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
        char text[_MAX_PATH + 32];
        std::snprintf(text, sizeof(text), "%s not found", path.c_str());
        ShowError(text);
        return;
    }
    ::ShellExecuteA(m_hWnd, "open", path.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void MainApplication::OnExit() {
    StopRtdService();
    KOLVANE_ASSERT(m_ddeServer->Stop());
    ::DestroyWindow(m_hWnd);
}

void MainApplication::OnDestroy() {
    KOLVANE_ASSERT(IsWindow());
    ::KillTimer(m_hWnd, kIconTimerId);
    if (m_trayIconAdded) {
        NOTIFYICONDATAA nid = TrayIconData(nullptr);
        nid.uFlags = 0;
        KOLVANE_ASSERT(::Shell_NotifyIcon(NIM_DELETE, &nid));
        m_trayIconAdded = false;
        for (IconHandle& icon : m_icons)
            icon.reset();
    }
    ::PostQuitMessage(0);
}

} // namespace

bool CreateMainApplicationWindow() {
    return s_mainApplication.Create();
}

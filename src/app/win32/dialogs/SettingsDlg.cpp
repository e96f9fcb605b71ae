// Win32: SettingsDlg, the settings dialog with its feed-state rows.
#include "SettingsDlg.h"

#include "ApplicationSettings.h"
#include "ConnectionPage.h"
#include "ConnectionTexts.h"
#include "DataSupplier.h"
#include "DateTimePage.h"
#include "DialogBinding.h"
#include "Kolvane.h"
#include "WinHandles.h"
#include "resource.h"

#include "mondrel/Mondrel.h"

#include <array>
#include <memory>
#include <utility>

namespace {

constexpr UINT_PTR kFeedTimerId = 2;
constexpr UINT kFeedTimerPeriodMs = 50;
constexpr char kSheetCaption[] = "Zanvo Settings";

struct FeedRow {
    FeedId feed;
    int iconControl;
    int textControl;
};

// In the order the rows are refreshed.
constexpr FeedRow kFeedRows[] = {
    {fiDataManager, IDC_DATAMANAGER_ICON, IDC_DATAMANAGER_TEXT},
    {fiHistory, IDC_HISTORY_ICON, IDC_HISTORY_TEXT},
    {fiInternationalTick, IDC_INTLTICK_ICON, IDC_INTLTICK_TEXT},
    {fiDomesticTick, IDC_DOMTICK_ICON, IDC_DOMTICK_TEXT},
};

// State icons: disconnected (also for an unknown feed), retrying, connected.
constexpr int kStateIconIds[] = {IDI_STATE_DISCONNECTED, IDI_STATE_RETRYING, IDI_STATE_CONNECTED};

class SettingsDlg {
public:
    explicit SettingsDlg(Resubscribe resubscribe) : m_resubscribe(std::move(resubscribe)) {}

    HWND Window() const { return m_hWnd; }
    void DoModal(HWND owner, ApplicationSettings& settings, DataSupplier& supplier);

    void OnInitDialog(HWND hWnd);
    INT_PTR OnMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

private:
    void OnTimer(UINT_PTR id);
    void UpdateFeedStates();
    void OnBnClickedAppSettings();

    HWND m_hWnd = nullptr;
    Resubscribe m_resubscribe;
    std::array<IconHandle, 3> m_icons;
    ApplicationSettings* m_settings = nullptr;
    DataSupplier* m_supplier = nullptr;
};

void SettingsDlg::DoModal(HWND owner, ApplicationSettings& settings, DataSupplier& supplier) {
    m_settings = &settings;
    m_supplier = &supplier;
    ::DialogBoxParamA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_SETTINGS), owner,
                      &DialogProcFor<SettingsDlg>, reinterpret_cast<LPARAM>(this));
}

INT_PTR SettingsDlg::OnMessage(HWND hWnd, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_TIMER:
        OnTimer(wParam);
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_APP_SETTINGS && HIWORD(wParam) == BN_CLICKED) {
            OnBnClickedAppSettings();
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            ::EndDialog(hWnd, IDCANCEL);
            return TRUE;
        }
        return FALSE;
    case WM_NCDESTROY:
        m_hWnd = nullptr;
        return FALSE;
    default:
        return FALSE;
    }
}

void SettingsDlg::OnInitDialog(HWND hWnd) {
    m_hWnd = hWnd;
    HINSTANCE instance = ::GetModuleHandleA(nullptr);
    std::array<IconHandle, 3> loaded;
    for (std::size_t i = 0; i < loaded.size(); ++i) {
        loaded[i].reset(static_cast<HICON>(::LoadImageA(
            instance, MAKEINTRESOURCEA(kStateIconIds[i]), IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR)));
        // Without all three the rows keep their first contents and nothing refreshes them.
        if (!loaded[i])
            return;
    }
    m_icons = std::move(loaded);
    CenterDialog(m_hWnd);
    ::SetTimer(m_hWnd, kFeedTimerId, kFeedTimerPeriodMs, nullptr);
}

void SettingsDlg::OnTimer(UINT_PTR id) {
    if (id == kFeedTimerId)
        UpdateFeedStates();
    else
        KOLVANE_ASSERT(!"Unknown timer");
}

void SettingsDlg::UpdateFeedStates() {
    for (const FeedRow& row : kFeedRows) {
        const FeedInfo& info = m_supplier->GetFeedInfo(row.feed);
        std::size_t icon = 0;
        switch (static_cast<int>(info.state)) {
        case 0:
        case fsDisconnected:
            icon = 0;
            break;
        case fsRetrying:
            icon = 1;
            break;
        case fsConnected:
            icon = 2;
            break;
        default:
            KOLVANE_ASSERT(!"Unsupported state");
            break;
        }
        ::SendDlgItemMessageA(m_hWnd, row.iconControl, STM_SETICON,
                              reinterpret_cast<WPARAM>(m_icons[icon].get()), 0);
        ::SetDlgItemTextA(m_hWnd, row.textControl, info.errorText.c_str());
    }
}

void SettingsDlg::OnBnClickedAppSettings() {
    ApplicationSettings& record = *m_settings;
    ConnectionPage connection(ToConnectionSettings(record));
    DateTimePage dateTime(record.timeZoneMode);
    PROPSHEETPAGEA pages[] = {connection.Page(), dateTime.Page()};

    PROPSHEETHEADERA sheet{};
    sheet.dwSize = sizeof(sheet);
    sheet.dwFlags = PSH_PROPSHEETPAGE | PSH_NOAPPLYNOW;
    sheet.hwndParent = ::GetActiveWindow();
    sheet.hInstance = ::GetModuleHandleA(nullptr);
    sheet.pszCaption = kSheetCaption;
    sheet.nPages = 2;
    sheet.ppsp = pages;
    // 0 is Cancel, -1 a sheet that could not be shown.
    if (::PropertySheetA(&sheet) <= 0)
        return;

    if (connection.Changed()) {
        SetConnectionTexts(record, connection.Texts());
        KOLVANE_ASSERT_TEXT(record.Save(record.ZanvoIniPath()), "settings.Save()");
        m_resubscribe(true);
    }
    if (dateTime.Changed()) {
        record.timeZoneMode = dateTime.Mode();
        KOLVANE_ASSERT_TEXT(record.Save(record.ZanvoIniPath()), "settings.Save()");
        // Disconnected, the mode is only saved; the next connection hands it to the library.
        if (Mondrel* dataManager = m_supplier->GetDataManager()) {
            dataManager->SetIntOption(moTimeZoneMode, dateTime.Mode());
            m_resubscribe(false);
        }
    }
}

std::unique_ptr<SettingsDlg> s_settingsDlg;

} // namespace

void OpenSettingsDialog(Resubscribe resubscribe, ApplicationSettings& settings,
                        DataSupplier& supplier) {
    if (!s_settingsDlg)
        s_settingsDlg = std::make_unique<SettingsDlg>(std::move(resubscribe));
    if (HWND open = s_settingsDlg->Window()) {
        ::SetForegroundWindow(open);
        return;
    }
    s_settingsDlg->DoModal(::GetActiveWindow(), settings, supplier);
}

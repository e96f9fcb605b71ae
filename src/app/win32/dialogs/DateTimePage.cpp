// Win32: the "Date/Time Settings" property page.
#include "DateTimePage.h"

#include "DialogBinding.h"
#include "Kolvane.h"
#include "resource.h"

namespace {

// Radio buttons by mode.
constexpr int kModeButtons[] = {IDC_TZ_LOCAL, IDC_TZ_GMT, IDC_TZ_EXCHANGE};
constexpr std::int32_t kModeCount = 3;

} // namespace

PROPSHEETPAGEA DateTimePage::Page() {
    return DescribePage(this, IDD_DATETIME);
}

void DateTimePage::OnSetActive(HWND page) {
    if (m_mode < 0 || m_mode >= kModeCount) {
        KOLVANE_ASSERT(0);
        return;
    }
    for (std::int32_t mode = 0; mode < kModeCount; ++mode)
        ::CheckDlgButton(page, kModeButtons[mode], mode == m_mode ? BST_CHECKED : BST_UNCHECKED);
}

void DateTimePage::OnApply(HWND page) {
    for (std::int32_t mode = 0; mode < kModeCount; ++mode) {
        if (::IsDlgButtonChecked(page, kModeButtons[mode]) == BST_CHECKED) {
            if (mode != m_mode)
                m_changed = true;
            m_mode = mode;
            return;
        }
    }
    KOLVANE_ASSERT(0);
}

// Automatic radio buttons clear their group themselves on Windows; Wine's dialog-group walk can
// miss buttons separated by explanation texts, so the page keeps the three exclusive itself.
void DateTimePage::OnCommand(HWND page, WPARAM command) {
    const int id = LOWORD(command);
    if (HIWORD(command) == BN_CLICKED && id >= IDC_TZ_LOCAL && id <= IDC_TZ_EXCHANGE)
        ::CheckRadioButton(page, IDC_TZ_LOCAL, IDC_TZ_EXCHANGE, id);
}

// Win32: the "Connection" property page.
#include "ConnectionPage.h"

#include "DialogBinding.h"
#include "resource.h"

namespace {

struct Field {
    int controlId;
    std::string ConnectionSettings::*text;
};

constexpr Field kFields[] = {
    {IDC_USERNAME, &ConnectionSettings::userName},
    {IDC_PASSWORD, &ConnectionSettings::password},
    {IDC_QUOTE, &ConnectionSettings::quoteAddress},
    {IDC_HISTORY, &ConnectionSettings::historyAddress},
    {IDC_DOMTICK, &ConnectionSettings::domTickAddress},
    {IDC_INTLTICK, &ConnectionSettings::intlTickAddress},
};

} // namespace

PROPSHEETPAGEA ConnectionPage::Page() {
    return DescribePage(this, IDD_CONNECTION);
}

// The held texts replace whatever was typed before the page was left.
void ConnectionPage::OnSetActive(HWND page) {
    for (const Field& f : kFields)
        ::SetDlgItemTextA(page, f.controlId, (m_texts.*f.text).c_str());
}

void ConnectionPage::OnApply(HWND page) {
    const ConnectionSettings before = m_texts;
    for (const Field& f : kFields)
        m_texts.*f.text = ControlText(page, f.controlId);
    if (ConnectionTextsDiffer(before, m_texts))
        m_changed = true;
}

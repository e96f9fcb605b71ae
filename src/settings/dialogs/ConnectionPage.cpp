// Win32: the "Connection" property page.
#include "ConnectionPage.h"

#include "DialogBinding.h"
#include "resource.h"

namespace {

struct Field {
    int controlId;
    std::string ConnectionTexts::*text;
};

constexpr Field kFields[] = {
    {IDC_USERNAME, &ConnectionTexts::userName},
    {IDC_PASSWORD, &ConnectionTexts::password},
    {IDC_QUOTE, &ConnectionTexts::quoteAddress},
    {IDC_HISTORY, &ConnectionTexts::historyAddress},
    {IDC_DOMTICK, &ConnectionTexts::domTickAddress},
    {IDC_INTLTICK, &ConnectionTexts::intlTickAddress},
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
    const ConnectionTexts before = m_texts;
    for (const Field& f : kFields)
        m_texts.*f.text = ControlText(page, f.controlId);
    if (ConnectionTextsDiffer(before, m_texts))
        m_changed = true;
}

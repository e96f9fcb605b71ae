// Win32: the "Connection" page of the settings property sheet. It edits its own copy of the six
// connection texts and takes the controls' values only when the sheet is confirmed.
#pragma once

#include "ConnectionTexts.h"

#include <windows.h>

#include <prsht.h>

class ConnectionPage {
public:
    explicit ConnectionPage(const ConnectionSettings& texts) : m_texts(texts) {}

    // The page's description for the property sheet; it refers to this object.
    PROPSHEETPAGEA Page();

    // After the sheet has ended: whether a confirmation changed the texts, and the texts.
    bool Changed() const { return m_changed; }
    const ConnectionSettings& Texts() const { return m_texts; }

    // Page notifications: fill the controls from the held values; take the controls' values.
    void OnSetActive(HWND page);
    void OnApply(HWND page);

private:
    // Only the six connection texts are used.
    ConnectionSettings m_texts;
    bool m_changed = false;
};

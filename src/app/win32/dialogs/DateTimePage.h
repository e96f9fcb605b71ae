// Win32: the "Date/Time Settings" page of the settings property sheet: the display time-zone mode
// (0 local, 1 GMT, 2 exchange), taken from the radio buttons when the sheet is confirmed.
#pragma once

#include <windows.h>

#include <prsht.h>

#include <cstdint>

class DateTimePage {
public:
    explicit DateTimePage(std::int32_t mode) : m_mode(mode) {}

    // The page's description for the property sheet; it refers to this object.
    PROPSHEETPAGEA Page();

    bool Changed() const { return m_changed; }
    std::int32_t Mode() const { return m_mode; }

    // Page notifications: fill the controls from the held values; take the controls' values.
    void OnSetActive(HWND page);
    void OnApply(HWND page);
    // A click on a mode's button leaves that button alone checked.
    void OnCommand(HWND page, WPARAM command);

private:
    std::int32_t m_mode;
    bool m_changed = false;
};

// Helpers of the formatting and market-time tests: what was logged and reported, a known locale,
// a display zone.
#pragma once

#include <string>
#include <vector>

// The assertion reports ("Class::Method: expression") since the last call.
std::vector<std::string> TakeAssertions();
// The log lines ("log Class::Method: text"), then the assertion reports ("assert Class::Method:
// expression"), since the last call.
std::vector<std::string> TakeDiagnostics();

// Selects a locale for all categories for the scope; ok() tells whether the runtime has it.
class ScopedLocale {
public:
    explicit ScopedLocale(const std::string& name);
    ~ScopedLocale();
    ScopedLocale(const ScopedLocale&) = delete;
    ScopedLocale& operator=(const ScopedLocale&) = delete;
    bool ok() const { return m_ok; }

private:
    std::string m_previous;
    bool m_ok;
};

// The runtime's names of a locale with a dot and one with a comma as decimal separator.
const char* DotLocaleName();
const char* CommaLocaleName();

// Installs a data manager whose display-zone mode is `mode` (0 local, 1 GMT, 2 exchange) and
// whose exchanges all lie `exchangeOffsetMinutes` from UTC, for the scope.
class ScopedDisplayZone {
public:
    ScopedDisplayZone(int mode, int exchangeOffsetMinutes);
    ~ScopedDisplayZone();
    ScopedDisplayZone(const ScopedDisplayZone&) = delete;
    ScopedDisplayZone& operator=(const ScopedDisplayZone&) = delete;
};

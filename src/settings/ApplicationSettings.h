// The user's connection settings and display time-zone mode, stored in Zanvo.ini beside the
// program. The credentials and the server address fall back to the terminal program's tarvex.ini
// in the Windows folder, which is only ever read.
#pragma once

#include "SettingsFiles.h"

#include <cstdint>
#include <string>

class ApplicationSettings {
public:
    explicit ApplicationSettings(SettingsFiles& files = PlatformSettingsFiles())
        : m_files(&files) {}

    // Fails, changing nothing, when either file is missing; an empty file is enough.
    bool Load(const std::string& zanvoIniPath, const std::string& tarvexIniPath);
    // Writes the six connection texts and the mode; stops at the first write that fails.
    bool Save(const std::string& zanvoIniPath) const;

    // Zanvo.ini beside the program file; empty when the program path has no folder.
    std::string ZanvoIniPath() const;
    // tarvex.ini in the Windows folder; empty when that folder is unknown.
    std::string TarvexIniPath() const;

    std::string userName;
    std::string password;
    std::string quoteAddress;
    std::string historyAddress;
    std::string domTickAddress;
    std::string intlTickAddress;
    std::int32_t timeZoneMode = 2; // 0 local, 1 GMT, 2 exchange
    std::string quoteExchangeList;

private:
    SettingsFiles* m_files;
};

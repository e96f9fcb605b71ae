// The user's connection settings and display time-zone mode, stored in Zanvo.ini beside the
// program. The credentials and the server address fall back to the terminal program's tarvex.ini
// in the Windows folder, which is only ever read.
#pragma once

#include "ConnectionSettings.h"
#include "SettingsFiles.h"

#include <cstdint>
#include <string>

// The connection settings are the record's own: the supplier connects with a copy.
class ApplicationSettings : public ConnectionSettings {
public:
    explicit ApplicationSettings(SettingsFiles& files = PlatformSettingsFiles()) : m_files(&files) {
        timeZoneMode = 2;
    }

    // Fails, changing nothing, when either file is missing; an empty file is enough.
    bool Load(const std::string& zanvoIniPath, const std::string& tarvexIniPath);
    // Writes the six connection texts and the mode; stops at the first write that fails.
    bool Save(const std::string& zanvoIniPath) const;

    // Zanvo.ini beside the program file; empty when the program path has no folder.
    std::string ZanvoIniPath() const;
    // tarvex.ini in the Windows folder; empty when that folder is unknown.
    std::string TarvexIniPath() const;

private:
    SettingsFiles* m_files;
};

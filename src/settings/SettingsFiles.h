// What the settings store needs of the platform: the two folders its ini files live in, and the
// reading and writing of single values in those files. The Win32 build uses the private-profile
// functions (win32/); the native build reads and writes the same format itself (posix/, IniText).
#pragma once

#include <cstdint>
#include <string>

class SettingsFiles {
public:
    virtual ~SettingsFiles() = default;

    // The running program's full path; empty when it cannot be had.
    virtual std::string ProgramPath() = 0;
    // The folder that holds the terminal program's ini file (the Windows folder); empty when
    // unknown.
    virtual std::string WindowsFolder() = 0;
    // The character that separates folders in the two paths above.
    virtual char FolderSeparator() const = 0;

    // True when the file's attributes can be read (a folder counts).
    virtual bool FileExists(const std::string& path) = 0;
    // The trimmed value of section / key, at most MaxTextLength characters; empty when the key,
    // its value or the file is missing.
    virtual std::string ReadText(const std::string& path, const std::string& section,
                                 const std::string& key) = 0;
    // The value of section / key read as an integer; defaultValue when it is missing or empty.
    virtual std::int32_t ReadInteger(const std::string& path, const std::string& section,
                                     const std::string& key, std::int32_t defaultValue) = 0;
    // Sets section / key, creating the key, the section or the file as needed.
    virtual bool WriteText(const std::string& path, const std::string& section,
                           const std::string& key, const std::string& value) = 0;

    // Values are read through a 256-byte buffer.
    static constexpr std::size_t MaxTextLength = 255;
};

// The platform's implementation, living as long as the process.
SettingsFiles& PlatformSettingsFiles();

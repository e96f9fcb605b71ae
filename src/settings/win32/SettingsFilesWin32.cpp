// Win32 side of the settings files: the private-profile functions, GetModuleFileNameA and
// GetWindowsDirectoryA.
#include "../SettingsFiles.h"

#include <windows.h>

namespace {

class Win32SettingsFiles final : public SettingsFiles {
public:
    std::string ProgramPath() override {
        // A path that fills the buffer was cut short: no path rather than a wrong one.
        char path[MAX_PATH + 1] = {};
        const DWORD length = ::GetModuleFileNameA(nullptr, path, sizeof(path));
        return std::string(path, length < sizeof(path) ? length : 0);
    }

    std::string WindowsFolder() override {
        // Too long a folder gives the size it needs, not a path.
        char folder[MAX_PATH + 1] = {};
        const UINT length = ::GetWindowsDirectoryA(folder, sizeof(folder));
        return std::string(folder, length < sizeof(folder) ? length : 0);
    }

    char FolderSeparator() const override { return '\\'; }

    bool FileExists(const std::string& path) override {
        return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
    }

    std::string ReadText(const std::string& path, const std::string& section,
                         const std::string& key) override {
        char value[MaxTextLength + 1] = {};
        const DWORD length = ::GetPrivateProfileStringA(section.c_str(), key.c_str(), "", value,
                                                        sizeof(value), path.c_str());
        return std::string(value, length);
    }

    std::int32_t ReadInteger(const std::string& path, const std::string& section,
                             const std::string& key, std::int32_t defaultValue) override {
        return static_cast<std::int32_t>(
            ::GetPrivateProfileIntA(section.c_str(), key.c_str(), defaultValue, path.c_str()));
    }

    bool WriteText(const std::string& path, const std::string& section, const std::string& key,
                   const std::string& value) override {
        return ::WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(),
                                            path.c_str()) != FALSE;
    }
};

} // namespace

SettingsFiles& PlatformSettingsFiles() {
    static Win32SettingsFiles files;
    return files;
}

// POSIX side of the settings files, for the native build: the ini format is read and written by
// IniText; the program path comes from /proc/self/exe, and the "Windows folder" is the one named
// by ZANVO_WINDOWS_DIR, or the program's own folder when that is unset or empty.
#include "../IniText.h"
#include "../SettingsFiles.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

namespace {

std::optional<std::string> ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class PosixSettingsFiles final : public SettingsFiles {
public:
    std::string ProgramPath() override {
        char path[4096];
        const ssize_t length = ::readlink("/proc/self/exe", path, sizeof(path));
        return length > 0 && static_cast<std::size_t>(length) < sizeof(path)
                   ? std::string(path, static_cast<std::size_t>(length))
                   : std::string();
    }

    std::string WindowsFolder() override {
        if (const char* folder = std::getenv("ZANVO_WINDOWS_DIR"); folder && *folder) {
            return folder;
        }
        const std::string program = ProgramPath();
        return program.substr(0, program.rfind('/') + 1);
    }

    char FolderSeparator() const override { return '/'; }

    bool FileExists(const std::string& path) override {
        std::error_code error;
        return !path.empty() && std::filesystem::exists(path, error);
    }

    std::string ReadText(const std::string& path, const std::string& section,
                         const std::string& key) override {
        const auto text = ReadWholeFile(path);
        return text ? IniText::FindValue(*text, section, key).substr(0, MaxTextLength)
                    : std::string();
    }

    std::int32_t ReadInteger(const std::string& path, const std::string& section,
                             const std::string& key, std::int32_t defaultValue) override {
        return IniText::ParseInteger(ReadText(path, section, key), defaultValue);
    }

    bool WriteText(const std::string& path, const std::string& section, const std::string& key,
                   const std::string& value) override {
        // A file that is there but cannot be read is left alone rather than replaced.
        const auto current = ReadWholeFile(path);
        if (!current && FileExists(path)) {
            return false;
        }
        const std::string text = IniText::SetValue(current.value_or(""), section, key, value);
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << text;
        out.close();
        return static_cast<bool>(out);
    }
};

} // namespace

SettingsFiles& PlatformSettingsFiles() {
    static PosixSettingsFiles files;
    return files;
}

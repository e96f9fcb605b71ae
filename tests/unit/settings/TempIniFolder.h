// A fresh folder under the process's temporary folder for one test's ini files, removed with
// everything in it afterwards. Paths come in the platform's own form (C:\... under Windows).
#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

class TempIniFolder {
public:
    TempIniFolder()
        : m_folder(std::filesystem::temp_directory_path() /
                   ("zanvo-settings-" + std::to_string(std::random_device{}()))) {
        std::filesystem::create_directories(m_folder);
    }
    ~TempIniFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(m_folder, ignored);
    }
    TempIniFolder(const TempIniFolder&) = delete;
    TempIniFolder& operator=(const TempIniFolder&) = delete;

    std::string Path(const std::string& name) const { return (m_folder / name).string(); }

    std::string Write(const std::string& name, const std::string& text) const {
        std::ofstream(m_folder / name, std::ios::binary) << text;
        return Path(name);
    }

    std::string Read(const std::string& name) const {
        std::ostringstream text;
        text << std::ifstream(m_folder / name, std::ios::binary).rdbuf();
        return text.str();
    }

private:
    std::filesystem::path m_folder;
};

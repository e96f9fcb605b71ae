// A fresh folder under the temporary folder for one test's ini files, removed with everything in
// it afterwards. Paths come in the platform's own form (C:\... under Windows).
#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <string>

struct TempIniFolder {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() /
        ("zanvo-settings-" + std::to_string(std::random_device{}()));

    TempIniFolder() { std::filesystem::create_directories(folder); }
    ~TempIniFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
    TempIniFolder(const TempIniFolder&) = delete;
    TempIniFolder& operator=(const TempIniFolder&) = delete;

    std::string Path(const std::string& name) const { return (folder / name).string(); }
    std::string Write(const std::string& name, const std::string& text) const {
        std::ofstream(folder / name, std::ios::binary) << text;
        return Path(name);
    }
};

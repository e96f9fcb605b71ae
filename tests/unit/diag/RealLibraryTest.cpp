// The layer writing through the real kolvane.so beside this test program, read back from its
// files. CTest points KOLVANE_LOG_DIR at a folder it empties before the run.
#include "Kolvane.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct LogLine {
    std::string function;
    std::string text;
};

// Fields: time, thread, file(line), function, object, text.
std::vector<LogLine> ReadLog(const fs::path& file) {
    std::vector<LogLine> lines;
    std::ifstream in(file);
    std::string raw;
    while (std::getline(in, raw)) {
        std::vector<std::string> fields;
        std::size_t start = 0;
        for (int i = 0; i < 5; ++i) {
            const std::size_t tab = raw.find('\t', start);
            if (tab == std::string::npos) {
                break;
            }
            fields.push_back(raw.substr(start, tab - start));
            start = tab + 1;
        }
        lines.push_back(fields.size() == 5 ? LogLine{fields[3], raw.substr(start)}
                                           : LogLine{"<malformed>", raw});
    }
    return lines;
}

std::string ReadAll(const fs::path& file) {
    std::ifstream in(file);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// A fresh log folder for one test, made current for the library.
fs::path UseFreshLogFolder(const char* name) {
    const char* base = std::getenv("KOLVANE_LOG_DIR");
    const fs::path folder = fs::path(base ? base : ::testing::TempDir()) / name;
    fs::remove_all(folder);
    ::setenv("KOLVANE_LOG_DIR", folder.c_str(), 1);
    return folder;
}

} // namespace

TEST(RealLibrary, FirstLineOfTheRunIsModuleLoaded) {
    const char* folder = std::getenv("KOLVANE_LOG_DIR");
    ASSERT_NE(folder, nullptr);
    const auto lines = ReadLog(fs::path(folder) / "unit_diag.log");
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front().text, "Module loaded");
    EXPECT_EQ(lines.front().function, "StaticIniter::StaticIniter");
}

TEST(RealLibrary, TwoThreadsLoggingAtOnceGiveWholeLines) {
    const std::string saved = std::getenv("KOLVANE_LOG_DIR");
    const fs::path folder = UseFreshLogFolder("threads");
    constexpr int kLines = 400;
    const std::string padding(150, '.');
    auto writer = [&padding](char name) {
        for (int i = 0; i < kLines; ++i) {
            KOLVANE_LOG(nullptr, "thread %c line %d %s\n", name, i, padding.c_str());
        }
    };
    std::thread a(writer, 'A');
    std::thread b(writer, 'B');
    a.join();
    b.join();
    ::setenv("KOLVANE_LOG_DIR", saved.c_str(), 1);

    const auto lines = ReadLog(folder / "unit_diag.log");
    ASSERT_EQ(lines.size(), 2u * kLines);
    int next[2] = {0, 0};
    for (const auto& line : lines) {
        const int who = line.text.rfind("thread B", 0) == 0 ? 1 : 0;
        const std::string expected = std::string("thread ") + "AB"[who] + " line " +
                                     std::to_string(next[who]++) + " " + padding;
        ASSERT_EQ(line.text, expected);
        ASSERT_EQ(line.function,
                  "RealLibrary_TwoThreadsLoggingAtOnceGiveWholeLines_Test::TestBody");
    }
    EXPECT_EQ(next[0], kLines);
    EXPECT_EQ(next[1], kLines);
}

TEST(RealLibraryDeathTest, AnswerEndExitsWithCodeZeroAfterModuleUnloaded) {
    const std::string saved = std::getenv("KOLVANE_LOG_DIR");
    const fs::path folder = UseFreshLogFolder("end");
    ::setenv("KOLVANE_LOG_DIR", saved.c_str(), 1);
    EXPECT_EXIT(
        {
            ::setenv("KOLVANE_LOG_DIR", folder.c_str(), 1);
            ::setenv("KOLVANE_ASSERT", "end", 1);
            KOLVANE_LOG(nullptr, "before the assertion");
            KOLVANE_ASSERT(false);
            KOLVANE_LOG(nullptr, "carried on");
            std::_Exit(3);
        },
        testing::ExitedWithCode(0), "");

    const auto lines = ReadLog(folder / "unit_diag.log");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].text, "before the assertion");
    EXPECT_EQ(lines[1].text, "Module unloaded");
    EXPECT_EQ(lines[1].function, "StaticIniter::~StaticIniter");
    EXPECT_NE(ReadAll(folder / "asserts.log").find("\tanswer: end (2)\n"), std::string::npos);
}

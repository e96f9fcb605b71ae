// No kolvane.so beside this test program when it starts (the end-to-end checks run that case
// under Wine): a library that appears later is never picked up.
#include "Kolvane.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

TEST(NoLibrary, LibraryMadeAvailableLaterHasNoEffect) {
    const fs::path here = fs::read_symlink("/proc/self/exe").parent_path();
    const fs::path logs = fs::path(::testing::TempDir()) / "unit_diag_no_library_logs";
    fs::remove_all(logs);
    fs::create_directories(logs);
    ::setenv("KOLVANE_LOG_DIR", logs.c_str(), 1);
    ASSERT_FALSE(fs::exists(here / "kolvane.so"));
    fs::copy_file(KOLVANE_REAL_LIBRARY, here / "kolvane.so");

    int evaluated = 0;
    KOLVANE_LOG(nullptr, "after the library appeared");
    KOLVANE_ASSERT(++evaluated == 0);

    fs::remove(here / "kolvane.so");
    ::unsetenv("KOLVANE_LOG_DIR");
    EXPECT_EQ(evaluated, 1);
    EXPECT_TRUE(fs::is_empty(logs));
    fs::remove_all(logs);
}

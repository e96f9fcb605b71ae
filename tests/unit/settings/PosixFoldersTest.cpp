// Where the native build looks for tarvex.ini: ZANVO_WINDOWS_DIR, else the program's folder.
#include "ApplicationSettings.h"

#include <gtest/gtest.h>

#include <cstdlib>

TEST(PosixFolders, TarvexIniFollowsZanvoWindowsDirElseBesideTheProgram) {
    const ApplicationSettings settings;
    ::setenv("ZANVO_WINDOWS_DIR", "/opt/terminal", 1);
    EXPECT_EQ(settings.TarvexIniPath(), "/opt/terminal/tarvex.ini");
    ::setenv("ZANVO_WINDOWS_DIR", "", 1);
    const std::string besideProgram = settings.TarvexIniPath();
    ::unsetenv("ZANVO_WINDOWS_DIR");
    EXPECT_EQ(besideProgram, settings.TarvexIniPath());
    const std::string zanvo = settings.ZanvoIniPath();
    EXPECT_EQ(besideProgram, zanvo.substr(0, zanvo.rfind('/') + 1) + "tarvex.ini");
}

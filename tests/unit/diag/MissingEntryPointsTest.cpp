// A library that lacks some entry points: only the operations that need them are dropped. This
// file is built twice, against a fake that exports only WriteToLog, and against one that lacks
// only WriteToLog.
#include "FakeKolvane.h"
#include "Kolvane.h"

#include <gtest/gtest.h>

#if defined(FAKE_KOLVANE_NO_WRITE)

TEST(LibraryWithoutWriteToLog, DropsLinesButDefinesTheLogAndReportsAssertions) {
    FakeKolvaneCalls* fake = LoadedFake();
    ASSERT_NE(fake, nullptr);
    KOLVANE_LOG(nullptr, "dropped");
    int evaluated = 0;
    KOLVANE_ASSERT(++evaluated == 0);

    EXPECT_EQ(evaluated, 1);
    ASSERT_EQ(fake->defines.size(), 1u);
    EXPECT_EQ(fake->defines[0].kind, 237);
    EXPECT_TRUE(fake->lines.empty());
    ASSERT_EQ(fake->reports.size(), 1u);
    EXPECT_EQ(fake->reports[0].expression, u"++evaluated == 0");
}

#else

TEST(LibraryWithOnlyWriteToLog, WritesLinesWithLogIdMinusOneAndFailedAssertionsCarryOn) {
    FakeKolvaneCalls* fake = LoadedFake();
    ASSERT_NE(fake, nullptr);
    KOLVANE_LOG(nullptr, "written");
    int evaluated = 0;
    KOLVANE_ASSERT(++evaluated == 0);
    KOLVANE_LOG(nullptr, "after the assertion");

    EXPECT_EQ(evaluated, 1);
    ASSERT_GE(fake->lines.size(), 3u);
    EXPECT_EQ(fake->lines[0].text, u"Module loaded");
    EXPECT_EQ(fake->lines.back().text, u"after the assertion");
    for (const auto& line : fake->lines) {
        EXPECT_EQ(line.logId, -1);
        EXPECT_EQ(line.logName, u"unit_diag_write_only");
    }
}

#endif

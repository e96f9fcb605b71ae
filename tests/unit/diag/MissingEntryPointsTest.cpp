// A library that lacks some entry points: only the operations that need them are dropped. This
// file is built twice, against a fake that lacks only WriteToLog, and against one that exports
// only WriteToLog.
#include "Kolvane.h"
#include "LogCapture.h"

#include <gtest/gtest.h>

TEST(LibraryWithMissingEntryPoints, DropsOnlyTheOperationsThatNeedThem) {
    fake::KolvaneCalls* library = fake::LogCapture::Calls();
    ASSERT_NE(library, nullptr);
    KOLVANE_LOG(nullptr, "written");
    int evaluated = 0;
    KOLVANE_ASSERT(++evaluated == 0);
    KOLVANE_LOG(nullptr, "after the assertion");
    EXPECT_EQ(evaluated, 1);
#if defined(FAKE_KOLVANE_NO_WRITE)
    // The log is defined and the assertion reported; the lines are dropped.
    ASSERT_EQ(library->defines.size(), 1u);
    EXPECT_EQ(library->defines[0].kind, 237);
    EXPECT_TRUE(library->lines.empty());
    ASSERT_EQ(library->reports.size(), 1u);
    EXPECT_EQ(library->reports[0].expression, u"++evaluated == 0");
#else
    // Lines carry the log id -1, and the unreported assertion carries on.
    ASSERT_GE(library->lines.size(), 3u);
    EXPECT_EQ(library->lines[0].text, u"Module loaded");
    EXPECT_EQ(library->lines.back().text, u"after the assertion");
    for (const auto& line : library->lines) {
        EXPECT_EQ(line.logId, -1);
        EXPECT_EQ(line.logName, u"unit_diag_write_only");
    }
#endif
}

#include "VersionLine.h"

#include <gtest/gtest.h>

namespace {

TEST(VersionLine, ShowsMajorMinorAndBuildWithTwoBlanksBetweenParts) {
    // Product version 2.0.1663.858.
    EXPECT_EQ("Version: 2.0  Build: 1663  Date: Jul 21 2009",
              FormatVersionLine((2u << 16) | 0u, (1663u << 16) | 858u, "Jul 21 2009"));
    // Whole 16-bit fields.
    EXPECT_EQ("Version: 65535.1  Build: 40000  Date: Jan  1 2030",
              FormatVersionLine((65535u << 16) | 1u, (40000u << 16) | 65535u, "Jan  1 2030"));
}

} // namespace

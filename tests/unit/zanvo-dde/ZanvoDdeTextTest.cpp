// The command line and the raw text of zanvo-dde. The end-to-end scripts run every command with
// the options before it.
#include "Options.h"
#include "RawText.h"

#include <gtest/gtest.h>

namespace {

using Args = std::vector<std::string>;

TEST(ZanvoDdeOptions, OptionsStandAnywhereAndDoubleDashEndsThem) {
    std::string error;
    const std::optional<Options> watch = ParseOptions(
        {"watch", "--raw", "Zanvo", "Bars", "IBM,D,5", "--count", "3", "--", "--odd"}, &error);
    ASSERT_TRUE(watch) << error;
    EXPECT_EQ(watch->topic, "Bars");
    EXPECT_EQ(watch->items, (Args{"IBM,D,5", "--odd"}));
    EXPECT_TRUE(watch->raw);
    EXPECT_EQ(watch->count, 3u);
}

TEST(ZanvoDdeOptions, BadCommandLinesSayWhatIsWrong) {
    const std::vector<std::pair<Args, std::string>> cases = {
        {{}, "no command"},
        {{"fetch", "Zanvo", "Bars", "X"}, "unknown command fetch"},
        {{"request", "Zanvo", "Bars"}, "wrong number of arguments for request"},
        {{"request", "Zanvo", "Bars", "X", "Y"}, "wrong number of arguments for request"},
        {{"poke", "Zanvo", "Bars", "X"}, "wrong number of arguments for poke"},
        {{"watch", "Zanvo", "Bars"}, "wrong number of arguments for watch"},
        {{"--verbose", "request", "Zanvo", "Bars", "X"}, "unknown option --verbose"},
        {{"watch", "Zanvo", "Bars", "X", "--count", "0"}, "--count needs a positive whole number"},
        {{"watch", "Zanvo", "Bars", "X", "--seconds", "5s"},
         "--seconds needs a positive whole number"},
        {{"request", "Zanvo", "Bars", "X", "--timeout"}, "--timeout needs a positive whole number"},
        {{"request", "Zanvo", "Bars", "X", "--count", "2"},
         "--seconds and --count apply to watch only"},
        {{"watch", "Zanvo", "Bars", "X", "--wait", "2"}, "--wait applies to request only"},
    };
    for (const auto& [args, message] : cases) {
        std::string error;
        EXPECT_FALSE(ParseOptions(args, &error)) << message;
        EXPECT_EQ(error, message);
    }
}

TEST(ZanvoDdeRawText, ControlCharactersAndBackslashesBecomeVisible) {
    EXPECT_EQ(RawText("IBM\t101.5\nMSFT\t\r\n"), "IBM\\t101.5\\nMSFT\\t\\r\\n");
    EXPECT_EQ(RawText("a\\tb"), "a\\\\tb");
    EXPECT_EQ(RawText(std::string("\x01\x1f\x7f", 3)), "\\x01\\x1F\\x7F");
    EXPECT_EQ(RawText("Caf\xe9 1,5"), "Caf\xe9 1,5");
}

} // namespace

// What the three topics make of item strings: accepted layouts, refusals with their log lines and
// the session windows of minute bars.
#include "ComputerTimeZone.h"
#include "ServerFixture.h"
#include "SessionWindow.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

// A computer zone with a fixed bias and no daylight time.
class FixedZone final : public ComputerTimeZone {
public:
    explicit FixedZone(std::int32_t bias) : m_bias(bias) {}
    ComputerZoneState GetTimeZoneInformation(std::int32_t* bias) override {
        *bias = m_bias;
        return czsStandard;
    }
    bool LocalTime(std::int64_t, std::tm*) override { return false; }

private:
    std::int32_t m_bias;
};

// 2026-03-10 15:00:00 UTC.
constexpr std::int32_t kNow = 1773154800;

} // namespace

class ItemGrammarTest : public ServerTest {
protected:
    // Requests the item in a new conversation on the topic; true when it was served.
    bool Served(const std::string& topic, const std::string& item) {
        HCONV hconv = model.Connect("Zanvo", topic);
        EXPECT_TRUE(hconv);
        return model.Request(hconv, item).has_value();
    }
};

// Items refused with exactly one log line, before anything is subscribed (hostile items, sent end
// to end by hostile-test.sh and fuzzed by FuzzDdeItem, take the same paths).
TEST_F(ItemGrammarTest, RefusedItemsLogTheirOneLine) {
    const std::string split = "DdeServer::SplitDdeRequest", bars = "DdeServer::CreateBarTopic",
                      snapshot = "DdeServer::CreateSnapshotTopic",
                      ticks = "DdeServer::CreateTickTopic";
    const std::string unsupported = "Error: Unable to create topic - Unsupported parameter ";
    const std::string field = "Error: Unable to create topic: Unsupported field ";
    const struct {
        const char* topic;
        std::string item;
        std::string function;
        std::string line;
    } cases[] = {
        {"Snapshot", "IBM, ,B", split, "Error: 'IBM, ,B' request contain empty parameter\n"},
        {"Bars", " ,5,10,C", split, "Error: ' ,5,10,C' request contain empty parameter\n"},
        {"TS", "IBM,10,P,\t", split, "Error: 'IBM,10,P,\t' request contain empty parameter\n"},
        {"Snapshot", ",,,", snapshot, "Error: Too little parameters\n"},
        {"Bars", "IBM,5,10", bars, "Error: Too little parameters\n"},
        {"TS", "IBM,10", ticks, "Error: Too little parameters\n"},
        {"Bars", "IBM,5,10,dx", bars, field + "'X'\n"},
        {"TS", "IBM,10,DTX", ticks, field + "'X'\n"},
        {"TS", "IBM,10,O", ticks, field + "'O'\n"}, // bar letters are no tick fields
        {"Snapshot", "IBM,B,Bid", snapshot, unsupported + "('BID')\n"},
        {"Bars", "IBM,D,10,C,9:30-16:00", bars, unsupported + "('9:30-16:00')\n"},
        {"TS", "IBM,10,P,FILL", ticks, unsupported + "('FILL')\n"},
        {"TS", "IBM,10,P,9:30-16:00", ticks, unsupported + "('9:30-16:00')\n"},
        {"TS", "IBM,1,P,%n%s%x", ticks, unsupported + "('%N%S%X')\n"},
        {"Bars", "IBM,5,10,C,9:30", bars,
         "Error: Unable to create topic - Unsupported session format ('9:30')\n"},
        {"TS", "IBM,99999999999,P", ticks,
         "Error: Unable to create topic - Count 2147483647 is more than 100000 rows\n"},
    };
    for (const auto& c : cases) {
        fake::LogCapture::Clear();
        EXPECT_FALSE(Served(c.topic, c.item)) << c.item;
        EXPECT_THAT(fake::LogCapture::Lines(), ElementsAre(fake::Reported(c.function, c.line)))
            << c.item;
    }
    EXPECT_THAT(DmCalls("SubscribeQuote"), IsEmpty());
    EXPECT_THAT(DmCalls("Request"), IsEmpty());
    // Runs of commas and a trailing comma give no empty parameter.
    EXPECT_TRUE(Served("TS", " ibm ,,10,p,"));
    EXPECT_THAT(DmCalls("RequestTicks"), ElementsAre("RequestTicks(IBM)"));
}

TEST_F(ItemGrammarTest, BarOptionsAndLayout) {
    HCONV hconv = Connect("Bars");
    EXPECT_EQ(Text(model.Request(hconv, "IBM,d,3,CC,REVERSE,fill,HEADERS,ALLSESSIONS,FILL")),
              "Close\tClose\n\n\n\n");
    EXPECT_TRUE(Served("Bars", "IBM,1,10,C,ALLSESSIONS,9:30-16:00,FILL"));
    EXPECT_THAT(DmCalls("RequestBars"), ElementsAre("RequestBars(IBM,-1)", "RequestBars(IBM,1)"));
}

TEST_F(ItemGrammarTest, SessionWindowInZonesBehindAndAheadOfUtc) {
    EXPECT_EQ(SessionSecondsUtc(9, 30, kNow, "IBM"), 34200); // GMT
    dm->intOptions[moTimeZoneMode] = 0;
    FixedZone behind(300);
    SetComputerTimeZone(&behind);
    EXPECT_EQ(SessionSecondsUtc(20, 0, kNow, "IBM"), 90000);
    EXPECT_EQ(SessionSecondsUtc(23, 0, kNow, "IBM"), 100800);

    FixedZone ahead(-120);
    SetComputerTimeZone(&ahead);
    EXPECT_EQ(SessionSecondsUtc(1, 0, kNow, "IBM"), 82800);
    EXPECT_EQ(SessionSecondsUtc(8, 0, kNow, "IBM"), 21600);

    // Numbers far outside a day take the offset of the day's start, without overflow.
    EXPECT_EQ(SessionSecondsUtc(99999, 99999, kNow, "IBM"), 365996340 - 7200);
    EXPECT_EQ(SessionSecondsUtc(-1, -1, kNow, "IBM"), 86400 - 3660 - 7200);
    EXPECT_EQ(SessionSecondsUtc(2147483647, 2147483647, kNow, "IBM"), 2147483647);
    SetComputerTimeZone(nullptr);
}

// What the three topics make of item strings: accepted layouts, refusals with their log lines, the
// session windows of minute bars, and items written to break the server.
#include "ComputerTimeZone.h"
#include "ServerFixture.h"
#include "SessionWindow.h"

#include <limits>

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

    // Requests an item that must be refused with exactly this one log line.
    void ExpectRefused(const std::string& topic, const std::string& item, const char* function,
                       const std::string& line) {
        fake::LogCapture::Clear();
        EXPECT_FALSE(Served(topic, item)) << item;
        EXPECT_THAT(fake::LogCapture::Lines(), ElementsAre(fake::Reported(function, line))) << item;
    }
};

TEST_F(ItemGrammarTest, EmptyParameterIsRefusedWhereverItStands) {
    const char* split = "DdeServer::SplitDdeRequest";
    ExpectRefused("Snapshot", "IBM, ,B", split,
                  "Error: 'IBM, ,B' request contain empty parameter\n");
    ExpectRefused("Bars", " ,5,10,C", split, "Error: ' ,5,10,C' request contain empty parameter\n");
    ExpectRefused("TS", "IBM,10,P,\t", split,
                  "Error: 'IBM,10,P,\t' request contain empty parameter\n");
    // Runs of commas and a trailing comma give no empty parameter.
    EXPECT_TRUE(Served("TS", " ibm ,,10,p,"));
    EXPECT_THAT(DmCalls("RequestTicks"), ElementsAre("RequestTicks(IBM)"));
}

TEST_F(ItemGrammarTest, TooFewParametersAreRefusedPerTopic) {
    const std::string line = "Error: Too little parameters\n";
    ExpectRefused("Snapshot", ",,,", "DdeServer::CreateSnapshotTopic", line);
    ExpectRefused("Bars", "IBM,5,10", "DdeServer::CreateBarTopic", line);
    ExpectRefused("TS", "IBM,10", "DdeServer::CreateTickTopic", line);
    EXPECT_TRUE(Served("Snapshot", "IBM"));
    EXPECT_THAT(DmCalls("RequestBars"), IsEmpty());
    EXPECT_THAT(DmCalls("RequestTicks"), IsEmpty());
}

TEST_F(ItemGrammarTest, UnsupportedFieldLettersAreNamed) {
    ExpectRefused("Bars", "IBM,5,10,dx", "DdeServer::CreateBarTopic",
                  "Error: Unable to create topic: Unsupported field 'X'\n");
    ExpectRefused("TS", "IBM,10,DTX", "DdeServer::CreateTickTopic",
                  "Error: Unable to create topic: Unsupported field 'X'\n");
    // The bar letters O, H, L and V are not tick fields.
    ExpectRefused("TS", "IBM,10,O", "DdeServer::CreateTickTopic",
                  "Error: Unable to create topic: Unsupported field 'O'\n");
    EXPECT_THAT(DmCalls("Request"), IsEmpty());
}

TEST_F(ItemGrammarTest, UnsupportedParametersAreNamed) {
    const std::string prefix = "Error: Unable to create topic - Unsupported parameter ";
    ExpectRefused("Snapshot", "IBM,B,Bid", "DdeServer::CreateSnapshotTopic", prefix + "('BID')\n");
    ExpectRefused("Bars", "IBM,D,10,C,9:30-16:00", "DdeServer::CreateBarTopic",
                  prefix + "('9:30-16:00')\n");
    ExpectRefused("TS", "IBM,10,P,FILL", "DdeServer::CreateTickTopic", prefix + "('FILL')\n");
    ExpectRefused("TS", "IBM,10,P,9:30-16:00", "DdeServer::CreateTickTopic",
                  prefix + "('9:30-16:00')\n");
    ExpectRefused("Bars", "IBM,5,10,C,9:30", "DdeServer::CreateBarTopic",
                  "Error: Unable to create topic - Unsupported session format ('9:30')\n");
    EXPECT_THAT(DmCalls("SubscribeQuote"), IsEmpty());
    EXPECT_THAT(DmCalls("Request"), IsEmpty());
}

TEST_F(ItemGrammarTest, BarOptionsAndLayout) {
    HCONV hconv = Connect("Bars");
    EXPECT_EQ(Text(model.Request(hconv, "IBM,d,3,CC,REVERSE,fill,HEADERS,ALLSESSIONS,FILL")),
              "Close\tClose\n\n\n\n");
    EXPECT_TRUE(Served("Bars", "IBM,1,10,C,ALLSESSIONS,9:30-16:00,FILL"));
    EXPECT_THAT(DmCalls("RequestBars"), ElementsAre("RequestBars(IBM,-1)", "RequestBars(IBM,1)"));
}

TEST_F(ItemGrammarTest, SessionWindowsInUtcStartWithinTheDayAndKeepTheirLength) {
    FixedZone behind(300);
    FixedZone ahead(-120);
    struct Row {
        ComputerTimeZone* zone; // GMT without one
        SessionWindow window;
        std::int32_t start;
        std::int32_t end;
    };
    const Row rows[] = {
        {nullptr, {9, 30, 16, 0}, 34200, 57600},
        // Crossing midnight UTC once converted: the end lies on the next UTC day.
        {&behind, {20, 0, 23, 0}, 3600, 14400},
        {&ahead, {1, 0, 8, 0}, 82800, 108000},
        // Backwards in the display zone: the end stays before the start, for the supplier.
        {&ahead, {16, 0, 9, 30}, 50400, 27000},
        // Numbers far outside a day, without overflow.
        {&ahead, {99999, 99999, 1, 1}, 85140, -365907540},
        {&ahead, {-1, -1, -1, -1}, 75540, 75540},
        {&ahead, {2147483647, 2147483647, 0, 0}, 25620, -2147483647 - 1},
    };
    for (const Row& row : rows) {
        dm->intOptions[moTimeZoneMode] = row.zone ? 0 : 1;
        SetComputerTimeZone(row.zone);
        const UtcSessionWindow utc = SessionWindowUtc(row.window, kNow, "IBM");
        EXPECT_EQ(utc.start, row.start) << row.window.startHour << ":" << row.window.startMinute;
        EXPECT_EQ(utc.end, row.end) << row.window.endHour << ":" << row.window.endMinute;
    }
    SetComputerTimeZone(nullptr);
}

TEST_F(ItemGrammarTest, HostileItemsAreRefusedOrServedAndTheServerGoesOn) {
    Clock::SetFixed(kNow);
    std::string everyByte;
    for (int c = 1; c < 256; ++c) {
        everyByte.push_back(static_cast<char>(c));
    }
    const std::string longItem = "IBM," + std::string(251, 'B');
    for (const char* topic : {"Snapshot", "Bars", "TS"}) {
        EXPECT_FALSE(Served(topic, everyByte)) << topic;
        EXPECT_FALSE(Served(topic, longItem)) << topic;
        EXPECT_FALSE(Served(topic, "%n%s%x,%n%s%x,%n%s%x,%n%s%x,%n")) << topic;
    }
    // Printf directives reach the log as text.
    fake::LogCapture::Clear();
    EXPECT_FALSE(Served("TS", "IBM,1,P,%n%s%x"));
    EXPECT_THAT(fake::LogCapture::Lines(),
                ElementsAre(fake::Reported("DdeServer::CreateTickTopic",
                                           "Error: Unable to create topic - Unsupported parameter "
                                           "('%N%S%X')\n")));

    // Counts beyond what a client can hold are refused before anything is subscribed.
    ExpectRefused("Bars", "IBM,5,2147483647,C", "DdeServer::CreateBarTopic",
                  "Error: Unable to create topic - Count 2147483647 is more than 100000 rows\n");
    ExpectRefused("TS", "IBM,99999999999,P", "DdeServer::CreateTickTopic",
                  "Error: Unable to create topic - Count 2147483647 is more than 100000 rows\n");
    EXPECT_THAT(DmCalls("Request"), IsEmpty());

    // A negative count shows no rows.
    HCONV hconv = Connect("TS");
    EXPECT_EQ(Text(model.Request(hconv, "IBM,-5,P,HEADERS")), "Price\n");
    HCONV bars = Connect("Bars");
    EXPECT_EQ(Text(model.Request(bars, "IBM,5,-5,C")), "");

    // Session windows with any numbers are read without overflow; the supplier judges them.
    Served("Bars", "IBM,5,10,C,99999:99999-1:1");
    Served("Bars", "IBM,5,10,C,-1:-1--1:-1");
    ExpectRefused("Bars", "IBM,5,10,C,9:30-", "DdeServer::CreateBarTopic",
                  "Error: Unable to create topic - Unsupported session format ('9:30-')\n");

    // The next good item is served.
    EXPECT_EQ(Text(model.Request(hconv, "IBM,1,P")), "\n");
}

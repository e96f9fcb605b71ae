#include "SupplierFixture.h"

namespace {

using ConnectionTest = SupplierTest;

// A library that cannot be made is logged, and leaves every feed disconnected.
TEST_F(ConnectionTest, ConnectSetsEveryOptionBeforeConnectingTheFeeds) {
    fake::GetScript().failCreateInstance = true;
    EXPECT_FALSE(supplier.Connect(kSettings));
    EXPECT_THAT(
        fake::LogCapture::Lines(),
        ElementsAre(fake::Reported("DataSupplier::Connect", "Unable initialize Mondrel\n")));
    for (const FeedId id : kFeedIds) {
        EXPECT_EQ(supplier.GetFeedInfo(id).state, fsDisconnected) << id;
    }

    fake::ResetScript();
    ASSERT_TRUE(supplier.Connect(kSettings));
    EXPECT_THAT(fake::GetScript().calls,
                ElementsAre("Init(Zanvo,999,,20050315,64)", "CreateInstance"));
    fake::FakeMondrel& dm = *fake::FakeMondrel::Current();
    EXPECT_THAT(dm.calls,
                ::testing::IsSupersetOf({"SetIntOption(1,23)", "SetIntOption(11,0)",
                                         "SetTextOption(18,quote)", "SetTextOption(12,history)",
                                         "SetTextOption(3,domtick)", "SetTextOption(6,intltick)",
                                         "SetIntOption(5,2)", "SetTextOption(43,NYSE,NASDAQ)",
                                         "AddConnectionListener"}));
    EXPECT_EQ(dm.calls.back(), "ConnectFeeds(user,secret,1,0)");
    for (const FeedId id : kFeedIds) {
        EXPECT_EQ(supplier.GetFeedInfo(id).state, fsRetrying) << id;
    }
    EXPECT_THAT(fake::LogCapture::Assertions(), IsEmpty());
}

TEST_F(ConnectionTest, FeedsKeepTheLibraryCodeAndTheCompositeStateFollowsThem) {
    ASSERT_TRUE(supplier.Connect(kSettings));
    fake::FakeMondrel& dm = *fake::FakeMondrel::Current();
    const auto retry = &IConnectionEvents::OnRetry;
    const auto up = &IConnectionEvents::OnConnected;
    const auto down = &IConnectionEvents::OnDisconnected;
    // Event, feed, code, the composite state after it and the domestic tick feed's error text.
    const std::tuple<decltype(up), int, int, CompositeState, const char*> steps[] = {
        {down, mfbDomesticTick, -7, ecsConnecting, "Invalid Username or Password"},
        {retry, mfbDomesticTick, -50, ecsConnecting, "Unknown error"},
        {up, mfbDomesticTick, 0, ecsConnecting, ""},
        {up, mfbDataManager, 0, ecsConnecting, ""},
        {up, mfbInternationalTick, 0, ecsConnecting, ""},
        {up, mfbHistory, 0, ecsConnected, ""},
        {retry, mfbHistory, -10, ecsConnecting, ""},
        {down, mfbDataManager, 0, ecsConnecting, ""},
        {down, mfbInternationalTick, 0, ecsConnecting, ""},
        {down, mfbHistory, 0, ecsConnecting, ""},
        {down, mfbDomesticTick, -9, ecsDisconnected, "Server is not available"},
    };
    for (const auto& [event, feed, code, composite, text] : steps) {
        dm.FireFeed(event, feed, code);
        EXPECT_EQ(supplier.GetCompositeState(), composite) << feed << " " << code;
        EXPECT_EQ(supplier.GetFeedInfo(fiDomesticTick).errorText, text) << code;
    }
    EXPECT_EQ(supplier.GetFeedInfo(fiDomesticTick).errorCode, -9);

    // A feed id the supplier does not know is reported and changes nothing.
    dm.FireFeed(up, 0x0008, -9);
    EXPECT_THAT(fake::LogCapture::Assertions(),
                ElementsAre(fake::Reported("DataSupplier::SetFeedState", "0")));
    EXPECT_EQ(supplier.GetFeedInfo(static_cast<FeedId>(0x0008)).errorText, "");
}

// Also when every feed has dropped (a refused login), Disconnect releases the library, so that the
// next Connect starts afresh.
TEST_F(ConnectionTest, DisconnectReleasesTheLibraryAlsoAfterEveryFeedDropped) {
    for (const bool allDropped : {false, true}) {
        fake::FakeMondrel& dm = ConnectAll();
        for (const int bit : {mfbDataManager, mfbDomesticTick, mfbInternationalTick, mfbHistory}) {
            if (allDropped || bit == mfbHistory) {
                dm.FireFeed(&IConnectionEvents::OnDisconnected, bit, -7);
            }
        }
        supplier.Disconnect();
        EXPECT_THAT(dm.calls, ::testing::Contains("DisconnectFeeds"));
        EXPECT_EQ(std::tuple(dm.calls.back(), dm.destroyed, dm.connectionListeners.empty(),
                             supplier.GetDataManager(), supplier.GetCompositeState(),
                             supplier.GetFeedInfo(fiHistory).errorText),
                  std::tuple("RemoveConnectionListener", true, true, nullptr, ecsDisconnected,
                             "Invalid Username or Password"));
        supplier.Disconnect(); // nothing left to do
        EXPECT_EQ(fake::GetScript().calls.back(), "Shutdown");
    }
    EXPECT_EQ(fake::GetScript().instances.size(), 2u);
    EXPECT_THAT(fake::LogCapture::Assertions(), IsEmpty());
}

// Connecting twice, destroying a connected supplier and calls without the library object are
// reported; a full feed outage is a normal state, in which items come and go without a report.
TEST_F(ConnectionTest, MisuseIsReportedButAFeedOutageIsNot) {
    fake::FakeMondrel& dm = ConnectAll();
    EXPECT_FALSE(supplier.Connect(kSettings));
    EXPECT_THAT(fake::LogCapture::Assertions(),
                ElementsAre(fake::Reported("DataSupplier::Connect",
                                           "GetCompositeState() == ecsDisconnected"),
                            fake::Reported("DataSupplier::Connect", "!m_mondrel")));
    EXPECT_EQ(fake::GetScript().instances.size(), 1u);

    fake::LogCapture::Clear();
    for (const int bit : {mfbDataManager, mfbDomesticTick, mfbInternationalTick, mfbHistory}) {
        dm.FireFeed(&IConnectionEvents::OnDisconnected, bit, -9);
    }
    ASSERT_EQ(supplier.GetCompositeState(), ecsDisconnected);
    supplier.StopRequest(supplier.StartSnapshotRequest("IBM"));
    supplier.StopRequest(supplier.StartTickRequest({"IBM", 10}));
    EXPECT_THAT(fake::LogCapture::Assertions(), IsEmpty());
    supplier.Disconnect();
    EXPECT_FALSE(supplier.StartSnapshotRequest("IBM"));
    EXPECT_THAT(fake::LogCapture::Assertions(),
                ElementsAre(fake::Reported("DataSupplier::StartSnapshotRequest",
                                           "GetCompositeState() != ecsDisconnected"),
                            fake::Reported("DataSupplier::StartSnapshotRequest", "m_mondrel")));

    fake::LogCapture::Clear();
    auto connected = std::make_unique<DataSupplier>();
    ASSERT_TRUE(connected->Connect(kSettings));
    fake::FakeMondrel& other = *fake::FakeMondrel::Current();
    connected.reset();
    EXPECT_THAT(fake::LogCapture::Assertions(),
                ElementsAre(fake::Reported("DataSupplier::~DataSupplier", "!m_mondrel")));
    EXPECT_EQ(std::tuple(other.destroyed, other.connectionListeners.empty()),
              std::tuple(true, true));
}

TEST_F(ConnectionTest, ServerMessagesAreLoggedAsOneLineOfText) {
    supplier.OnServerMessage("100% %s %n\nsecond line");
    supplier.OnServerMessage(nullptr);
    EXPECT_THAT(
        fake::LogCapture::Lines(),
        ElementsAre(fake::Reported("DataSupplier::OnServerMessage",
                                   "Data manager message: 100% %s %n second line\n"),
                    fake::Reported("DataSupplier::OnServerMessage", "Data manager message: \n")));
}

// 11,456,230,000 shares: the S&P 500's volume of 10 October 2008. A library with 32-bit getters
// only gives what they answer.
TEST_F(ConnectionTest, VolumesAndSizesBeyond32BitsComeThroughTheWideGetters) {
    constexpr std::int64_t kVolume = 11456230000;
    for (const auto& [wide, expected] :
         {std::pair{true, kVolume}, {false, std::int64_t{2147483647}}}) {
        fake::ResetScript();
        fake::GetScript().wideValues = wide;
        fake::FakeMondrel& dm = ConnectAll();

        ASSERT_NE(supplier.StartSnapshotRequest("SPX").quote, nullptr);
        dm.FireQuoteUpdate("SPX", {{qfVolume, kVolume}, {qfTradeSize, kVolume}});
        EXPECT_EQ(std::tuple(LastSnap().volume, LastSnap().tradeSize),
                  std::tuple(expected, expected));

        ASSERT_NE(supplier.StartBarsRequest({.symbol = "SPX", .interval = -1, .count = 1}),
                  nullptr);
        const TimeValue day = LastBars().begin()->first;
        fake::BackFill(*dm.barSets.back(), {{day, 902, 936, 839, 899, kVolume}});
        EXPECT_EQ(LastBars().at(day).volume, expected);

        ASSERT_NE(supplier.StartTickRequest({"SPX", 3}), nullptr);
        fake::BackFill(*dm.tickSets.back(), {fake::Trade(day, 899, kVolume),
                                             fake::Quote(day, 899, kVolume, 900, kVolume)});
        const auto size = ::testing::Field(&Tick::size, expected);
        EXPECT_THAT(LastTicks().ticks, ElementsAre(size, size, size)) << wide;
        supplier.Disconnect();
    }
}

} // namespace

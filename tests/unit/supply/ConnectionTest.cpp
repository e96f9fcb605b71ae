#include "SupplierFixture.h"

using ::testing::ElementsAre;
using ::testing::IsEmpty;

namespace {

std::vector<FeedState> FeedStates(const DataSupplier& supplier) {
    std::vector<FeedState> states;
    for (const FeedId id : kFeedIds) {
        states.push_back(supplier.GetFeedInfo(id).state);
    }
    return states;
}

using ConnectionTest = SupplierTest;

TEST_F(ConnectionTest, ConnectSetsTheOptionsInOrderAndEveryFeedRetrying) {
    EXPECT_EQ(supplier.GetCompositeState(), ecsDisconnected);
    ASSERT_TRUE(supplier.Connect(TestSettings()));

    EXPECT_THAT(fake::GetScript().calls,
                ElementsAre("Init(Zanvo,999,,20050315,64)", "CreateInstance"));
    fake::FakeMondrel* dm = fake::FakeMondrel::Current();
    ASSERT_NE(dm, nullptr);
    EXPECT_EQ(supplier.GetDataManager(), dm);
    EXPECT_THAT(dm->calls,
                ElementsAre("AddConnectionListener", "SetIntOption(1,23)", "SetIntOption(11,0)",
                            "SetTextOption(18,quote.example)", "SetTextOption(12,history.example)",
                            "SetTextOption(3,domtick.example)", "SetTextOption(6,intltick.example)",
                            "SetIntOption(5,2)", "SetTextOption(43,NYSE,NASDAQ)",
                            "ConnectFeeds(user,secret,1,0)"));
    EXPECT_THAT(FeedStates(supplier), ElementsAre(fsRetrying, fsRetrying, fsRetrying, fsRetrying));
    EXPECT_EQ(supplier.GetCompositeState(), ecsConnecting);
    EXPECT_THAT(fake::LogCapture::Assertions(), IsEmpty());
}

TEST_F(ConnectionTest, CompositeStateFollowsTheFeeds) {
    ASSERT_TRUE(supplier.Connect(TestSettings()));
    fake::FakeMondrel& dm = *fake::FakeMondrel::Current();

    dm.FireConnected(mfbDataManager);
    dm.FireConnected(mfbDomesticTick);
    dm.FireConnected(mfbInternationalTick);
    EXPECT_EQ(supplier.GetCompositeState(), ecsConnecting);
    dm.FireConnected(mfbHistory);
    EXPECT_EQ(supplier.GetCompositeState(), ecsConnected);
    dm.FireRetry(mfbHistory, -10);
    EXPECT_EQ(supplier.GetCompositeState(), ecsConnecting);
    dm.FireDisconnected(mfbDataManager);
    dm.FireDisconnected(mfbDomesticTick);
    dm.FireDisconnected(mfbInternationalTick);
    EXPECT_EQ(supplier.GetCompositeState(), ecsConnecting);
    dm.FireDisconnected(mfbHistory);
    EXPECT_EQ(supplier.GetCompositeState(), ecsDisconnected);
}

TEST_F(ConnectionTest, FeedKeepsTheLibraryCodeAndItsText) {
    ASSERT_TRUE(supplier.Connect(TestSettings()));
    fake::FakeMondrel& dm = *fake::FakeMondrel::Current();

    dm.FireDisconnected(mfbDomesticTick, -7);
    const FeedInfo& info = supplier.GetFeedInfo(fiDomesticTick);
    EXPECT_EQ(info.state, fsDisconnected);
    EXPECT_EQ(info.errorCode, -7);
    EXPECT_EQ(info.errorText, "Invalid Username or Password");

    dm.FireRetry(mfbDomesticTick, -50);
    EXPECT_EQ(info.state, fsRetrying);
    EXPECT_EQ(info.errorText, "Unknown error");
    dm.FireConnected(mfbDomesticTick, 0);
    EXPECT_EQ(info.state, fsConnected);
    EXPECT_EQ(info.errorText, "");
}

TEST_F(ConnectionTest, UnknownFeedIdsGiveTheEmptyRecordAndChangeNothing) {
    ASSERT_TRUE(supplier.Connect(TestSettings()));
    fake::FakeMondrel::Current()->FireConnected(0x0008, -9);

    EXPECT_THAT(fake::LogCapture::Assertions(),
                ElementsAre(fake::Reported("DataSupplier::SetFeedState", "0")));
    const FeedInfo& unknown = supplier.GetFeedInfo(static_cast<FeedId>(0x0008));
    EXPECT_EQ(unknown.state, 0);
    EXPECT_EQ(unknown.errorCode, 0);
    EXPECT_EQ(unknown.errorText, "");
    EXPECT_THAT(FeedStates(supplier), ElementsAre(fsRetrying, fsRetrying, fsRetrying, fsRetrying));
}

TEST_F(ConnectionTest, DisconnectReleasesTheLibraryAndKeepsTheLastCodes) {
    fake::FakeMondrel& dm = ConnectAll();
    dm.FireRetry(mfbHistory, -9);
    supplier.Disconnect();

    EXPECT_THAT(dm.calls, testing::IsSupersetOf({"DisconnectFeeds", "RemoveConnectionListener"}));
    EXPECT_EQ(dm.calls.back(), "RemoveConnectionListener");
    EXPECT_THAT(fake::GetScript().calls,
                ElementsAre("Init(Zanvo,999,,20050315,64)", "CreateInstance", "DestroyInstance",
                            "Shutdown"));
    EXPECT_TRUE(dm.destroyed);
    EXPECT_EQ(supplier.GetDataManager(), nullptr);
    EXPECT_EQ(supplier.GetCompositeState(), ecsDisconnected);
    EXPECT_EQ(supplier.GetFeedInfo(fiHistory).errorText, "Server is not available");

    // A second call has nothing left to do.
    supplier.Disconnect();
    EXPECT_EQ(fake::GetScript().calls.size(), 4u);
    EXPECT_THAT(fake::LogCapture::Assertions(), IsEmpty());
}

TEST_F(ConnectionTest, FailedCreateInstanceIsLoggedAndLeavesTheSupplierDisconnected) {
    fake::GetScript().failCreateInstance = true;
    EXPECT_FALSE(supplier.Connect(TestSettings()));

    EXPECT_THAT(
        fake::LogCapture::Lines(),
        ElementsAre(fake::Reported("DataSupplier::Connect", "Unable initialize Mondrel\n")));
    EXPECT_EQ(supplier.GetDataManager(), nullptr);
    EXPECT_THAT(FeedStates(supplier),
                ElementsAre(fsDisconnected, fsDisconnected, fsDisconnected, fsDisconnected));
}

// When every feed has dropped, the library object is still there; Disconnect must release it so
// that the next Connect starts afresh.
TEST_F(ConnectionTest, DisconnectAfterEveryFeedDroppedStillReleasesTheLibrary) {
    fake::FakeMondrel& first = ConnectAll();
    for (const int bit : {mfbDataManager, mfbDomesticTick, mfbInternationalTick, mfbHistory}) {
        first.FireDisconnected(bit, -7);
    }
    ASSERT_EQ(supplier.GetCompositeState(), ecsDisconnected);

    supplier.Disconnect();
    EXPECT_TRUE(first.destroyed);
    EXPECT_TRUE(first.connectionListeners.empty());
    ASSERT_TRUE(supplier.Connect(TestSettings()));
    EXPECT_NE(fake::FakeMondrel::Current(), &first);
    EXPECT_THAT(fake::LogCapture::Assertions(), IsEmpty());
}

TEST_F(ConnectionTest, SecondConnectIsReportedAndRefused) {
    fake::FakeMondrel& dm = ConnectAll();
    EXPECT_FALSE(supplier.Connect(TestSettings()));

    EXPECT_THAT(fake::LogCapture::Assertions(),
                ElementsAre(fake::Reported("DataSupplier::Connect",
                                           "GetCompositeState() == ecsDisconnected"),
                            fake::Reported("DataSupplier::Connect", "!m_mondrel")));
    EXPECT_EQ(supplier.GetDataManager(), &dm);
    EXPECT_EQ(fake::GetScript().instances.size(), 1u);
    EXPECT_EQ(supplier.GetCompositeState(), ecsConnected);
}

TEST_F(ConnectionTest, DestroyingAConnectedSupplierReportsAndReleasesTheLibrary) {
    auto connected = std::make_unique<DataSupplier>();
    ASSERT_TRUE(connected->Connect(TestSettings()));
    fake::FakeMondrel& dm = *fake::FakeMondrel::Current();
    connected.reset();

    EXPECT_THAT(fake::LogCapture::Assertions(),
                ElementsAre(fake::Reported("DataSupplier::~DataSupplier", "!m_mondrel")));
    EXPECT_TRUE(dm.destroyed);
    EXPECT_TRUE(dm.connectionListeners.empty());
}

TEST_F(ConnectionTest, ServerMessagesAreLoggedAsOneLineOfText) {
    ConnectAll();
    supplier.OnServerMessage("day.scn(4): bad volume '-1'");
    supplier.OnServerMessage("100% %s %n\nsecond line");
    supplier.OnServerMessage(nullptr);
    EXPECT_THAT(
        fake::LogCapture::Lines(),
        ElementsAre(fake::Reported("DataSupplier::OnServerMessage",
                                   "Data manager message: day.scn(4): bad volume '-1'\n"),
                    fake::Reported("DataSupplier::OnServerMessage",
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
        listener = RecordingListener{};

        ASSERT_NE(supplier.StartSnapshotRequest("SPX").quote, nullptr);
        dm.FireQuoteUpdate("SPX", {.ints = {{0x2711, kVolume}, {0x2713, kVolume}}});
        ASSERT_FALSE(listener.snapCalls.empty());
        EXPECT_EQ(listener.snapCalls.back().copy.volume, expected);
        EXPECT_EQ(listener.snapCalls.back().copy.tradeSize, expected);

        BarRequest daily;
        daily.symbol = "SPX";
        daily.interval = -1;
        daily.count = 1;
        ASSERT_NE(supplier.StartBarsRequest(daily), nullptr);
        fake::FakeBarItem bar;
        bar.time = listener.barCalls.back().copy.bars.begin()->first;
        bar.close = 899.22;
        bar.volume = kVolume;
        dm.barSets.back()->BackFill({bar});
        EXPECT_EQ(listener.barCalls.back().copy.bars.at(bar.time).volume, expected);

        ASSERT_NE(supplier.StartTickRequest({"SPX", 3}), nullptr);
        dm.tickSets.back()->BackFill(
            {fake::FakeTickItem::Trade(bar.time, 899.22, kVolume),
             fake::FakeTickItem::Quote(bar.time, 899, kVolume, 900, kVolume)});
        std::vector<std::int64_t> sizes;
        for (const Tick& tick : listener.tickCalls.back().copy.ticks) {
            sizes.push_back(tick.size);
        }
        EXPECT_THAT(sizes, ElementsAre(expected, expected, expected)) << wide;
        supplier.Disconnect();
    }
}

} // namespace

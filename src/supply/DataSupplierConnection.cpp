// The supplier's connection to the data-manager library and the states of the library's feeds.
#include "DataSupplier.h"
#include "Kolvane.h"

#include <algorithm>
#include <iterator>
#include <string>

namespace {

// Feed bits handed to the library: all four feeds.
constexpr int kAllFeeds = mfbDataManager | mfbDomesticTick | mfbInternationalTick | mfbHistory;

} // namespace

std::uint32_t DataSupplier::s_key1 = 0;

DataSupplier::DataSupplier() {
    for (const FeedId id : kFeedIds) {
        m_feeds[id] = FeedInfo{fsDisconnected, 0, ""};
    }
}

DataSupplier::~DataSupplier() {
    KOLVANE_ASSERT(!m_mondrel);
    // The library would otherwise go on calling back into a destroyed object.
    if (m_mondrel) {
        Disconnect();
    }
}

void DataSupplier::SetDataListener(IDataListener* listener) {
    KOLVANE_ASSERT(listener);
    KOLVANE_ASSERT(!m_listener);
    m_listener = listener;
}

bool DataSupplier::Connect(const ConnectionSettings& settings) {
    KOLVANE_ASSERT(GetCompositeState() == ecsDisconnected);
    KOLVANE_ASSERT(!m_mondrel);
    // A second library object would leave the first one calling us back with nobody to release it.
    if (m_mondrel) {
        return false;
    }

    Mondrel::Init("Zanvo", 999, "", 20050315, 64);
    m_mondrel.reset(Mondrel::CreateInstance());
    if (!m_mondrel) {
        KOLVANE_LOG(this, "Unable initialize Mondrel\n");
        return false;
    }
    m_wide = MondrelWideValues(m_mondrel.get());
    m_mondrel->AddConnectionListener(this);

    m_mondrel->SetIntOption(moFeeds, kAllFeeds);
    m_mondrel->SetIntOption(moReconnect, 0);
    m_mondrel->SetTextOption(moQuoteAddress, settings.quoteAddress.c_str());
    m_mondrel->SetTextOption(moHistoryAddress, settings.historyAddress.c_str());
    m_mondrel->SetTextOption(moDomTickAddress, settings.domTickAddress.c_str());
    m_mondrel->SetTextOption(moIntlTickAddress, settings.intlTickAddress.c_str());
    m_mondrel->SetIntOption(moTimeZoneMode, settings.timeZoneMode);
    m_mondrel->SetTextOption(moQuoteExchanges, settings.quoteExchanges.c_str());

    for (auto& [id, info] : m_feeds) {
        info.state = fsRetrying;
    }
    // Success or failure of the login arrives through the feed callbacks.
    m_mondrel->ConnectFeeds(settings.userName.c_str(), settings.password.c_str(), 1, 0);
    return true;
}

void DataSupplier::Disconnect() {
    // The library object decides, not the composite state: when every feed has dropped (a refused
    // login, say), the library is still there and must be released all the same.
    if (GetCompositeState() == ecsDisconnected && !m_mondrel) {
        return;
    }
    KOLVANE_ASSERT(m_mondrel);
    if (m_mondrel) {
        m_mondrel->DisconnectFeeds();
        m_mondrel->RemoveConnectionListener(this);
        m_wide = nullptr;
        m_mondrel.reset();
        Mondrel::Shutdown();
    }
    // Codes and texts keep telling why a feed was last lost.
    for (auto& [id, info] : m_feeds) {
        info.state = fsDisconnected;
    }
}

CompositeState DataSupplier::GetCompositeState() const {
    std::size_t disconnected = 0;
    std::size_t connected = 0;
    for (const auto& [id, info] : m_feeds) {
        switch (info.state) {
        case fsDisconnected:
            ++disconnected;
            break;
        case fsConnected:
            ++connected;
            break;
        case fsRetrying:
            break;
        default:
            KOLVANE_ASSERT(0);
            break;
        }
    }
    constexpr std::size_t feedCount = std::size(kFeedIds);
    if (disconnected == feedCount) {
        return ecsDisconnected;
    }
    if (connected == feedCount) {
        return ecsConnected;
    }
    return ecsConnecting;
}

void DataSupplier::SetFeedState(FeedId id, FeedState state, std::int32_t code) {
    const auto it = m_feeds.find(id);
    if (it == m_feeds.end()) {
        KOLVANE_ASSERT(0);
        return;
    }
    it->second.state = state;
    it->second.errorCode = code;
    it->second.errorText = ErrorText(code);
}

const FeedInfo& DataSupplier::GetFeedInfo(FeedId id) const {
    static const FeedInfo unknownFeed;
    const auto it = m_feeds.find(id);
    return it == m_feeds.end() ? unknownFeed : it->second;
}

void DataSupplier::OnRetry(IFeed* feed, int code) {
    KOLVANE_ASSERT(feed);
    if (feed) {
        SetFeedState(static_cast<FeedId>(feed->GetFeedId()), fsRetrying, code);
    }
}

void DataSupplier::OnConnected(IFeed* feed, int code) {
    KOLVANE_ASSERT(feed);
    if (feed) {
        SetFeedState(static_cast<FeedId>(feed->GetFeedId()), fsConnected, code);
    }
}

void DataSupplier::OnDisconnected(IFeed* feed, int code) {
    KOLVANE_ASSERT(feed);
    if (feed) {
        SetFeedState(static_cast<FeedId>(feed->GetFeedId()), fsDisconnected, code);
    }
}

void DataSupplier::OnFeedList(IFeed*, const char*) {}

void DataSupplier::OnServerMessage(const char* text) {
    // One line per message, whatever it holds: its own line breaks become blanks.
    std::string line = text ? text : "";
    std::replace_if(
        line.begin(), line.end(), [](char c) { return c == '\n' || c == '\r'; }, ' ');
    KOLVANE_LOG(this, "Data manager message: %s\n", line.c_str());
}

void DataSupplier::OnHeartbeat(MondrelTime) {}

// The feeds of the data-manager library, the state the supplier keeps for each, and the composite
// connection state derived from them.
#pragma once

#include <cstdint>
#include <string>

// The library's feed bits, as its IFeed objects report them.
enum FeedId : std::int32_t {
    fiDataManager = 0x0001,
    fiDomesticTick = 0x0002,
    fiInternationalTick = 0x0004,
    fiHistory = 0x0010,
};

// Every feed the supplier connects, in the order of the settings dialog's rows.
constexpr FeedId kFeedIds[] = {fiDataManager, fiDomesticTick, fiInternationalTick, fiHistory};

enum FeedState : std::int32_t {
    fsDisconnected = 1,
    fsRetrying = 2,
    fsConnected = 3,
};

// State 0 stands for a feed id that the supplier does not know.
struct FeedInfo {
    FeedState state{};
    std::int32_t errorCode = 0;
    std::string errorText;
};

enum CompositeState : std::int32_t {
    ecsDisconnected = 1,
    ecsConnecting = 2,
    ecsConnected = 3,
};

// The fixed English text of a library result code; "" for 0, "Unknown error" when not listed.
const char* ErrorText(std::int32_t code);

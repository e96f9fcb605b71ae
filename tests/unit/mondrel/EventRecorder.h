// A listener of the library's connection and quote callbacks: each one written down as a line of
// text, in the order they arrive.
#pragma once

#include "mondrel/Mondrel.h"

#include <string>
#include <utility>
#include <vector>

struct EventRecorder final : IConnectionEvents, IQuoteEvents {
    void OnRetry(IFeed* feed, int code) override { Feed("retry", feed, code); }
    void OnConnected(IFeed* feed, int code) override { Feed("connected", feed, code); }
    void OnDisconnected(IFeed* feed, int code) override { Feed("disconnected", feed, code); }
    void OnFeedList(IFeed*, const char*) override {}
    void OnServerMessage(const char* text) override { events.push_back(text); }
    void OnHeartbeat(MondrelTime) override {}
    void OnQuoteUpdate(IQuote* quote) override {
        double last = 0;
        quote->GetDouble(2, &last);
        events.push_back("quote " + std::to_string(last));
    }
    void OnQuoteRefresh(IQuote*, int) override {}
    void OnQuoteError(IQuote*, int) override {}
    int WantsEveryUpdate() override { return 1; }

    void Feed(const char* what, IFeed* feed, int code) {
        events.push_back(std::string(what) + " " + std::to_string(feed->GetFeedId()) + " " +
                         std::to_string(code));
    }
    std::vector<std::string> Take() { return std::exchange(events, {}); }

    std::vector<std::string> events;
};

// A listener of every kind of the library's callbacks: each one written down as a line of text,
// in the order they arrive, with counts and items kept for the tests that read them.
#pragma once

#include "mondrel/Mondrel.h"

#include <string>
#include <utility>
#include <vector>

struct EventRecorder final : IConnectionEvents, IQuoteEvents, IBarEvents, ITickEvents {
    void OnRetry(IFeed* feed, int code) override { Feed("retry", feed, code); }
    void OnConnected(IFeed* feed, int code) override { Feed("connected", feed, code); }
    void OnDisconnected(IFeed* feed, int code) override { Feed("disconnected", feed, code); }
    void OnFeedList(IFeed*, const char*) override {}
    void OnServerMessage(const char* text) override { events.push_back(text); }
    void OnHeartbeat(MondrelTime) override {}
    void OnQuoteUpdate(IQuote* quote) override {
        ++quoteUpdates;
        double last = 0;
        quote->GetDouble(2, &last);
        events.push_back("quote " + std::to_string(last));
    }
    void OnQuoteRefresh(IQuote*, int) override {}
    void OnQuoteError(IQuote*, int) override {}
    int WantsEveryUpdate() override { return 1; }
    void OnBarBackFillStart(IBarSet*) override {}
    void OnBarBackFillComplete(IBarSet* set) override {
        ++barBackFills;
        events.push_back("bars " + std::to_string(set->GetBarCount()));
    }
    void OnBarBackFillEmpty(IBarSet*) override {}
    void OnBarReset(IBarSet*) override {}
    void OnBarUpdate(IBarSet*, IBarItem* item) override {
        barUpdates.push_back(item->GetTime());
        events.push_back("bar " + std::to_string(item->GetTime()) + " " +
                         std::to_string(item->GetClose()) + " " +
                         std::to_string(item->GetVolume()));
    }
    void OnBarError(IBarSet*, int) override {}
    void OnBarStopped(IBarSet*) override {}
    void OnTicBackFillStart(ITickSet*) override {}
    void OnTicBackFillComplete(ITickSet* set) override {
        ++tickBackFills;
        events.push_back("ticks " + std::to_string(set->GetTickCount()));
    }
    void OnTicUpdate(ITickSet*, ITickItem* tick) override {
        tickUpdates.push_back(tick);
        char exchange[8];
        tick->GetTradeExchange(exchange, sizeof exchange);
        events.push_back("tick " + std::to_string(tick->GetTradePrice()) + " " + exchange);
    }
    void OnTicError(ITickSet*, int) override {}
    void OnTicCorrection(ITickSet*, ITickItem*, int) override {}
    void OnTicStopped(ITickSet*) override {}

    void Feed(const char* what, IFeed* feed, int code) {
        events.push_back(std::string(what) + " " + std::to_string(feed->GetFeedId()) + " " +
                         std::to_string(code));
    }
    std::vector<std::string> Take() { return std::exchange(events, {}); }

    std::vector<std::string> events;
    int quoteUpdates = 0;
    int barBackFills = 0;
    std::vector<MondrelTime> barUpdates;
    int tickBackFills = 0;
    std::vector<ITickItem*> tickUpdates;
};

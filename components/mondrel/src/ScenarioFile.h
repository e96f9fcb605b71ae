// Scenario files: a text description of a whole market session (feeds, quotes, bars, ticks,
// zones and holidays, with timings) that replaces the simulated market. The format is described
// in docs/scenario-files.md.
#pragma once

#include "Holidays.h"
#include "Market.h"
#include "TimeZones.h"

#include <cstdint>
#include <istream>
#include <map>
#include <string>
#include <vector>

namespace mondrel {

struct ScenarioSymbol {
    std::string name;
    int zone = zoneUtc;
    HolidayCalendar calendar = HolidayCalendar::None;
    std::vector<CivilDate> holidays;
    bool quotesOnly = false;
    FieldMap quote;                           // the image before any timed update
    std::map<int, std::vector<BarData>> bars; // history per interval, oldest first
    std::vector<TickData> ticks;              // history, oldest first
};

enum class ActionKind { Feed, Message, Quote, Bar, PriceEvent, Replay };

// Something that happens a number of milliseconds after the connection starts.
struct ScenarioAction {
    std::int64_t at = 0;
    ActionKind kind = ActionKind::Message;
    std::string symbol;
    int feeds = 0; // feed bits
    FeedStep step = FeedStep::Retry;
    int code = 0;
    std::string text;
    FieldMap fields;
    int interval = 0;
    BarData bar;
    MarketEvent event{};
    std::string tradeVenue, bidVenue, askVenue; // storage for the event's exchange codes
};

struct ZoneDefinition {
    std::string name;
    TimeZoneRule rule;
};

struct Scenario {
    std::map<std::string, ScenarioSymbol> symbols; // by upper-case name
    std::map<int, ZoneDefinition> zones;           // handles defined by the file
    std::vector<ScenarioAction> actions;           // in time order, file order within a time
    std::vector<std::string> problems;             // "file(line): reason"
    bool benchmark = false;                        // a benchmark line was given
    std::string benchmarkTrigger; // the file whose existence starts benchmark mode ("" at once)

    ScenarioSymbol* Find(const std::string& symbol);
};

// Reads a scenario; every line in error is reported in problems and skipped. directory is where
// relative replay paths start.
Scenario ParseScenario(std::istream& in, const std::string& fileName, const std::string& directory);

} // namespace mondrel

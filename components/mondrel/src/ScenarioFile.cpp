#include "ScenarioFile.h"

#include "ScenarioSyntax.h"
#include "Universe.h"

#include <algorithm>
#include <fstream>

namespace mondrel {
namespace {

using Tokens = std::vector<Token>;

// Timed lines may lie up to a year after the connection.
constexpr std::int64_t kLatestTime = 366ll * 86400 * 1000;

class Parser {
public:
    Parser(Scenario& scenario, std::string fileName, std::string directory)
        : m_scenario(scenario), m_fileName(std::move(fileName)), m_directory(std::move(directory)) {
    }

    void Line(const std::string& text, int line);

private:
    std::string Directive(Tokens tokens, std::int64_t at, bool timed);
    std::string Zone(const Tokens& t);
    std::string Symbol(const Tokens& t);
    std::string Holiday(const Tokens& t);
    std::string Quote(const Tokens& t, std::int64_t at, bool timed);
    std::string Bar(const Tokens& t, std::int64_t at, bool timed);
    std::string Trade(const Tokens& t, std::int64_t at, bool timed);
    std::string BidAsk(const Tokens& t, std::int64_t at, bool timed);
    std::string Feed(const Tokens& t, std::int64_t at);
    std::string Replay(const Tokens& t);
    std::string Benchmark(const Tokens& t);
    std::string Declared(const std::string& name, ScenarioSymbol*& symbol);
    void AddEvent(ScenarioSymbol& symbol, ScenarioAction action, bool timed);

    Scenario& m_scenario;
    std::string m_fileName;
    std::string m_directory;
    int m_line = 0;
};

void Parser::Line(const std::string& text, int line) {
    m_line = line;
    Tokens tokens;
    std::string problem = Tokenize(text, tokens);
    if (problem.empty() && !tokens.empty()) {
        std::int64_t at = 0;
        bool timed = false;
        if (Lower(tokens[0].text) == "at") {
            if (tokens.size() < 3)
                problem = "'at' needs a time in milliseconds and a directive";
            else if (!ParseInteger(tokens[1].text, at) || at < 0 || at > kLatestTime)
                problem = "bad time '" + tokens[1].text + "' (milliseconds from the connection)";
            timed = true;
            tokens.erase(tokens.begin(), tokens.begin() + std::min<std::size_t>(2, tokens.size()));
        }
        if (problem.empty())
            problem = Directive(std::move(tokens), at, timed);
    }
    if (!problem.empty())
        m_scenario.problems.push_back(m_fileName + "(" + std::to_string(line) + "): " + problem);
}

std::string Parser::Directive(Tokens tokens, std::int64_t at, bool timed) {
    const std::string name = Lower(tokens[0].text);
    auto untimed = [&](std::string (Parser::*parse)(const Tokens&)) -> std::string {
        if (timed)
            return "'" + name + "' cannot be timed";
        return (this->*parse)(tokens);
    };
    if (name == "zone")
        return untimed(&Parser::Zone);
    if (name == "symbol")
        return untimed(&Parser::Symbol);
    if (name == "holiday")
        return untimed(&Parser::Holiday);
    if (name == "replay")
        return untimed(&Parser::Replay);
    if (name == "benchmark")
        return untimed(&Parser::Benchmark);
    if (name == "quote")
        return Quote(tokens, at, timed);
    if (name == "bar")
        return Bar(tokens, at, timed);
    if (name == "trade")
        return Trade(tokens, at, timed);
    if (name == "bidask")
        return BidAsk(tokens, at, timed);
    if (name == "feed" || name == "message") {
        if (!timed)
            return "'" + name + "' needs a time: at <ms> " + name + " ...";
        if (name == "feed")
            return Feed(tokens, at);
        if (tokens.size() != 2)
            return "'message' takes one text (quote it when it has blanks)";
        ScenarioAction action;
        action.at = at;
        action.kind = ActionKind::Message;
        action.text = tokens[1].text;
        m_scenario.actions.push_back(std::move(action));
        return {};
    }
    return "unknown directive '" + tokens[0].text + "'";
}

std::string Parser::Zone(const Tokens& t) {
    // zone <handle> <name> <standard offset minutes> [none|us|eu]
    if (t.size() < 4 || t.size() > 5)
        return "usage: zone <handle> <name> <standard offset in minutes> [none|us|eu]";
    std::int64_t handle, minutes;
    if (!ParseInteger(t[1].text, handle) || handle < 1 || handle > 999)
        return "zone handle must be 1 to 999";
    if (!ParseInteger(t[3].text, minutes) || minutes < -720 || minutes > 840)
        return "standard offset must be -720 to 840 minutes";
    DaylightRule rule = DaylightRule::None;
    if (t.size() == 5 && !ParseDaylightRule(t[4].text, rule))
        return "unknown daylight rule '" + t[4].text + "' (none, us or eu)";
    ZoneDefinition& zone = m_scenario.zones[static_cast<int>(handle)];
    zone.name = t[2].text;
    zone.rule = {nullptr, static_cast<int>(minutes), rule};
    return {};
}

std::string Parser::Symbol(const Tokens& t) {
    // symbol <SYMBOL> [zone <handle>] [calendar <name>] [quotes-only]
    if (t.size() < 2)
        return "usage: symbol <SYMBOL> [zone <handle>] [calendar <name>] [quotes-only]";
    const std::string key = Upper(t[1].text);
    if (key.empty() || key.size() > 24)
        return "symbol must be 1 to 24 characters";
    ScenarioSymbol symbol;
    symbol.name = t[1].text;
    if (const SymbolInfo* listed = FindSymbol(key)) {
        symbol.zone = listed->exchange->zone;
        symbol.calendar = listed->exchange->calendar;
        symbol.quotesOnly = listed->exchange->quotesOnly;
    }
    for (std::size_t i = 2; i < t.size(); ++i) {
        const std::string option = Lower(t[i].text);
        std::int64_t handle;
        if (option == "quotes-only") {
            symbol.quotesOnly = true;
        } else if (option == "zone" && i + 1 < t.size()) {
            if (!ParseInteger(t[++i].text, handle) || handle < 1 || handle > 999)
                return "zone handle must be 1 to 999";
            if (!FindZone(static_cast<int>(handle)) &&
                !m_scenario.zones.count(static_cast<int>(handle)))
                return "zone " + t[i].text + " is not defined (built in: 1 to 5)";
            symbol.zone = static_cast<int>(handle);
        } else if (option == "calendar" && i + 1 < t.size()) {
            if (!ParseCalendar(t[++i].text, symbol.calendar))
                return "unknown calendar '" + t[i].text + "'";
        } else {
            return "unknown symbol option '" + t[i].text + "'";
        }
    }
    if (m_scenario.symbols.count(key))
        return "symbol '" + t[1].text + "' is declared twice";
    m_scenario.symbols[key] = std::move(symbol);
    return {};
}

std::string Parser::Declared(const std::string& name, ScenarioSymbol*& symbol) {
    symbol = m_scenario.Find(name);
    return symbol ? std::string()
                  : "unknown symbol '" + name + "' (declare it with a symbol line first)";
}

std::string Parser::Holiday(const Tokens& t) {
    // holiday <SYMBOL> <date>...
    if (t.size() < 3)
        return "usage: holiday <SYMBOL> <YYYY-MM-DD>...";
    ScenarioSymbol* symbol;
    if (std::string problem = Declared(t[1].text, symbol); !problem.empty())
        return problem;
    std::vector<CivilDate> dates;
    for (std::size_t i = 2; i < t.size(); ++i) {
        CivilDate date;
        if (!ParseDate(t[i].text, date))
            return "bad date '" + t[i].text + "' (YYYY-MM-DD)";
        dates.push_back(date);
    }
    symbol->holidays.insert(symbol->holidays.end(), dates.begin(), dates.end());
    return {};
}

std::string Parser::Quote(const Tokens& t, std::int64_t at, bool timed) {
    // quote <SYMBOL> <field>=<value>...
    if (t.size() < 3)
        return "usage: quote <SYMBOL> <field>=<value>...";
    ScenarioSymbol* symbol;
    if (std::string problem = Declared(t[1].text, symbol); !problem.empty())
        return problem;
    FieldMap fields;
    for (std::size_t i = 2; i < t.size(); ++i) {
        if (std::string problem = ParseField(t[i], fields); !problem.empty())
            return problem;
    }
    if (!timed) {
        for (auto& [id, value] : fields)
            symbol->quote[id] = value;
        return {};
    }
    ScenarioAction action;
    action.at = at;
    action.kind = ActionKind::Quote;
    action.symbol = symbol->name;
    action.fields = std::move(fields);
    m_scenario.actions.push_back(std::move(action));
    return {};
}

std::string Parser::Bar(const Tokens& t, std::int64_t at, bool timed) {
    // bar <SYMBOL> <interval> <time> <open> <high> <low> <close> <volume>
    if (t.size() != 9)
        return "usage: bar <SYMBOL> <interval> <time> <open> <high> <low> <close> <volume>";
    ScenarioSymbol* symbol;
    if (std::string problem = Declared(t[1].text, symbol); !problem.empty())
        return problem;
    std::int64_t interval, time, volume;
    BarData bar;
    if (!ParseInteger(t[2].text, interval) || interval == 0 || interval < -5 || interval > 1440)
        return "bad interval '" + t[2].text + "' (1 to 1440 minutes, or -1 to -5)";
    if (!ParseTime(t[3].text, time))
        return "bad time '" + t[3].text + "'";
    if (!ParseDouble(t[4].text, bar.open) || !ParseDouble(t[5].text, bar.high) ||
        !ParseDouble(t[6].text, bar.low) || !ParseDouble(t[7].text, bar.close))
        return "bad price in bar";
    if (!ParseInteger(t[8].text, volume) || volume < 0 || volume > kMaxCount)
        return "bad volume '" + t[8].text + "'";
    bar.time = time;
    bar.volume = volume;
    if (!timed) {
        std::vector<BarData>& bars = symbol->bars[static_cast<int>(interval)];
        const auto position = std::find_if(bars.begin(), bars.end(),
                                           [&](const BarData& b) { return b.time >= time; });
        if (position != bars.end() && position->time == time)
            *position = bar;
        else
            bars.insert(position, bar);
        return {};
    }
    ScenarioAction action;
    action.at = at;
    action.kind = ActionKind::Bar;
    action.symbol = symbol->name;
    action.interval = static_cast<int>(interval);
    action.bar = bar;
    m_scenario.actions.push_back(std::move(action));
    return {};
}

void Parser::AddEvent(ScenarioSymbol& symbol, ScenarioAction action, bool timed) {
    if (!timed) {
        TickData tick = TickData::From(action.event);
        tick.exchange = action.tradeVenue;
        tick.bidExchange = action.bidVenue;
        tick.askExchange = action.askVenue;
        const auto position =
            std::find_if(symbol.ticks.begin(), symbol.ticks.end(),
                         [&](const TickData& other) { return other.time > tick.time; });
        symbol.ticks.insert(position, std::move(tick));
        return;
    }
    action.kind = ActionKind::PriceEvent;
    action.symbol = symbol.name;
    m_scenario.actions.push_back(std::move(action));
}

std::string Parser::Trade(const Tokens& t, std::int64_t at, bool timed) {
    // trade <SYMBOL> <time> <price> <size> [<exchange>]
    if (t.size() < 5 || t.size() > 6)
        return "usage: trade <SYMBOL> <time> <price> <size> [<exchange>]";
    ScenarioSymbol* symbol;
    if (std::string problem = Declared(t[1].text, symbol); !problem.empty())
        return problem;
    ScenarioAction action;
    action.at = at;
    std::int64_t size;
    if (!ParseTime(t[2].text, action.event.time))
        return "bad time '" + t[2].text + "'";
    if (!ParseDouble(t[3].text, action.event.price))
        return "bad price '" + t[3].text + "'";
    if (!ParseInteger(t[4].text, size) || size < 0 || size > kMaxCount)
        return "bad size '" + t[4].text + "'";
    if (t.size() == 6 && t[5].text.size() > 7)
        return "exchange codes have at most 7 characters";
    action.event.isTrade = true;
    action.event.size = size;
    action.tradeVenue = t.size() == 6 ? t[5].text : "";
    AddEvent(*symbol, std::move(action), timed);
    return {};
}

std::string Parser::BidAsk(const Tokens& t, std::int64_t at, bool timed) {
    // bidask <SYMBOL> <time> <bid> <bid size> <bid exchange> <ask> <ask size> <ask exchange>
    if (t.size() != 9)
        return "usage: bidask <SYMBOL> <time> <bid> <bid size> <bid exchange> <ask> <ask size> "
               "<ask exchange>";
    ScenarioSymbol* symbol;
    if (std::string problem = Declared(t[1].text, symbol); !problem.empty())
        return problem;
    ScenarioAction action;
    action.at = at;
    std::int64_t bidSize, askSize;
    if (!ParseTime(t[2].text, action.event.time))
        return "bad time '" + t[2].text + "'";
    if (!ParseDouble(t[3].text, action.event.bid) || !ParseDouble(t[6].text, action.event.ask))
        return "bad price in bidask";
    if (!ParseInteger(t[4].text, bidSize) || !ParseInteger(t[7].text, askSize) || bidSize < 0 ||
        askSize < 0 || bidSize > kMaxCount || askSize > kMaxCount)
        return "bad size in bidask";
    if (t[5].text.size() > 7 || t[8].text.size() > 7)
        return "exchange codes have at most 7 characters";
    action.event.bidSize = bidSize;
    action.event.askSize = askSize;
    action.bidVenue = t[5].text;
    action.askVenue = t[8].text;
    AddEvent(*symbol, std::move(action), timed);
    return {};
}

std::string Parser::Feed(const Tokens& t, std::int64_t at) {
    // at <ms> feed <name|all> retry|connected|disconnected [code]
    if (t.size() < 3 || t.size() > 4)
        return "usage: at <ms> feed <name|all> retry|connected|disconnected [code]";
    ScenarioAction action;
    action.at = at;
    action.kind = ActionKind::Feed;
    if (!ParseFeeds(t[1].text, action.feeds))
        return "unknown feed '" + t[1].text +
               "' (DataManager, DomesticTick, InternationalTick, History or all)";
    const std::string step = Lower(t[2].text);
    if (step == "retry")
        action.step = FeedStep::Retry;
    else if (step == "connected")
        action.step = FeedStep::Connect;
    else if (step == "disconnected")
        action.step = FeedStep::Disconnect;
    else
        return "unknown feed state '" + t[2].text + "' (retry, connected or disconnected)";
    std::int64_t code = 0;
    if (t.size() == 4 && (!ParseInteger(t[3].text, code) || code < INT32_MIN || code > INT32_MAX))
        return "bad code '" + t[3].text + "'";
    action.code = static_cast<int>(code);
    m_scenario.actions.push_back(std::move(action));
    return {};
}

std::string Parser::Replay(const Tokens& t) {
    // replay <csv file> [at <ms>] [speed <factor>]
    if (t.size() < 2)
        return "usage: replay <csv file> [at <ms>] [speed <factor>]";
    std::int64_t start = 0;
    double speed = 1.0;
    for (std::size_t i = 2; i < t.size(); i += 2) {
        const std::string option = Lower(t[i].text);
        if (i + 1 >= t.size())
            return "'" + t[i].text + "' needs a value";
        if (option == "at" && ParseInteger(t[i + 1].text, start) && start >= 0 &&
            start <= kLatestTime)
            continue;
        if (option == "speed" && ParseDouble(t[i + 1].text, speed) && speed > 0.0)
            continue;
        return "bad replay option '" + t[i].text + " " + t[i + 1].text + "'";
    }
    const std::string path = ResolvePath(m_directory, t[1].text);
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return "cannot open replay file '" + path + "'";
    ReadReplay(in, t[1].text, start, speed, m_scenario);
    return {};
}

std::string Parser::Benchmark(const Tokens& t) {
    // benchmark [when <file>]
    const bool valid = t.size() == 1 || (t.size() == 3 && Lower(t[1].text) == "when");
    if (!valid)
        return "usage: benchmark [when <file>]";
    if (m_scenario.benchmark)
        return "'benchmark' is given twice";
    m_scenario.benchmark = true;
    if (t.size() == 3)
        m_scenario.benchmarkTrigger = ResolvePath(m_directory, t[2].text);
    return {};
}

} // namespace

ScenarioSymbol* Scenario::Find(const std::string& symbol) {
    const auto it = symbols.find(Upper(symbol));
    return it == symbols.end() ? nullptr : &it->second;
}

Scenario ParseScenario(std::istream& in, const std::string& fileName,
                       const std::string& directory) {
    Scenario scenario;
    Parser parser(scenario, fileName, directory);
    std::string line;
    for (int number = 1; std::getline(in, line); ++number)
        parser.Line(line, number);
    std::stable_sort(scenario.actions.begin(), scenario.actions.end(),
                     [](const ScenarioAction& a, const ScenarioAction& b) { return a.at < b.at; });
    return scenario;
}

} // namespace mondrel

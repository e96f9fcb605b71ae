// Replay of recorded trades and quotes from a CSV file:
//   time,symbol,kind,price,size,exchange[,ask,ask size,ask exchange]
// kind T (trade) or Q (quote: price, size and exchange are the bid's).
#include "ScenarioSyntax.h"
#include "Universe.h"

#include <algorithm>
#include <cmath>
#include <sstream>

namespace mondrel {
namespace {

std::vector<std::string> SplitCsv(const std::string& line) {
    std::vector<std::string> fields;
    std::string field;
    std::istringstream in(line);
    while (std::getline(in, field, ',')) {
        while (!field.empty() && (field.back() == '\r' || field.back() == ' '))
            field.pop_back();
        const auto first = field.find_first_not_of(' ');
        fields.push_back(first == std::string::npos ? std::string() : field.substr(first));
    }
    return fields;
}

ScenarioSymbol& DeclareOnce(Scenario& scenario, const std::string& name) {
    if (ScenarioSymbol* known = scenario.Find(name))
        return *known;
    ScenarioSymbol symbol;
    symbol.name = name;
    if (const SymbolInfo* listed = FindSymbol(name)) {
        symbol.zone = listed->exchange->zone;
        symbol.calendar = listed->exchange->calendar;
        symbol.quotesOnly = listed->exchange->quotesOnly;
    }
    return scenario.symbols[Upper(name)] = std::move(symbol);
}

// Fills the event of one record; returns a problem, or "".
std::string ReadRecord(const std::vector<std::string>& f, ScenarioAction& action) {
    if (f.size() != 6 && f.size() != 9)
        return "expected 6 fields (trade) or 9 fields (quote), found " + std::to_string(f.size());
    MarketEvent& e = action.event;
    if (!ParseTime(f[0], e.time))
        return "bad time '" + f[0] + "'";
    if (f[1].empty() || f[1].size() > 24)
        return "symbol must be 1 to 24 characters";
    const std::string kind = Upper(f[2]);
    double price;
    std::int64_t size;
    if (!ParseDouble(f[3], price) || !ParseInteger(f[4], size) || size < 0 || size > kMaxCount)
        return "bad price or size";
    if (f[5].size() > 7 || (f.size() == 9 && f[8].size() > 7))
        return "exchange codes have at most 7 characters";
    if (kind == "T" || kind == "TRADE") {
        if (f.size() != 6)
            return "a trade has 6 fields";
        e.isTrade = true;
        e.price = price;
        e.size = size;
        action.tradeVenue = f[5];
        return {};
    }
    if (kind != "Q" && kind != "QUOTE")
        return "kind must be T (trade) or Q (quote), not '" + f[2] + "'";
    std::int64_t askSize;
    if (f.size() != 9)
        return "a quote has 9 fields";
    if (!ParseDouble(f[6], e.ask) || !ParseInteger(f[7], askSize) || askSize < 0 ||
        askSize > kMaxCount)
        return "bad ask price or size";
    e.bid = price;
    e.bidSize = size;
    e.askSize = askSize;
    action.bidVenue = f[5];
    action.askVenue = f[8];
    return {};
}

} // namespace

void ReadReplay(std::istream& in, const std::string& fileName, std::int64_t start, double speed,
                Scenario& scenario) {
    std::string line;
    bool haveFirst = false;
    std::int64_t firstTime = 0;
    for (int number = 1; std::getline(in, line); ++number) {
        const std::vector<std::string> fields = SplitCsv(line);
        if (fields.empty() || (fields.size() == 1 && fields[0].empty()))
            continue;
        std::int64_t time;
        // A first line that does not start with a time is a header.
        if (number == 1 && !ParseTime(fields[0], time))
            continue;
        ScenarioAction action;
        action.kind = ActionKind::Replay;
        const std::string problem = ReadRecord(fields, action);
        if (!problem.empty()) {
            scenario.problems.push_back(fileName + "(" + std::to_string(number) + "): " + problem);
            continue;
        }
        if (!haveFirst) {
            firstTime = action.event.time;
            haveFirst = true;
        }
        action.symbol = DeclareOnce(scenario, fields[1]).name;
        // Clamped so that any speed keeps the time representable (about 30 years at most).
        const double offset = std::clamp(
            static_cast<double>(action.event.time - firstTime) * 1000.0 / speed, 0.0, 1e12);
        action.at = start + static_cast<std::int64_t>(std::llround(offset));
        scenario.actions.push_back(std::move(action));
    }
}

} // namespace mondrel

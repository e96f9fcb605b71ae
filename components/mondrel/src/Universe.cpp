#include "Universe.h"

#include "TimeZones.h"

#include <algorithm>
#include <cctype>

namespace mondrel {
namespace {

using HC = HolidayCalendar;

const Exchange kNyse{"NYSE", zoneNewYork, HC::UnitedStates, 570, 960,
                     false,  false,       {"N", "P", "Z"}};
const Exchange kNasdaq{"NASDAQ", zoneNewYork, HC::UnitedStates, 570, 960,
                       false,    false,       {"Q", "P", "Z"}};
const Exchange kCme{"CME", zoneChicago, HC::UnitedStates, 510, 915, false, false, {"CME", "", ""}};
const Exchange kXetra{"XETRA", zoneFrankfurt, HC::Frankfurt, 540,
                      1050,    false,         false,         {"ETR", "FFM", ""}};
const Exchange kTse{"TSE", zoneTokyo, HC::Tokyo, 540, 900, false, false, {"T", "", ""}};
const Exchange kFx{"FX", zoneUtc, HC::ForeignExchange, 0, 1440, false, true, {"FX", "", ""}};
const Exchange kCrypto{"CRYPTO", zoneUtc, HC::None, 0, 1440, true, false, {"CX", "CY", ""}};

// symbol, title, exchange, price, volatility, tick, activity, lot,
// eps, dividend, beta, shares outstanding, current ratio, open interest
const SymbolInfo kSymbols[] = {
    {"IBM", "International Business Machines Corp", &kNyse, 140.0, 0.25, 0.01, 0.30, 100, 9.85,
     6.64, 0.72, 9.2e8, 0.96, 0},
    {"GE", "General Electric Co", &kNyse, 95.0, 0.30, 0.01, 0.30, 100, 4.10, 1.12, 1.20, 1.09e9,
     1.10, 0},
    {"KO", "Coca-Cola Co", &kNyse, 62.0, 0.18, 0.01, 0.25, 100, 2.47, 1.94, 0.58, 4.31e9, 1.13, 0},
    {"JPM", "JPMorgan Chase & Co", &kNyse, 180.0, 0.28, 0.01, 0.30, 100, 16.20, 4.60, 1.10, 2.87e9,
     0.0, 0},
    {"XOM", "Exxon Mobil Corp", &kNyse, 105.0, 0.27, 0.01, 0.28, 100, 8.90, 3.80, 0.90, 3.97e9,
     1.48, 0},
    {"WMT", "Walmart Inc", &kNyse, 70.0, 0.20, 0.01, 0.28, 100, 2.41, 0.83, 0.51, 8.05e9, 0.83, 0},
    {"DIS", "Walt Disney Co", &kNyse, 110.0, 0.30, 0.01, 0.22, 100, 2.72, 0.90, 1.25, 1.83e9, 0.68,
     0},
    {"PG", "Procter & Gamble Co", &kNyse, 155.0, 0.17, 0.01, 0.22, 100, 6.02, 3.76, 0.42, 2.36e9,
     0.76, 0},
    {"MSFT", "Microsoft Corp", &kNasdaq, 380.0, 0.26, 0.01, 0.35, 100, 11.45, 3.00, 0.89, 7.43e9,
     1.30, 0},
    {"AAPL", "Apple Inc", &kNasdaq, 185.0, 0.28, 0.01, 0.35, 100, 6.13, 0.96, 1.28, 1.55e10, 0.99,
     0},
    {"INTC", "Intel Corp", &kNasdaq, 32.0, 0.38, 0.01, 0.30, 100, 0.40, 0.50, 1.05, 4.22e9, 1.57,
     0},
    {"CSCO", "Cisco Systems Inc", &kNasdaq, 50.0, 0.24, 0.01, 0.28, 100, 3.07, 1.56, 0.84, 4.05e9,
     1.40, 0},
    {"AMZN", "Amazon.com Inc", &kNasdaq, 150.0, 0.34, 0.01, 0.33, 100, 2.90, 0.0, 1.15, 1.03e10,
     1.05, 0},
    {"GOOG", "Alphabet Inc Class C", &kNasdaq, 140.0, 0.30, 0.01, 0.30, 100, 5.80, 0.0, 1.05, 5.9e9,
     2.10, 0},
    {"NVDA", "NVIDIA Corp", &kNasdaq, 480.0, 0.50, 0.01, 0.35, 100, 11.93, 0.16, 1.68, 2.47e9, 4.17,
     0},
    {"ES", "E-mini S&P 500 Future", &kCme, 4700.0, 0.17, 0.25, 0.375, 1, 0.0, 0.0, 0.0, 0.0, 0.0,
     2250000},
    {"NQ", "E-mini Nasdaq-100 Future", &kCme, 16500.0, 0.22, 0.25, 0.35, 1, 0.0, 0.0, 0.0, 0.0, 0.0,
     250000},
    {"6E", "Euro FX Future", &kCme, 1.095, 0.08, 0.00005, 0.30, 1, 0.0, 0.0, 0.0, 0.0, 0.0, 700000},
    {"SAP", "SAP SE", &kXetra, 140.0, 0.25, 0.02, 0.25, 10, 4.45, 2.05, 1.00, 1.23e9, 1.11, 0},
    {"SIE", "Siemens AG", &kXetra, 165.0, 0.24, 0.02, 0.25, 10, 10.00, 4.70, 1.17, 8.0e8, 1.30, 0},
    {"BMW", "Bayerische Motoren Werke AG", &kXetra, 100.0, 0.26, 0.02, 0.22, 10, 18.00, 6.00, 1.12,
     6.4e8, 1.10, 0},
    {"BAS", "BASF SE", &kXetra, 48.0, 0.25, 0.01, 0.22, 10, 0.25, 3.40, 1.10, 8.9e8, 1.70, 0},
    {"DBK", "Deutsche Bank AG", &kXetra, 12.0, 0.35, 0.002, 0.25, 100, 2.20, 0.30, 1.30, 2.0e9, 0.0,
     0},
    {"7203", "Toyota Motor Corp", &kTse, 2800.0, 0.27, 1.0, 0.30, 100, 330.0, 75.0, 0.65, 1.56e10,
     1.21, 0},
    {"6758", "Sony Group Corp", &kTse, 13000.0, 0.28, 5.0, 0.28, 100, 760.0, 85.0, 1.00, 1.23e9,
     0.86, 0},
    {"9984", "SoftBank Group Corp", &kTse, 6300.0, 0.40, 1.0, 0.30, 100, 150.0, 44.0, 1.40, 1.47e9,
     1.22, 0},
    {"8306", "Mitsubishi UFJ Financial Group", &kTse, 1250.0, 0.30, 0.5, 0.30, 100, 93.0, 41.0,
     0.90, 1.2e10, 0.0, 0},
    {"EURUSD", "Euro / US Dollar", &kFx, 1.09, 0.07, 0.00001, 0.25, 100000, 0.0, 0.0, 0.0, 0.0, 0.0,
     0},
    {"USDJPY", "US Dollar / Japanese Yen", &kFx, 145.0, 0.09, 0.001, 0.25, 100000, 0.0, 0.0, 0.0,
     0.0, 0.0, 0},
    {"GBPUSD", "British Pound / US Dollar", &kFx, 1.26, 0.08, 0.00001, 0.1875, 100000, 0.0, 0.0,
     0.0, 0.0, 0.0, 0},
    {"AUDUSD", "Australian Dollar / US Dollar", &kFx, 0.66, 0.10, 0.00001, 0.1875, 100000, 0.0, 0.0,
     0.0, 0.0, 0.0, 0},
    {"BTCUSD", "Bitcoin / US Dollar", &kCrypto, 42000.0, 0.60, 0.01, 0.125, 1, 0.0, 0.0, 0.0, 0.0,
     0.0, 0},
    {"ETHUSD", "Ether / US Dollar", &kCrypto, 2300.0, 0.70, 0.01, 0.125, 1, 0.0, 0.0, 0.0, 0.0, 0.0,
     0},
    {"LTCUSD", "Litecoin / US Dollar", &kCrypto, 72.0, 0.80, 0.01, 0.0625, 1, 0.0, 0.0, 0.0, 0.0,
     0.0, 0},
};

bool EqualNoCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x)) ==
                      std::toupper(static_cast<unsigned char>(y));
           });
}

// The trading window of one local calendar day, in UTC; empty when the exchange is closed.
Window LocalDayWindow(const Exchange& exchange, const TimeZoneRule& zone, std::int64_t localDay) {
    const int weekDay = WeekDay(localDay);
    if ((!exchange.weekends && (weekDay == 0 || weekDay == 6)) ||
        IsHoliday(exchange.calendar, localDay))
        return {0, 0};
    const std::int64_t localMidnight = localDay * kSecondsPerDay;
    // The offset at the opening (sessions never span a daylight change-over).
    const std::int64_t approxOpen =
        localMidnight + exchange.openMinute * 60 - zone.standardMinutes * 60;
    const std::int64_t offset = OffsetMinutes(zone, approxOpen) * 60;
    return {localMidnight + exchange.openMinute * 60 - offset,
            localMidnight + exchange.closeMinute * 60 - offset};
}

} // namespace

std::span<const SymbolInfo> Symbols() {
    return kSymbols;
}

const SymbolInfo* FindSymbol(std::string_view symbol) {
    for (const SymbolInfo& info : kSymbols) {
        if (EqualNoCase(info.symbol, symbol))
            return &info;
    }
    return nullptr;
}

std::vector<Window> TradingWindows(const Exchange& exchange, std::int64_t utcDay) {
    std::vector<Window> windows;
    const TimeZoneRule* zone = FindZone(exchange.zone);
    const std::int64_t dayBegin = utcDay * kSecondsPerDay;
    const std::int64_t dayEnd = dayBegin + kSecondsPerDay;
    for (std::int64_t localDay = utcDay - 1; localDay <= utcDay + 1; ++localDay) {
        const Window w = LocalDayWindow(exchange, *zone, localDay);
        const Window clipped{std::max(w.begin, dayBegin), std::min(w.end, dayEnd)};
        if (clipped.begin < clipped.end) {
            if (!windows.empty() && windows.back().end == clipped.begin)
                windows.back().end = clipped.end;
            else
                windows.push_back(clipped);
        }
    }
    return windows;
}

bool IsTrading(const Exchange& exchange, std::int64_t utc) {
    for (const Window& w : TradingWindows(exchange, DayOf(utc))) {
        if (utc >= w.begin && utc < w.end)
            return true;
    }
    return false;
}

} // namespace mondrel

// Quote field ids and the field values of one quote.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <variant>

namespace mondrel {

enum QuoteField : int {
    qfTrade = 1, // last trade, extended hours included
    qfLast = 2,
    qfOpen = 4,
    qfHigh = 5,
    qfLow = 6,
    qfYesterday = 7,
    qfAsk = 8,
    qfBid = 9,
    qfNet = 0x0A,
    qfSettle = 0x0B,
    qfVwap = 0x11,
    qfYearHigh = 0x12,
    qfYearLow = 0x13,
    qfTrade2 = 0x1F,
    qfTrade3 = 0x20,
    qfTrade4 = 0x21,
    qfVolume = 0x2711,
    qfTradeSize = 0x2713,
    qfOpenInterest = 0x2714,
    qfAskSize = 0x2715,
    qfBidSize = 0x2716,
    qfAverageVolume65 = 0x2717,
    qfQuoteTime = 0x7534,
    qfTradeTime = 0x7535,
    qfDate = 0x7540,
    qfExchange = 0xEA67,
    qfBidExchange = 0xEA68,
    qfAskExchange = 0xEA69,
    qfTradeExchange = 0xEA6A,
    qfEps = 0xEA6C,
    qfDividend = 0xEA6D,
    qfDividendYield = 0xEA6E,
    qfPeRatio = 0xEA70,
    qfSharesOutstanding = 0xEA71,
    qfTitle = 0xEA72,
    qfBeta = 0xEA83,
    qfCurrentRatio = 0xEA91,
    qfSymbol = 0xEAB6,
};

// Integer fields are 64-bit: volumes and sizes beyond 32 bits are kept exactly up to kMaxCount.
using FieldValue = std::variant<std::int64_t, double, std::string>;

// The largest volume or size the library takes: 2^53, exact also as a double.
constexpr std::int64_t kMaxCount = std::int64_t{1} << 53;
using FieldMap = std::map<int, FieldValue>;

enum class FieldType { Integer, Double, Text, Unknown };

// The type of a known field id; Unknown for ids the library does not define.
FieldType TypeOfField(int fieldId);

} // namespace mondrel

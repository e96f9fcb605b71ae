// The text of a quote snapshot.
#include "DataFormatter.h"
#include "Kolvane.h"
#include "PlainTextBuilder.h"

#include <array>
#include <cstddef>
#include <utility>

namespace {

using Value = DataFormatter::FieldValue;

// Where the value of one qualifier lives in the record and what kind of value it is.
struct FieldSource {
    Value::Kind kind = Value::fvNone;
    TimeValue SnapshotInfo::*time = nullptr;
    double SnapshotInfo::*real = nullptr;
    std::int64_t SnapshotInfo::*whole = nullptr;
    std::string SnapshotInfo::*text = nullptr;
};

constexpr FieldSource Date(TimeValue SnapshotInfo::*m) {
    return {Value::fvDate, m, nullptr, nullptr, nullptr};
}
constexpr FieldSource Time(TimeValue SnapshotInfo::*m) {
    return {Value::fvTime, m, nullptr, nullptr, nullptr};
}
constexpr FieldSource Price(double SnapshotInfo::*m) {
    return {Value::fvPrice, nullptr, m, nullptr, nullptr};
}
constexpr FieldSource Integer(std::int64_t SnapshotInfo::*m) {
    return {Value::fvInteger, nullptr, nullptr, m, nullptr};
}
constexpr FieldSource Shares(double SnapshotInfo::*m) {
    return {Value::fvShares, nullptr, m, nullptr, nullptr};
}
constexpr FieldSource Text(std::string SnapshotInfo::*m) {
    return {Value::fvText, nullptr, nullptr, nullptr, m};
}

using I = SnapshotInfo;

// The qualifiers whose value the record holds, by identifier; the others have none.
constexpr std::pair<SnapshotQualifierId, FieldSource> kValued[] = {
    {0, Date(&I::date)},                 // D
    {1, Time(&I::tradeTime)},            // TT
    {2, Price(&I::open)},                // O
    {3, Price(&I::high)},                // H
    {4, Price(&I::low)},                 // L
    {5, Price(&I::trade)},               // TR
    {6, Price(&I::last)},                // T
    {7, Price(&I::settle)},              // S
    {8, Price(&I::yest)},                // Y
    {9, Price(&I::net)},                 // N
    {10, Price(&I::bid)},                // B
    {11, Price(&I::ask)},                // A
    {12, Price(&I::bestBid)},            // BB
    {13, Price(&I::bestAsk)},            // BA
    {14, Integer(&I::volume)},           // V
    {15, Integer(&I::openInterest)},     // OI
    {16, Integer(&I::tradeSize)},        // TS
    {17, Integer(&I::bidSize)},          // BS
    {18, Integer(&I::askSize)},          // AS
    {19, Integer(&I::bestBidSize)},      // BBS
    {20, Integer(&I::bestAskSize)},      // BAS
    {21, Text(&I::tradeExchange)},       // TX
    {22, Text(&I::bidExchange)},         // BX
    {23, Text(&I::askExchange)},         // AX
    {24, Text(&I::bestBidExchange)},     // BBX
    {25, Text(&I::bestAskExchange)},     // BAX
    {26, Price(&I::trade2)},             // T2
    {27, Price(&I::trade3)},             // T3
    {28, Price(&I::trade4)},             // T4
    {31, Price(&I::yearHigh)},           // YH
    {32, Price(&I::yearLow)},            // YL
    {33, Price(&I::netPercent)},         // %
    {34, Price(&I::percentInRange)},     // %R
    {47, Price(&I::vwap)},               // VWAP
    {49, Integer(&I::avgVolume65)},      // 65DAV
    {56, Text(&I::title)},               // TTL
    {57, Text(&I::symbol)},              // SYM
    {58, Text(&I::exchange)},            // EX
    {60, Price(&I::beta)},               // BETA
    {61, Shares(&I::sharesOutstanding)}, // SO
    {63, Price(&I::dividend)},           // DIV
    {83, Price(&I::eps)},                // EPS
    {88, Price(&I::currentRatio)},       // CR
    {94, Price(&I::peRatio)},            // PER
    {95, Price(&I::dividendYield)},      // DY
    {96, Price(&I::spread)},             // BASP
    {97, Price(&I::lastExtendedHours)},  // LASTEXTHRS
};

constexpr auto s_sources = [] {
    std::array<FieldSource, __sfEndOfQualifierList> sources{};
    for (const auto& [id, source] : kValued) {
        sources[static_cast<std::size_t>(id)] = source;
    }
    return sources;
}();

bool IsQualifier(SnapshotQualifierId qualifierId) {
    return qualifierId >= 0 && qualifierId < __sfEndOfQualifierList;
}

} // namespace

DataFormatter::FieldValue DataFormatter::SnapshotFieldValue(SnapshotQualifierId qualifierId,
                                                            const SnapshotInfo& snapshot) {
    if (!IsQualifier(qualifierId)) {
        KOLVANE_ASSERT(0);
        return {};
    }
    const FieldSource& source = s_sources[static_cast<std::size_t>(qualifierId)];
    FieldValue value;
    value.kind = source.kind;
    value.convert = source.kind == FieldValue::fvTime;
    value.blank = true;
    if (source.time) {
        value.time = snapshot.*source.time;
    }
    if (source.real) {
        value.real = snapshot.*source.real;
    }
    if (source.whole) {
        value.whole = snapshot.*source.whole;
    }
    if (source.text) {
        value.text = snapshot.*source.text;
    }
    return value;
}

std::string DataFormatter::FormatSnapshotField(const std::string& symbol,
                                               SnapshotQualifierId qualifierId,
                                               const SnapshotInfo& snapshot) const {
    if (!IsQualifier(qualifierId)) {
        KOLVANE_ASSERT(0);
        return {};
    }
    return FormatValue(symbol, SnapshotFieldValue(qualifierId, snapshot));
}

void DataFormatter::FormatSnapshot(const std::string& symbol, const SnapshotFormat& format,
                                   const SnapshotInfo& snapshot, PlainTextBuilder& builder) const {
    builder.Clear();
    if (format.headers && !format.vertical) {
        for (std::size_t i = 0; i < format.fields.size(); ++i) {
            if (i > 0) {
                builder.Append("\t");
            }
            builder.Append(SnapshotQualifiers::GetQualifierLongName(format.fields[i]));
        }
        builder.Append("\n");
    }
    for (std::size_t i = 0; i < format.fields.size(); ++i) {
        if (i > 0) {
            builder.Append(format.vertical ? "\n" : "\t");
        }
        if (format.vertical && format.headers) {
            builder.Append(SnapshotQualifiers::GetQualifierLongName(format.fields[i]));
            builder.Append("\t");
        }
        builder.Append(FormatSnapshotField(symbol, format.fields[i], snapshot));
    }
}

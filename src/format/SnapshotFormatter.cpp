// The text of a quote snapshot.
#include "DataFormatter.h"
#include "Kolvane.h"
#include "PlainTextBuilder.h"

#include <array>
#include <cstddef>

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

constexpr FieldSource None() {
    return {};
}
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

// One entry per qualifier, in identifier order.
constexpr auto s_sources = std::to_array<FieldSource>({
    Date(&I::date),                // 0 D
    Time(&I::tradeTime),           // 1 TT
    Price(&I::open),               // 2 O
    Price(&I::high),               // 3 H
    Price(&I::low),                // 4 L
    Price(&I::trade),              // 5 TR
    Price(&I::last),               // 6 T
    Price(&I::settle),             // 7 S
    Price(&I::yest),               // 8 Y
    Price(&I::net),                // 9 N
    Price(&I::bid),                // 10 B
    Price(&I::ask),                // 11 A
    Price(&I::bestBid),            // 12 BB
    Price(&I::bestAsk),            // 13 BA
    Integer(&I::volume),           // 14 V
    Integer(&I::openInterest),     // 15 OI
    Integer(&I::tradeSize),        // 16 TS
    Integer(&I::bidSize),          // 17 BS
    Integer(&I::askSize),          // 18 AS
    Integer(&I::bestBidSize),      // 19 BBS
    Integer(&I::bestAskSize),      // 20 BAS
    Text(&I::tradeExchange),       // 21 TX
    Text(&I::bidExchange),         // 22 BX
    Text(&I::askExchange),         // 23 AX
    Text(&I::bestBidExchange),     // 24 BBX
    Text(&I::bestAskExchange),     // 25 BAX
    Price(&I::trade2),             // 26 T2
    Price(&I::trade3),             // 27 T3
    Price(&I::trade4),             // 28 T4
    None(),                        // 29 T5
    None(),                        // 30 TIV
    Price(&I::yearHigh),           // 31 YH
    Price(&I::yearLow),            // 32 YL
    Price(&I::netPercent),         // 33 %
    Price(&I::percentInRange),     // 34 %R
    None(),                        // 35 BV
    None(),                        // 36 BT
    None(),                        // 37 V@A
    None(),                        // 38 TV@A
    None(),                        // 39 V@B
    None(),                        // 40 TV@B
    None(),                        // 41 TIM
    None(),                        // 42 %Y
    None(),                        // 43 P@A
    None(),                        // 44 P@B
    None(),                        // 45 DV
    None(),                        // 46 MF
    Price(&I::vwap),               // 47 VWAP
    None(),                        // 48 QT
    Integer(&I::avgVolume65),      // 49 65DAV
    None(),                        // 50 UTV
    None(),                        // 51 UT
    None(),                        // 52 UTP
    None(),                        // 53 DTV
    None(),                        // 54 DT
    None(),                        // 55 DTP
    Text(&I::title),               // 56 TTL
    Text(&I::symbol),              // 57 SYM
    Text(&I::exchange),            // 58 EX
    None(),                        // 59 FD
    Price(&I::beta),               // 60 BETA
    Shares(&I::sharesOutstanding), // 61 SO
    None(),                        // 62 FLT
    Price(&I::dividend),           // 63 DIV
    None(),                        // 64 INSO
    None(),                        // 65 INTO
    None(),                        // 66 SI
    None(),                        // 67 SIP
    None(),                        // 68 SIR
    None(),                        // 69 CF/S
    None(),                        // 70 S/S
    None(),                        // 71 ROE
    None(),                        // 72 ROA
    None(),                        // 73 GM
    None(),                        // 74 OM
    None(),                        // 75 PTM
    None(),                        // 76 IC
    None(),                        // 77 IN
    None(),                        // 78 SN
    None(),                        // 79 IT
    None(),                        // 80 AT
    None(),                        // 81 RT
    None(),                        // 82 R/E
    Price(&I::eps),                // 83 EPS
    None(),                        // 84 RGR
    None(),                        // 85 E/SGR
    None(),                        // 86 DER
    None(),                        // 87 LTDER
    Price(&I::currentRatio),       // 88 CR
    None(),                        // 89 QR
    None(),                        // 90 IP
    None(),                        // 91 IS
    None(),                        // 92 BV/S
    None(),                        // 93 MC
    Price(&I::peRatio),            // 94 PER
    Price(&I::dividendYield),      // 95 DY
    Price(&I::spread),             // 96 BASP
    Price(&I::lastExtendedHours),  // 97 LASTEXTHRS
});
static_assert(s_sources.size() == __sfEndOfQualifierList, "one entry per qualifier");

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

// The value formatters shared by snapshot, bar and tick text.
#include "DataFormatter.h"
#include "TextPrintf.h"
#include "TimeHelper.h"

#include <cmath>
#include <ctime>

std::string DataFormatter::FormatPrice(double value) {
    return TextPrintf("%.6f", value);
}

std::string DataFormatter::FormatInteger(std::int64_t value) {
    return TextPrintf("%lld", static_cast<long long>(value));
}

std::string DataFormatter::FormatShares(double value) {
    if (value < 1000) {
        // Whole thousands, computed in floating point: a large negative count would overflow a
        // 32-bit product. Adding +0 turns the -0 of a small negative count into 0.
        return TextPrintf("%.0f", std::trunc(value) * 1000 + 0.0);
    }
    if (value < 1000000) {
        return TextPrintf("%.2fM", value / 1000);
    }
    return TextPrintf("%.2fB", value / 1000000);
}

std::string DataFormatter::FormatExchange(const std::string& text) {
    static const std::string blank = " ";
    return text.empty() ? blank : text;
}

std::string DataFormatter::FormatValue(const std::string& symbol, const FieldValue& value) const {
    switch (value.kind) {
    case FieldValue::fvDate:
    case FieldValue::fvTime:
        return FormatTime(symbol, value.time, value.kind == FieldValue::fvDate, value.convert);
    case FieldValue::fvPrice:
        return FormatPrice(value.real);
    case FieldValue::fvInteger:
        return FormatInteger(value.whole);
    case FieldValue::fvShares:
        return FormatShares(value.real);
    case FieldValue::fvText:
        return value.blank ? FormatExchange(value.text) : value.text;
    case FieldValue::fvNone:
        break;
    }
    return {};
}

std::string DataFormatter::FormatTime(const std::string& symbol, TimeValue time, bool isDate,
                                      bool convert) const {
    if (convert) {
        time = TimeHelper::ToDisplayTime(m_manager, time, symbol);
    }
    // The UTC breakdown of a shifted time gives the display zone's wall clock.
    if (time < 0) {
        return {};
    }
    const std::tm brokenDown = TimeHelper::GetTmTime(time);
    char buffer[128];
    const std::size_t length =
        std::strftime(buffer, sizeof(buffer), isDate ? " %x" : " %X", &brokenDown);
    return std::string(buffer, length);
}

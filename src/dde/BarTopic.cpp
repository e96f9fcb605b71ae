// The "Bars" topic: symbol, interval, count, bar field letters, then HEADERS, ALLSESSIONS, FILL,
// REVERSE and, for minute bars, a session window "h:m-h:m" in the display time zone.
#include "BarLimits.h"
#include "Clock.h"
#include "DataFormatter.h"
#include "DataSupplier.h"
#include "DdeServer.h"
#include "ItemNumbers.h"
#include "Kolvane.h"
#include "LineListBuilder.h"
#include "SessionWindow.h"

#include <optional>

namespace {

std::optional<std::int32_t> BarFieldCode(char letter) {
    switch (letter) {
    case 'D':
        return bfDate;
    case 'T':
        return bfTime;
    case 'O':
        return bfOpen;
    case 'H':
        return bfHigh;
    case 'L':
        return bfLow;
    case 'C':
        return bfClose;
    case 'V':
        return bfVolume;
    default:
        return std::nullopt;
    }
}

} // namespace

bool DdeServer::CreateBarTopic(HCONV hconv, const std::string& item) {
    KOLVANE_ASSERT(hconv);
    const ItemText request{item};
    KOLVANE_ASSERT(!request.IsEmpty());
    std::vector<std::string> params;
    if (!SplitDdeRequest(item, params)) {
        return false;
    }
    if (params.size() < 4) {
        KOLVANE_LOG(this, "Error: Too little parameters\n");
        return false;
    }
    BarRequest barRequest;
    barRequest.symbol = params[0];
    barRequest.interval = ParseInterval(params[1]);
    barRequest.count = ParseDecimal(params[2]);
    if (barRequest.count > kMaxBarCount) {
        KOLVANE_LOG(this, "Error: Unable to create topic - Count %d is more than %d rows\n",
                    barRequest.count, kMaxBarCount);
        return false;
    }
    ListFormat format;
    format.count = barRequest.count;
    for (const char letter : params[3]) {
        const auto code = BarFieldCode(letter);
        if (!code) {
            KOLVANE_LOG(this, "Error: Unable to create topic: Unsupported field '%c'\n", letter);
            return false;
        }
        format.fields.push_back(*code);
    }
    for (std::size_t i = 4; i < params.size(); ++i) {
        const std::string& param = params[i];
        if (param == "HEADERS") {
            format.headers = true;
        } else if (param == "ALLSESSIONS") {
            // Without a session window the request covers all sessions.
        } else if (param == "FILL") {
            barRequest.fill = true;
        } else if (param == "REVERSE") {
            format.reverse = true;
        } else if (barRequest.interval > 0) {
            const auto window = ReadSessionWindow(param);
            if (!window) {
                KOLVANE_LOG(this,
                            "Error: Unable to create topic - Unsupported session format ('%s')\n",
                            param.c_str());
                return false;
            }
            const UtcSessionWindow utc = SessionWindowUtc(*window, Clock::Now(), barRequest.symbol);
            barRequest.customSession = true;
            barRequest.sessionStart = utc.start;
            barRequest.sessionEnd = utc.end;
        } else {
            KOLVANE_LOG(this, "Error: Unable to create topic - Unsupported parameter ('%s')\n",
                        param.c_str());
            return false;
        }
    }
    IBarSet* barKey = m_supplier->StartBarsRequest(barRequest);
    if (!barKey) {
        return false;
    }
    KOLVANE_ASSERT(m_bars.find(barKey) == m_bars.end());
    const DdeKey ddeKey{hconv, item};
    m_bars.insert_or_assign(barKey, BarTopic{ddeKey, format, barRequest, barKey});
    if (!FindBuilder(ddeKey)) {
        AddBuilder(ddeKey, std::make_unique<LineListBuilder>(format.reverse,
                                                             DataFormatter::FormatBarHeader(format),
                                                             barRequest.count));
    }
    return true;
}

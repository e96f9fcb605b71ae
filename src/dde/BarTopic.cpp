// The "Bars" topic: symbol, interval, count, bar field letters, then HEADERS, ALLSESSIONS, FILL,
// REVERSE and, for minute bars, a session window "h:m-h:m" in the display time zone.
#include "BarLimits.h"
#include "Clock.h"
#include "DataFormatter.h"
#include "DataSupplier.h"
#include "DdeServer.h"
#include "ItemNumbers.h"
#include "Kolvane.h"
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

std::optional<BarItem> DdeServer::CreateBarTopic(const std::string& itemText, Mondrel* manager,
                                                 const void* logObject) {
    KOLVANE_ASSERT_TEXT(!itemText.empty(), "!request.IsEmpty()");
    std::vector<std::string> params;
    if (!SplitDdeRequest(itemText, params)) {
        return std::nullopt;
    }
    if (params.size() < 4) {
        KOLVANE_LOG(logObject, "Error: Too little parameters\n");
        return std::nullopt;
    }
    BarRequest barRequest;
    barRequest.symbol = params[0];
    barRequest.interval = ParseInterval(params[1]);
    barRequest.count = ParseDecimal(params[2]);
    if (barRequest.count > kMaxBarCount) {
        KOLVANE_LOG(logObject, "Error: Unable to create topic - Count %d is more than %d rows\n",
                    barRequest.count, kMaxBarCount);
        return std::nullopt;
    }
    ListFormat format;
    format.count = barRequest.count;
    for (const char letter : params[3]) {
        const auto code = BarFieldCode(letter);
        if (!code) {
            KOLVANE_LOG(logObject, "Error: Unable to create topic: Unsupported field '%c'\n",
                        letter);
            return std::nullopt;
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
                KOLVANE_LOG(logObject,
                            "Error: Unable to create topic - Unsupported session format ('%s')\n",
                            param.c_str());
                return std::nullopt;
            }
            const UtcSessionWindow utc =
                SessionWindowUtc(manager, *window, Clock::Now(), barRequest.symbol);
            barRequest.customSession = true;
            barRequest.sessionStart = utc.start;
            barRequest.sessionEnd = utc.end;
        } else {
            KOLVANE_LOG(logObject, "Error: Unable to create topic - Unsupported parameter ('%s')\n",
                        param.c_str());
            return std::nullopt;
        }
    }
    return BarItem{barRequest, format};
}

bool DdeServer::CreateBarTopic(HCONV hconv, const std::string& request) {
    KOLVANE_ASSERT(hconv);
    const auto item = CreateBarTopic(request, m_supplier->GetDataManager(), this);
    IBarSet* barKey = item ? m_supplier->StartBarsRequest(item->request) : nullptr;
    if (!barKey) {
        return false;
    }
    KOLVANE_ASSERT(m_bars.find(barKey) == m_bars.end());
    OpenListItem(m_bars, barKey,
                 BarTopic{DdeKey{hconv, request}, item->format, item->request, barKey},
                 DataFormatter::FormatBarHeader(item->format));
    return true;
}

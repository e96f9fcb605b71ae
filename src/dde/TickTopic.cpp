// The "TS" topic: symbol, count, tick field letters, then HEADERS and REVERSE.
#include "BarLimits.h"
#include "DataFormatter.h"
#include "DataSupplier.h"
#include "DdeServer.h"
#include "ItemNumbers.h"
#include "Kolvane.h"

#include <algorithm>
#include <optional>

namespace {

std::optional<std::int32_t> TickFieldCode(char letter) {
    switch (letter) {
    case 'D':
        return tfDate;
    case 'T':
        return tfTime;
    case 'C':
        return tfKind;
    case 'I':
        return tfIndicators;
    case 'E':
        return tfExchange;
    case 'P':
        return tfPrice;
    case 'S':
        return tfSize;
    default:
        return std::nullopt;
    }
}

} // namespace

std::optional<TickItem> DdeServer::CreateTickTopic(const std::string& itemText,
                                                   const void* logObject) {
    KOLVANE_ASSERT_TEXT(!itemText.empty(), "!request.IsEmpty()");
    std::vector<std::string> params;
    if (!SplitDdeRequest(itemText, params)) {
        return std::nullopt;
    }
    if (params.size() < 3) {
        KOLVANE_LOG(logObject, "Error: Too little parameters\n");
        return std::nullopt;
    }
    TickRequest tickRequest{params[0], ParseDecimal(params[1])};
    if (tickRequest.count > kMaxBarCount) {
        KOLVANE_LOG(logObject, "Error: Unable to create topic - Count %d is more than %d rows\n",
                    tickRequest.count, kMaxBarCount);
        return std::nullopt;
    }
    ListFormat format;
    format.count = tickRequest.count;
    for (const char letter : params[2]) {
        const auto code = TickFieldCode(letter);
        if (!code) {
            const char text[2] = {letter, '\0'};
            KOLVANE_LOG(logObject, "Error: Unable to create topic: Unsupported field '%s'\n", text);
            return std::nullopt;
        }
        format.fields.push_back(*code);
    }
    for (std::size_t i = 3; i < params.size(); ++i) {
        const std::string& param = params[i];
        if (param == "HEADERS") {
            format.headers = true;
        } else if (param == "REVERSE") {
            format.reverse = true;
        } else {
            KOLVANE_LOG(logObject, "Error: Unable to create topic - Unsupported parameter ('%s')\n",
                        param.c_str());
            return std::nullopt;
        }
    }
    return TickItem{tickRequest, format};
}

bool DdeServer::CreateTickTopic(HCONV hconv, const std::string& request) {
    KOLVANE_ASSERT(hconv);
    const auto item = CreateTickTopic(request, this);
    ITickSet* tickKey = item ? m_supplier->StartTickRequest(item->request) : nullptr;
    if (!tickKey) {
        return false;
    }
    KOLVANE_ASSERT(m_ticks.find(tickKey) == m_ticks.end());
    OpenListItem(m_ticks, tickKey,
                 TickTopic{DdeKey{hconv, request}, item->format, item->request, tickKey},
                 DataFormatter::FormatTickHeader(item->format));
    return true;
}

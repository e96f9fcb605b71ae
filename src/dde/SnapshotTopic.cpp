// The "Snapshot" topic: a symbol followed by quote field short names and the keywords VERTICAL
// and HEADERS, in any order.
#include "DataSupplier.h"
#include "DdeServer.h"
#include "Kolvane.h"
#include "PlainTextBuilder.h"
#include "SnapshotQualifiers.h"

std::optional<SnapshotItem> DdeServer::CreateSnapshotTopic(const std::string& itemText,
                                                           const void* logObject) {
    KOLVANE_ASSERT_TEXT(!itemText.empty(), "!request.IsEmpty()");
    std::vector<std::string> params;
    if (!SplitDdeRequest(itemText, params)) {
        return std::nullopt;
    }
    if (params.empty()) {
        KOLVANE_LOG(logObject, "Error: Too little parameters\n");
        return std::nullopt;
    }
    const std::string& symbol = params[0];
    SnapshotFormat format;
    for (std::size_t i = 1; i < params.size(); ++i) {
        const std::string& param = params[i];
        if (param == "VERTICAL") {
            format.vertical = true;
        } else if (param == "HEADERS") {
            format.headers = true;
        } else {
            const SnapshotQualifierId id = SnapshotQualifiers::GetQualifierID(param);
            if (id == __sfEndOfQualifierList) {
                KOLVANE_LOG(logObject,
                            "Error: Unable to create topic - Unsupported parameter ('%s')\n",
                            param.c_str());
                return std::nullopt;
            }
            format.fields.push_back(id);
        }
    }
    return SnapshotItem{symbol, format};
}

bool DdeServer::CreateSnapshotTopic(HCONV hconv, const std::string& request) {
    KOLVANE_ASSERT(hconv);
    const auto item = CreateSnapshotTopic(request, this);
    if (!item) {
        return false;
    }
    const std::string& symbol = item->symbol;
    const SnapshotFormat& format = item->format;
    const QuoteKey quoteKey = m_supplier->StartSnapshotRequest(symbol);
    if (quoteKey.key == 0 || !quoteKey.quote) {
        return false;
    }
    KOLVANE_ASSERT(m_snapshots.find(quoteKey) == m_snapshots.end());
    const DdeKey ddeKey{hconv, request};
    m_snapshots.insert_or_assign(quoteKey, SnapshotTopic{ddeKey, format, symbol, quoteKey});
    AddBuilder(ddeKey, std::make_unique<PlainTextBuilder>());
    return true;
}

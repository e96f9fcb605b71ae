// The "Snapshot" topic: a symbol followed by quote field short names and the keywords VERTICAL
// and HEADERS, in any order.
#include "DataSupplier.h"
#include "DdeServer.h"
#include "Kolvane.h"
#include "PlainTextBuilder.h"
#include "SnapshotQualifiers.h"

bool DdeServer::CreateSnapshotTopic(HCONV hconv, const std::string& item) {
    KOLVANE_ASSERT(hconv);
    const ItemText request{item};
    KOLVANE_ASSERT(!request.IsEmpty());
    std::vector<std::string> params;
    if (!SplitDdeRequest(item, params)) {
        return false;
    }
    if (params.empty()) {
        KOLVANE_LOG(this, "Error: Too little parameters\n");
        return false;
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
                KOLVANE_LOG(this, "Error: Unable to create topic - Unsupported parameter ('%s')\n",
                            param.c_str());
                return false;
            }
            format.fields.push_back(id);
        }
    }
    const QuoteKey quoteKey = m_supplier->StartSnapshotRequest(symbol);
    if (quoteKey.key == 0 || !quoteKey.quote) {
        return false;
    }
    KOLVANE_ASSERT(m_snapshots.find(quoteKey) == m_snapshots.end());
    const DdeKey ddeKey{hconv, item};
    m_snapshots.insert_or_assign(quoteKey, SnapshotTopic{ddeKey, format, symbol, quoteKey});
    AddBuilder(ddeKey, std::make_unique<PlainTextBuilder>());
    return true;
}

// Snapshot subscriptions: one library quote per symbol, shared by every request for it, and one
// record of its latest field values handed to each request on every quote update.
#include "DataSupplier.h"
#include "HandleValue.h"
#include "Kolvane.h"
#include "LibraryGuard.h"
#include "QuoteFields.h"

QuoteKey DataSupplier::StartSnapshotRequest(const std::string& symbol) {
    SUPPLIER_EXPECT_LIBRARY();
    if (!m_mondrel) {
        return {};
    }
    if (symbol.empty() || symbol.size() > kMaxSymbolLength) {
        KOLVANE_LOG(this, "Bad Snapshot Request. Invalid Symbol Name '%s'\n", symbol.c_str());
        return {};
    }
    if (s_key1 == 0xFFFFFFFF) {
        KOLVANE_LOG(this, "Too many Snapshot requests\n");
        return {};
    }
    // Subscribed once per request; the library hands back the same quote for the same symbol.
    IQuote* quote = m_mondrel->SubscribeQuote(symbol.c_str(), this, 1);
    if (!quote) {
        KOLVANE_LOG(this, "Unable Subscribe to Quote for '%s'\n", symbol.c_str());
        return {};
    }
    ++s_key1;

    std::set<std::uint32_t>& keyList = m_quoteKeys[quote];
    KOLVANE_ASSERT(keyList.find(s_key1) == keyList.end());
    keyList.insert(s_key1);

    SnapshotInfo& snapinfo = m_snapshots[quote];
    const auto cit = snapinfo.outkeys.find(s_key1);
    KOLVANE_ASSERT(cit == snapinfo.outkeys.end());
    snapinfo.outkeys.insert(s_key1);
    return {s_key1, quote};
}

void DataSupplier::StopRequest(const QuoteKey& key) {
    SUPPLIER_EXPECT_LIBRARY();
    KOLVANE_ASSERT(key);

    IQuote* quote = nullptr;
    auto keys = m_quoteKeys.begin();
    for (; keys != m_quoteKeys.end(); ++keys) {
        if (keys->second.count(key.key) != 0) {
            quote = keys->first;
            break;
        }
    }
    // A key that the supplier never issued (or one paired with another quote) changes nothing.
    KOLVANE_ASSERT(quote);
    if (!quote) {
        return;
    }
    const auto it2 = m_snapshots.find(key.quote);
    KOLVANE_ASSERT(it2 != m_snapshots.end());
    if (it2 == m_snapshots.end()) {
        return;
    }
    SnapshotInfo& snapinfo = it2->second;
    const auto it3 = snapinfo.outkeys.find(key.key);
    KOLVANE_ASSERT(it3 != snapinfo.outkeys.end());
    if (it3 == snapinfo.outkeys.end()) {
        return;
    }

    // The library sees one unsubscription per quote, however many requests subscribed it. Once
    // the library object is gone, its subscriptions went with it.
    std::set<std::uint32_t>& keyList = keys->second;
    if (keyList.size() == 1 && m_mondrel) {
        m_mondrel->UnsubscribeQuote(quote, this);
    }
    keyList.erase(key.key);
    if (keyList.empty()) {
        m_quoteKeys.erase(keys);
    }

    snapinfo.outkeys.erase(it3);
    if (snapinfo.outkeys.empty()) {
        m_snapshots.erase(it2);
    }
}

void DataSupplier::OnQuoteUpdate(IQuote* quote) {
    KOLVANE_ASSERT(quote);
    const auto it = m_snapshots.find(quote);
    if (it == m_snapshots.end()) {
        KOLVANE_LOG(this, "%s(%i): %s: Call ignored. Unknown quote ptr = 0x%.8x\n", __FILE__,
                    __LINE__, "DataSupplier::OnQuoteUpdate", HandleValue(quote));
        return;
    }
    ReadQuoteFields(*quote, m_wide, it->second);

    KOLVANE_ASSERT(m_listener);
    if (!m_listener) {
        return;
    }
    // The listener may stop requests, its own included, while it is called: walk a copy of the
    // keys and look the record up again before each call.
    const std::set<std::uint32_t> outkeys = it->second.outkeys;
    for (const std::uint32_t key : outkeys) {
        const auto current = m_snapshots.find(quote);
        if (current == m_snapshots.end()) {
            break;
        }
        if (current->second.outkeys.count(key) != 0) {
            m_listener->OnProcessingSnapData(QuoteKey{key, quote}, current->second);
        }
    }
}

void DataSupplier::OnQuoteRefresh(IQuote*, int) {}

void DataSupplier::OnQuoteError(IQuote*, int) {}

int DataSupplier::WantsEveryUpdate() {
    return 1;
}

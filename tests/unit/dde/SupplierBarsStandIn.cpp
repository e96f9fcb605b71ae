// The supplier's bar subscriptions, stood in for while the supplier has none of its own: every
// request goes to the scripted library, which records it as "RequestBars(symbol,interval)".
#include "DataSupplier.h"

IBarSet* DataSupplier::StartBarsRequest(const BarRequest& request) {
    Mondrel* dm = GetDataManager();
    if (!dm || request.interval == 0) {
        return nullptr;
    }
    IRequestOptions* options = dm->NewBarOptions();
    IBarSet* barSet = dm->RequestBars(request.symbol.c_str(), request.interval, this, options);
    options->Destroy();
    return barSet;
}

void DataSupplier::StopRequest(IBarSet* barSet) {
    if (Mondrel* dm = GetDataManager()) {
        dm->StopBars(barSet, this);
    }
}

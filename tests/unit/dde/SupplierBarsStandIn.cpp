#include "SupplierBarsStandIn.h"

#include "DataSupplier.h"

namespace {
std::vector<BarRequest> s_requests;
} // namespace

const std::vector<BarRequest>& StandInBarRequests() {
    return s_requests;
}

void ResetBarStandIn() {
    s_requests.clear();
}

IBarSet* DataSupplier::StartBarsRequest(const BarRequest& request) {
    s_requests.push_back(request);
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

// Bar subscriptions of the supplier, stood in for in these tests: every request goes to the
// scripted library as "RequestBars(symbol,interval)" and is recorded as the server built it.
#pragma once

#include "DataRequests.h"

#include <vector>

const std::vector<BarRequest>& StandInBarRequests();
void ResetBarStandIn();

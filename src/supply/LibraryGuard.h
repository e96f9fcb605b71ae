// The check that opens every request and stop of the supplier. Items come and go also during a
// full feed outage, which keeps the library object: the state is reported only together with the
// missing library. A macro so that each report names the method that made the check.
#pragma once

#include "Kolvane.h"

#define SUPPLIER_EXPECT_LIBRARY()                                                                  \
    do {                                                                                           \
        if (!m_mondrel) {                                                                          \
            KOLVANE_ASSERT(GetCompositeState() != ecsDisconnected);                                \
        }                                                                                          \
        KOLVANE_ASSERT(m_mondrel);                                                                 \
    } while (0)

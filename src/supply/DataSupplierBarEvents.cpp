// The library's bar notifications. No bar requests are made yet, so every notification is
// ignored.
#include "DataSupplier.h"

void DataSupplier::OnBarBackFillStart(IBarSet*) {}

void DataSupplier::OnBarBackFillComplete(IBarSet*) {}

void DataSupplier::OnBarBackFillEmpty(IBarSet*) {}

void DataSupplier::OnBarReset(IBarSet*) {}

void DataSupplier::OnBarUpdate(IBarSet*, IBarItem*) {}

void DataSupplier::OnBarError(IBarSet*, int) {}

void DataSupplier::OnBarStopped(IBarSet*) {}

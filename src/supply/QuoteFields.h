// Reads the fields of one library quote into a snapshot record.
#pragma once

#include "DataRecords.h"
#include "mondrel/MondrelExtensions.h"

// Copies every field that the quote holds into the record; absent fields keep their values.
// Volumes and sizes come through the library's 64-bit getters when it has them (wide).
// Then derives spread, percent in range, net percent and the best bid and ask, and for the
// "FX" exchange takes the trade fields from the bid side.
void ReadQuoteFields(IQuote& quote, IWideValues* wide, SnapshotInfo& snapinfo);

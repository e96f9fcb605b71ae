// The typed value of one cell of a snapshot, bar or tick item: prices, sizes and volumes as
// numbers, codes and names as texts, dates and times as spreadsheet date serials in the display
// time zone (the same zone and conversions as the served text).
#pragma once

#include "DataRecords.h"
#include "RtdValue.h"
#include "SnapshotQualifiers.h"
#include "TimeValue.h"

#include <cstdint>
#include <string>

class Mondrel;

// Days since 1899-12-30 00:00 of a time already in the display zone; a whole number with
// dateOnly. Spreadsheets count dates from there.
double DateSerial(TimeValue displayTime, bool dateOnly);

// The display zone is read from manager, the supplier's data manager (UTC without one).
RtdValue SnapshotCellValue(Mondrel* manager, const std::string& symbol,
                           SnapshotQualifierId qualifier, const SnapshotInfo& snapshot);
// Row 1 is the newest bar (or tick), row 2 the one before; not available past the oldest.
RtdValue BarCellValue(Mondrel* manager, const std::string& symbol, const BarInfo& bars,
                      std::int32_t row, std::int32_t field);
RtdValue TickCellValue(Mondrel* manager, const std::string& symbol, const TickInfo& ticks,
                       std::int32_t row, std::int32_t field);

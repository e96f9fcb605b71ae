// The computer's time zone, as the display-zone conversion needs it: the standard bias and the
// daylight state of the current moment, and the local breakdown of a time. Win32 and POSIX
// implementations live in win32/ and posix/; tests install their own.
#pragma once

#include <cstdint>
#include <ctime>

enum ComputerZoneState : int {
    czsUnknown = 0, // the zone has no daylight rule
    czsStandard = 1,
    czsDaylight = 2,
};

class ComputerTimeZone {
public:
    virtual ~ComputerTimeZone() = default;
    // Minutes to add to local standard time to get UTC, and the state of the current moment.
    virtual ComputerZoneState GetTimeZoneInformation(std::int32_t* bias) = 0;
    // Breaks a time down in the computer's zone; false when the runtime refuses.
    virtual bool LocalTime(std::int64_t time, std::tm* out) = 0;
};

// The zone in force: the platform's, unless a test installed its own.
ComputerTimeZone& CurrentComputerTimeZone();

// Installs a zone (not owned); nullptr returns to the platform's.
void SetComputerTimeZone(ComputerTimeZone* zone);

// A computer time zone for unit tests: a fixed standard bias and daylight state of "now", and a
// daylight flag for every local breakdown. Installed for the lifetime of the object.
#pragma once

#include "ComputerTimeZone.h"

class FakeComputerZone final : public ComputerTimeZone {
public:
    std::int32_t bias = 300;
    ComputerZoneState state = czsStandard;
    bool localDaylight = false;

    FakeComputerZone() { SetComputerTimeZone(this); }
    ~FakeComputerZone() override { SetComputerTimeZone(nullptr); }
    FakeComputerZone(const FakeComputerZone&) = delete;
    FakeComputerZone& operator=(const FakeComputerZone&) = delete;

    ComputerZoneState GetTimeZoneInformation(std::int32_t* out) override {
        *out = bias;
        return state;
    }
    bool LocalTime(std::int64_t, std::tm* out) override {
        *out = std::tm{};
        out->tm_isdst = localDaylight ? 1 : 0;
        return true;
    }
};

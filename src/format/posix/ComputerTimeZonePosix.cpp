// POSIX: the zone of the TZ environment, read through localtime_r. The standard bias is derived
// from the current UTC offset, less the daylight hour when daylight time is in force.
#include "../ComputerTimeZone.h"

#include <ctime>

namespace {

class PosixComputerTimeZone final : public ComputerTimeZone {
public:
    ComputerZoneState GetTimeZoneInformation(std::int32_t* bias) override {
        const std::time_t now = std::time(nullptr);
        std::tm local{};
        if (!localtime_r(&now, &local)) {
            *bias = 0;
            return czsUnknown;
        }
        const auto offsetMinutes = static_cast<std::int32_t>(local.tm_gmtoff / 60);
        if (local.tm_isdst > 0) {
            *bias = -(offsetMinutes - 60);
            return czsDaylight;
        }
        *bias = -offsetMinutes;
        return czsStandard;
    }

    bool LocalTime(std::int64_t time, std::tm* out) override {
        const std::time_t t = static_cast<std::time_t>(time);
        return localtime_r(&t, out) != nullptr;
    }
};

} // namespace

ComputerTimeZone& PlatformComputerTimeZone() {
    static PosixComputerTimeZone zone;
    return zone;
}

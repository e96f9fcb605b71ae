// Win32: GetTimeZoneInformation and the CRT's local breakdown.
#include "../ComputerTimeZone.h"

#include <windows.h>

namespace {

class Win32ComputerTimeZone final : public ComputerTimeZone {
public:
    ComputerZoneState GetTimeZoneInformation(std::int32_t* bias) override {
        TIME_ZONE_INFORMATION info{};
        const DWORD id = ::GetTimeZoneInformation(&info);
        *bias = info.Bias;
        switch (id) {
        case TIME_ZONE_ID_STANDARD:
            return czsStandard;
        case TIME_ZONE_ID_DAYLIGHT:
            return czsDaylight;
        default:
            return czsUnknown;
        }
    }

    bool LocalTime(std::int64_t time, std::tm* out) override {
        const __time64_t t = time;
        return _localtime64_s(out, &t) == 0;
    }
};

} // namespace

ComputerTimeZone& PlatformComputerTimeZone() {
    static Win32ComputerTimeZone zone;
    return zone;
}

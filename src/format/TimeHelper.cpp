#include "TimeHelper.h"

#include "ComputerTimeZone.h"
#include "Kolvane.h"
#include "MarketInfoLease.h"
#include "mondrel/CivilDate.h"
#include "mondrel/Mondrel.h"

#include <cstring>
#include <limits>

namespace {

int ReadMode(Mondrel* manager) {
    int mode = dzmExchange;
    if (!manager->GetIntOption(moTimeZoneMode, &mode)) {
        mode = dzmExchange;
    }
    return mode;
}

} // namespace

std::int64_t TimeHelper::MakeTimeGMT64(std::int32_t year, std::int32_t month, std::int32_t day,
                                       std::int32_t hour, std::int32_t minutes,
                                       std::int32_t seconds) {
    // Months outside 1 to 12 roll into neighbouring years; the other fields simply add up. No
    // 32-bit field can overflow these 64-bit sums.
    const std::int64_t monthIndex = static_cast<std::int64_t>(year) * 12 + (month - 1);
    const std::int64_t y = monthIndex >= 0 ? monthIndex / 12 : (monthIndex - 11) / 12;
    const std::int64_t m = monthIndex - y * 12 + 1;
    const std::int64_t days =
        mondrel::DaysFromCivil(y, m, 1) + (static_cast<std::int64_t>(day) - 1);
    return days * 86400 + static_cast<std::int64_t>(hour) * 3600 +
           static_cast<std::int64_t>(minutes) * 60 + seconds;
}

TimeValue TimeHelper::MakeTimeGMT(std::int32_t year, std::int32_t month, std::int32_t day,
                                  std::int32_t hour, std::int32_t minutes, std::int32_t seconds) {
    KOLVANE_ASSERT(month >= 1 && month <= 12);
    KOLVANE_ASSERT(day >= 1 && day <= 31);
    KOLVANE_ASSERT(hour >= 0 && hour <= 23);
    KOLVANE_ASSERT(minutes >= 0 && minutes <= 59);
    KOLVANE_ASSERT(seconds >= 0 && seconds <= 59);
    const std::int64_t value = MakeTimeGMT64(year, month, day, hour, minutes, seconds);
    if (value < 0 || value > std::numeric_limits<TimeValue>::max()) {
        return -1;
    }
    return static_cast<TimeValue>(value);
}

std::tm TimeHelper::GetTmTime(TimeValue time) {
    std::tm broken{};
    if (time >= 0) {
        const std::int64_t days = time / 86400;
        const std::int64_t rest = time % 86400;
        const mondrel::CivilDate date = mondrel::CivilFromDays(days);
        broken.tm_year = date.year - 1900;
        broken.tm_mon = date.month - 1;
        broken.tm_mday = date.day;
        broken.tm_hour = static_cast<int>(rest / 3600);
        broken.tm_min = static_cast<int>(rest % 3600 / 60);
        broken.tm_sec = static_cast<int>(rest % 60);
        broken.tm_wday = static_cast<int>((days + 4) % 7);
        broken.tm_yday = static_cast<int>(days - mondrel::DaysFromCivil(date.year, 1, 1));
    } else {
        // The runtime refuses negative times and leaves every byte of the structure 0xFF.
        std::memset(&broken, 0xFF, sizeof(broken));
    }
    KOLVANE_ASSERT_TEXT(time >= 0, "err == 0");
    return broken;
}

int TimeHelper::GetYear(TimeValue time) {
    return GetTmTime(time).tm_year + 1900;
}

int TimeHelper::GetMonth(TimeValue time) {
    return GetTmTime(time).tm_mon + 1;
}

int TimeHelper::GetWeekDay(TimeValue time) {
    return GetTmTime(time).tm_wday;
}

bool TimeHelper::IsDst(Mondrel* manager, const char* symbol, TimeValue time) {
    if (!manager) {
        return false;
    }
    switch (ReadMode(manager)) {
    case dzmLocal: {
        std::tm local{};
        const bool known = CurrentComputerTimeZone().LocalTime(time, &local);
        KOLVANE_ASSERT_TEXT(known, "ret == 0");
        return known && local.tm_isdst > 0;
    }
    case dzmGmt:
        return false;
    case dzmExchange: {
        MarketInfoLease lease(manager);
        IMarketInfo* mktInfo = lease.get();
        KOLVANE_ASSERT(mktInfo);
        return mktInfo && mktInfo->IsDaylightTime(time, symbol ? symbol : "") != 0;
    }
    default:
        KOLVANE_ASSERT(0);
        return false;
    }
}

TimeValue TimeHelper::TransferTime(Mondrel* manager, TimeValue time, const char* symbol,
                                   bool inverse) {
    KOLVANE_ASSERT((symbol && strlen(symbol)));
    if (!manager) {
        return time;
    }
    const char* name = symbol ? symbol : "";
    std::int64_t offset = 0;
    switch (ReadMode(manager)) {
    case dzmLocal: {
        std::int32_t bias = 0;
        const ComputerZoneState state = CurrentComputerTimeZone().GetTimeZoneInformation(&bias);
        KOLVANE_ASSERT_TEXT(state != czsUnknown, "ret != TIME_ZONE_ID_UNKNOWN");
        // The daylight state of the moment of the call, not of the converted time.
        offset = -static_cast<std::int64_t>(bias) + (state == czsDaylight ? 60 : 0);
        break;
    }
    case dzmGmt:
        break;
    case dzmExchange: {
        MarketInfoLease lease(manager);
        IMarketInfo* mktInfo = lease.get();
        KOLVANE_ASSERT(mktInfo);
        if (mktInfo) {
            const int zone = mktInfo->GetTimeZone(name);
            if (zone != 0) {
                offset = mktInfo->GetTimeZoneOffset(time, zone);
            } else {
                int first = 0;
                int second = 0;
                mktInfo->GetTimeOffsets(name, &first, &second);
                offset = first;
            }
        }
        break;
    }
    default:
        KOLVANE_ASSERT(0);
        break;
    }
    const std::int64_t seconds = inverse ? -offset * 60 : offset * 60;
    // Wraps like the 32-bit arithmetic it models, without undefined overflow.
    return static_cast<TimeValue>(
        static_cast<std::uint32_t>(static_cast<std::int64_t>(time) + seconds));
}

TimeValue TimeHelper::ToDisplayTime(Mondrel* manager, TimeValue time, const std::string& symbol) {
    return TransferTime(manager, time, symbol.c_str(), false);
}

TimeValue TimeHelper::FromDisplayTime(Mondrel* manager, TimeValue time, const std::string& symbol) {
    return TransferTime(manager, time, symbol.c_str(), true);
}

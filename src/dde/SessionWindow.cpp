#include "SessionWindow.h"

#include "ItemNumbers.h"
#include "TimeHelper.h"

#include <algorithm>
#include <limits>

namespace {

constexpr std::int64_t kDay = 86400;

std::int64_t FloorMod(std::int64_t value, std::int64_t divisor) {
    const std::int64_t rest = value % divisor;
    return rest < 0 ? rest + divisor : rest;
}

std::int64_t WallClockSeconds(std::int32_t hour, std::int32_t minute) {
    return (std::int64_t{hour} * 60 + minute) * 60;
}

std::int32_t Saturated(std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

bool ReadLiteral(std::string_view text, std::size_t& at, char literal) {
    if (at < text.size() && text[at] == literal) {
        ++at;
        return true;
    }
    return false;
}

} // namespace

std::optional<SessionWindow> ReadSessionWindow(std::string_view parameter) {
    SessionWindow window;
    std::size_t at = 0;
    if (ReadDecimal(parameter, at, window.startHour) && ReadLiteral(parameter, at, ':') &&
        ReadDecimal(parameter, at, window.startMinute) && ReadLiteral(parameter, at, '-') &&
        ReadDecimal(parameter, at, window.endHour) && ReadLiteral(parameter, at, ':') &&
        ReadDecimal(parameter, at, window.endMinute)) {
        return window;
    }
    return std::nullopt;
}

UtcSessionWindow SessionWindowUtc(Mondrel* manager, const SessionWindow& window, TimeValue now,
                                  const std::string& symbol) {
    const std::int64_t start = WallClockSeconds(window.startHour, window.startMinute);
    const std::int64_t end = WallClockSeconds(window.endHour, window.endMinute);
    const std::int64_t dayStart = now - FloorMod(now, kDay);
    // The zone's offset at the start's moment of today; a start far outside one day takes the
    // offset of the day's start, since its moment is no 32-bit time.
    std::int64_t moment = dayStart + start;
    if (moment < 0 || moment > std::numeric_limits<TimeValue>::max() - kDay) {
        moment = dayStart;
    }
    const TimeValue probe = static_cast<TimeValue>(moment);
    const std::int64_t offset =
        std::int64_t{TimeHelper::TransferTime(manager, probe, symbol.c_str(), true)} - probe;
    const std::int64_t utcStart = FloorMod(start + offset, kDay);
    return {Saturated(utcStart), Saturated(utcStart + (end - start))};
}

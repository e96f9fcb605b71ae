#include "SessionWindow.h"

#include "ItemNumbers.h"
#include "TimeHelper.h"

#include <algorithm>
#include <limits>

namespace {

constexpr std::int64_t kDay = 86400;

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

std::int32_t SessionSecondsUtc(std::int32_t hour, std::int32_t minute, TimeValue now,
                               const std::string& symbol) {
    const std::int64_t wallClock = (std::int64_t{hour} * 60 + minute) * 60;
    const std::int64_t dayStart = now - ((now % kDay) + kDay) % kDay;
    // The zone's offset at that moment of today; a window far outside one day takes the offset of
    // the day's start, since its moment is no 32-bit time.
    std::int64_t moment = dayStart + wallClock;
    if (moment < 0 || moment > std::numeric_limits<TimeValue>::max() - kDay) {
        moment = dayStart;
    }
    const TimeValue probe = static_cast<TimeValue>(moment);
    const std::int64_t offset =
        std::int64_t{TimeHelper::TransferTime(probe, symbol.c_str(), true)} - probe;
    std::int64_t seconds = wallClock + offset;
    if (seconds < 0) {
        seconds += kDay;
    }
    return static_cast<std::int32_t>(
        std::clamp<std::int64_t>(seconds, std::numeric_limits<std::int32_t>::min(),
                                 std::numeric_limits<std::int32_t>::max()));
}

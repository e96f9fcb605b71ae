#include "Clock.h"

#include <ctime>

namespace Clock {
namespace {
std::optional<std::int32_t> s_fixed;
}

std::int32_t Now() {
    return s_fixed ? *s_fixed : static_cast<std::int32_t>(std::time(nullptr));
}

void SetFixed(std::optional<std::int32_t> now) {
    s_fixed = now;
}

} // namespace Clock

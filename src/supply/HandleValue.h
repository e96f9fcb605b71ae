// The value of a library handle as the supplier's log lines print it ("0x%.8x").
#pragma once

#include <cstdint>

inline unsigned int HandleValue(const void* handle) {
    return static_cast<unsigned int>(reinterpret_cast<std::uintptr_t>(handle));
}

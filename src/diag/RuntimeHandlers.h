// Handlers the runtime library calls for an invalid argument to one of its functions and for a
// pure virtual call. Both log and report; the runtime decides what happens after they return.
#pragma once

#include <cstdint>

namespace Kolvane {

void InvalidParameterHandler(const wchar_t* expression, const wchar_t* function,
                             const wchar_t* file, unsigned int line, std::uintptr_t reserved);
void PureCallHandler();

} // namespace Kolvane

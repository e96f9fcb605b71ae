// The process's one StaticIniter and its pure-call hook. Compiled into every executable (see
// zanvo_executable); the StaticIniter is constructed before any other static object of the
// program.
#include "RuntimeHandlers.h"
#include "StaticIniter.h"

#include <cstdlib>

__attribute__((init_priority(101))) static StaticIniter s_staticIniter;

// GCC's runtime calls this for a pure virtual call, in place of the runtime's pure-call handler.
// It reports, then ends the process abnormally as the runtime would.
extern "C" [[noreturn]] void __cxa_pure_virtual() {
    Kolvane::PureCallHandler();
    std::abort();
}

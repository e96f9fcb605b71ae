// The process's one StaticIniter. Compiled into every executable (see zanvo_executable), and
// constructed before any other static object of the program.
#include "StaticIniter.h"

__attribute__((init_priority(101))) static StaticIniter s_staticIniter;

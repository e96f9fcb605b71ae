// POSIX front end of the library, for native builds and tests: no message loop exists, so the
// creating thread runs the callbacks by calling MondrelPump.
#include "Engine.h"
#include "mondrel/MondrelExtensions.h"

#include <chrono>

namespace {

std::int64_t SystemMilliseconds() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

} // namespace

unsigned short Mondrel::Init(const char*, unsigned short, const char*, unsigned long,
                             unsigned long) {
    return 1;
}

Mondrel* Mondrel::CreateInstance() {
    return new mondrel::Engine(SystemMilliseconds);
}

void Mondrel::DestroyInstance(Mondrel* instance) {
    delete static_cast<mondrel::Engine*>(instance);
}

void Mondrel::Shutdown() {}

void MondrelPump(Mondrel* instance) {
    if (instance)
        static_cast<mondrel::Engine*>(instance)->Pump();
}

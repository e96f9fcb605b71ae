// A small program linked to the diagnostics layer, for the end-to-end checks under Wine. It
// carries the StaticIniter like every program of ours. The first argument picks what it does:
//   log                two lines, then a normal exit
//   assert-end         a line, then a failed assertion (the library's answer decides the rest)
//   threads            two threads logging 300 lines each at once
//   pure-call          a pure virtual call (the pure-call handler; the process then aborts)
// It prints "ran" first, so a check can tell that it started.
#include "Kolvane.h"
#include "PureVirtualCall.h"

#include <cstdio>
#include <string>
#include <thread>

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    std::printf("ran\n");
    std::fflush(stdout);
    if (mode == "log") {
        KOLVANE_LOG(nullptr, "hello from the test program\n");
        const wchar_t* volatile missing = nullptr; // hidden from the compiler's format checks
        KOLVANE_LOG(nullptr, "missing=%ls", missing);
        return 0;
    }
    if (mode == "assert-end") {
        KOLVANE_LOG(nullptr, "before the assertion");
        KOLVANE_ASSERT(!"Unknown timer");
        std::printf("carried on\n");
        return 3;
    }
    if (mode == "threads") {
        const std::string padding(100, '.');
        auto writer = [&padding](char name) {
            for (int i = 0; i < 300; ++i) {
                KOLVANE_LOG(nullptr, "thread %c line %d %s\n", name, i, padding.c_str());
            }
        };
        std::thread a(writer, 'A');
        std::thread b(writer, 'B');
        a.join();
        b.join();
        return 0;
    }
    if (mode == "pure-call") {
        PureCallDerived derived;
        return 0;
    }
    std::fprintf(stderr, "unknown mode '%s'\n", mode.c_str());
    return 2;
}

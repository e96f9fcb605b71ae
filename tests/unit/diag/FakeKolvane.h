// A stand-in for kolvane.so that records every call, for tests of the diagnostics layer. Built in
// variants that leave out entry points (FAKE_KOLVANE_NO_DEFINE, _NO_WRITE, _NO_ASSERT).
#pragma once

#include <dlfcn.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

struct FakeKolvaneCalls {
    struct Define {
        std::u16string name;
        std::int32_t kind;
    };
    struct Line {
        std::int64_t logId;
        std::u16string logName;
        const void* object;
        std::u16string file;
        std::u16string function;
        std::int32_t line;
        std::u16string text;
    };
    struct Report {
        std::u16string file;
        std::u16string buildTimestamp;
        std::int32_t line;
        std::u16string function;
        std::u16string expression;
    };
    std::vector<Define> defines;
    std::vector<Line> lines;
    std::vector<Report> reports;
    std::int64_t logId = 42; // what DefineLog returns
    std::int32_t answer = 0; // what GenerateAssert returns
};

extern "C" {
typedef FakeKolvaneCalls*(FakeKolvaneCallsFn)();
}

// The record of the fake that the layer loaded beside this test program; null when it did not.
inline FakeKolvaneCalls* LoadedFake() {
    const auto folder = std::filesystem::read_symlink("/proc/self/exe").parent_path();
    void* library = ::dlopen((folder / "kolvane.so").c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (!library) {
        return nullptr;
    }
    auto* calls = reinterpret_cast<FakeKolvaneCallsFn*>(::dlsym(library, "FakeKolvaneRecord"));
    ::dlclose(library);
    return calls ? calls() : nullptr;
}

// The loaded fake's record; throws (failing the test) when the fake was not loaded.
inline FakeKolvaneCalls& Fake() {
    FakeKolvaneCalls* calls = LoadedFake();
    if (!calls) {
        throw std::runtime_error("the fake kolvane.so beside the test was not loaded");
    }
    return *calls;
}

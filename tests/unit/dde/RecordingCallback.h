// A DDE callback for tests: records every transaction and answers as the test says.
#pragma once

#include "DdeApi.h"

#include <cstdint>
#include <functional>
#include <vector>

struct Transaction {
    std::uint32_t type;
    std::uint32_t format;
    HCONV hconv;
    HSZ hsz1;
    HSZ hsz2;
    std::uintptr_t data2;
};

struct RecordingCallback {
    static inline std::vector<Transaction> seen;
    // Null answers (FALSE) when unset.
    static inline std::function<HDDEDATA(const Transaction&)> answer;

    static void Reset() {
        seen.clear();
        answer = nullptr;
    }

    static HDDEDATA Callback(std::uint32_t type, std::uint32_t format, HCONV hconv, HSZ hsz1,
                             HSZ hsz2, HDDEDATA, std::uintptr_t, std::uintptr_t data2) {
        seen.push_back({type, format, hconv, hsz1, hsz2, data2});
        return answer ? answer(seen.back()) : nullptr;
    }

    static std::vector<std::uint32_t> Types() {
        std::vector<std::uint32_t> types;
        for (const Transaction& t : seen) {
            types.push_back(t.type);
        }
        return types;
    }
};

inline HDDEDATA DdeTrue() {
    return reinterpret_cast<HDDEDATA>(std::uintptr_t{1});
}

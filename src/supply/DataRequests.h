// What a DDE topic asks of the data supplier, and the handles the supplier gives back.
#pragma once

#include "mondrel/Mondrel.h"

#include <cstdint>
#include <string>

// Longest symbol a request may name.
constexpr std::size_t kMaxSymbolLength = 24;

struct BarRequest {
    std::string symbol;
    bool fill = false;
    std::int32_t interval = 0;
    bool customSession = false;
    std::int32_t sessionStart = 0; // seconds after midnight
    std::int32_t sessionEnd = 0;   // seconds after midnight
    std::int32_t count = 0;
};

struct TickRequest {
    std::string symbol;
    std::int32_t count = 0;
};

// Handle of one snapshot request: a key of its own and the library quote it shares with the
// other requests for the symbol. {0, nullptr} means the request failed.
struct QuoteKey {
    std::uint32_t key = 0;
    IQuote* quote = nullptr;

    explicit operator bool() const { return key != 0 && quote != nullptr; }
};

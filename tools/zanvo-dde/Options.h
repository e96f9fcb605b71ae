// The command line of zanvo-dde.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

enum class Command { request, watch, poke };

struct Options {
    Command command = Command::request;
    std::string service;
    std::string topic;
    std::vector<std::string> items; // one for request and poke
    std::string data;               // poke
    bool raw = false;
    std::uint32_t timeoutMs = 5000;
    std::optional<std::uint32_t> seconds; // watch: stop after this long
    std::optional<std::uint32_t> count;   // watch: stop after this many updates
    std::optional<std::uint32_t> waitMs;  // request: wait this long for a text that is not empty
};

// The options, or nothing with *error saying what is wrong.
std::optional<Options> ParseOptions(const std::vector<std::string>& args, std::string* error);

extern const char* const kUsage;

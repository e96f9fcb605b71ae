#include "Options.h"

#include <charconv>

const char* const kUsage =
    "usage: zanvo-dde [options] request SERVICE TOPIC ITEM\n"
    "       zanvo-dde [options] watch SERVICE TOPIC ITEM...\n"
    "       zanvo-dde [options] poke SERVICE TOPIC ITEM DATA\n"
    "options:\n"
    "  --raw          show tabs as \\t, line feeds as \\n, carriage returns as \\r,\n"
    "                 backslashes as \\\\ and other control characters as \\xHH\n"
    "  --timeout MS   wait at most MS milliseconds for each answer (default 5000)\n"
    "  --seconds N    watch: stop after N seconds\n"
    "  --count N      watch: stop after N updates\n"
    "  --wait MS      request: hold the item until its text is not empty, at most MS\n"
    "                 milliseconds, then print it\n"
    "  --             end of options\n";

namespace {

bool ParseCount(const std::string& text, std::uint32_t* value) {
    const char* end = text.data() + text.size();
    const auto [at, error] = std::from_chars(text.data(), end, *value);
    return error == std::errc() && at == end && *value > 0;
}

} // namespace

std::optional<Options> ParseOptions(const std::vector<std::string>& args, std::string* error) {
    Options options;
    std::vector<std::string> words;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.size() < 2 || arg.compare(0, 2, "--") != 0) {
            words.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
        } else if (arg == "--raw") {
            options.raw = true;
        } else if (arg == "--timeout" || arg == "--seconds" || arg == "--count" ||
                   arg == "--wait") {
            std::uint32_t value = 0;
            if (i + 1 == args.size() || !ParseCount(args[i + 1], &value)) {
                *error = arg + " needs a positive whole number";
                return std::nullopt;
            }
            ++i;
            if (arg == "--timeout") {
                options.timeoutMs = value;
            } else if (arg == "--seconds") {
                options.seconds = value;
            } else if (arg == "--wait") {
                options.waitMs = value;
            } else {
                options.count = value;
            }
        } else {
            *error = "unknown option " + arg;
            return std::nullopt;
        }
    }

    if (words.empty()) {
        *error = "no command";
        return std::nullopt;
    }
    const std::string& command = words[0];
    const std::size_t operands = words.size() - 1;
    if (command == "request" && operands == 3) {
        options.command = Command::request;
    } else if (command == "watch" && operands >= 3) {
        options.command = Command::watch;
    } else if (command == "poke" && operands == 4) {
        options.command = Command::poke;
        options.data = words[4];
        words.pop_back();
    } else {
        *error = command == "request" || command == "watch" || command == "poke"
                     ? "wrong number of arguments for " + command
                     : "unknown command " + command;
        return std::nullopt;
    }
    if (options.command != Command::watch && (options.seconds || options.count)) {
        *error = "--seconds and --count apply to watch only";
        return std::nullopt;
    }
    if (options.command != Command::request && options.waitMs) {
        *error = "--wait applies to request only";
        return std::nullopt;
    }
    options.service = words[1];
    options.topic = words[2];
    options.items.assign(words.begin() + 3, words.end());
    return options;
}

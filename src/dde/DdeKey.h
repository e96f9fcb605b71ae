// One item of one conversation, and the names of the service and of its three topics.
#pragma once

#include "DdeApi.h"
#include "TextCase.h"

#include <cstdint>
#include <string>
#include <string_view>

inline constexpr const char* ZANVO_SERVICE = "Zanvo";
inline constexpr const char* ZANVO_TOPIC_BAR = "Bars";
inline constexpr const char* ZANVO_TOPIC_SNAPSHOT = "Snapshot";
inline constexpr const char* ZANVO_TOPIC_TICK = "TS";

// The service's spelling of a topic name written in any letter case (DDE names compare without
// regard to case); null for a name that is none of its topics.
inline const char* ZanvoTopic(std::string_view name) {
    for (const char* topic : {ZANVO_TOPIC_BAR, ZANVO_TOPIC_SNAPSHOT, ZANVO_TOPIC_TICK}) {
        if (CompareTextNoCase(name, topic) == 0) {
            return topic;
        }
    }
    return nullptr;
}

// The item string is kept exactly as the client sent it, neither trimmed nor upper-cased.
struct DdeKey {
    HCONV hconv{};
    std::string request;
};

// By conversation handle (unsigned), then by item without regard to case, as DDE item names
// compare.
struct DdeKeyLess {
    bool operator()(const DdeKey& left, const DdeKey& right) const {
        const auto l = reinterpret_cast<std::uintptr_t>(left.hconv);
        const auto r = reinterpret_cast<std::uintptr_t>(right.hconv);
        if (l != r) {
            return l < r;
        }
        return CompareTextNoCase(left.request, right.request) < 0;
    }
};

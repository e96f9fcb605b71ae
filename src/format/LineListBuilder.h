// The builder of a bar or tick item: lines kept in ascending key (time) order under a fixed
// header, served as exactly `count` rows.
#pragma once

#include "TextBuilder.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>

class LineListBuilder final : public TextBuilder {
public:
    // A count below 0 shows no rows.
    LineListBuilder(bool reverse, std::string header, std::int32_t count);

    // The header, then the rows with the greatest keys (oldest first, or newest first when
    // reversed), then one line feed per row not yet filled.
    std::string GetText() override;

    // Replaces the line of that key, or inserts it in key order (bars).
    void SetLine(std::int32_t key, std::string line);
    // Inserts in front of the lines of the same key (ticks: the latest of a second comes first).
    void InsertLine(std::int32_t key, std::string line);

    std::size_t LineCount() const { return m_lines.size(); }

private:
    struct Line {
        std::int32_t key;
        std::string text;
    };

    std::deque<Line>::iterator FirstNotBefore(std::int32_t key);
    void DropOldest();

    std::string m_header;
    std::deque<Line> m_lines;
    bool m_reverse;
    std::size_t m_count;
    std::string m_text;
};

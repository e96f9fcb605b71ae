#include "LineListBuilder.h"

#include <algorithm>
#include <utility>

namespace {

// The most empty rows served below the data: a worksheet holds no more rows, and an item that
// asks for billions of rows must not make the server build a text of gigabytes.
constexpr std::size_t kMaxEmptyRows = 1048576;

} // namespace

LineListBuilder::LineListBuilder(bool reverse, std::string header, std::int32_t count)
    : m_header(std::move(header)), m_reverse(reverse),
      m_count(count > 0 ? static_cast<std::size_t>(count) : 0) {}

std::deque<LineListBuilder::Line>::iterator LineListBuilder::FirstNotBefore(std::int32_t key) {
    return std::lower_bound(m_lines.begin(), m_lines.end(), key,
                            [](const Line& line, std::int32_t k) { return line.key < k; });
}

// Only the `count` lines with the greatest keys are ever served, so the others are dropped as
// soon as they are out of reach; an item that is never read cannot grow without bound.
void LineListBuilder::DropOldest() {
    if (m_lines.size() > m_count) {
        m_lines.erase(m_lines.begin(),
                      m_lines.begin() + static_cast<std::ptrdiff_t>(m_lines.size() - m_count));
    }
}

void LineListBuilder::SetLine(std::int32_t key, std::string line) {
    const auto place = FirstNotBefore(key);
    if (place != m_lines.end() && place->key == key) {
        place->text = std::move(line);
        return;
    }
    m_lines.insert(place, Line{key, std::move(line)});
    DropOldest();
}

void LineListBuilder::InsertLine(std::int32_t key, std::string line) {
    m_lines.insert(FirstNotBefore(key), Line{key, std::move(line)});
    DropOldest();
}

std::string LineListBuilder::GetText() {
    DropOldest();
    m_text.clear();
    m_text += m_header;
    if (m_reverse) {
        for (auto it = m_lines.rbegin(); it != m_lines.rend(); ++it) {
            m_text += it->text;
        }
    } else {
        for (const Line& line : m_lines) {
            m_text += line.text;
        }
    }
    if (m_lines.size() < m_count) {
        m_text.append(std::min(m_count - m_lines.size(), kMaxEmptyRows), '\n');
    }
    return m_text;
}

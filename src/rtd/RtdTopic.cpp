#include "RtdTopic.h"

#include "DdeServer.h"
#include "ItemNumbers.h"
#include "Kolvane.h"
#include "TextCase.h"

#include <algorithm>
#include <string_view>

namespace {

std::string Joined(std::vector<std::string>::const_iterator begin,
                   std::vector<std::string>::const_iterator end) {
    std::string item;
    for (auto it = begin; it != end; ++it) {
        if (!item.empty()) {
            item += ',';
        }
        item += *it;
    }
    return item;
}

// The row as the count of the item allows it; 0 when it is no such row.
std::int32_t ReadRow(const std::string& text, std::int32_t count) {
    std::size_t at = 0;
    std::int32_t row = 0;
    if (!ReadDecimal(text, at, row)) {
        return 0;
    }
    while (at < text.size() && IsBlank(text[at])) {
        ++at;
    }
    return at == text.size() && row >= 1 && row <= count ? row : 0;
}

// The field of the item's column letters that the column names; nothing when it names none.
std::optional<std::int32_t> ReadColumn(const std::string& column, const std::string& letters,
                                       const std::vector<std::int32_t>& fields) {
    const std::string upper = ToUpperText(column);
    if (upper.size() != 1) {
        return std::nullopt;
    }
    const auto at = letters.find(upper[0]);
    if (at == std::string::npos || at >= fields.size()) {
        return std::nullopt;
    }
    return fields[at];
}

// The field letters of a bars or ticks item: its parameter after the symbol and the numbers.
std::string FieldLetters(const std::string& item, std::size_t index) {
    std::vector<std::string> params;
    DdeServer::SplitDdeRequest(item, params);
    return index < params.size() ? params[index] : std::string();
}

std::string BarKey(const BarRequest& r) {
    std::string key = "B";
    key += r.symbol;
    for (const std::int32_t number : {r.interval, r.count, std::int32_t{r.fill}}) {
        key += ',';
        key += std::to_string(number);
    }
    if (r.customSession) {
        key += ',';
        key += std::to_string(r.sessionStart);
        key += '-';
        key += std::to_string(r.sessionEnd);
    }
    return key;
}

} // namespace

// The steps of reading topic strings that log a refusal of their own, named in the log line.
struct RtdTopicReader {
    // The row and the column of a bars or ticks cell.
    static bool ReadCell(RtdCellTopic& cell, const std::vector<std::string>& strings,
                         std::int32_t count, std::size_t letterIndex,
                         const std::vector<std::int32_t>& fields, const void* logObject);
    // The DDE server's line for an empty item: the grammars take none.
    static bool HasItem(const std::string& item, const void* logObject);
};

bool RtdTopicReader::ReadCell(RtdCellTopic& cell, const std::vector<std::string>& strings,
                              std::int32_t count, std::size_t letterIndex,
                              const std::vector<std::int32_t>& fields, const void* logObject) {
    const std::string item = Joined(strings.begin() + 1, strings.end() - 2);
    const std::string& rowText = strings[strings.size() - 2];
    const std::string& columnText = strings.back();
    cell.row = ReadRow(rowText, count);
    if (cell.row == 0) {
        KOLVANE_LOG(logObject, "Error: RTD row '%s' is not 1 to %d of '%s'\n", rowText.c_str(),
                    count, item.c_str());
        return false;
    }
    const auto field = ReadColumn(columnText, FieldLetters(item, letterIndex), fields);
    if (!field) {
        KOLVANE_LOG(logObject, "Error: RTD column '%s' is not a field of '%s'\n",
                    columnText.c_str(), item.c_str());
        return false;
    }
    cell.field = *field;
    return true;
}

bool RtdTopicReader::HasItem(const std::string& item, const void* logObject) {
    if (item.empty()) {
        KOLVANE_LOG(logObject, "Error: Not specified request parameters\n");
        return false;
    }
    return true;
}

std::optional<RtdCellTopic> ReadRtdTopic(const std::vector<std::string>& strings, Mondrel* manager,
                                         const void* logObject) {
    if (strings.size() < 2) {
        KOLVANE_LOG(logObject, "Error: RTD topic needs a topic and an item\n");
        return std::nullopt;
    }
    const std::string topic = ToUpperText(strings[0]);
    RtdCellTopic cell;
    if (topic == ToUpperText(ZANVO_TOPIC_SNAPSHOT)) {
        const std::string item = Joined(strings.begin() + 1, strings.end());
        if (!RtdTopicReader::HasItem(item, logObject)) {
            return std::nullopt;
        }
        auto read = DdeServer::CreateSnapshotTopic(item, logObject);
        if (!read) {
            return std::nullopt;
        }
        if (read->format.fields.size() != 1) {
            KOLVANE_LOG(logObject, "Error: RTD snapshot item '%s' must name one field\n",
                        item.c_str());
            return std::nullopt;
        }
        cell.kind = RtdTopicKind::Snapshot;
        cell.subscription = "S" + read->symbol;
        cell.qualifier = read->format.fields[0];
        cell.snapshot = std::move(*read);
        return cell;
    }
    const bool bars = topic == ToUpperText(ZANVO_TOPIC_BAR);
    if (!bars && topic != ToUpperText(ZANVO_TOPIC_TICK)) {
        KOLVANE_LOG(logObject, "Error: Unsupported RTD topic '%s'\n", strings[0].c_str());
        return std::nullopt;
    }
    if (strings.size() < 4) {
        KOLVANE_LOG(logObject, "Error: RTD item '%s' needs a row and a column\n",
                    Joined(strings.begin() + 1, strings.end()).c_str());
        return std::nullopt;
    }
    const std::string item = Joined(strings.begin() + 1, strings.end() - 2);
    if (!RtdTopicReader::HasItem(item, logObject)) {
        return std::nullopt;
    }
    if (bars) {
        auto read = DdeServer::CreateBarTopic(item, manager, logObject);
        if (!read || !RtdTopicReader::ReadCell(cell, strings, read->request.count, 3,
                                               read->format.fields, logObject)) {
            return std::nullopt;
        }
        cell.kind = RtdTopicKind::Bars;
        cell.subscription = BarKey(read->request);
        cell.bars = std::move(*read);
        return cell;
    }
    auto read = DdeServer::CreateTickTopic(item, logObject);
    if (!read || !RtdTopicReader::ReadCell(cell, strings, read->request.count, 2,
                                           read->format.fields, logObject)) {
        return std::nullopt;
    }
    cell.kind = RtdTopicKind::Ticks;
    cell.subscription = "T" + read->request.symbol + "," + std::to_string(read->request.count);
    cell.ticks = std::move(*read);
    return cell;
}

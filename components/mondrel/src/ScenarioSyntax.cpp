#include "ScenarioSyntax.h"

#include "Universe.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <initializer_list>
#include <string_view>
#include <utility>

namespace mondrel {

std::string Tokenize(const std::string& line, std::vector<Token>& tokens) {
    tokens.clear();
    std::size_t i = 0;
    while (i < line.size()) {
        const char c = line[i];
        if (c == ' ' || c == '\t' || c == '\r') {
            ++i;
            continue;
        }
        if (c == '#')
            break;
        Token token;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') {
            if (line[i] != '"') {
                token.text += line[i++];
                continue;
            }
            token.quoted = true;
            ++i;
            for (;;) {
                if (i >= line.size())
                    return "unterminated quoted text";
                if (line[i] == '"') {
                    ++i;
                    break;
                }
                if (line[i] == '\\' && i + 1 < line.size() &&
                    (line[i + 1] == '"' || line[i + 1] == '\\'))
                    ++i;
                token.text += line[i++];
            }
        }
        tokens.push_back(std::move(token));
    }
    return {};
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

std::string Upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

bool ParseInteger(const std::string& text, std::int64_t& value) {
    if (text.empty() || std::isspace(static_cast<unsigned char>(text[0])))
        return false;
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    char* end = nullptr;
    errno = 0;
    const long long parsed = std::strtoll(text.c_str(), &end, hex ? 16 : 10);
    if (errno != 0 || end != text.c_str() + text.size())
        return false;
    value = parsed;
    return true;
}

bool ParseDouble(const std::string& text, double& value) {
    if (text.empty() || std::isspace(static_cast<unsigned char>(text[0])))
        return false;
    char* end = nullptr;
    errno = 0;
    const double parsed = std::strtod(text.c_str(), &end);
    if (errno != 0 || end != text.c_str() + text.size() || !std::isfinite(parsed))
        return false;
    value = parsed;
    return true;
}

namespace {

// Reads exactly `digits` digits at text[pos].
bool Digits(const std::string& text, std::size_t pos, std::size_t digits, int& value) {
    if (pos + digits > text.size())
        return false;
    value = 0;
    for (std::size_t i = pos; i < pos + digits; ++i) {
        if (!std::isdigit(static_cast<unsigned char>(text[i])))
            return false;
        value = value * 10 + (text[i] - '0');
    }
    return true;
}

// The value named by text, any letter case, from a list of names and values.
template <typename Value>
bool ParseName(const std::string& text,
               std::initializer_list<std::pair<std::string_view, Value>> names, Value& value) {
    const std::string name = Lower(text);
    for (const auto& [candidate, named] : names) {
        if (name == candidate) {
            value = named;
            return true;
        }
    }
    return false;
}

constexpr int kAllFeeds = mfbDataManager | mfbDomesticTick | mfbInternationalTick | mfbHistory;

} // namespace

bool ParseDate(const std::string& text, CivilDate& date) {
    if (text.size() != 10 || text[4] != '-' || text[7] != '-')
        return false;
    if (!Digits(text, 0, 4, date.year) || !Digits(text, 5, 2, date.month) ||
        !Digits(text, 8, 2, date.day))
        return false;
    if (date.month < 1 || date.month > 12 || date.day < 1)
        return false;
    // The day must exist: it survives a round trip through the day number.
    const CivilDate back = CivilFromDays(DaysFromCivil(date.year, date.month, date.day));
    return back.month == date.month && back.day == date.day;
}

bool ParseTime(const std::string& text, std::int64_t& time) {
    if (text.size() >= 10 && text[4] == '-') {
        CivilDate date;
        if (!ParseDate(text.substr(0, 10), date))
            return false;
        int hour = 0, minute = 0, second = 0;
        if (text.size() > 10) {
            const bool shortForm = text.size() == 16;
            if ((text.size() != 19 && !shortForm) || text[10] != 'T' || text[13] != ':' ||
                !Digits(text, 11, 2, hour) || !Digits(text, 14, 2, minute))
                return false;
            if (!shortForm && (text[16] != ':' || !Digits(text, 17, 2, second)))
                return false;
            if (hour > 23 || minute > 59 || second > 59)
                return false;
        }
        time = DaysFromCivil(date.year, date.month, date.day) * kSecondsPerDay + hour * 3600 +
               minute * 60 + second;
    } else if (!ParseInteger(text, time)) {
        return false;
    }
    return time >= INT32_MIN && time <= INT32_MAX;
}

bool ParseDaylightRule(const std::string& text, DaylightRule& rule) {
    return ParseName(text,
                     {{"none", DaylightRule::None},
                      {"us", DaylightRule::UnitedStates},
                      {"eu", DaylightRule::EuropeanUnion}},
                     rule);
}

bool ParseCalendar(const std::string& text, HolidayCalendar& calendar) {
    return ParseName(text,
                     {{"none", HolidayCalendar::None},
                      {"us", HolidayCalendar::UnitedStates},
                      {"frankfurt", HolidayCalendar::Frankfurt},
                      {"tokyo", HolidayCalendar::Tokyo},
                      {"fx", HolidayCalendar::ForeignExchange}},
                     calendar);
}

bool ParseFeeds(const std::string& text, int& feeds) {
    if (ParseName(text,
                  {{"all", kAllFeeds},
                   {"datamanager", int{mfbDataManager}},
                   {"domestictick", int{mfbDomesticTick}},
                   {"internationaltick", int{mfbInternationalTick}},
                   {"history", int{mfbHistory}}},
                  feeds))
        return true;
    std::int64_t bits;
    if (!ParseInteger(text, bits) || bits <= 0 ||
        (bits & ~static_cast<std::int64_t>(kAllFeeds)) != 0)
        return false;
    feeds = static_cast<int>(bits);
    return true;
}

std::string ParseField(const Token& token, FieldMap& fields) {
    const auto equals = token.text.find('=');
    std::int64_t id;
    if (equals == std::string::npos || !ParseInteger(token.text.substr(0, equals), id) || id < 0 ||
        id > INT32_MAX)
        return "expected <field id>=<value>, not '" + token.text + "'";
    const std::string value = token.text.substr(equals + 1);
    FieldType type = TypeOfField(static_cast<int>(id));
    if (type == FieldType::Unknown)
        type = token.quoted                                      ? FieldType::Text
               : value.find_first_of(".eE") != std::string::npos ? FieldType::Double
                                                                 : FieldType::Integer;
    std::int64_t integer;
    double real;
    switch (type) {
    case FieldType::Integer:
        // Counts reach kMaxCount; times are 32-bit.
        if (!(ParseInteger(value, integer) && integer >= -kMaxCount && integer <= kMaxCount) &&
            !ParseTime(value, integer))
            return "field " + std::to_string(id) + " takes an integer of at most 2^53 or a time, " +
                   "not '" + value + "'";
        fields[static_cast<int>(id)] = integer;
        return {};
    case FieldType::Double:
        if (!ParseDouble(value, real))
            return "field " + std::to_string(id) + " takes a number, not '" + value + "'";
        fields[static_cast<int>(id)] = real;
        return {};
    default:
        if (value.size() > 255)
            return "field " + std::to_string(id) + " is longer than 255 characters";
        fields[static_cast<int>(id)] = value;
        return {};
    }
}

std::string ResolvePath(const std::string& directory, const std::string& path) {
    const bool absolute = (!path.empty() && (path[0] == '/' || path[0] == '\\')) ||
                          (path.size() > 1 && path[1] == ':');
    return absolute || directory.empty() ? path : directory + "/" + path;
}

} // namespace mondrel

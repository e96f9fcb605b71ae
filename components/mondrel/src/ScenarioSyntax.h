// The lexical pieces of scenario files: tokens, numbers, times, dates, names of rules, feeds
// and quote fields, and the replay of recorded trades and quotes.
#pragma once

#include "ScenarioFile.h"

#include <cstdint>
#include <istream>
#include <string>
#include <vector>

namespace mondrel {

struct Token {
    std::string text;
    bool quoted = false; // written in double quotes (in whole or in part)
};

// Splits a line at blanks; "double quotes" keep blanks, \" and \\ escape; # starts a comment
// outside quotes. Returns a problem, or "".
std::string Tokenize(const std::string& line, std::vector<Token>& tokens);

std::string Lower(std::string text);
std::string Upper(std::string text);

// Decimal or 0x-hexadecimal, the whole text.
bool ParseInteger(const std::string& text, std::int64_t& value);
bool ParseDouble(const std::string& text, double& value);
// YYYY-MM-DD with a real day.
bool ParseDate(const std::string& text, CivilDate& date);
// Seconds since 1970 as a number, or YYYY-MM-DD or YYYY-MM-DDTHH:MM[:SS] in UTC.
bool ParseTime(const std::string& text, std::int64_t& time);
bool ParseDaylightRule(const std::string& text, DaylightRule& rule);
bool ParseCalendar(const std::string& text, HolidayCalendar& calendar);
// A feed name, "all", or a number of feed bits.
bool ParseFeeds(const std::string& text, int& feeds);
// <field id>=<value>, typed by the field's id, or for ids the library does not define, by its
// spelling: quoted text, a number with a point, or an integer.
std::string ParseField(const Token& token, FieldMap& fields);

std::string ResolvePath(const std::string& directory, const std::string& path);

// Adds the records of a CSV of trades and quotes as replay actions; the first record plays at
// start milliseconds, the others after it by their time difference divided by speed.
void ReadReplay(std::istream& in, const std::string& fileName, std::int64_t start, double speed,
                Scenario& scenario);

} // namespace mondrel

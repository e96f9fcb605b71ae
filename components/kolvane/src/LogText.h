// The text of the library's log files: one UTF-8 line per call, fields separated by tabs.
#pragma once

#include <cstdint>
#include <string>

namespace Kolvane::Library {

// UTF-16 to UTF-8; a null pointer gives an empty text, an unpaired surrogate U+FFFD.
std::string Utf16ToUtf8(const char16_t* text);

// Keeps a field on its line: line feeds and carriage returns become "\n" and "\r"; tabs become
// "\t" too unless the field is the last of its line.
std::string EscapeField(const std::string& field, bool lastField);

// The file name (without ".log") that a log name writes to: the part after the last path
// separator, without its extension, with characters that file names cannot hold replaced by '_';
// "undefined" when nothing is left.
std::string LogFileStem(const std::string& logName);

struct LogLineFields {
    std::string time;
    std::uint64_t thread;
    std::string file;
    std::int32_t line;
    std::string function;
    std::uintptr_t object;
    std::string text;
};

// "time<TAB>thread<TAB>file(line)<TAB>function<TAB>0xOBJECT<TAB>text\n". One trailing line feed of
// the text is dropped; the line always ends with exactly one.
std::string FormatLogLine(const LogLineFields& fields);

struct AssertLineFields {
    std::string time;
    std::uint64_t thread;
    std::string file;
    std::int32_t line;
    std::string function;
    std::string expression;
    std::string buildTimestamp;
    std::int32_t answer;
};

// "time<TAB>thread<TAB>file(line)<TAB>function<TAB>Assertion failed: EXPR<TAB>built STAMP<TAB>
// answer: WORD (N)\n".
std::string FormatAssertLine(const AssertLineFields& fields);

} // namespace Kolvane::Library

// The value of one real-time data cell, as the client receives it: a number, a date (a
// spreadsheet date serial), a text, or "not available" (a refused topic, or no data yet).
#pragma once

#include <string>

struct RtdValue {
    enum Kind { rvNotAvailable, rvNumber, rvDate, rvText };

    Kind kind = rvNotAvailable;
    double number = 0; // the number, or the date serial
    std::string text;

    static RtdValue Number(double value) { return {rvNumber, value, {}}; }
    static RtdValue Date(double serial) { return {rvDate, serial, {}}; }
    static RtdValue Text(std::string value) { return {rvText, 0, std::move(value)}; }

    friend bool operator==(const RtdValue&, const RtdValue&) = default;
};

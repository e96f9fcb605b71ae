// The field values of one quote, typed by their ids (mondrel/Mondrel.h).
#pragma once

#include "mondrel/Mondrel.h"

#include <cstdint>
#include <map>
#include <string>
#include <variant>

namespace mondrel {

// Integer fields are 64-bit: volumes and sizes beyond 32 bits are kept exactly up to kMaxCount.
using FieldValue = std::variant<std::int64_t, double, std::string>;

// The largest volume or size the library takes: 2^53, exact also as a double.
constexpr std::int64_t kMaxCount = std::int64_t{1} << 53;
using FieldMap = std::map<int, FieldValue>;

enum class FieldType { Integer, Double, Text, Unknown };

// The type of a known field id; Unknown for ids the library does not define.
FieldType TypeOfField(int fieldId);

} // namespace mondrel

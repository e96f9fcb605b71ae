// The quote fields a snapshot item can name ("qualifiers"): short names that clients write in
// their requests, long names that head columns and lines. The position in the table is the
// qualifier's identifier; names and order are part of the served interface.
#pragma once

#include <cstdint>
#include <string>

using SnapshotQualifierId = std::int32_t;

// One past the last qualifier: no qualifier named, or a failed lookup.
constexpr SnapshotQualifierId __sfEndOfQualifierList = 98;

struct SnapshotQualifier {
    SnapshotQualifierId id;
    const char* shortName;
    const char* longName;
};

class SnapshotQualifiers {
public:
    // Exact, case-sensitive match of a short name; __sfEndOfQualifierList when none matches.
    static SnapshotQualifierId GetQualifierID(const std::string& shortName);
    // Empty for an identifier outside the table (after a report).
    static std::string GetQualifierLongName(SnapshotQualifierId qualifierID);
};

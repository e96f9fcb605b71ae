// Appending lines to a size-limited log file that rotates: FOLDER/STEM.log is the current file,
// STEM.1.log the one before it, up to STEM.<keep>.log; the oldest is deleted.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace Kolvane::Library {

struct RotationPolicy {
    std::uintmax_t maxBytes; // a file is rotated before a line would take it past this size
    int keep;                // number of old files kept
};

// Appends one whole line (one write). Creates the folder when missing. Returns false when the
// line could not be written; a failed rotation leaves the current file growing rather than lose
// the line.
bool AppendLine(const std::filesystem::path& folder, const std::string& stem,
                const std::string& line, const RotationPolicy& policy);

} // namespace Kolvane::Library

#include "RotatingFile.h"

#include <fstream>

namespace Kolvane::Library {
namespace fs = std::filesystem;

namespace {

fs::path Numbered(const fs::path& folder, const std::string& stem, int n) {
    const std::string name = n == 0 ? stem + ".log" : stem + '.' + std::to_string(n) + ".log";
    return folder / std::u8string(name.begin(), name.end());
}

void Rotate(const fs::path& folder, const std::string& stem, int keep) {
    std::error_code ec;
    if (keep <= 0) {
        fs::remove(Numbered(folder, stem, 0), ec);
        return;
    }
    fs::remove(Numbered(folder, stem, keep), ec);
    for (int n = keep - 1; n >= 0; --n) {
        if (fs::exists(Numbered(folder, stem, n), ec)) {
            fs::rename(Numbered(folder, stem, n), Numbered(folder, stem, n + 1), ec);
        }
    }
}

} // namespace

bool AppendLine(const fs::path& folder, const std::string& stem, const std::string& line,
                const RotationPolicy& policy) {
    std::error_code ec;
    fs::create_directories(folder, ec);
    const fs::path current = Numbered(folder, stem, 0);
    const std::uintmax_t size = fs::file_size(current, ec);
    if (!ec && size > 0 && size + line.size() > policy.maxBytes) {
        Rotate(folder, stem, policy.keep);
    }
    std::ofstream out(current, std::ios::binary | std::ios::app);
    if (!out) {
        return false;
    }
    out.write(line.data(), static_cast<std::streamsize>(line.size()));
    out.flush();
    return static_cast<bool>(out);
}

} // namespace Kolvane::Library

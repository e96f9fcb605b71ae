#include "TextCase.h"

#include <climits>
#include <cwchar>
#include <cwctype>

namespace {

// One character of a text: its wide value, or the raw byte when the locale cannot decode it.
struct Unit {
    std::size_t length = 1;
    bool decoded = false;
    wchar_t character = 0;
    unsigned char byte = 0;
};

Unit NextUnit(std::string_view text, std::size_t at, std::mbstate_t& state) {
    Unit unit;
    unit.byte = static_cast<unsigned char>(text[at]);
    wchar_t wide = 0;
    const std::size_t n = std::mbrtowc(&wide, text.data() + at, text.size() - at, &state);
    if (n == static_cast<std::size_t>(-1) || n == static_cast<std::size_t>(-2)) {
        state = std::mbstate_t{};
        return unit;
    }
    unit.decoded = true;
    unit.character = wide;
    unit.length = n == 0 ? 1 : n;
    return unit;
}

// Raw bytes sort after every character, so that the order stays total.
long long FoldedValue(const Unit& unit) {
    if (!unit.decoded) {
        return 0x200000LL + unit.byte;
    }
    return static_cast<long long>(std::towlower(static_cast<std::wint_t>(unit.character)));
}

} // namespace

std::string ToUpperText(std::string_view text) {
    std::string upper;
    upper.reserve(text.size());
    std::mbstate_t in{};
    std::size_t at = 0;
    while (at < text.size()) {
        const Unit unit = NextUnit(text, at, in);
        bool written = false;
        if (unit.decoded) {
            char encoded[MB_LEN_MAX];
            std::mbstate_t out{};
            const auto wide =
                static_cast<wchar_t>(std::towupper(static_cast<std::wint_t>(unit.character)));
            const std::size_t n = std::wcrtomb(encoded, wide, &out);
            if (n != static_cast<std::size_t>(-1) && n > 0) {
                upper.append(encoded, n);
                written = true;
            }
        }
        if (!written) {
            upper.append(text.substr(at, unit.length));
        }
        at += unit.length;
    }
    return upper;
}

int CompareTextNoCase(std::string_view left, std::string_view right) {
    std::mbstate_t leftState{};
    std::mbstate_t rightState{};
    std::size_t l = 0;
    std::size_t r = 0;
    while (l < left.size() && r < right.size()) {
        // The same ASCII byte at a character boundary of both texts is the same character and
        // folds alike, so it needs no decoding: item names mostly differ in a few characters, and
        // the server's maps compare them on every update.
        const auto byte = static_cast<unsigned char>(left[l]);
        if (byte < 0x80 && byte == static_cast<unsigned char>(right[r])) {
            ++l;
            ++r;
            continue;
        }
        const Unit a = NextUnit(left, l, leftState);
        const Unit b = NextUnit(right, r, rightState);
        const long long fa = FoldedValue(a);
        const long long fb = FoldedValue(b);
        if (fa != fb) {
            return fa < fb ? -1 : 1;
        }
        l += a.length;
        r += b.length;
    }
    if (l < left.size()) {
        return 1;
    }
    return r < right.size() ? -1 : 0;
}

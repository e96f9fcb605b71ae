#include "Kolvane.h"

#include <string>
#include <string_view>

namespace Kolvane {

namespace {

// How GCC and Clang name an unnamed namespace in a function's signature.
constexpr std::string_view kUnnamedNamespaces[] = {"{anonymous}::", "(anonymous namespace)::"};

} // namespace

// "bool DataSupplier::Connect(const ApplicationSettings&)" -> "DataSupplier::Connect".
// Return types, parameters, qualifiers and template bindings ("[with T = int]") are cut away; a
// lambda reports as the function that holds it, and unnamed namespaces are left out, so that a
// class kept private to its file reports as "Class::Method".
std::u16string QualifiedFunctionName(const char* prettyFunction) {
    std::string_view s = prettyFunction ? prettyFunction : "";
    if (const auto with = s.find(" [with "); with != std::string_view::npos) {
        s = s.substr(0, with);
    }
    if (const auto lambda = s.find("::<lambda"); lambda != std::string_view::npos) {
        s = s.substr(0, lambda);
    }
    // The parameter list: the last top-level parenthesised group.
    std::size_t close = s.rfind(')');
    std::size_t open = std::string_view::npos;
    if (close != std::string_view::npos) {
        int depth = 0;
        for (std::size_t i = close + 1; i-- > 0;) {
            if (s[i] == ')') {
                ++depth;
            } else if (s[i] == '(' && --depth == 0) {
                open = i;
                break;
            }
        }
    }
    std::string_view head = open == std::string_view::npos ? s : s.substr(0, open);
    // The name starts after the last space outside template brackets ("(anonymous namespace)"
    // holds one too, so parentheses count as well).
    std::size_t start = 0;
    int depth = 0;
    for (std::size_t i = head.size(); i-- > 0;) {
        const char c = head[i];
        if (c == '>' || c == ')') {
            ++depth;
        } else if (c == '<' || c == '(') {
            --depth;
        } else if (c == ' ' && depth == 0) {
            start = i + 1;
            break;
        }
    }
    std::string_view name = head.substr(start);
    while (!name.empty() && (name.front() == '*' || name.front() == '&')) {
        name.remove_prefix(1);
    }
    std::string kept(name);
    for (const std::string_view unnamed : kUnnamedNamespaces) {
        for (auto at = kept.find(unnamed); at != std::string::npos; at = kept.find(unnamed, at)) {
            kept.erase(at, unnamed.size());
        }
    }
    return std::u16string(kept.begin(), kept.end());
}

} // namespace Kolvane

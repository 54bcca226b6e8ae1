#include "calc/text_util.h"

#include <cctype>

namespace quorvel {
namespace {

bool isSpace(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

char lower(char c) {
    // ASCII directly: this runs on every line, and the C library call was a tenth of it.
    if (c >= 'A' && c <= 'Z') return static_cast<char>(c - 'A' + 'a');
    if (static_cast<unsigned char>(c) >= 0x80) {
        return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return c;
}

}  // namespace

std::string_view Trim(std::string_view text) {
    while (!text.empty() && isSpace(text.front())) text.remove_prefix(1);
    while (!text.empty() && isSpace(text.back())) text.remove_suffix(1);
    return text;
}

std::string ToLower(std::string_view text) {
    std::string out;
    ToLower(text, out);
    return out;
}

void ToLower(std::string_view text, std::string& out) {
    out.assign(text);
    for (char& c : out) c = lower(c);
}

bool EqualsIgnoreCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i] != b[i] && lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

bool ContainsIgnoreCase(std::string_view text, std::string_view word) {
    if (word.empty()) return true;
    for (std::size_t i = 0; i + word.size() <= text.size(); ++i) {
        if (lower(text[i]) == lower(word[0]) &&
            EqualsIgnoreCase(text.substr(i, word.size()), word)) {
            return true;
        }
    }
    return false;
}

}  // namespace quorvel

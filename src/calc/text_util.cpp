#include "calc/text_util.h"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <vector>

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
    // Every line is lowered once or twice: eight ASCII characters at a time, as one word.
    constexpr std::uint64_t kOnes = 0x0101010101010101ull;
    constexpr std::uint64_t kHigh = 0x8080808080808080ull;
    char* p = out.data();
    char* const end = p + out.size();
    for (; end - p >= 8; p += 8) {
        std::uint64_t word;
        std::memcpy(&word, p, sizeof word);
        if ((word & kHigh) != 0) break;  // the C library's lower case from here on
        // A byte's high bit is set from 'A' on, and from past 'Z' on: capitals have the first.
        const std::uint64_t fromA = word + (0x80 - 'A') * kOnes;
        const std::uint64_t pastZ = word + (0x80 - 'Z' - 1) * kOnes;
        word |= ((fromA & ~pastZ) & kHigh) >> 2;  // 0x80 >> 2 is the 0x20 of lower case
        std::memcpy(p, &word, sizeof word);
    }
    for (; p != end; ++p) *p = lower(*p);
}

void EraseCarriageReturns(std::string& text) {
    std::size_t kept = text.find('\r');
    if (kept == std::string::npos) return;
    for (std::size_t from = kept + 1; from < text.size();) {
        const std::size_t cr = std::min(text.find('\r', from), text.size());
        std::memmove(text.data() + kept, text.data() + from, cr - from);
        kept += cr - from;
        from = cr + 1;
    }
    text.resize(kept);
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

std::size_t EditDistance(std::string_view a, std::string_view b) {
    // Optimal string alignment.
    const std::size_t n = a.size();
    const std::size_t m = b.size();
    std::vector<std::vector<std::size_t>> d(n + 1, std::vector<std::size_t>(m + 1));
    for (std::size_t i = 0; i <= n; ++i) d[i][0] = i;
    for (std::size_t j = 0; j <= m; ++j) d[0][j] = j;
    for (std::size_t i = 1; i <= n; ++i) {
        for (std::size_t j = 1; j <= m; ++j) {
            d[i][j] = std::min(
                {d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + (a[i - 1] != b[j - 1])});
            if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) {
                d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
            }
        }
    }
    return d[n][m];
}

}  // namespace quorvel

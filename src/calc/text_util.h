#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quorvel {

// ASCII only: expressions are ASCII, and the C library's versions depend on the locale.
constexpr char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}
constexpr bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// A line without the CR of its "\r\n" line break.
constexpr std::string_view WithoutTrailingCr(std::string_view line) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    return line;
}

// Comparisons that ignore ASCII case, without a lower-cased copy.
bool EqualsIgnoreCase(std::string_view a, std::string_view b);
bool ContainsIgnoreCase(std::string_view text, std::string_view word);

// White space of the C locale at both ends.
std::string_view Trim(std::string_view text);
std::string ToLower(std::string_view text);
// The same into `out`, whose capacity is reused; `out` must not hold `text`.
void ToLower(std::string_view text, std::string& out);

// Drops every CR, in place. A long line's working is megabytes, and this moves it a line at a
// time with the library's vector routines, several times faster than a test of each character.
void EraseCarriageReturns(std::string& text);

// Edits that turn `a` into `b`: a character changed, left out, added, or swapped with its
// neighbour ("lenght") each count one. For suggesting what a mistyped word meant.
std::size_t EditDistance(std::string_view a, std::string_view b);

}  // namespace quorvel

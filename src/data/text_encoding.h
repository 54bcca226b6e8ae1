#pragma once

// Conversions between the UTF-8 texts kept in memory and the two forms a data file holds
// them in: one byte per character (ANSI, read as Windows-1252) and UTF-16.

#include <string>
#include <string_view>

namespace quorvel {

bool isAscii(std::string_view text);

// Every byte is one character; the five bytes Windows-1252 leaves undefined map to the
// control characters of the same number, as Windows itself converts them.
std::string windows1252ToUtf8(std::string_view bytes);

// A byte that is not part of a well-formed UTF-8 sequence is taken as a Windows-1252
// character, so text that came from an ANSI source survives instead of turning into U+FFFD.
std::u16string utf8ToUtf16(std::string_view text);

// A lone surrogate becomes U+FFFD.
std::string utf16ToUtf8(std::u16string_view text);

}  // namespace quorvel

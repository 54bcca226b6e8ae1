#include "calc/text_util.h"

#include <cctype>

namespace quorvel {
namespace {

bool isSpace(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

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
    for (char& c : out) {
        // ASCII directly: this runs on every line, and the C library call was a tenth of it.
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        } else if (static_cast<unsigned char>(c) >= 0x80) {
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
    }
}

}  // namespace quorvel

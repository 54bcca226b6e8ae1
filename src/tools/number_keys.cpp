#include "tools/number_keys.h"

#include "calc/text_util.h"

namespace quorvel {

bool IsFloatEntry(std::string_view text) {
    if (!text.empty() && text.front() == '-') text.remove_prefix(1);
    bool point = false;
    for (char c : text) {
        if (c == '.') {
            if (point) return false;
            point = true;
        } else if (!IsDigit(c)) {
            return false;
        }
    }
    return true;
}

bool IsFloatNumber(std::string_view text) {
    return IsFloatEntry(text) && text.find_first_of("0123456789") != std::string_view::npos;
}

ValueKey ConvValueKey(char ch) {
    if (IsDigit(ch)) return ValueKey::AcceptAndRecompute;
    if (ch == '.' || ch == kBackspace) return ValueKey::Accept;
    return ValueKey::Discard;
}

}  // namespace quorvel

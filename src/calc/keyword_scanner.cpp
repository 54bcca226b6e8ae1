#include "calc/keyword_scanner.h"

#include <array>

#include "calc/text_util.h"

namespace quorvel {
namespace {

constexpr std::array<Keyword, 22> kKeywords = {{
    {"sin", true},    {"cos", true},    {"tan", true},    {"sinh", true},   {"cosh", true},
    {"tanh", true},   {"arcsin", true}, {"arccos", true}, {"arctan", true}, {"ln", true},
    {"log", true},    {"exp", true},    {"abs", true},    {"sqrt", true},   {"rad", true},
    {"deg", true},    {"last1", false}, {"last2", false}, {"last3", false}, {"last4", false},
    {"last5", false}, {"pi", false},
}};

bool sameLetters(std::string_view text, std::string_view word) {
    if (text.size() != word.size()) return false;
    for (std::size_t i = 0; i < word.size(); ++i) {
        if (LowerAscii(text[i]) != word[i]) return false;
    }
    return true;
}

}  // namespace

KeywordScanner::KeywordScanner() : m_words(kKeywords.begin(), kKeywords.end()) {}

std::optional<KeywordMatch> KeywordScanner::findEndingAt(std::string_view text,
                                                         std::size_t end) const {
    if (end > text.size()) return std::nullopt;
    std::optional<KeywordMatch> best;
    for (const Keyword& word : m_words) {
        const std::size_t length = word.text.size();
        if (length > end || (best && best->keyword.text.size() >= length)) continue;
        if (sameLetters(text.substr(end - length, length), word.text)) {
            best = KeywordMatch{word, end - length};
        }
    }
    return best;
}

std::optional<KeywordMatch> KeywordScanner::findStartingAt(std::string_view text,
                                                           std::size_t start) const {
    if (start >= text.size()) return std::nullopt;
    const char first = static_cast<char>(text[start] | 0x20);
    if (first < 'a' || first > 'z') return std::nullopt;  // every keyword begins with a letter
    std::optional<KeywordMatch> best;
    for (const Keyword& word : m_words) {
        const std::size_t length = word.text.size();
        if (length > text.size() - start || (best && best->keyword.text.size() >= length)) {
            continue;
        }
        if (sameLetters(text.substr(start, length), word.text)) {
            best = KeywordMatch{word, start};
        }
    }
    return best;
}

}  // namespace quorvel

#include "calc/keyword_scanner.h"

#include <array>

#include "calc/function_table.h"
#include "calc/text_util.h"

namespace quorvel {
namespace {

// After the function names, the other words a user can type.
constexpr std::array<std::string_view, 6> kOtherWords = {"last1", "last2", "last3",
                                                         "last4", "last5", "pi"};

std::vector<Keyword> keywords() {
    std::vector<Keyword> words;
    for (const FunctionEntry& function : FunctionTable()) {
        if (function.keyword) words.push_back({function.name, true});
    }
    for (std::string_view word : kOtherWords) words.push_back({word, false});
    return words;
}

bool sameLetters(std::string_view text, std::string_view word) {
    if (text.size() != word.size()) return false;
    for (std::size_t i = 0; i < word.size(); ++i) {
        if (LowerAscii(text[i]) != word[i]) return false;
    }
    return true;
}

}  // namespace

KeywordScanner::KeywordScanner() : m_words(keywords()) {
    for (const Keyword& word : m_words) {
        const auto initial = static_cast<std::size_t>(word.text[0] - 'a');
        m_byInitial[initial].push_back(word);
        m_secondLetters[initial] |= 1u << (word.text[1] - 'a');
    }
}

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
    if (!mayBeginAt(text, start)) return std::nullopt;
    const char first = static_cast<char>(text[start] | 0x20);
    std::optional<KeywordMatch> best;
    for (const Keyword& word : m_byInitial[first - 'a']) {
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

#pragma once

// The word list shared by the syntax checker and the input box: the names a user can type
// (functions without "int", "pi", "last1" to "last5"). The input box asks it which keyword
// ends at the caret to rebuild its word buffer after a backward delete. The unit rows of the
// converter are to live on this object as well.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace quorvel {

struct Keyword {
    std::string_view text;  // lower case
    bool isFunction;        // a function name, which must be followed by "("
};

struct KeywordMatch {
    Keyword keyword;
    std::size_t start;  // index of the keyword's first character in the scanned text
};

class KeywordScanner {
public:
    KeywordScanner();

    const std::vector<Keyword>& words() const { return m_words; }

    // The longest keyword occupying text[start, end), so "arcsin" and not its "sin";
    // letters compare without case, since the box shows "Sin" and "Last1". `end` is the
    // caret position: the count of characters before it.
    std::optional<KeywordMatch> findEndingAt(std::string_view text, std::size_t end) const;

    // The longest keyword that begins at text[start], so "sinh" and not "sin".
    std::optional<KeywordMatch> findStartingAt(std::string_view text, std::size_t start) const;

    // False when no keyword begins with the two characters at text[start]; findStartingAt
    // then finds nothing. Inline, for callers that ask at every word of prose.
    bool mayBeginAt(std::string_view text, std::size_t start) const {
        if (start >= text.size() || text.size() - start < 2) return false;  // two letters or more
        const auto first = static_cast<unsigned>((text[start] | 0x20) - 'a');
        const auto second = static_cast<unsigned>((text[start + 1] | 0x20) - 'a');
        return first < 26 && second < 26 && (m_secondLetters[first] >> second & 1u) != 0;
    }

private:
    std::vector<Keyword> m_words;
    // The words again, by their first letter and in the same order: the batch run asks at
    // every word of a line of prose, and most words begin no keyword.
    std::array<std::vector<Keyword>, 26> m_byInitial;
    // Per first letter, one bit for each letter that comes second in one of its words: most
    // words of prose are turned away on their first two letters.
    std::array<std::uint32_t, 26> m_secondLetters{};
};

}  // namespace quorvel

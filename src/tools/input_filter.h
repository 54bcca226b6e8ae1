#pragma once

// The word filter of the expression input box, without the widget: it decides for each typed
// character whether it may continue the expression, so the box only ever holds words the
// calculator knows ("Sin(", "Last1", "Pi"). `CFilterEdit` feeds it keys and turns its answers
// into requests to the owner window.

#include <optional>
#include <string>
#include <string_view>

#include "calc/keyword_scanner.h"

namespace quorvel {

class InputFilter {
public:
    enum class Request {
        None,
        FreshInput,  // clear the shown result first, then the key goes on to accept()
        Equal,       // run the equal command; the key is used up
    };

    // The steps before the word table: a shown result is cleared by any key, "=" otherwise
    // asks for the equal command.
    Request precheck(char ch);

    // The word table: the character to insert (a name's first letter upper-cased), or none
    // when it cannot continue the expression. Upper-case letters count as their lower case.
    std::optional<char> accept(char ch);

    // Called before the character in front of the caret is removed; `textBeforeCaret` still
    // holds it.
    void deleteBackwards(std::string_view textBeforeCaret);

    // Puts the filter in the state it would have after typing `textBefore`, as far as the
    // keyword scanner can tell, before a character replaces a selection.
    void rebuildFrom(std::string_view textBefore);

    void setFreshInput(bool on) { m_freshInput = on; }
    bool freshInput() const { return m_freshInput; }

    // Forgets the name being typed, as after a new, empty expression.
    void reset();

    const std::string& word() const { return m_word; }
    bool nameComplete() const { return m_nameComplete; }

private:
    std::optional<char> acceptFromEmpty(char ch);
    char take(char ch);

    KeywordScanner m_scanner;
    std::string m_word;
    bool m_nameComplete = false;
    char m_last = ' ';
    bool m_freshInput = false;
};

}  // namespace quorvel

#include "tools/input_filter.h"

#include "calc/function_table.h"

namespace quorvel {
namespace {

enum class Effect { None, Incomplete, Complete, WordEnds };

bool isPrefix(std::string_view word, std::string_view of) {
    return of.substr(0, word.size()) == word;
}

// What a word buffer plus one typed letter makes: a whole function name, which waits for its
// "(", a finished word ("pi", "last1" to "last5"), the beginning of one of them, or nothing
// the calculator knows.
Effect effectOf(std::string_view word, const KeywordScanner& scanner) {
    if (FindFunction(word) != nullptr) return Effect::Complete;
    bool begins = false;
    for (const FunctionEntry& function : FunctionTable()) {
        begins = begins || isPrefix(word, function.name);
    }
    for (const Keyword& keyword : scanner.words()) {
        if (keyword.isFunction) continue;
        if (keyword.text == word) return Effect::WordEnds;
        begins = begins || isPrefix(word, keyword.text);
    }
    return begins ? Effect::Incomplete : Effect::None;
}

char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
char upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool contains(std::string_view set, char c) { return set.find(c) != std::string_view::npos; }

}  // namespace

InputFilter::Request InputFilter::precheck(char ch) {
    if (m_freshInput) {
        m_freshInput = false;
        return Request::FreshInput;
    }
    return ch == '=' ? Request::Equal : Request::None;
}

std::optional<char> InputFilter::accept(char ch) {
    ch = lower(ch);
    if (m_word.empty()) return acceptFromEmpty(ch);

    const std::string candidate = m_word + ch;
    const Effect effect = effectOf(candidate, m_scanner);
    if (effect != Effect::None) {
        m_word = candidate;
        m_nameComplete = effect == Effect::Complete;
        if (effect == Effect::WordEnds) m_word.clear();
        return take(ch);
    }
    if (m_nameComplete && ch == '(') {
        m_word.clear();
        m_nameComplete = false;
        return take(ch);
    }
    return std::nullopt;
}

std::optional<char> InputFilter::acceptFromEmpty(char ch) {
    m_nameComplete = false;
    if (ch == '.') {
        if (!isDigit(m_last)) return std::nullopt;
        return take(ch);
    }
    if (isDigit(ch) || contains("+-*/^()", ch)) return take(ch);
    if (contains("fmkwy", ch)) return take(upper(ch));
    if (ch == 'x') return take('X');
    // No name is one letter long, so this holds for the first letter of every name.
    if (effectOf(std::string_view(&ch, 1), m_scanner) == Effect::Incomplete) {
        m_word.assign(1, ch);
        return take(upper(ch));
    }
    return std::nullopt;
}

char InputFilter::take(char ch) {
    m_last = ch;
    return ch;
}

void InputFilter::deleteBackwards(std::string_view textBeforeCaret) {
    if (m_word.empty()) {
        if (auto match = m_scanner.findEndingAt(textBeforeCaret, textBeforeCaret.size())) {
            m_word.assign(match->keyword.text);
            m_nameComplete = match->keyword.isFunction;
        } else {
            m_nameComplete = false;
        }
    }
    if (m_word.size() <= 1) {
        m_word.clear();
        m_nameComplete = false;
    } else {
        m_word.pop_back();
        // "Sqrt" shortened to "Sqr" must not take "(" any more.
        m_nameComplete = FindFunction(m_word) != nullptr;
    }
}

void InputFilter::rebuildFrom(std::string_view textBefore) {
    m_word.clear();
    m_nameComplete = false;
    m_last = textBefore.empty() ? ' ' : textBefore.back();
    auto match = m_scanner.findEndingAt(textBefore, textBefore.size());
    // "Pi" and "Last1" are finished words; only a function still waits for its "(".
    if (match && match->keyword.isFunction) {
        m_word.assign(match->keyword.text);
        m_nameComplete = true;
    }
}

void InputFilter::reset() {
    m_word.clear();
    m_nameComplete = false;
    m_last = ' ';
}

}  // namespace quorvel

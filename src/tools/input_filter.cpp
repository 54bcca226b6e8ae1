#include "tools/input_filter.h"

namespace quorvel {
namespace {

enum class Effect { Incomplete, Complete, WordEnds };

struct Continuation {
    std::string_view word;
    Effect effect;
};

// Each row is a word buffer plus one typed letter that may continue a name.
constexpr Continuation kContinuations[] = {
    {"si", Effect::Incomplete},    {"sq", Effect::Incomplete},    {"co", Effect::Incomplete},
    {"ta", Effect::Incomplete},    {"lo", Effect::Incomplete},    {"ln", Effect::Complete},
    {"la", Effect::Incomplete},    {"ex", Effect::Incomplete},    {"ab", Effect::Incomplete},
    {"ar", Effect::Incomplete},    {"in", Effect::Incomplete},    {"ra", Effect::Incomplete},
    {"de", Effect::Incomplete},    {"pi", Effect::WordEnds},      {"sin", Effect::Complete},
    {"sqr", Effect::Incomplete},   {"cos", Effect::Complete},     {"tan", Effect::Complete},
    {"log", Effect::Complete},     {"las", Effect::Incomplete},   {"exp", Effect::Complete},
    {"arc", Effect::Incomplete},   {"abs", Effect::Complete},     {"int", Effect::Complete},
    {"rad", Effect::Complete},     {"deg", Effect::Complete},     {"sinh", Effect::Complete},
    {"cosh", Effect::Complete},    {"tanh", Effect::Complete},    {"sqrt", Effect::Complete},
    {"last", Effect::Incomplete},  {"arcs", Effect::Incomplete},  {"arcc", Effect::Incomplete},
    {"arct", Effect::Incomplete},  {"last1", Effect::WordEnds},   {"last2", Effect::WordEnds},
    {"last3", Effect::WordEnds},   {"last4", Effect::WordEnds},   {"last5", Effect::WordEnds},
    {"arcsi", Effect::Incomplete}, {"arcco", Effect::Incomplete}, {"arcta", Effect::Incomplete},
    {"arcsin", Effect::Complete},  {"arccos", Effect::Complete},  {"arctan", Effect::Complete},
};

const Continuation* findContinuation(std::string_view word) {
    for (const Continuation& c : kContinuations) {
        if (c.word == word) return &c;
    }
    return nullptr;
}

bool isCompleteName(std::string_view word) {
    const Continuation* c = findContinuation(word);
    return c != nullptr && c->effect == Effect::Complete;
}

char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
char upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool contains(std::string_view set, char c) { return set.find(c) != std::string_view::npos; }

constexpr std::size_t kLongestPrefix = 5;

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

    if (m_word.size() <= kLongestPrefix) {
        const std::string candidate = m_word + ch;
        if (const Continuation* c = findContinuation(candidate)) {
            m_word = candidate;
            m_nameComplete = c->effect == Effect::Complete;
            if (c->effect == Effect::WordEnds) m_word.clear();
            return take(ch);
        }
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
    if (contains("acdeilprst", ch)) {
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
        m_nameComplete = isCompleteName(m_word);
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

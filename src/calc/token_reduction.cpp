// The evaluator's reduction on tokens. The expression is scanned once; a bracket is reduced
// when its ")" is reached, which is the order in which the line-by-line reduction takes them
// (the first ")" whose content still holds an operator), and inside a stretch the operator
// stack applies the operations in the order the operator table picks them. So every step line
// is the line the text reduction writes, and it is written only when the step text is wanted;
// without it the work per operation no longer grows with the length of the line.
//
// Only what the stack can mirror exactly is taken here: numbers, + - * / ^ and brackets, a
// sign only where it begins a number after "(" or at the start. Anything else (names, other
// radices, an odd sign), every failure and a step text near its limit go back to the text
// reduction, which then says what the user sees.

#include <algorithm>
#include <cstdint>
#include <vector>

#include "calc/calc_engine.h"
#include "calc/messages.h"
#include "calc/short_decimal.h"
#include "calc/text_util.h"

namespace quorvel {
namespace {

enum class Kind : std::uint8_t { Number, Operator, Open, Close };

struct Token {
    Kind kind = Kind::Number;
    char op = 0;             // an operator's character
    bool negative = false;   // a number's sign, as the text reduction reads the number
    std::uint8_t depth = 0;  // brackets the number's text puts around its bare value
    std::uint32_t text = 0;  // a number's text in the line (see TokenReducer::view)
    std::uint32_t textLength = 1;
    std::uint32_t digits = 0;  // its unsigned value
    std::uint32_t digitsLength = 0;
    std::uint32_t position = 0;  // where "(" or ")" stands in the expression
    std::uint32_t at = 0;        // where the token's text starts in the reduced line
};

int precedence(char c) {
    switch (c) {
        case '+':
        case '-':
            return 2;
        case '*':
        case '/':
            return 3;
        case '^':
            return 4;
        default:  // the end of the stretch
            return 0;
    }
}

bool isOperator(char c) { return c == '+' || c == '-' || c == '*' || c == '/' || c == '^'; }

// Texts and tables whose capacity is kept from one calculation to the next on the same thread.
struct Scratch {
    std::string arena;        // every value and bracketed number made in one reduction
    std::vector<Token> line;  // the reduced line up to the token being read
    std::vector<std::uint32_t> opens;
    std::vector<Token> values;
    std::vector<char> operators;
    std::string prefix;  // the text of `line`, kept only while step text is written
    std::string value;
};

Scratch& scratch() {
    thread_local Scratch buffers;
    return buffers;
}

// Hands the expression's tokens to `take` one by one; false for anything the stack does not
// mirror, or as soon as `take` gives false.
template <typename Take>
bool scan(std::string_view e, Take&& take) {
    bool operand = false;  // the last token ends an operand
    bool open = true;      // at the start or after "("
    for (std::size_t i = 0; i < e.size();) {
        const char c = e[i];
        Token t;
        if (c == '(' && !operand) {
            t.kind = Kind::Open;
            t.position = static_cast<std::uint32_t>(i++);
        } else if (c == ')' && operand) {
            t.kind = Kind::Close;
            t.position = static_cast<std::uint32_t>(i++);
        } else if (operand && isOperator(c)) {
            t.kind = Kind::Operator;
            t.op = c;
            ++i;
        } else if (!operand && (IsDigit(c) || c == '.' || (c == '-' && open))) {
            const std::size_t from = i;
            if (c == '-') ++i;
            const std::size_t digitsFrom = i;
            bool digit = false;
            int points = 0;
            for (; i < e.size() && (IsDigit(e[i]) || e[i] == '.'); ++i) {
                if (e[i] == '.') {
                    ++points;
                } else {
                    digit = true;
                }
            }
            if (!digit || points > 1) return false;
            t.negative = c == '-';
            t.text = static_cast<std::uint32_t>(from);
            t.textLength = static_cast<std::uint32_t>(i - from);
            t.digits = static_cast<std::uint32_t>(digitsFrom);
            t.digitsLength = static_cast<std::uint32_t>(i - digitsFrom);
        } else {
            return false;
        }
        operand = t.kind == Kind::Number || t.kind == Kind::Close;
        open = t.kind == Kind::Open;
        if (!take(t)) return false;
    }
    return true;
}

class TokenReducer {
public:
    TokenReducer(std::string_view e, Scratch& s, std::string* steps, std::string_view lineBreak,
                 CalcEngine& engine)
        : m_e(e), m_s(s), m_steps(steps), m_break(lineBreak), m_engine(engine) {}

    // The unrounded result, or false to leave the expression to the text reduction.
    bool run(std::string& result);

private:
    std::string_view textOf(const Token& t) const {
        if (t.kind != Kind::Number) return t.kind == Kind::Open ? "(" : std::string_view(&t.op, 1);
        return view(t.text, t.textLength);
    }
    std::string_view digitsOf(const Token& t) const { return view(t.digits, t.digitsLength); }
    // Offsets below the expression's length are in the expression, the others in the arena.
    std::string_view view(std::uint32_t at, std::uint32_t length) const {
        if (at < m_e.size()) return m_e.substr(at, length);
        return std::string_view(m_s.arena).substr(at - m_e.size(), length);
    }
    std::uint64_t arenaEnd() const { return m_e.size() + m_s.arena.size(); }
    void push(Token t);
    void cut(std::size_t from);
    bool closeGroup(const Token& close);
    bool reduceStretch(std::size_t from, bool bracketed, std::size_t after);
    bool apply(char op, const Token& x, const Token& y, Token& out);
    bool lineIsOperand(std::size_t after) const;
    // Counts a line of `bytes` into the bound of the step text; false beyond its limit.
    bool grow(std::uint64_t bytes) {
        m_bound += bytes + 3;
        return m_bound <= msg::kMaxStepTextBytes;
    }
    void render(const Token& t) { m_steps->append(textOf(t)); }

    std::string_view m_e;
    Scratch& m_s;
    std::string* m_steps;  // null when nobody reads the step text
    std::string_view m_break;
    CalcEngine& m_engine;
    std::size_t m_lineStart = 0;
    std::uint64_t m_lineBytes = 0;  // the length of the reduced line held in m_s.line
    // At least the step text's size: every line written counts, also those overwritten.
    std::uint64_t m_bound = 0;
};

void TokenReducer::push(Token t) {
    t.at = static_cast<std::uint32_t>(m_lineBytes);
    m_lineBytes += t.kind == Kind::Number ? t.textLength : 1;
    if (m_steps) m_s.prefix.append(textOf(t));
    m_s.line.push_back(t);
}

void TokenReducer::cut(std::size_t from) {
    m_lineBytes = m_s.line[from].at;
    m_s.line.resize(from);
    if (m_steps) m_s.prefix.resize(m_lineBytes);
}

bool TokenReducer::apply(char op, const Token& x, const Token& y, Token& out) {
    std::string& text = m_s.value;
    bool negative;
    const std::int32_t w = m_engine.workingDigits();
    if (ShortDecimalApply(op, x.negative, digitsOf(x), y.negative, digitsOf(y), w, text)) {
        negative = text.front() == '-';
    } else {
        auto signedText = [this](const Token& t) {
            std::string s = t.negative ? "-" : "";
            return s.append(digitsOf(t));
        };
        DecimalNumber value;
        if (!m_engine.ApplyOperator(op, DecimalNumber(signedText(x), 10, w),
                                    DecimalNumber(signedText(y), 10, w), value)) {
            return false;
        }
        text = value.toString(10, w);
        negative = value.sign() < 0;
    }
    if (arenaEnd() + text.size() + 2 > UINT32_MAX) return false;
    out = Token{};
    out.text = static_cast<std::uint32_t>(arenaEnd());
    out.textLength = static_cast<std::uint32_t>(text.size() + (negative ? 2 : 0));
    out.depth = negative ? 1 : 0;
    out.negative = !text.empty() && text.front() == '-';
    out.digits = out.text + (negative ? 1 : 0) + (out.negative ? 1 : 0);
    out.digitsLength = static_cast<std::uint32_t>(text.size() - (out.negative ? 1 : 0));
    if (negative) m_s.arena.push_back('(');
    m_s.arena.append(text);
    if (negative) m_s.arena.push_back(')');
    return true;
}

// The line is one operand: only "(" before the last value, and only ")" after it.
bool TokenReducer::lineIsOperand(std::size_t after) const {
    const std::vector<Token>& line = m_s.line;
    if (line.back().kind != Kind::Number) return false;
    for (std::size_t i = 0; i + 1 < line.size(); ++i) {
        if (line[i].kind != Kind::Open) return false;
    }
    const std::string_view rest = m_e.substr(after);
    return rest.size() == line.size() - 1 && rest.find_first_not_of(')') == std::string_view::npos;
}

bool TokenReducer::reduceStretch(std::size_t from, bool bracketed, std::size_t after) {
    std::vector<Token>& line = m_s.line;
    const std::size_t count = line.size() - from;
    if (count < 3 || count % 2 == 0) return false;
    for (std::size_t i = from; i < line.size(); ++i) {
        if ((line[i].kind == Kind::Number) != ((i - from) % 2 == 0)) return false;
    }
    // The operator table also holds a stretch's end mark and, for a moment, the brackets and
    // sign of a bracketed negative number: near its end the text reduction decides.
    if ((count - 1) / 2 + 3 > OperatorTable::kCapacity) return false;

    const std::size_t before = line[from].at;  // the line up to and with the "(" of the stretch
    const std::string_view tail = bracketed ? m_e.substr(after) : std::string_view();
    std::int64_t stretchBytes = static_cast<std::int64_t>(m_lineBytes - before);
    std::vector<Token>& values = m_s.values;
    std::vector<char>& operators = m_s.operators;
    values.assign(1, line[from]);
    operators.clear();
    for (std::size_t j = from + 1;; j += 2) {
        const char next = j < line.size() ? line[j].op : '=';
        while (!operators.empty() && precedence(operators.back()) >= precedence(next)) {
            const Token y = values.back();
            values.pop_back();
            const Token x = values.back();
            values.pop_back();
            const char op = operators.back();
            operators.pop_back();
            Token r;
            if (!apply(op, x, y, r)) return false;
            stretchBytes +=
                static_cast<std::int64_t>(r.textLength) - x.textLength - 1 - y.textLength;
            values.push_back(r);
            const bool last = next == '=' && operators.empty();
            const std::uint64_t lineBytes = before + static_cast<std::uint64_t>(stretchBytes) +
                                            tail.size() - (last && bracketed ? 2 : 0);
            if (!grow(lineBytes)) return false;
            if (!m_steps) continue;
            std::string& steps = *m_steps;
            steps.resize(m_lineStart);
            if (last) {
                // The stretch's last value replaces it, and its bracket goes.
                steps.append(m_s.prefix, 0, before - (bracketed ? 1 : 0));
                render(r);
                steps.append(bracketed ? tail.substr(1) : tail);
            } else {
                steps.append(m_s.prefix, 0, before);
                for (std::size_t k = 0; k < operators.size(); ++k) {
                    render(values[k]);
                    steps.push_back(operators[k]);
                }
                render(values.back());
                for (std::size_t k = j; k < line.size(); ++k) render(line[k]);
                steps.append(tail).append(m_break).push_back('=');
                m_lineStart = steps.size();
            }
        }
        if (next == '=') break;
        operators.push_back(next);
        values.push_back(line[j + 1]);
    }
    const Token r = values.back();
    cut(bracketed ? from - 1 : from);
    push(r);
    return true;
}

bool TokenReducer::closeGroup(const Token& close) {
    if (m_s.opens.empty()) return false;
    const std::size_t from = m_s.opens.back() + 1;
    m_s.opens.pop_back();
    std::vector<Token>& line = m_s.line;
    if (line.size() == from + 1) {
        // A bracketed number is an operand; it is looked into one bracket deep only.
        Token n = line.back();
        if (n.kind != Kind::Number || n.depth >= 2) return false;
        const Token& open = line[from - 1];
        if (n.text != open.position + 1 || n.text + n.textLength != close.position) {
            const std::string text = "(" + std::string(textOf(n)) + ")";
            if (arenaEnd() + text.size() > UINT32_MAX) return false;
            n.text = static_cast<std::uint32_t>(arenaEnd());
            m_s.arena.append(text);
        } else {
            --n.text;
        }
        n.textLength += 2;
        ++n.depth;
        cut(from - 1);
        push(n);
        return true;
    }
    if (!reduceStretch(from, true, close.position)) return false;
    // The next round starts from a copy of the line, unless nothing is left to do.
    const std::size_t after = close.position + 1;
    if (lineIsOperand(after)) return true;
    if (!grow(m_lineBytes + (m_e.size() - after))) return false;
    if (m_steps) {
        // The next operation writes the new line whole, so the last one is not copied into it.
        m_steps->append(m_break).push_back('=');
        m_lineStart = m_steps->size();
    }
    return true;
}

bool TokenReducer::run(std::string& result) {
    m_s.arena.clear();
    m_s.line.clear();
    m_s.opens.clear();
    m_s.prefix.clear();
    m_bound = 2 * m_e.size() + 3;
    if (m_steps) {
        m_steps->clear();
        // A line for every operation, most about as long as the expression: growing to that
        // by doubling would copy megabytes for a long line.
        const auto operators = static_cast<std::uint64_t>(
            std::count_if(m_e.begin(), m_e.end(), [](char c) { return isOperator(c); }));
        m_steps->reserve(static_cast<std::size_t>(
            std::min<std::uint64_t>((operators + 2) * (m_e.size() + 3), msg::kMaxStepTextBytes)));
        m_steps->append(m_e).append(m_break).append("=").append(m_e);
        m_lineStart = m_e.size() + m_break.size() + 1;
    }
    const bool scanned = scan(m_e, [this](const Token& t) {
        if (t.kind == Kind::Close) return closeGroup(t);
        if (t.kind == Kind::Open) m_s.opens.push_back(static_cast<std::uint32_t>(m_s.line.size()));
        push(t);
        return true;
    });
    if (!scanned || !m_s.opens.empty() || m_s.line.empty()) return false;
    if (m_s.line.size() > 1 && !reduceStretch(0, false, 0)) return false;
    const Token& last = m_s.line.front();
    result.assign(last.negative ? "-" : "");
    result.append(digitsOf(last));
    if (m_steps) m_steps->replace(m_lineStart, std::string::npos, result);
    return true;
}

}  // namespace

bool CalcEngine::CalculateStepsOnTokens(std::string_view expression, StepText stepText,
                                        CalcOutcome& outcome) {
    outcome.clear();
    // Unequal or misplaced brackets, and a stretch near the operator limit, stop the token
    // reduction by themselves; only the length is checked first.
    if (expression.size() > msg::kMaxExpressionLength) return false;
    bool done = false;
    const auto caught = CatchNumberErrors([&] {
        std::string* steps = stepText == StepText::Skipped ? nullptr : &outcome.steps;
        done = TokenReducer(expression, scratch(), steps, StepLineBreak(stepText), *this)
                   .run(outcome.result);
    });
    m_error = MessageId::None;
    m_errorArguments.clear();
    if (caught || !done) {
        outcome.clear();
        return false;
    }
    outcome.ok = true;
    if (stepText == StepText::Skipped) {
        outcome.steps.assign(expression).append("\r\n=").append(outcome.result);
    }
    return true;
}

}  // namespace quorvel

#include "speech/wording.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <climits>
#include <string>
#include <utility>

#include "calc/function_table.h"
#include "calc/text_util.h"

namespace quorvel {
namespace {

using enum ReadingOutcome;

constexpr std::chrono::milliseconds kListPause{2000};

constexpr std::array<const char*, 10> kSecondForm = {
    "zero.wav",  "one2.wav", "two2.wav",   "three2.wav", "four2.wav",
    "five2.wav", "six2.wav", "seven2.wav", "eight2.wav", "nine2.wav",
};
constexpr std::array<const char*, 10> kFirstForm = {
    nullptr,     "one1.wav", "two1.wav",   "three1.wav", "four1.wav",
    "five1.wav", "six1.wav", "seven1.wav", "eight1.wav", "nine1.wav",
};
constexpr std::array<const char*, 10> kTeens = {
    "ten.wav",     "eleven.wav",  "twelve.wav",    "thirteen.wav", "forteen.wav",
    "fifteen.wav", "sixteen.wav", "seventeen.wav", "eighteen.wav", "ninteen.wav",
};
constexpr std::array<const char*, 10> kTens = {
    nullptr,     nullptr,     "twenty.wav",  "thirty.wav", "forty.wav",
    "fifty.wav", "sixty.wav", "seventy.wav", "eighty.wav", "ninty.wav",
};

constexpr std::pair<std::string_view, const char*> kButtonWords[] = {
    {"welcome", "welcome.wav"},     {"help", "help.wav"},
    {"calculate", "calculate.wav"}, {"minimize", "minimize.wav"},
    {"talkinput", "talkinput.wav"}, {"talkresult", "talkresult.wav"},
    {"talkinout", "talkinout.wav"}, {"paste", "paste.wav"},
    {"function", "function.wav"},   {"log", "log.wav"},
    {"setting", "setting.wav"},     {"test", "test.wav"},
    {"exit", "exit.wav"},           {"copy", "copy.wav"},
};

template <std::size_t N>
const char* lookUp(const std::pair<std::string_view, const char*> (&table)[N],
                   std::string_view key) {
    for (const auto& [name, file] : table) {
        if (name == key) return file;
    }
    return nullptr;
}

bool isDigit(char ch) { return ch >= '0' && ch <= '9'; }
char toLower(char ch) { return ch >= 'A' && ch <= 'Z' ? static_cast<char>(ch - 'A' + 'a') : ch; }

const char* operatorWord(char ch) {
    switch (ch) {
        case '+':
            return "plus.wav";
        case '-':
            return "minus.wav";
        case '*':
            return "times.wav";
        case '/':
            return "divide.wav";
        case '^':
            return "power.wav";
        case '(':
            return "openbracket.wav";
        case ')':
            return "closebracket.wav";
        default:
            return nullptr;
    }
}

bool endsWordToken(char ch) { return isDigit(ch) || ch == '.' || operatorWord(ch) != nullptr; }

// Leading digits as a count, like atoi but saturating instead of overflowing.
int leadingCount(std::string_view text) {
    text = Trim(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    long long count = 0;
    for (char ch : text) {
        if (!isDigit(ch)) break;
        count = std::min<long long>(count * 10 + (ch - '0'), INT_MAX);
    }
    return negative ? -static_cast<int>(count) : static_cast<int>(count);
}

}  // namespace

bool Wording::stopped() {
    if (m_spent) return true;
    if (!m_stop.testAndClear()) return false;
    m_player.silence();
    return true;
}

bool Wording::spend(std::size_t& spent, std::size_t budget, RequestCut cut) {
    if (m_spent) return false;
    if (spent == budget) {
        m_spent = true;
        if (m_cut == RequestCut::None) m_cut = cut;
        return false;
    }
    ++spent;
    return true;
}

void Wording::play(std::string_view wordFile) {
    if (spend(m_words, kMaxRequestWords, RequestCut::Words)) m_player.play(wordFile, m_stop);
}

void Wording::pause(std::chrono::milliseconds duration) {
    if (spend(m_pauses, kMaxRequestPauses, RequestCut::Pauses)) m_player.pause(duration, m_stop);
}

bool isButtonWord(std::string_view name) { return lookUp(kButtonWords, name) != nullptr; }

std::vector<std::string_view> buttonWordNames() {
    std::vector<std::string_view> names;
    for (const auto& [name, file] : kButtonWords) names.push_back(name);
    return names;
}

std::optional<SpeechRequest> ParseSpeechRequest(std::string_view command, std::string_view text) {
    static constexpr std::pair<std::string_view, SpeechKind> kCommands[] = {
        {"key", SpeechKind::Key},       {"input", SpeechKind::Input},
        {"result", SpeechKind::Result}, {"inputresult", SpeechKind::InputResult},
        {"msg", SpeechKind::Message},   {"expr", SpeechKind::ExprList},
    };
    const std::string word = ToLower(command);
    for (const auto& [name, kind] : kCommands) {
        if (word != name) continue;
        if (kind != SpeechKind::InputResult) return SpeechRequest{kind, std::string(text), {}};
        // Without the separator there is nothing to pair: both parts stay empty.
        const std::size_t separator = text.find("----");
        if (separator == std::string_view::npos) return SpeechRequest{kind, {}, {}};
        return SpeechRequest{kind, std::string(text.substr(0, separator)),
                             std::string(text.substr(separator + 4))};
    }
    return std::nullopt;
}

bool isSpeechCommand(std::string_view command) {
    return ParseSpeechRequest(command, {}).has_value();
}

ReadingOutcome Wording::Talk(const SpeechRequest& request) {
    switch (request.kind) {
        case SpeechKind::Key:
            return TalkKey(request.text);
        case SpeechKind::Input:
            return TalkExpression(request.text);
        case SpeechKind::Result:
            return TalkResult(request.text);
        case SpeechKind::InputResult:
            return TalkInputResult(request.text, request.second);
        case SpeechKind::Message:
            return TalkButtonWord(request.text);
        case SpeechKind::ExprList:
            return TalkExprList(request.text);
    }
    return Completed;
}

ReadingOutcome Wording::TalkChar(char ch) {
    if (stopped()) return Stopped;
    if (const char* word = operatorWord(ch)) {
        play(word);
    } else if (ch == '.') {
        play("point.wav");
    } else if (ch == '=') {
        play("equals.wav");
    } else if (isDigit(ch)) {
        play(kSecondForm[ch - '0']);
    } else if ((ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z')) {
        play(std::string(1, toLower(ch)) + ".wav");
    } else {
        return Stopped;
    }
    return Completed;
}

ReadingOutcome Wording::TalkOperator(char ch) {
    if (stopped()) return Stopped;
    if (const char* word = operatorWord(ch)) play(word);
    return Completed;
}

ReadingOutcome Wording::TalkFunctionWord(std::string_view name) {
    if (stopped()) return Stopped;
    const FunctionEntry* function = FindFunction(ToLower(Trim(name)));
    if (function == nullptr || function->wordFile.empty()) return Stopped;
    play(function->wordFile);
    return Completed;
}

ReadingOutcome Wording::TalkButtonWord(std::string_view name) {
    if (stopped()) return Stopped;
    if (const char* word = lookUp(kButtonWords, name)) play(word);
    return Completed;
}

ReadingOutcome Wording::TalkKey(std::string_view key) {
    key = Trim(key);
    // An empty key has no last character to drop; it simply says nothing.
    if (key.empty()) return Completed;
    if (key.size() == 1) return TalkChar(key.front());
    if (TalkFunctionWord(key.substr(0, key.size() - 1)) == Stopped) return Stopped;
    if (stopped()) return Stopped;
    play("openbracket.wav");
    return Completed;
}

std::string_view Wording::speakSign(std::string_view text) {
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        play(text.front() == '+' ? "plus.wav" : "minus.wav");
        text.remove_prefix(1);
    }
    return text;
}

ReadingOutcome Wording::TalkNumber(std::string_view text) {
    if (stopped()) return Stopped;
    const auto n = static_cast<long long>(text.size());
    const std::size_t point = text.find('.');
    const bool digitByDigit =
        point == std::string_view::npos ? n > 11 : static_cast<long long>(point) - 1 > 11;
    return digitByDigit ? TalkDigits(text) : TalkNumberWords(text);
}

ReadingOutcome Wording::TalkNumberWords(std::string_view text) {
    text = speakSign(Trim(text));
    const std::size_t point = text.find('.');
    const std::string_view integer = text.substr(0, point);
    std::string_view fraction =
        point == std::string_view::npos ? std::string_view() : text.substr(point + 1);
    const bool sayFraction = fraction.find_first_not_of('0') != std::string_view::npos;
    while (!fraction.empty() && fraction.back() == '0') fraction.remove_suffix(1);

    const int f = static_cast<int>(integer.size());
    if (f >= 12) return TalkDigits(text);

    bool teen = false;
    bool group[3] = {false, false, false};  // thousands, millions, billions
    constexpr const char* kScale[3] = {"thousand.wav", "million.wav", "billion.wav"};
    for (int place = f; place >= 1; --place) {
        if (stopped()) return Stopped;
        const char ch = integer[f - place];
        const int digit = isDigit(ch) ? ch - '0' : -1;
        if (place == 1) {
            if (teen) {
                teen = false;
            } else if (digit >= 1) {
                play(kSecondForm[digit]);
            } else if (digit == 0 && f == 1) {
                play("zero.wav");
            }
        } else if (place % 3 == 2) {
            const int groupIndex = place / 3 - 1;  // place 5, 8, 11 -> 0, 1, 2
            const char* word = nullptr;
            if (digit == 1) {
                teen = true;
                const char lower = integer[f - place + 1];
                if (isDigit(lower)) word = kTeens[lower - '0'];
            } else if (digit >= 2) {
                word = kTens[digit];
            }
            if (word != nullptr) {
                play(word);
                if (groupIndex >= 0) group[groupIndex] = true;
            }
        } else if (place % 3 == 0) {
            if (digit >= 1) {
                play(kFirstForm[digit]);
                play("hundred.wav");
                if (place > 3) group[place / 3 - 2] = true;  // place 6, 9 -> 0, 1
            }
        } else {
            const int groupIndex = place / 3 - 1;  // place 4, 7, 10 -> 0, 1, 2
            if (teen) {
                teen = false;
            } else if (digit >= 1) {
                play(kFirstForm[digit]);
                play(kScale[groupIndex]);
                group[groupIndex] = true;
                continue;
            }
            if (group[groupIndex]) play(kScale[groupIndex]);
        }
    }

    if (stopped()) return Stopped;
    if (sayFraction) {
        play("point.wav");
        for (char ch : fraction) {
            if (stopped()) return Stopped;
            if (isDigit(ch)) play(kSecondForm[ch - '0']);
        }
    }
    return Completed;
}

ReadingOutcome Wording::TalkDigits(std::string_view text) {
    text = speakSign(Trim(text));
    if (text.find('.') != std::string_view::npos) {
        while (!text.empty() && text.back() == '0') text.remove_suffix(1);
    }
    for (char ch : text) {
        if (stopped()) return Stopped;
        if (ch == '.') {
            play("point.wav");
        } else if (isDigit(ch)) {
            play(kSecondForm[ch - '0']);
        }
    }
    return Completed;
}

ReadingOutcome Wording::TalkExpNumber(std::string_view text) {
    const std::string lower = ToLower(text);
    const std::string_view view = lower;
    const std::size_t e = view.find('e');
    if (e == std::string_view::npos) return TalkNumber(view);
    if (TalkNumber(view.substr(0, e)) == Stopped) return Stopped;
    play("e.wav");
    return TalkNumber(view.substr(e + 1));
}

ReadingOutcome Wording::TalkExpression(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        if (stopped()) return Stopped;
        const char ch = text[i];
        ReadingOutcome outcome = Completed;
        if (operatorWord(ch) != nullptr) {
            outcome = TalkOperator(ch);
            ++i;
        } else if (isDigit(ch)) {
            std::size_t end = i;
            while (end < text.size() && (isDigit(text[end]) || text[end] == '.')) ++end;
            outcome = TalkNumber(text.substr(i, end - i));
            i = end;
        } else if (ch == '=' || ch == 'X' || ch == 'x') {
            outcome = TalkChar(ch);
            ++i;
        } else if (ch == '.') {
            // A point that follows no digit belongs to no token; skipping it keeps the walk moving.
            ++i;
        } else {
            std::size_t end = i;
            while (end < text.size() && !endsWordToken(text[end])) ++end;
            outcome = TalkFunctionWord(text.substr(i, end - i));
            i = end;
        }
        if (outcome == Stopped) return Stopped;
    }
    return Completed;
}

ReadingOutcome Wording::TalkResult(std::string_view text) {
    const std::string lower = ToLower(Trim(text));
    if (lower.find('x') != std::string::npos) return TalkExpression(lower);
    play("equals.wav");
    if (lower.find('e') != std::string::npos) return TalkExpNumber(lower);
    return TalkNumber(lower);
}

ReadingOutcome Wording::talkPair(std::string_view expression, std::string_view result) {
    if (TalkExpression(Trim(expression)) == Stopped) return Stopped;
    return TalkResult(Trim(result));
}

ReadingOutcome Wording::TalkInputResult(std::string_view expression, std::string_view result) {
    if (stopped()) return Stopped;
    return talkPair(expression, result);
}

ReadingOutcome Wording::TalkExprList(std::string_view text) {
    const std::size_t colon = text.find(':');
    if (colon == std::string_view::npos) return Completed;
    int count = leadingCount(text.substr(0, colon));
    if (count < 1) return Completed;
    if (count > kMaxRepeatCount) {
        count = kMaxRepeatCount;
        if (m_cut == RequestCut::None) m_cut = RequestCut::RepeatCount;
    }

    std::string_view body = text.substr(colon + 1);
    const std::size_t lastBar = body.rfind('|');
    body = lastBar == std::string_view::npos ? std::string_view() : body.substr(0, lastBar + 1);

    for (int pass = 0; pass < count; ++pass) {
        if (stopped()) return Stopped;
        std::string_view rest = body;
        while (!rest.empty()) {
            if (stopped()) return Stopped;
            const std::size_t bar = rest.find('|');
            const std::string_view item = rest.substr(0, bar);
            rest.remove_prefix(bar + 1);

            ReadingOutcome outcome;
            if (const std::size_t arrow = item.find("=>"); arrow != std::string_view::npos) {
                outcome = talkPair(item.substr(0, arrow), item.substr(arrow + 2));
            } else if (const std::size_t equals = item.find('=');
                       equals != std::string_view::npos) {
                outcome = talkPair(item.substr(0, equals), item.substr(equals + 1));
            } else {
                outcome = TalkExpression(Trim(item));
            }
            if (outcome == Stopped) return Stopped;
            pause(kListPause);
        }
        if (pass + 1 < count) pause(kListPause);
    }
    return Completed;
}

WordPlan makeWordPlan(const SpeechRequest& request, RequestCut* cut) {
    PlanRecorder recorder;
    StopFlag neverSet;
    Wording wording(recorder, neverSet);
    wording.Talk(request);
    if (cut != nullptr) *cut = wording.cut();
    return recorder.plan();
}

WordPlan makeWordPlan(std::string_view command, std::string_view text, RequestCut* cut) {
    if (cut != nullptr) *cut = RequestCut::None;
    const std::optional<SpeechRequest> request = ParseSpeechRequest(command, text);
    return request ? makeWordPlan(*request, cut) : WordPlan{};
}

}  // namespace quorvel

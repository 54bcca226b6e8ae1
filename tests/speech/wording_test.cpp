#include "speech/wording.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <utility>

#include "calc/function_table.h"

namespace quorvel {
namespace {

// "one2, plus, (2000)": word files without ".wav", pauses in brackets.
std::string spoken(const WordPlan& plan) {
    std::string out;
    for (const WordEntry& entry : plan) {
        if (!out.empty()) out += ", ";
        if (entry.isPause()) {
            out += "(" + std::to_string(entry.pause.count()) + ")";
        } else {
            out += entry.file.substr(0, entry.file.size() - 4);
        }
    }
    return out;
}

struct Case {
    const char* command;
    const char* text;
    const char* words;
};

constexpr Case kCases[] = {
    {"input", "0", "zero"},
    {"input", "7", "seven2"},
    {"input", "007", "seven2"},
    {"input", "000", ""},
    {"input", "10", "ten"},
    {"input", "14", "forteen"},
    {"input", "19", "ninteen"},
    {"input", "20", "twenty"},
    {"input", "21", "twenty, one2"},
    {"input", "90", "ninty"},
    {"input", "105", "one1, hundred, five2"},
    {"input", "1000", "one1, thousand"},
    {"input", "10000", "ten, thousand"},
    {"input", "15000", "fifteen, thousand"},
    {"input", "20000", "twenty, thousand"},
    {"input", "100000", "one1, hundred, thousand"},
    {"input", "101000", "one1, hundred, one1, thousand"},
    {"input", "1000000", "one1, million"},
    {"input", "1000005", "one1, million, five2"},
    {"input", "100001000", "one1, hundred, million, one1, thousand"},
    {"input", "1001000000", "one1, billion, one1, million"},
    {"input", "20000000000", "twenty, billion"},
    {"input", "12345678901",
     "twelve, billion, three1, hundred, forty, five1, million, six1, hundred, seventy, eight1, "
     "thousand, nine1, hundred, one2"},
    {"input", "123456789012",
     "one2, two2, three2, four2, five2, six2, seven2, eight2, nine2, zero, one2, two2"},
    {"result", "-12345678901",
     "equals, minus, one2, two2, three2, four2, five2, six2, seven2, eight2, nine2, zero, one2"},
    {"result", "-1234567890.5",
     "equals, minus, one1, billion, two1, hundred, thirty, four1, million, five1, hundred, sixty, "
     "seven1, thousand, eight1, hundred, ninty, point, five2"},
    {"result", "123456789012.500",
     "equals, one2, two2, three2, four2, five2, six2, seven2, eight2, nine2, zero, one2, two2, "
     "point, five2"},
    {"result", "1234567890123.000",
     "equals, one2, two2, three2, four2, five2, six2, seven2, eight2, nine2, zero, one2, two2, "
     "three2, point"},
    {"result", "-5", "equals, minus, five2"},
    {"result", "+3", "equals, plus, three2"},
    {"result", "3.1400", "equals, three2, point, one2, four2"},
    {"result", "2.000", "equals, two2"},
    {"result", "5.", "equals, five2"},
    {"result", ".5", "equals, point, five2"},
    {"result", " 4 ", "equals, four2"},
    {"RESULT", "1.5E+20", "equals, one2, point, five2, e, plus, twenty"},
    {"result", "1.2E-7", "equals, one2, point, two2, e, minus, seven2"},
    {"result", "X=2.5", "x, equals, two2, point, five2"},
    {"input", "2*(3+4)", "two2, times, openbracket, three2, plus, four2, closebracket"},
    {"input", "2^3/4-1", "two2, power, three2, divide, four2, minus, one2"},
    {"input", "Sin(30)", "sin, openbracket, thirty, closebracket"},
    {"input", "Sqrt(2)", "sqrt, openbracket, two2, closebracket"},
    {"input", "Log(100)", "logarithm, openbracket, one1, hundred, closebracket"},
    {"input", "ARCSIN(0.5)+Int(x)",
     "arcsin, openbracket, zero, point, five2, closebracket, plus, integer, openbracket, x, "
     "closebracket"},
    {"input", "x+1=3", "x, plus, one2, equals, three2"},
    {"input", "5+M", "five2, plus"},
    {"input", "2*Pi+1", "two2, times"},
    {"input", "1.5E+20", "one2, point, five2"},
    {"input", ".5+.25", "five2, plus, twenty, five2"},
    {"key", "5", "five2"},
    {"key", "=", "equals"},
    {"key", ".", "point"},
    {"key", "A", "a"},
    {"key", " x ", "x"},
    {"key", "Sin(", "sin, openbracket"},
    {"key", "log(", "logarithm, openbracket"},
    {"key", "Pi", ""},
    {"key", "#", ""},
    {"key", "", ""},
    {"msg", "welcome", "welcome"},
    {"msg", "log", "log"},
    {"msg", "Welcome", ""},
    {"inputresult", "2+3----5", "two2, plus, three2, equals, five2"},
    {"inputresult", "2-3-----1", "two2, minus, three2, equals, minus, one2"},
    {"inputresult", " x+1=3 ---- x=2 ", "x, plus, one2, equals, three2, x, equals, two2"},
    {"inputresult", "2*Pi----6.28", "two2, times"},
    {"inputresult", "2+3", "equals"},
    {"expr", "2:1+1=>2|",
     "one2, plus, one2, equals, two2, (2000), (2000), one2, plus, one2, equals, two2, (2000)"},
    {"expr", "1:2+3=5|7|1=>2", "two2, plus, three2, equals, five2, (2000), seven2, (2000)"},
    {"expr", "1:x+1=3|", "x, plus, one2, equals, three2, (2000)"},
    {"expr", "1:2*Pi=6.28|5|", "two2, times"},
    {"expr", "3:|", "(2000), (2000), (2000), (2000), (2000)"},
    {"expr", "0:1+1=2|", ""},
    {"expr", "-1:1+1=2|", ""},
    {"expr", "1+1=2|", ""},
    {"say", "5", ""},
};

TEST(Wording, SpeaksEachRequestAsTheseWords) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(std::string(c.command) + " " + c.text);
        EXPECT_EQ(spoken(makeWordPlan(c.command, c.text)), c.words);
    }
}

// Sets the stop flag while its n-th entry (word or pause) is being played.
class StoppingPlayer final : public WordPlayer {
public:
    StoppingPlayer(StopFlag& stop, int stopDuring) : m_stop(stop), m_stopDuring(stopDuring) {}
    void play(std::string_view file, const StopFlag& stop) override {
        m_recorder.play(file, stop);
        count();
    }
    void pause(std::chrono::milliseconds duration, const StopFlag& stop) override {
        m_recorder.pause(duration, stop);
        count();
    }
    void silence() override { m_recorder.silence(); }
    const PlanRecorder& recorder() const { return m_recorder; }

private:
    void count() {
        if (static_cast<int>(m_recorder.plan().size()) == m_stopDuring) m_stop.set();
    }
    PlanRecorder m_recorder;
    StopFlag& m_stop;
    int m_stopDuring;
};

TEST(Wording, StopTakesEffectAtTheNextCheck) {
    struct StopCase {
        const char* command;
        const char* text;
        int stopDuring;
        const char* words;
    };
    constexpr StopCase kStops[] = {
        {"result", "12345678901", 2, "equals, twelve"},
        {"input", "5000000", 1, "five1, million"},
        {"input", "300", 1, "three1, hundred"},
        {"input", "0.25", 2, "zero, point"},
        {"input", "123456789012", 3, "one2, two2, three2"},
        {"key", "Sin(", 1, "sin"},
        {"inputresult", "2+3----5", 3, "two2, plus, three2"},
        {"inputresult", "x----5", 1, "x, equals"},
        {"expr", "1:5|6|", 2, "five2, (2000)"},
        {"expr", "2:5|", 2, "five2, (2000), (2000)"},
    };
    for (const StopCase& c : kStops) {
        SCOPED_TRACE(std::string(c.command) + " " + c.text);
        StopFlag stop;
        StoppingPlayer player(stop, c.stopDuring);
        EXPECT_EQ(Wording(player, stop).Talk(*ParseSpeechRequest(c.command, c.text)),
                  ReadingOutcome::Stopped);
        EXPECT_EQ(spoken(player.recorder().plan()), c.words);
        EXPECT_EQ(player.recorder().silences(), 1);
    }
}

TEST(Wording, StopIsClearedWhenSeen) {
    StopFlag stop;
    PlanRecorder recorder;
    Wording wording(recorder, stop);
    stop.set();
    EXPECT_EQ(wording.TalkChar('5'), ReadingOutcome::Stopped);
    EXPECT_EQ(wording.TalkChar('6'), ReadingOutcome::Completed);
    EXPECT_EQ(spoken(recorder.plan()), "six2");
    EXPECT_EQ(recorder.silences(), 1);
}

TEST(Wording, UnknownFunctionStopsWithoutSilencing) {
    StopFlag stop;
    PlanRecorder recorder;
    EXPECT_EQ(Wording(recorder, stop).TalkExpression("1+Foo(2)"), ReadingOutcome::Stopped);
    EXPECT_EQ(spoken(recorder.plan()), "one2, plus");
    EXPECT_EQ(recorder.silences(), 0);
}

// Whatever case the name is typed in, a function says its own word and nothing stops.
TEST(Wording, SaysEveryFunctionsWord) {
    for (const FunctionEntry& f : FunctionTable()) {
        SCOPED_TRACE(f.name);
        const std::string word(f.wordFile.substr(0, f.wordFile.size() - 4));
        std::string capitalised(f.name);
        capitalised[0] = static_cast<char>(capitalised[0] - 'a' + 'A');
        EXPECT_EQ(spoken(makeWordPlan("key", capitalised + "(")), word + ", openbracket");
        EXPECT_EQ(spoken(makeWordPlan("input", "2*" + capitalised + "(1)")),
                  "two2, times, " + word + ", openbracket, one2, closebracket");
    }
}

// Words and pauses of a plan, counted.
std::pair<std::size_t, std::size_t> wordsAndPauses(const WordPlan& plan) {
    const auto pauses = static_cast<std::size_t>(
        std::count_if(plan.begin(), plan.end(), [](const WordEntry& e) { return e.isPause(); }));
    return {plan.size() - pauses, pauses};
}

TEST(Wording, ARequestIsCutAtItsBounds) {
    const std::string sevens(200, '7');
    struct BoundCase {
        std::string text;
        std::size_t words;
        std::size_t pauses;
        RequestCut cut;
    };
    const BoundCase kBounds[] = {
        {"50:" + sevens + "|", 10000, 99, RequestCut::None},
        {"50:" + sevens + "7|", 10000, 98, RequestCut::Words},  // 201 words a pass
        {"999999999:2+2=4|", 50 * 5, 99, RequestCut::RepeatCount},
        {"51:1|", 50, 99, RequestCut::RepeatCount},
        {"1:" + std::string(1000, '|'), 0, 1000, RequestCut::None},
        {"1:" + std::string(1001, '|'), 0, 1000, RequestCut::Pauses},
        {"50:" + std::string(30, '|'), 0, 1000, RequestCut::Pauses},
        {"20:" + std::string(600, '7') + "|", 10000, 32, RequestCut::Words},
    };
    for (const BoundCase& c : kBounds) {
        SCOPED_TRACE(c.text.substr(0, 12) + " of " + std::to_string(c.text.size()));
        RequestCut cut = RequestCut::None;
        const WordPlan plan = makeWordPlan("expr", c.text, &cut);
        EXPECT_EQ(wordsAndPauses(plan), std::make_pair(c.words, c.pauses));
        EXPECT_EQ(cut, c.cut);
    }
    // A budget is spent by the request, across its readings, and ends it as a stop does.
    StopFlag stop;
    PlanRecorder recorder;
    Wording wording(recorder, stop);
    EXPECT_EQ(wording.Talk({SpeechKind::ExprList, "50:" + sevens + "7|"}), ReadingOutcome::Stopped);
    EXPECT_EQ(wording.TalkChar('5'), ReadingOutcome::Stopped);
    EXPECT_EQ(recorder.plan().size(), 10000u + 98u);
}

TEST(Wording, ButtonWordsAreKnownByTheirExactName) {
    EXPECT_EQ(buttonWordNames().size(), 14u);
    for (std::string_view name : buttonWordNames()) {
        EXPECT_TRUE(isButtonWord(name));
        EXPECT_EQ(spoken(makeWordPlan("msg", name)), name);
    }
    for (const char* other : {"Welcome", "welcome ", "", "nosuchmessage"}) {
        EXPECT_FALSE(isButtonWord(other)) << other;
    }
}

TEST(FormatWordPlan, PrintsFilesAndPauses) {
    EXPECT_EQ(formatWordPlan(makeWordPlan("expr", "1:7|")), "seven2.wav\npause 2000\n");
}

}  // namespace
}  // namespace quorvel

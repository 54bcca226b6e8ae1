#include "tools/calculator_controller.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>

#include "calc/messages.h"
#include "support/file_text.h"
#include "support/recording_prompter.h"
#include "support/recording_speaker.h"
#include "support/temp_data_folder.h"
#include "tools/tip_model.h"

namespace quorvel {
namespace {

namespace fs = std::filesystem;
using testing::RecordingPrompter;
using testing::RecordingSpeaker;
using testing::TempDataFolder;

// The input box and the window as far as the controller sees them.
class FakeView final : public CalculatorView {
public:
    std::string text() const override { return box; }
    void setText(const std::string& t) override {
        box = t;
        setCaret(static_cast<int>(t.size()));
    }
    int caret() const override { return caretAt; }
    void setCaret(int position) override { caretAt = selStart = selEnd = position; }
    std::pair<int, int> selection() const override { return {selStart, selEnd}; }
    void select(int start, int end) override {
        selStart = start;
        selEnd = caretAt = end;
    }
    bool freshInput() const override { return fresh; }
    void setFreshInput(bool on) override { fresh = on; }
    void resetTyping() override {}
    void scrollToResult() override { ++scrolledToResult; }
    void announce(const std::string& t) override { announced.push_back(t); }
    void focusInput() override { ++focused; }
    void pasteClipboard() override {
        box.replace(static_cast<std::size_t>(selStart), static_cast<std::size_t>(selEnd - selStart),
                    clipboard);
        setCaret(selStart + static_cast<int>(clipboard.size()));
    }
    void copyToClipboard(const std::string& t) override { clipboard = t; }
    void setRecent(int index, const std::string& t, const std::string& value) override {
        recentTips.at(static_cast<std::size_t>(index)) = t;
        recentValues.at(static_cast<std::size_t>(index)) = value;
    }
    void setMinimizeTooltip(const std::string& t) override { minimizeTip = t; }
    bool trayAvailable() const override { return tray; }
    void hideToTray() override { ++hidden; }
    void minimizeWindow() override { ++minimized; }
    void showStyleMessage(int code) override { styleMessages.push_back(code); }
    void openHelp(const std::string& page) override { helpPages.push_back(page); }
    void closeWindow() override { ++closed; }
    bool showTips() override {
        ++tipsShown;
        return tipsOpen;
    }
    void applyZoom(int percent) override { zooms.push_back(percent); }
    void post(std::function<void()> task) override {
        const std::lock_guard<std::mutex> lock(posted->mutex);
        posted->tasks.push_back(std::move(task));
    }
    // What the window's event loop would run next; call only while the controller lives.
    void runPosted() {
        std::vector<std::function<void()>> tasks;
        {
            const std::lock_guard<std::mutex> lock(posted->mutex);
            tasks.swap(posted->tasks);
        }
        for (const auto& task : tasks) task();
    }

    std::string box;
    int caretAt = 0, selStart = 0, selEnd = 0;
    bool fresh = false;
    std::vector<std::string> announced;
    int scrolledToResult = 0, focused = 0, hidden = 0, minimized = 0, closed = 0, tipsShown = 0;
    std::string clipboard;
    std::array<std::string, 5> recentTips;
    std::array<std::string, 5> recentValues;
    std::string minimizeTip;
    bool tray = true;
    bool tipsOpen = false;
    std::vector<int> styleMessages;
    std::vector<int> zooms;
    // Shared, so that a test can start over with `view = FakeView()`.
    struct Posted {
        std::mutex mutex;
        std::vector<std::function<void()>> tasks;
    };
    std::shared_ptr<Posted> posted = std::make_shared<Posted>();
    std::vector<std::string> helpPages;
};

class CalculatorControllerTest : public ::testing::Test {
protected:
    void SetUp() override { holder = std::make_unique<SysDataHolder>(m_dir); }
    // An empty data folder and a holder of it, for each case of a table.
    void emptyFolder() {
        controller.reset();  // it waits on its holder's stores as it goes
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
        holder = std::make_unique<SysDataHolder>(m_dir);
    }

    CalculatorController& start(bool firstRun = false) {
        controller =
            std::make_unique<CalculatorController>(*holder, view, speaker, prompter, firstRun);
        controller->startUp();
        return *controller;
    }
    // As the input box hands over typed keys one by one.
    void type(std::string_view keys) {
        for (char c : keys) controller->insertText(std::string(1, c));
    }
    CSysData stored() const {
        holder->WaitForStores();
        SysDataHolder again(m_dir);
        again.Load();
        return again.data();
    }
    std::string fileBytes() const {
        holder->WaitForStores();
        return testing::readFile(holder->path());
    }

    TempDataFolder folder{::testing::UnitTest::GetInstance()->current_test_info()->name()};
    const fs::path m_dir = folder.path();
    std::unique_ptr<SysDataHolder> holder;
    FakeView view;
    RecordingSpeaker speaker;
    RecordingPrompter prompter;
    std::unique_ptr<CalculatorController> controller;
};

TEST_F(CalculatorControllerTest, EqualShowsStepsLogsAndStores) {
    struct Case {
        const char* input;
        const char* shown;
        const char* last1;
        const char* logged;
        const char* announced;
    };
    const std::string wide75 = std::string(37, '1') + "+" + std::string(37, '1');
    const Case cases[] = {
        {"2*(3+4)", "2*(3+4)\n=2*7\n=14", "14", "   2*(3+4)=14", "equals 14"},
        {"Last1+1", "Last1+1\n=0+1\n=1", "1", "   0+1=1", "equals 1"},
        {"1+2+3+4", "1+2+3+4\n=3+3+4\n=6+4\n=10", "10", "   1+2+3+4=10", "equals 10"},
        {"1+2+3+4+5+6", "1+2+3+4+5+6\n=3+3+4+5+6\n=6+4+5+6\n=10+5+6\n=15+6\n=21", "21", "=21",
         "equals 21"},
        {"0-3*2", "0-3*2\n=0-6\n=-6", "-6", "   0-3*2=-6", "equals -6"},
        {wide75.c_str(), nullptr, nullptr, nullptr, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input);
        emptyFolder();
        view = FakeView();
        start();
        type(c.input);
        controller->equal();
        if (c.shown) {
            EXPECT_EQ(view.box, c.shown);
        }
        if (c.last1) {
            EXPECT_EQ(controller->recentResults()[0], c.last1);
        }
        EXPECT_TRUE(view.fresh);
        // However long or wide, the working ends with its result in view and said once.
        EXPECT_EQ(view.scrolledToResult, 1);
        EXPECT_EQ(view.caretAt, static_cast<int>(view.box.size()));
        ASSERT_EQ(view.announced.size(), 1u);
        if (c.announced) {
            EXPECT_EQ(view.announced[0], c.announced);
        }
        const CSysData onDisk = stored();
        ASSERT_EQ(onDisk.log.size(), 1u);
        // The log holds the calculated expression, not the typed one.
        if (c.logged) {
            EXPECT_TRUE(onDisk.log[0].ends_with(c.logged)) << onDisk.log[0];
        }
    }
}

TEST_F(CalculatorControllerTest, EqualWithoutCalculating) {
    struct Case {
        const char* typed;
        const char* box;
        int caret;
    };
    const Case cases[] = {
        {"5", "5", 1},        {"-5", "-5", 2},    {"+5", "+5", 2},
        {"", "", 0},          {"(M)", "(M)=", 4}, {"(w)", "(w)=", 4},
        {"2x+1", "2x+1=", 5}, {"1+1=2", "", 0},   {"exp(1)", nullptr, -1},
    };
    start();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        view.setText(c.typed);
        view.fresh = false;
        controller->equal();
        if (c.box == nullptr) continue;  // calculated: exp is no unknown
        EXPECT_EQ(view.box, c.box);
        EXPECT_EQ(view.caretAt, c.caret);
        EXPECT_FALSE(view.fresh);
    }
    EXPECT_EQ(holder->data().log.size(), 1u);  // exp(1) only
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(CalculatorControllerTest, EqualOnShownResultClearsIt) {
    start();
    type("2+3");
    controller->equal();
    controller->equal();
    EXPECT_EQ(view.box, "");
    EXPECT_FALSE(view.fresh);
    EXPECT_EQ(view.announced, std::vector<std::string>{"equals 5"}) << "the clearing says nothing";
    EXPECT_EQ(holder->data().log.size(), 1u);
}

TEST_F(CalculatorControllerTest, FailedSumKeepsTheTextAndTheResults) {
    start();
    type("5/0");
    controller->equal();
    EXPECT_EQ(view.box, "5/0");
    EXPECT_FALSE(view.fresh);
    EXPECT_EQ(controller->recentResults()[0], "0");
    EXPECT_TRUE(holder->data().log.empty());
    EXPECT_EQ(prompter.messages.size(), 1u);
}

TEST_F(CalculatorControllerTest, CalculateCommand) {
    struct Case {
        const char* typed;
        const char* shown;  // nullptr: only the first line is checked
        const char* param;  // M afterwards in the file
        std::size_t logLines;
        const char* last1;
        bool fresh;
    };
    const Case cases[] = {
        {"(M)=5", "(M)=5  Set the user parameter M successfully.", "5", 0, "0", true},
        {"(M)=2+3", "(M)=2+3  Set the user parameter M successfully.", "5", 1, "5", true},
        {"(m)=-4", "(m)=-4  Set the user parameter m successfully.", "-4", 0, "0", true},
        {"2*x+3=7", nullptr, "1", 1, "0", true},
        {"3+4", "3+4\n=7", "1", 1, "7", true},
        {"1+1=2", "", "1", 0, "0", false},
        {"5", "5", "1", 0, "0", false},
        {"(w)=5/0", "(w)=5/0", "1", 0, "0", false},
        {"2*x*x=0", "", "1", 0, "0", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        emptyFolder();
        view = FakeView();
        prompter = RecordingPrompter();
        start();
        view.setText(c.typed);
        controller->calculate();
        if (c.shown) {
            EXPECT_EQ(view.box, c.shown);
        }
        EXPECT_EQ(view.fresh, c.fresh);
        EXPECT_EQ(controller->recentResults()[0], c.last1);
        EXPECT_EQ(holder->data().log.size(), c.logLines);
        const bool changed = c.logLines > 0 || std::string_view(c.param) != "1";
        holder->WaitForStores();
        ASSERT_EQ(fs::exists(holder->path()), changed);
        if (changed) {
            EXPECT_EQ(stored().paramM, c.param);
        }
    }
}

TEST_F(CalculatorControllerTest, SolvedEquationShowsTheSteps) {
    start();
    view.setText("2*x+3=7");
    controller->calculate();
    EXPECT_EQ(view.box, "2*X+3=7\n2*X+3-(7)=0\n2*X-4=0\nX=-(-4)/(2)\nX=2\n");
    EXPECT_EQ(view.announced, std::vector<std::string>{"X=2"});
    EXPECT_EQ(view.scrolledToResult, 1);
    EXPECT_TRUE(view.fresh);
    ASSERT_EQ(stored().log.size(), 1u);
    EXPECT_TRUE(stored().log[0].ends_with("2*x+3=7 =>  X=2"));
}

TEST_F(CalculatorControllerTest, ParameterThenUse) {
    start();
    view.setText("(m)=-4");
    controller->calculate();
    view.setText("3*m");
    view.fresh = false;
    controller->equal();
    EXPECT_EQ(view.box, "3*m\n=3*(-4)\n=-12");
}

TEST_F(CalculatorControllerTest, FailedAssignmentSaysSo) {
    start();
    view.setText("(w)=5/0");
    controller->calculate();
    ASSERT_EQ(prompter.messages.size(), 2u);
    EXPECT_EQ(prompter.messages[1].text, msg::kParameterNotSet);
    EXPECT_EQ(prompter.messages[1].title, "Quorvel");
}

TEST_F(CalculatorControllerTest, RecentResultTooltips) {
    start();
    const std::array<const char*, 5> initial = {
        "The first lastest result of calculation:last1=0",
        "The second lastest result of calculation:last2=0",
        "The third lastest result of calculation:last3=0",
        "The forth lastest result of calculation:last4=0",
        "The fifth lastest result of calculation:last5=0",
    };
    for (std::size_t i = 0; i < 5; ++i) EXPECT_EQ(view.recentTips[i], initial[i]);
    for (const char* sum : {"1+1", "2+2"}) {
        view.setText(sum);
        view.fresh = false;
        controller->equal();
    }
    const std::array<const char*, 5> renewed = {
        "the first lastest result:last1=4", "the second lastest result:last2=2",
        "the third lastest result:last3=0", "the forth lastest result:last4=0",
        "the fifth lastest result:last5=0",
    };
    for (std::size_t i = 0; i < 5; ++i) EXPECT_EQ(view.recentTips[i], renewed[i]);
}

TEST_F(CalculatorControllerTest, SpeechAfterCalculation) {
    struct Case {
        int talkResult;
        int talkInput;
        std::vector<SpeechRequest> said;
    };
    const Case cases[] = {
        {1, 0, {{SpeechKind::Result, "14"}}},
        {0, 1, {{SpeechKind::Input, "2*(3+4)\r\n=2*7\r\n=14"}}},
        {1, 1, {{SpeechKind::InputResult, "2*(3+4)\r\n=2*7\r\n=14", "14"}}},
        {0, 0, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.talkResult) + std::to_string(c.talkInput));
        emptyFolder();
        view = FakeView();
        speaker = RecordingSpeaker();
        holder->data().talkResult = c.talkResult;
        holder->data().talkInput = c.talkInput;
        holder->data().talkKeys = 0;
        start();
        view.setText("2*(3+4)");
        controller->equal();
        EXPECT_EQ(speaker.requests, c.said);
    }
}

TEST_F(CalculatorControllerTest, KeysAndInsertedTextAreSpoken) {
    start();
    controller->insertText("7");
    EXPECT_EQ(speaker.requests.back(), (SpeechRequest{SpeechKind::Key, "7"}));
    EXPECT_EQ(speaker.words(), "seven2.wav\n");

    view.setText("10+2.5");
    controller->equal();
    view.setText("");
    view.fresh = false;
    speaker = RecordingSpeaker();
    controller->insertRecent(0);
    EXPECT_EQ(view.box, "12.5");
    ASSERT_EQ(speaker.requests.size(), 1u);
    EXPECT_EQ(speaker.requests[0], (SpeechRequest{SpeechKind::Input, "12.5"}));
    EXPECT_EQ(speaker.words(), "twelve.wav\npoint.wav\nfive2.wav\n");

    controller->characterPlaced('+');
    EXPECT_EQ(speaker.requests.back(), (SpeechRequest{SpeechKind::Key, "+"}));
}

TEST_F(CalculatorControllerTest, KeysAreSilentWithTalkKeysOff) {
    holder->data().talkKeys = 0;
    start();
    controller->insertText("7");
    controller->characterPlaced('7');
    EXPECT_EQ(view.box, "7");
    EXPECT_TRUE(speaker.requests.empty());
}

TEST_F(CalculatorControllerTest, InsertTextAtTheCaret) {
    struct Case {
        const char* before;
        int selStart, selEnd;
        const char* insert;
        const char* after;
        int caret;
    };
    const Case cases[] = {
        {"12", 1, 1, "+", "1+2", 2},   {"12", 0, 0, "Last1", "Last112", 5},
        {"1234", 1, 3, "*", "1*4", 2}, {"1234", 3, 1, "*", "1*4", 2},
        {"12", -1, -1, "+", "12+", 3}, {"12", 9, 9, "+", "12+", 3},
        {"", 0, 0, "sin(", "sin(", 4},
    };
    start();
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.before) + " <- " + c.insert);
        view.box = c.before;
        view.select(c.selStart, c.selEnd);
        view.caretAt = c.selEnd;
        controller->insertText(c.insert);
        EXPECT_EQ(view.box, c.after);
        EXPECT_EQ(view.caretAt, c.caret);
    }
}

TEST_F(CalculatorControllerTest, SavedCaretIsUsedOnce) {
    start();
    view.setText("1+2");
    view.setCaret(1);
    controller->saveCaret();
    view.setCaret(3);
    controller->insertText("0");
    EXPECT_EQ(view.box, "10+2");
    view.setCaret(4);
    controller->insertText("9");
    EXPECT_EQ(view.box, "10+29");
}

TEST_F(CalculatorControllerTest, DroppedSavedCaretLeavesTypingAtTheCaret) {
    start();
    view.setText("1+2");
    view.setCaret(0);
    controller->saveCaret();
    controller->dropSavedCaret();
    view.setCaret(3);
    controller->insertText("4");
    EXPECT_EQ(view.box, "1+24");
}

TEST_F(CalculatorControllerTest, ClearShownResultOnlyEmptiesAResult) {
    start();
    view.setText("2*3=6");
    view.fresh = false;
    controller->clearShownResult();
    EXPECT_EQ(view.box, "2*3=6");
    view.fresh = true;
    controller->clearShownResult();
    EXPECT_EQ(view.box, "");
    EXPECT_FALSE(view.fresh);
}

TEST_F(CalculatorControllerTest, ConvertedValueGoesInByTheConverterRule) {
    struct Case {
        const char* box;
        bool shownResult;
        std::size_t caret;
        const char* value;
        const char* after;
        int caretAfter;
        const char* message;  // nullptr: none
    };
    constexpr auto npos = std::string::npos;
    const Case cases[] = {
        {"212", false, 3, "*0.5556-17.78", "212*0.5556-17.78", 16, nullptr},
        {"3", false, npos, "*0.3048", "3*0.3048", 8, nullptr},
        {"1+", false, 2, "24", "1+24", 4, nullptr},
        {"7", false, 1, "24", "7*24", 4, nullptr},
        {"2+3", false, 0, "5", "52+3", 1, nullptr},
        {"", false, 0, "24", "24", 2, nullptr},
        {"", false, 0, "*0.3048", "", 0, "Please input a number first."},
        {"", false, 0, "x+1", "", 0, "Please input the degree number first."},
        {"45", false, 2, "X*0.0175", "45*0.0175", 9, nullptr},
        // A shown result goes first, so the value stands alone.
        {"2*3=6", true, 5, "24", "24", 2, nullptr},
        {"2*3=6", true, 5, "*0.3048", "", 0, "Please input a number first."},
    };
    start();
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.box) + " <- " + c.value);
        view.setText(c.box);
        view.fresh = c.shownResult;
        prompter.messages.clear();
        controller->insertConverted(c.caret, c.value);
        EXPECT_EQ(view.box, c.after);
        EXPECT_FALSE(view.fresh);
        if (c.message == nullptr) {
            EXPECT_TRUE(prompter.messages.empty());
            EXPECT_EQ(view.caretAt, c.caretAfter);
        } else {
            ASSERT_EQ(prompter.messages.size(), 1u);
            EXPECT_EQ(prompter.messages[0].text, c.message);
            EXPECT_EQ(prompter.messages[0].title, msg::kTitleMessage);
            EXPECT_EQ(prompter.messages[0].icon, MessageIcon::Information);
        }
    }
}

TEST_F(CalculatorControllerTest, TalkTextChoice) {
    struct Case {
        const char* box;
        const char* input;  // nullptr: talk input says nothing
        const char* result;
    };
    const Case cases[] = {
        {"2*(3+4)\n=2*7\n=14", "2*(3+4)", "14"},
        {"Last1*2\n=0*2\n=0", "0*2", "0"},
        {"3*m\n=3*(-4)\n=-12", "3*(-4)", "-12"},
        {"Pi*2\n=3.14*2\n=6.28", "Pi*2", "6.28"},
        {"m*x=4\nM*X-(4)=0\nX=-(-4)/(1)\nX=4", "M*X-(4)=0", "X=4"},
        {"2*x+3=7\n2*X+3-(7)=0\nX=2", "2*x+3=7", "X=2"},
        {"  5+1 ", nullptr, "5+1"},
        {"(M)=5  Set the user parameter M successfully.", nullptr,
         "5  Set the user parameter M successfully."},
    };
    start();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.box);
        view.setText(c.box);
        speaker = RecordingSpeaker();
        controller->talkInput();
        controller->talkResult();
        controller->talkInputResult();
        std::vector<SpeechRequest> expected;
        if (c.input) expected.push_back({SpeechKind::Input, c.input});
        expected.push_back({SpeechKind::Result, c.result});
        expected.push_back({SpeechKind::InputResult, c.input ? c.input : "", c.result});
        EXPECT_EQ(speaker.requests, expected);
    }
    EXPECT_TRUE(prompter.messages.empty());
}

TEST_F(CalculatorControllerTest, TalkTheResultAfterACalculation) {
    holder->data().talkResult = 0;
    start();
    view.setText("2*(3+4)");
    controller->equal();
    controller->talkResult();
    EXPECT_EQ(speaker.words(), "equals.wav\nforteen.wav\n");  // the recording's name
}

TEST_F(CalculatorControllerTest, TalkInputOfAnEmptyBox) {
    start();
    view.setText("   ");
    controller->talkInput();
    EXPECT_EQ(prompter.only(), "Quorvel: Sorry,the input is empty.");
    EXPECT_TRUE(speaker.requests.empty());
}

TEST_F(CalculatorControllerTest, StopTalk) {
    start();
    controller->stopTalk();
    EXPECT_EQ(speaker.stops, 1);
}

TEST_F(CalculatorControllerTest, CopySelectionOrEverything) {
    struct Case {
        int selStart, selEnd, caret;
        const char* copied;
    };
    const Case cases[] = {{0, 0, 2, "2*(3+4)"}, {2, 7, 7, "(3+4)"}, {7, 2, 2, "(3+4)"}};
    start();
    for (const Case& c : cases) {
        view.box = "2*(3+4)";
        view.clipboard.clear();
        view.selStart = c.selStart;
        view.selEnd = c.selEnd;
        view.caretAt = c.caret;
        controller->copy();
        EXPECT_EQ(view.clipboard, c.copied);
        EXPECT_EQ(view.selection(), std::make_pair(c.caret, c.caret));
        EXPECT_EQ(view.box, "2*(3+4)");
    }
    view.box.clear();
    view.setCaret(0);
    view.clipboard = "kept";
    controller->copy();
    EXPECT_EQ(view.clipboard, "kept");
}

TEST_F(CalculatorControllerTest, PasteClearsFreshInput) {
    start();
    view.setText("2+3");
    controller->equal();
    ASSERT_TRUE(view.fresh);
    view.clipboard = "*2";
    controller->paste();
    EXPECT_FALSE(view.fresh);
    EXPECT_TRUE(view.box.ends_with("=5*2"));
}

TEST_F(CalculatorControllerTest, Minimize) {
    struct Case {
        int toTray;
        bool tray;
        int hidden, minimized;
        const char* tip;
    };
    const Case cases[] = {
        {1, true, 1, 0, "Minimize to the system tray"},
        {1, false, 0, 1, "Minimize"},
        {0, true, 0, 1, "Minimize"},
        {0, false, 0, 1, "Minimize"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.toTray) + (c.tray ? " tray" : " no tray"));
        view = FakeView();
        view.tray = c.tray;
        holder->data().minimizeToTray = c.toTray;
        start();
        controller->minimize();
        EXPECT_EQ(view.hidden, c.hidden);
        EXPECT_EQ(view.minimized, c.minimized);
        EXPECT_EQ(view.minimizeTip, c.tip);
    }
}

TEST_F(CalculatorControllerTest, HelpOpensTheManual) {
    start();
    controller->help();
    EXPECT_EQ(view.helpPages, std::vector<std::string>{std::string(kCalculatorHelpPage)});
}

TEST_F(CalculatorControllerTest, EveryCommandIgnoredWhileBusy) {
    const std::vector<std::pair<const char*, std::function<void(CalculatorController&)>>> commands =
        {
            {"equal", [](auto& c) { c.equal(); }},
            {"calculate", [](auto& c) { c.calculate(); }},
            {"freshInput", [](auto& c) { c.freshInput(); }},
            {"insertText", [](auto& c) { c.insertText("7"); }},
            {"characterPlaced", [](auto& c) { c.characterPlaced('7'); }},
            {"insertRecent", [](auto& c) { c.insertRecent(0); }},
            {"clearShownResult", [](auto& c) { c.clearShownResult(); }},
            {"insertConverted", [](auto& c) { c.insertConverted(0, "*0.3048"); }},
            {"saveCaret",
             [](auto& c) {
                 c.saveCaret();
                 c.setBusy(false);
                 c.insertText("");
                 c.setBusy(true);
             }},
            {"talkInput", [](auto& c) { c.talkInput(); }},
            {"talkResult", [](auto& c) { c.talkResult(); }},
            {"talkInputResult", [](auto& c) { c.talkInputResult(); }},
            {"stopTalk", [](auto& c) { c.stopTalk(); }},
            {"copy", [](auto& c) { c.copy(); }},
            {"paste", [](auto& c) { c.paste(); }},
            {"minimize", [](auto& c) { c.minimize(); }},
            {"help", [](auto& c) { c.help(); }},
            {"chooseStyle", [](auto& c) { c.chooseStyle(3); }},
            {"exit", [](auto& c) { c.exit(); }},
            {"requestClose", [](auto& c) { c.requestClose(); }},
        };
    start();
    view.setText("1+2");
    view.fresh = true;
    view.clipboard = "9";
    controller->exit();  // writes the file the commands must leave alone
    view.closed = 0;
    speaker = RecordingSpeaker();
    const std::string bytes = fileBytes();
    controller->setBusy(true);
    for (const auto& [name, command] : commands) {
        SCOPED_TRACE(name);
        command(*controller);
        EXPECT_EQ(view.box, "1+2");
        EXPECT_TRUE(view.fresh);
        EXPECT_EQ(view.clipboard, "9");
        EXPECT_TRUE(speaker.requests.empty());
        EXPECT_EQ(speaker.stops, 0);
        EXPECT_TRUE(prompter.messages.empty() && prompter.questions.empty());
        EXPECT_EQ(view.hidden + view.minimized + view.closed, 0);
        EXPECT_TRUE(view.styleMessages.empty() && view.helpPages.empty());
        EXPECT_EQ(fileBytes(), bytes);
        EXPECT_TRUE(controller->busy());
    }
}

TEST_F(CalculatorControllerTest, ExitQuestion) {
    start();
    view.setText("1+");
    prompter.answer = false;
    controller->requestClose();
    ASSERT_EQ(prompter.questions.size(), 1u);
    EXPECT_EQ(prompter.questions[0].text, "Would you exit Quorvel?");
    EXPECT_EQ(prompter.questions[0].title, "Quorvel Message");
    EXPECT_EQ(view.closed, 0);
    EXPECT_EQ(speaker.stops, 0);
    EXPECT_EQ(view.box, "1+");
    EXPECT_FALSE(fs::exists(holder->path()));

    prompter.answer = true;
    controller->requestClose();
    EXPECT_EQ(view.closed, 1);
    EXPECT_EQ(speaker.stops, 1);
    EXPECT_EQ(stored().savedInput, "1+");
}

TEST_F(CalculatorControllerTest, ExitNeverAsks) {
    start();
    controller->exit();
    EXPECT_TRUE(prompter.questions.empty());
    EXPECT_EQ(view.closed, 1);
    EXPECT_EQ(speaker.stops, 1);
    EXPECT_TRUE(fs::exists(holder->path()));
}

TEST_F(CalculatorControllerTest, UnfinishedInputComesBack) {
    start();
    view.setText("Sin(1)+M");
    view.setCaret(3);
    controller->exit();
    CSysData d = stored();
    EXPECT_EQ(d.savedInput, "Sin(1)+M");
    EXPECT_EQ(d.savedStepFlag, 0);
    EXPECT_EQ(d.savedPosition, 3);

    controller.reset();
    holder = std::make_unique<SysDataHolder>(m_dir);
    holder->Load();
    view = FakeView();
    start();
    EXPECT_EQ(view.box, "sin(1)+m");
    EXPECT_EQ(view.caretAt, 3);
    EXPECT_FALSE(view.fresh);
}

TEST_F(CalculatorControllerTest, ShownCalculationIsNotRestored) {
    start();
    view.setText("2+3");
    controller->equal();
    controller->exit();
    EXPECT_EQ(stored().savedStepFlag, 1);
    EXPECT_EQ(stored().savedInput, "2+3\r\n=5");

    controller.reset();
    holder = std::make_unique<SysDataHolder>(m_dir);
    holder->Load();
    view = FakeView();
    start();
    EXPECT_EQ(view.box, "");
    EXPECT_EQ(holder->data().savedPosition, -1);
    EXPECT_EQ(holder->data().savedInput, "");
    EXPECT_EQ(holder->data().savedStepFlag, 0);
}

TEST_F(CalculatorControllerTest, StartUpGreeting) {
    struct Case {
        bool noFile;
        int firstRunFlag;
        int welcome;
        int tips;
        bool tipsOpen;
        bool greets;
        int tipsShown;
        bool busy;
    };
    const Case cases[] = {
        {true, 0, 1, 1, false, true, 1, false},  {true, 0, 1, 1, true, true, 1, true},
        {true, 0, 0, 0, false, false, 0, false}, {false, 1, 1, 0, false, true, 0, false},
        {false, 0, 1, 1, true, false, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(&c - cases));
        controller.reset();
        holder = std::make_unique<SysDataHolder>(m_dir);
        CSysData& d = holder->data();
        d.firstRun = c.firstRunFlag;
        d.welcome = c.welcome;
        d.tipsAtStart = c.tips;
        d.greetingMark = 7;
        d.savedInput = "1+2";
        d.tipWindowOpen = 1;  // left over from a run that ended with the tips open
        view = FakeView();
        view.tipsOpen = c.tipsOpen;
        speaker = RecordingSpeaker();
        start(c.noFile);
        const bool greeted = !speaker.requests.empty();
        EXPECT_EQ(greeted, c.greets);
        if (greeted) {
            EXPECT_EQ(speaker.requests[0], (SpeechRequest{SpeechKind::Message, "welcome"}));
        }
        EXPECT_EQ(view.tipsShown, c.tipsShown);
        EXPECT_EQ(controller->busy(), c.busy);
        const bool firstRun = c.noFile || c.firstRunFlag == 1;
        EXPECT_EQ(d.firstRun, 0);
        EXPECT_EQ(d.greetingMark, firstRun ? 0 : 7);
        EXPECT_EQ(view.box, firstRun ? "" : "1+2");
        EXPECT_EQ(d.savedInput, firstRun ? "" : "1+2");
    }
}

TEST_F(CalculatorControllerTest, OutOfRangeFileSettingsAreReported) {
    holder->data().decimalPlaces = 20000;
    start();
    ASSERT_EQ(prompter.messages.size(), 1u);
    EXPECT_NE(prompter.messages[0].text.find("decimal places 20000 to 10000"), std::string::npos);
}

TEST_F(CalculatorControllerTest, ChooseStyleStoresAndTells) {
    holder->data().windowStyle = 4;
    start();
    controller->chooseStyle(3);
    EXPECT_EQ(view.styleMessages, std::vector<int>{3});
    EXPECT_EQ(stored().windowStyle, 3);
    controller->chooseStyle(2);
    EXPECT_EQ(stored().windowStyle, 2);  // the last choice counts
}

TEST_F(CalculatorControllerTest, ZoomKeysLayOutAgainAndStore) {
    struct Step {
        ZoomKey key;
        int zoom;
    };
    const Step kSteps[] = {{ZoomKey::In, 125},    {ZoomKey::In, 150},  {ZoomKey::Out, 125},
                           {ZoomKey::Reset, 100}, {ZoomKey::Out, 100}, {ZoomKey::In, 125}};
    start();
    EXPECT_EQ(controller->zoom(), 100);
    std::vector<int> laidOut;
    for (const Step& s : kSteps) {
        controller->zoomKey(s.key);
        EXPECT_EQ(controller->zoom(), s.zoom);
        EXPECT_EQ(stored().zoomPercent, s.zoom);
        // Ctrl+minus at 100 % changes nothing, so nothing is laid out again.
        if (laidOut.empty() || laidOut.back() != s.zoom) laidOut.push_back(s.zoom);
    }
    EXPECT_EQ(view.zooms, laidOut);
    // A stored value out of range opens at the nearest bound.
    holder->data().zoomPercent = 900;
    EXPECT_EQ(controller->zoom(), 300);
    holder->data().zoomPercent = 0;
    EXPECT_EQ(controller->zoom(), 100);
}

TEST_F(CalculatorControllerTest, ZoomWaitsWhileTheTipWindowIsOpen) {
    start();
    controller->setBusy(true);
    controller->zoomKey(ZoomKey::In);
    EXPECT_EQ(controller->zoom(), 100);
    EXPECT_TRUE(view.zooms.empty());
}

TEST_F(CalculatorControllerTest, SettingsZoomAndContrastStyle) {
    holder->data().windowStyle = 2;
    start();
    SettingsValues v = controller->settingsValues();
    EXPECT_EQ(v.zoom, "100");
    EXPECT_FALSE(v.contrastStyle);
    for (const char* bad : {"99", "301", "2x", ""}) {
        SCOPED_TRACE(bad);
        prompter = RecordingPrompter();
        v.zoom = bad;
        EXPECT_FALSE(controller->applySettings(v));
        EXPECT_EQ(prompter.only(),
                  "Quorvel Message: The zoom must be a whole number from 100 to 300.");
    }
    EXPECT_TRUE(view.zooms.empty());

    v.zoom = "200";
    ASSERT_TRUE(controller->applySettings(v));
    EXPECT_EQ(view.zooms, std::vector<int>{200});
    EXPECT_EQ(stored().zoomPercent, 200);
    EXPECT_TRUE(view.styleMessages.empty());  // the style stays as it was

    v = controller->settingsValues();
    EXPECT_EQ(v.zoom, "200");
    v.contrastStyle = true;
    ASSERT_TRUE(controller->applySettings(v));
    EXPECT_EQ(view.styleMessages, std::vector<int>{6});
    EXPECT_EQ(stored().windowStyle, 6);
    EXPECT_EQ(view.zooms, std::vector<int>{200});  // unchanged: not laid out again
    EXPECT_TRUE(controller->settingsValues().contrastStyle);

    // Leaving the high-contrast style goes back to the standard one.
    v.contrastStyle = false;
    ASSERT_TRUE(controller->applySettings(v));
    EXPECT_EQ(view.styleMessages, (std::vector<int>{6, 1}));
    EXPECT_EQ(stored().windowStyle, 1);
}

TEST_F(CalculatorControllerTest, SettingsRefusedOutOfRange) {
    struct Case {
        const char* places;
        const char* digits;
        const char* exerciseMax;
        const char* message;
    };
    const Case cases[] = {
        {"10001", "10", "10", "The decimal places must be a whole number from 0 to 10000."},
        {"-1", "10", "10", "The decimal places must be a whole number from 0 to 10000."},
        {"abc", "10", "10", "The decimal places must be a whole number from 0 to 10000."},
        {"", "10", "10", "The decimal places must be a whole number from 0 to 10000."},
        {"2.5", "10", "10", "The decimal places must be a whole number from 0 to 10000."},
        {"99999999999999999999", "10", "10",
         "The decimal places must be a whole number from 0 to 10000."},
        {"30", "0", "10", "The integer-digits limit must be a whole number from 1 to 10000."},
        {"30", "10001", "10", "The integer-digits limit must be a whole number from 1 to 10000."},
        {"30", "10", "0",
         "The largest exercise value must be a whole number from 1 to 2147483647."},
    };
    start();
    controller->exit();  // a file to compare against
    const std::string bytes = fileBytes();
    const CSysData before = holder->data();
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.places) + "/" + c.digits + "/" + c.exerciseMax);
        prompter = RecordingPrompter();
        SettingsValues v = controller->settingsValues();
        v.talkResult = false;
        v.places = c.places;
        v.digitsLimit = c.digits;
        v.exerciseLimit3 = c.exerciseMax;
        EXPECT_FALSE(controller->applySettings(v));
        EXPECT_EQ(prompter.only(), std::string("Quorvel Message: ") + c.message);
        EXPECT_EQ(holder->data(), before);
        EXPECT_EQ(fileBytes(), bytes);
        EXPECT_TRUE(controller->talkResultOn());
    }
}

TEST_F(CalculatorControllerTest, SettingsValuesLeaveTheFileAlone) {
    start();
    controller->exit();
    const std::string bytes = fileBytes();
    const SettingsValues v = controller->settingsValues();
    EXPECT_EQ(v, SettingsValues{});  // a new data file's values
    EXPECT_EQ(fileBytes(), bytes);
}

TEST_F(CalculatorControllerTest, SettingsOkAppliesAndStores) {
    start();
    SettingsValues v;
    v.talkResult = false;
    v.talkKeys = false;
    v.minimizeToTray = false;
    v.radians = false;
    v.places = " 2 ";
    v.digitsLimit = "+12";
    v.exerciseLimit1 = "300";  // one byte, as the file keeps it
    v.exerciseLimit2 = "x";
    v.exerciseLimit3 = "50";
    EXPECT_TRUE(controller->applySettings(v));
    EXPECT_TRUE(prompter.messages.empty());
    EXPECT_EQ(view.minimizeTip, "Minimize");

    const CSysData d = stored();
    EXPECT_EQ(d.talkResult, 0);
    EXPECT_EQ(d.talkKeys, 0);
    EXPECT_EQ(d.minimizeToTray, 0);
    EXPECT_EQ(d.angleUnit, 0);
    EXPECT_EQ(d.decimalPlaces, 2);
    EXPECT_EQ(d.intDigitsLimit, 12);
    EXPECT_EQ(d.exerciseLimit1, 44);
    EXPECT_EQ(d.exerciseLimit2, 0);
    EXPECT_EQ(d.exerciseLimit3, 50);

    // The working copies and the engine follow at once.
    controller->insertText("2");
    type("/3");
    controller->equal();
    EXPECT_EQ(view.box, "2/3\n=0.67");
    EXPECT_TRUE(speaker.requests.empty());
    controller->minimize();
    EXPECT_EQ(view.minimized, 1);
}

TEST_F(CalculatorControllerTest, FailedStoreIsReportedOnce) {
    // Each step: whether the file can be written, the sum, and the messages told so far.
    struct Step {
        bool writable;
        const char* sum;
        const char* shown;
        std::size_t told;
    };
    const Step steps[] = {
        {false, "1+1", "1+1\n=2", 1},
        {false, "2+2", "2+2\n=4", 1},  // the same run of failures is told once
        {true, "3+3", "3+3\n=6", 1},
        {false, "4+4", "4+4\n=8", 2},  // a new run of failures is told again
    };
    start();
    for (const Step& step : steps) {
        SCOPED_TRACE(step.sum);
        fs::remove_all(holder->path());
        if (!step.writable) fs::create_directories(holder->path());  // a folder in its place
        view.setText(step.sum);
        view.fresh = false;
        controller->equal();
        // The result is shown before the disk is done; a failure is told after it.
        EXPECT_EQ(view.box, step.shown);
        holder->WaitForStores();
        view.runPosted();
        ASSERT_EQ(prompter.messages.size(), step.told);
        if (step.writable) {
            EXPECT_EQ(stored().log.size(), 3u);
        }
    }
    EXPECT_EQ(prompter.messages[0].title, "Quorvel Message");
}

}  // namespace
}  // namespace quorvel

namespace quorvel {
namespace {

TEST_F(CalculatorControllerTest, TipWindowHoldsTheWindowUntilClosedAndItsFieldsLast) {
    struct Case {
        bool keepShowing;
        int nexts;
        int storedPosition;
        int tipsAtNextStart;
    };
    const Case kCases[] = {{true, 5, 6, 1}, {false, 0, 1, 0}, {true, 29, 0, 1}};
    for (const Case& c : kCases) {
        SCOPED_TRACE(std::to_string(c.nexts));
        emptyFolder();
        view = FakeView();
        view.tipsOpen = true;
        start(true);
        ASSERT_TRUE(controller->busy());
        type("1+1");
        controller->equal();
        EXPECT_EQ(view.box, "");

        TipModel tips(*holder);
        EXPECT_EQ(tips.index(), 0);
        for (int i = 0; i < c.nexts; ++i) tips.next();
        tips.setShowAtStart(c.keepShowing);
        tips.close();
        // The record the tip window leaves in the data does not free the calculator; the
        // window does, when the tip window says it closed.
        EXPECT_TRUE(controller->busy());
        controller->setBusy(false);
        type("1+1");
        EXPECT_EQ(view.box, "1+1");
        controller->exit();
        EXPECT_EQ(stored().tipPosition, c.storedPosition);

        // The next greeting reads what the tip window left.
        controller.reset();
        holder = std::make_unique<SysDataHolder>(m_dir);
        holder->Load();
        holder->data().firstRun = 1;
        view = FakeView();
        view.tipsOpen = true;
        start();
        EXPECT_EQ(view.tipsShown, c.tipsAtNextStart);
        EXPECT_EQ(controller->busy(), c.tipsAtNextStart == 1);
        EXPECT_EQ(TipModel(*holder).index(), c.storedPosition);
    }
}

}  // namespace
}  // namespace quorvel

namespace quorvel {
namespace {

// A screen reader echoes typed keys itself; Quorvel's own echo then waits to be asked for,
// while results are spoken as the settings say.
TEST_F(CalculatorControllerTest, KeyEchoGivesWayToAScreenReader) {
    struct Case {
        bool talkKeys;
        bool screenReader;
        bool keysWithScreenReader;
        bool echoed;
    };
    const Case kCases[] = {
        {true, false, false, true}, {true, true, false, false},  {true, true, true, true},
        {false, true, true, false}, {false, false, true, false},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(std::to_string(c.talkKeys) + std::to_string(c.screenReader) +
                     std::to_string(c.keysWithScreenReader));
        emptyFolder();
        view = FakeView();
        speaker = RecordingSpeaker();
        holder->data().talkKeys = c.talkKeys ? 1 : 0;
        holder->data().talkResult = 1;
        start();
        controller->setScreenReaderRunning(c.screenReader);
        SettingsValues v = controller->settingsValues();
        EXPECT_EQ(v.screenReaderRunning, c.screenReader);
        EXPECT_FALSE(v.talkKeysWithScreenReader) << "off until asked for";
        v.talkKeysWithScreenReader = c.keysWithScreenReader;
        ASSERT_TRUE(controller->applySettings(v));
        EXPECT_EQ(controller->keyEchoOn(), c.echoed);

        speaker.requests.clear();  // the greeting
        type("7+");
        controller->characterPlaced('1');  // as over a selection; the fake box keeps "7+"
        controller->insertRecent(0);       // "0"
        controller->equal();
        std::vector<SpeechRequest> expected;
        if (c.echoed)
            expected = {{SpeechKind::Key, "7"},
                        {SpeechKind::Key, "+"},
                        {SpeechKind::Key, "1"},
                        {SpeechKind::Key, "0"}};
        expected.push_back({SpeechKind::Result, "7"});
        EXPECT_EQ(speaker.requests, expected);
    }
}

TEST(ResultAnnouncement, SaysTheResultOfWhatIsShown) {
    struct Case {
        const char* shown;
        const char* said;
    };
    const Case kCases[] = {
        {"2*(3+4)\n=2*7\n=14", "equals 14"},
        {"7\n=7", "equals 7"},
        {"1/3\n=0.333333", "equals 0.333333"},
        {"2^100\n=1.2676506002282294E+30", "equals 1.2676506002282294E+30"},
        {"2*X+3=7\n2*X+3-(7)=0\n2*X-4=0\nX=-(-4)/(2)\nX=2\n", "X=2"},
        {"(M)=5  Set the user parameter M successfully.",
         "(M)=5  Set the user parameter M successfully."},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.shown);
        EXPECT_EQ(ResultAnnouncement(c.shown), c.said);
    }
}

TEST_F(CalculatorControllerTest, EveryResultIsAnnouncedAndTheLastButtonsKnowTheirValues) {
    start();
    for (const char* input : {"2+2", "2+2", "3*5"}) {
        type(input);
        controller->equal();
        controller->freshInput();
    }
    EXPECT_EQ(view.announced, (std::vector<std::string>{"equals 4", "equals 4", "equals 15"}));
    EXPECT_EQ(view.recentValues, (std::array<std::string, 5>{"15", "4", "4", "0", "0"}));
}

}  // namespace
}  // namespace quorvel

#include "dialogs/robot_dlg.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>
#include <QThread>
#include <filesystem>
#include <string>
#include <vector>

#include "calc/messages.h"
#include "data/sys_data_holder.h"
#include "support/file_text.h"
#include "support/recording_prompter.h"
#include "support/recording_speaker.h"
#include "support/test_folder.h"
#include "tools/tool_messages.h"
#include "ui/hover_button.h"

namespace fs = std::filesystem;

namespace quorvel {
namespace {

using testing::readFile;
using testing::RecordingPrompter;
using testing::RecordingSpeaker;
using testing::writeFile;

const fs::path kGoldenDir = QUORVEL_GOLDEN_DIR;

std::string withCrLf(std::string text) {
    for (std::size_t at = 0; (at = text.find('\n', at)) != std::string::npos; at += 2) {
        text.insert(at, "\r");
    }
    return text;
}

// Remembers whether every prompt reached it on the window's thread.
class ThreadCheckingPrompter : public RecordingPrompter {
public:
    void showMessage(std::string_view text, std::string_view title, MessageIcon icon) override {
        note();
        RecordingPrompter::showMessage(text, title, icon);
    }
    void showInputMessage(std::string_view message, std::string_view advice,
                          std::string_view expression, int position) override {
        note();
        RecordingPrompter::showInputMessage(message, advice, expression, position);
    }
    int offThread = 0;

private:
    void note() {
        if (QThread::currentThread() != qApp->thread()) ++offThread;
    }
};

class RobotDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = testing::FreshTestFolder("quorvel_robot_");
        holder = std::make_unique<SysDataHolder>(m_dir);
        holder->data().decimalPlaces = 4;
        holder->data().angleUnit = 0;
        open(false);
    }
    void TearDown() override {
        dialog.reset();
        fs::remove_all(m_dir);
    }

    void open(bool talkAfterRun) {
        dialog.reset();
        dialog = std::make_unique<CRobotDlg>(*holder, speaker, prompter, talkAfterRun);
        dialog->model().setClock([] { return LogTime{2026, 12, 8, 9, 5}; });
        dialog->show();
        dialog->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    }

    void click(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton); }

    // Clicks Begin and waits until the run has ended and its log is shown.
    bool runToEnd() {
        QSignalSpy finished(dialog.get(), &CRobotDlg::runFinished);
        click(dialog->beginButton());
        return finished.wait(20000);
    }

    void setSource(const fs::path& source, const fs::path& result) {
        dialog->sourceBox()->setText(QString::fromStdString(source.string()));
        dialog->resultBox()->setText(QString::fromStdString(result.string()));
    }

    fs::path m_dir;
    std::unique_ptr<SysDataHolder> holder;
    ThreadCheckingPrompter prompter;
    RecordingSpeaker speaker;
    std::unique_ptr<CRobotDlg> dialog;
};

TEST_F(RobotDlgTest, EachModeWritesItsGoldenFile) {
    const fs::path source = kGoldenDir / "batch_sums.txt";
    for (BatchMode mode : {BatchMode::AddResult, BatchMode::ReplaceResult, BatchMode::AddSteps,
                           BatchMode::GenFilter, BatchMode::DetailFilter}) {
        const std::string name(BatchModeName(mode));
        SCOPED_TRACE(name);
        prompter = {};
        const fs::path result = m_dir / (name + ".rob");
        setSource(source, result);
        click(dialog->modeButton(mode));
        ASSERT_TRUE(dialog->modeButton(mode)->isChecked());
        ASSERT_TRUE(runToEnd());
        EXPECT_EQ(dialog->lastOutcome().status, BatchStatus::Done);
        EXPECT_EQ(readFile(result),
                  withCrLf(readFile(kGoldenDir / ("batch_sums." + name + ".rob"))));
        // The first failure is shown, on the window's thread; the later one goes to the log.
        ASSERT_EQ(prompter.inputMessages.size(), 1u);
        EXPECT_EQ(prompter.inputMessages[0].expression, "2*-3");
        EXPECT_EQ(prompter.offThread, 0);
        EXPECT_EQ(dialog->beginButton()->text(), "Begin");
        EXPECT_EQ(dialog->progressBar()->value(), 100);
    }
    EXPECT_TRUE(
        dialog->logBox()->toPlainText().endsWith("2 calculations failed; the first on line 6"));
}

TEST_F(RobotDlgTest, EmptySourceAsksForOne) {
    struct Case {
        const char* source;
        bool viaFolderButton;
    };
    constexpr Case kCases[] = {{"", false}, {"   ", false}, {"", true}};
    const std::string shown =
        std::string(msg::kTitleQuorvel) + ": " + std::string(msg::kSelectSourceFirst);
    for (const Case& c : kCases) {
        SCOPED_TRACE(std::string("[") + c.source + "]" + (c.viaFolderButton ? " folder" : ""));
        prompter = {};
        dialog->sourceBox()->setText(QString::fromLatin1(c.source));
        QSignalSpy finished(dialog.get(), &CRobotDlg::runFinished);
        // The folder button is the one after the result box in the tab order.
        if (c.viaFolderButton) {
            dialog->resultBox()->setFocus();
            QTest::keyClick(dialog.get(), Qt::Key_Tab);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            // Enter shows the press before it clicks.
            EXPECT_TRUE(QTest::qWaitFor([&] { return !prompter.messages.empty(); }, 1000));
        } else {
            click(dialog->beginButton());
        }
        EXPECT_EQ(prompter.only(), shown);
        EXPECT_FALSE(dialog->isRunning());
        EXPECT_EQ(finished.count(), 0);
    }
}

TEST_F(RobotDlgTest, EmptyResultBoxShowsTheDerivedPath) {
    const fs::path source = m_dir / "sums.txt";
    writeFile(source, "Total 2+3 apples\n");
    setSource(source, "");
    ASSERT_TRUE(runToEnd());
    EXPECT_EQ(dialog->resultBox()->text().toStdString(), (m_dir / "sums.rob").string());
    EXPECT_EQ(readFile(m_dir / "sums.rob"), "Total 2+3=5 apples\r\n\r\n");
}

// P and N from the boxes go into the data and stay there; E-notation switches the form.
TEST_F(RobotDlgTest, PlacesDigitsAndENotationReachTheRunAndTheData) {
    struct Case {
        int places;
        int digits;
        bool eNotation;
        const char* output;
    };
    constexpr Case kCases[] = {
        {2, 10, false, "1125899906842624 0.33"},
        {2, 10, true, "1.12E+15 0.33"},
        {5, 20, true, "1125899906842624 0.33333"},
    };
    const fs::path source = m_dir / "big.txt";
    writeFile(source, "2^50 1/3\n");
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.output);
        setSource(source, m_dir / "big.rob");
        click(dialog->modeButton(BatchMode::ReplaceResult));
        dialog->placesBox()->setValue(c.places);
        dialog->digitsBox()->setValue(c.digits);
        if (dialog->eNotationBox()->isChecked() != c.eNotation) click(dialog->eNotationBox());
        ASSERT_TRUE(runToEnd());
        EXPECT_EQ(readFile(m_dir / "big.rob"), std::string(c.output) + "\r\n\r\n");
        EXPECT_EQ(holder->data().decimalPlaces, c.places);
        EXPECT_EQ(holder->data().intDigitsLimit, c.digits);
    }
    // A new window starts from what the data kept.
    open(false);
    EXPECT_EQ(dialog->placesBox()->value(), 5);
    EXPECT_EQ(dialog->digitsBox()->value(), 20);
}

TEST_F(RobotDlgTest, TwoRunsLogBothAndTalkSpeaksTheSecond) {
    const fs::path source = m_dir / "sums.txt";
    writeFile(source, "Total 2+3 apples and 2/3\n");
    setSource(source, m_dir / "sums.rob");
    ASSERT_TRUE(runToEnd());
    writeFile(source, "Then 7*6\n");
    ASSERT_TRUE(runToEnd());
    EXPECT_TRUE(speaker.requests.empty()) << "the talk-after-run switch is off";

    EXPECT_EQ(dialog->logBox()->toPlainText().toStdString(),
              "Robot Log Information:\n"
              "2026-12-08 09:05 2+3=5\n"
              "2026-12-08 09:05 2/3=0.6667\n"
              "2026-12-08 09:05 7*6=42");
    click(dialog->talkButton());
    const SpeechRequest secondRun{SpeechKind::ExprList, "1:7*6=42|"};
    EXPECT_EQ(speaker.requests, std::vector<SpeechRequest>{secondRun});

    click(dialog->stopTalkButton());
    EXPECT_EQ(speaker.stops, 1);
    EXPECT_FALSE(speaker.isTalking());

    click(dialog->clearButton());
    EXPECT_EQ(dialog->logBox()->toPlainText(), "Robot Log Information:");
}

TEST_F(RobotDlgTest, TalkAfterRunSpeaksEachRun) {
    open(true);
    EXPECT_TRUE(dialog->talkAfterRunBox()->isChecked());
    const fs::path source = m_dir / "sums.txt";
    writeFile(source, "1+1 and 2*2\n");
    setSource(source, m_dir / "sums.rob");
    ASSERT_TRUE(runToEnd());
    EXPECT_EQ(speaker.requests,
              (std::vector<SpeechRequest>{{SpeechKind::ExprList, "1:1+1=2|2*2=4|"}}));
    // Switched off in the box, the next run is silent.
    click(dialog->talkAfterRunBox());
    ASSERT_TRUE(runToEnd());
    EXPECT_EQ(speaker.requests.size(), 1u);
}

TEST_F(RobotDlgTest, CopyPutsTheLogOnTheClipboard) {
    const fs::path source = m_dir / "sums.txt";
    writeFile(source, "Total 2+3 apples\n");
    setSource(source, m_dir / "sums.rob");
    ASSERT_TRUE(runToEnd());
    QApplication::clipboard()->setText(QStringLiteral("something else"));
    prompter = {};
    click(dialog->copyButton());
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(),
              "Robot Log Information:\r\n2026-12-08 09:05 2+3=5");
    EXPECT_EQ(prompter.only(),
              std::string(msg::kTitleQuorvel) + ": " + std::string(msg::kLogCopied));

    // The box can be emptied by hand; then there is nothing to copy.
    dialog->logBox()->clear();
    prompter = {};
    click(dialog->copyButton());
    EXPECT_EQ(prompter.only(),
              std::string(msg::kTitleQuorvel) + ": " + std::string(msg::kLogEmpty));
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(),
              "Robot Log Information:\r\n2026-12-08 09:05 2+3=5");
}

TEST_F(RobotDlgTest, FileErrorsAreShownOnTheWindowsThread) {
    ASSERT_EQ(::mkfifo((m_dir / "fifo").c_str(), 0600), 0);
    writeFile(m_dir / "sums.txt", "2+3\n");
    writeFile(m_dir / "profile", "mine\n");
    fs::create_symlink(m_dir / "profile", m_dir / "planted.rob");
    struct Case {
        const char* source;
        const char* result;
        BatchStatus status;
        ToolMessageId message;
        const char* file;  // named in the message
        std::string_view reason;
    };
    const Case kCases[] = {
        {"missing.txt", "missing.rob", BatchStatus::SourceUnreadable, ToolMessageId::FailedToRead,
         "missing.txt", msg::kReasonNoSuchFile},
        // A pipe would leave the run waiting for a writer: refused at once.
        {"fifo", "fifo.rob", BatchStatus::SourceUnreadable, ToolMessageId::FailedToRead, "fifo",
         msg::kReasonNotAFile},
        {"sums.txt", "planted.rob", BatchStatus::ResultUnwritable, ToolMessageId::FailedToWrite,
         "planted.rob", msg::kReasonIsLink},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.source);
        prompter.messages.clear();
        setSource(m_dir / c.source, m_dir / c.result);
        ASSERT_TRUE(runToEnd());
        EXPECT_EQ(dialog->lastOutcome().status, c.status);
        EXPECT_EQ(prompter.only(),
                  std::string(msg::kTitleQuorvel) + ": " +
                      msg::fileError(c.message, (m_dir / c.file).string(), c.reason).text());
        EXPECT_FALSE(dialog->isRunning());
    }
    EXPECT_EQ(prompter.offThread, 0);
    EXPECT_EQ(readFile(m_dir / "profile"), "mine\n");
}

std::string manyLines(int count) {
    std::string text;
    for (int i = 0; i < count; ++i)
        text += "Row " + std::to_string(i) + ": 12*34+" + std::to_string(i) + " and more words\n";
    return text;
}

TEST_F(RobotDlgTest, StopEndsALongRunAndSaysWhere) {
    const fs::path source = m_dir / "long.txt";
    writeFile(source, manyLines(400000));
    setSource(source, m_dir / "long.rob");
    QSignalSpy finished(dialog.get(), &CRobotDlg::runFinished);
    click(dialog->beginButton());
    EXPECT_EQ(dialog->beginButton()->text(), "Stop");
    EXPECT_EQ(dialog->beginButton()->accessibleName(), "Stop the calculation");
    EXPECT_FALSE(dialog->sourceBox()->isEnabled());
    // Wait for the first progress, then stop with the keyboard.
    for (int i = 0; i < 200 && dialog->progressBar()->format().startsWith("0 "); ++i) {
        QTest::qWait(10);
    }
    ASSERT_FALSE(dialog->progressBar()->format().startsWith("0 "));
    dialog->beginButton()->setFocus();
    QTest::keyClick(dialog->beginButton(), Qt::Key_Space);
    ASSERT_TRUE(finished.wait(10000));

    const BatchOutcome& outcome = dialog->lastOutcome();
    ASSERT_EQ(outcome.status, BatchStatus::Stopped);
    EXPECT_LT(outcome.lines, 400000u);
    const std::string stopped = msg::batchStopped(outcome.lines);
    EXPECT_TRUE(readFile(m_dir / "long.rob").ends_with(stopped + "\r\n"));
    EXPECT_TRUE(dialog->logBox()->toPlainText().endsWith(QString::fromStdString(stopped)));
    // Every calculation done made its log line before the stop one.
    EXPECT_EQ(dialog->model().log().runList().size(), outcome.calculated);
    EXPECT_EQ(dialog->beginButton()->text(), "Begin");
    EXPECT_TRUE(dialog->sourceBox()->isEnabled());
}

TEST_F(RobotDlgTest, ClosingDuringARunEndsItQuietly) {
    open(true);
    const fs::path source = m_dir / "long.txt";
    writeFile(source, manyLines(400000));
    setSource(source, m_dir / "long.rob");
    QSignalSpy finished(dialog.get(), &CRobotDlg::runFinished);
    click(dialog->beginButton());
    QTest::qWait(100);
    ASSERT_TRUE(dialog->isRunning());
    click(dialog->closeButton());
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_FALSE(dialog->isRunning());
    QTest::qWait(100);
    EXPECT_EQ(finished.count(), 0);
    EXPECT_TRUE(speaker.requests.empty()) << "a closed window does not talk";
    EXPECT_GE(speaker.stops, 1);
    EXPECT_TRUE(readFile(m_dir / "long.rob").find("Stopped by the user") != std::string::npos);
}

// Every control can be reached with Tab (the modes as one group, chosen with the arrows) and
// says what it is; Enter presses a focused button.
TEST_F(RobotDlgTest, ControlsHaveNamesATabRingAndKeys) {
    std::vector<QWidget*> tabStops;
    for (QWidget* w : dialog->findChildren<QWidget*>()) {
        const bool inner = qobject_cast<QAbstractSpinBox*>(w->parentWidget()) != nullptr;
        if (inner || !w->isEnabled() || !(w->focusPolicy() & Qt::TabFocus)) continue;
        EXPECT_FALSE(w->accessibleName().isEmpty()) << w->metaObject()->className();
        auto* radio = qobject_cast<QRadioButton*>(w);
        if (!radio || radio->isChecked()) tabStops.push_back(w);
    }
    EXPECT_FALSE(dialog->progressBar()->accessibleName().isEmpty());
    const QString tips[] = {
        "Begin to calculate", "Talk the calculation in the log", "Copy the log to the clipboard",
        "Clear the log",      "Stop the current talking",        "Close the robot"};
    const QAbstractButton* buttons[] = {dialog->beginButton(),    dialog->talkButton(),
                                        dialog->copyButton(),     dialog->clearButton(),
                                        dialog->stopTalkButton(), dialog->closeButton()};
    for (std::size_t i = 0; i < std::size(tips); ++i) {
        EXPECT_EQ(buttons[i]->toolTip(), tips[i]);
        EXPECT_EQ(buttons[i]->accessibleName(), tips[i]);
    }

    dialog->sourceBox()->setFocus();
    std::vector<QWidget*> reached;
    for (std::size_t i = 0; i < tabStops.size(); ++i) {
        QWidget* focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr);
        if (qobject_cast<QAbstractSpinBox*>(focus->parentWidget())) focus = focus->parentWidget();
        reached.push_back(focus);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    EXPECT_EQ(QApplication::focusWidget(), dialog->sourceBox()) << "the tab order is one ring";
    for (QWidget* stop : tabStops) {
        EXPECT_NE(std::find(reached.begin(), reached.end(), stop), reached.end())
            << stop->accessibleName().toStdString();
    }
    ASSERT_FALSE(reached.empty());
    EXPECT_EQ(reached.back(), dialog->closeButton());

    // The arrows walk the modes, and the run takes the one chosen.
    dialog->modeButton(BatchMode::AddResult)->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
    EXPECT_TRUE(dialog->modeButton(BatchMode::ReplaceResult)->isChecked());
    EXPECT_EQ(dialog->model().mode(), BatchMode::ReplaceResult);

    // Enter on the focused Clear button clears the log.
    dialog->logBox()->appendPlainText(QStringLiteral("old line"));
    dialog->clearButton()->setFocus();
    QTest::keyClick(dialog->clearButton(), Qt::Key_Return);
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return !dialog->logBox()->toPlainText().contains("old"); }, 1000));
    EXPECT_EQ(dialog->logBox()->toPlainText(), "Robot Log Information:");
}

}  // namespace
}  // namespace quorvel

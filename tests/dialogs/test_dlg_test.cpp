#include "dialogs/test_dlg.h"

#include <gtest/gtest.h>

#include <QClipboard>
#include <QHeaderView>
#include <QLabel>
#include <QTableWidget>
#include <QTest>

#include "calc/messages.h"
#include "data/sys_data_holder.h"
#include "dialog_test_support.h"
#include "reader_events.h"
#include "support/recording_prompter.h"
#include "support/recording_speaker.h"
#include "tools/tool_messages.h"
#include "ui/float_edit.h"

namespace quorvel {
namespace {

using testing::RecordingPrompter;
using testing::RecordingSpeaker;
using testing::TestDataFolder;

class CTestDlgTest : public ::testing::Test {
protected:
    void SetUp() override {
        holder.data().exerciseLimit1 = 2;
        holder.data().exerciseLimit2 = 1;
        dialog = std::make_unique<CTestDlg>(holder, speaker, prompter, nullptr, 20);
        dialog->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
    }
    QString cell(int row, int column) const {
        const QTableWidgetItem* item = dialog->list()->item(row, column);
        return item ? item->text() : QString();
    }
    QString heading() const { return dialog->list()->horizontalHeaderItem(0)->text(); }

    TestDataFolder folder;
    SysDataHolder holder{folder.path()};
    RecordingSpeaker speaker;
    RecordingPrompter prompter;
    std::unique_ptr<CTestDlg> dialog;
};

TEST_F(CTestDlgTest, OpensWithTheStoredLimitsAndTheAddChoice) {
    EXPECT_EQ(dialog->size(), QSize(620, 370));
    EXPECT_EQ(dialog->testNumberBox()->text(), QStringLiteral("2"));
    EXPECT_EQ(dialog->operatorNumberBox()->text(), QStringLiteral("1"));
    EXPECT_EQ(dialog->maxValueBox()->text(), QStringLiteral("20"));
    EXPECT_EQ(heading(), QStringLiteral("Test for add"));
    EXPECT_EQ(dialog->list()->horizontalHeaderItem(1)->text(), QStringLiteral("Result"));
    EXPECT_EQ(dialog->list()->columnWidth(0), 380);
    EXPECT_TRUE(dialog->choiceButton(ExerciseChoice::Add)->isLatched());
    EXPECT_FALSE(dialog->choiceButton(ExerciseChoice::Mix)->isLatched());
    EXPECT_TRUE(dialog->startButton()->isEnabled());
    EXPECT_FALSE(dialog->nextButton()->isEnabled());
    EXPECT_EQ(dialog->nextButton()->toolTip(),
              QStringLiteral("Run the next step [Shortcut key => press the ENTER key]"));
    EXPECT_EQ(dialog->copyAllButton()->toolTip(),
              QStringLiteral("Copy all these test calculation into the clipboard"));
    testing::expectAccessibleNames(dialog.get());
    EXPECT_EQ(dialog->windowTitle(), QStringLiteral("Quorvel - Exercise generator"));
    EXPECT_EQ(dialog->nextButton()->accessibleName(), QStringLiteral("Next step"));
}

TEST_F(CTestDlgTest, ARunWithEnterAsNextStep) {
    QTest::mouseClick(dialog->startButton(), Qt::LeftButton);
    ASSERT_EQ(dialog->list()->rowCount(), 2);
    const QString first = cell(0, 0);
    EXPECT_EQ(speaker.requests,
              (std::vector<SpeechRequest>{{SpeechKind::Input, first.toStdString()}}));
    EXPECT_FALSE(dialog->startButton()->isEnabled());
    EXPECT_TRUE(dialog->nextButton()->isEnabled());

    QTest::keyClick(dialog.get(), Qt::Key_Return);
    EXPECT_FALSE(cell(0, 1).isEmpty());
    EXPECT_EQ(speaker.requests.back(),
              (SpeechRequest{SpeechKind::Result, cell(0, 1).toStdString()}));
    // Enter is Next step even with the focus on a box.
    dialog->maxValueBox()->setFocus();
    QTest::keyClick(dialog->maxValueBox(), Qt::Key_Return);
    EXPECT_EQ(speaker.requests.back(),
              (SpeechRequest{SpeechKind::Input, cell(1, 0).toStdString()}));
    // And with the focus in the list, where a row is current for the arrow keys.
    dialog->list()->setFocus();
    EXPECT_EQ(dialog->list()->currentRow(), 0);
    QTest::keyClick(dialog->list(), Qt::Key_Enter);
    EXPECT_FALSE(cell(1, 1).isEmpty());
    EXPECT_TRUE(dialog->startButton()->isEnabled());
    EXPECT_FALSE(dialog->nextButton()->isEnabled());
    EXPECT_EQ(dialog->summaryLabel()->text().toStdString(), msg::exerciseSummary(2));
    EXPECT_EQ(speaker.requests.size(), 4u);

    // Once the last result has been said, the count follows.
    speaker.finish();
    QTRY_COMPARE(speaker.requests.size(), 5u);
    EXPECT_EQ(speaker.requests.back(), (SpeechRequest{SpeechKind::Input, "2"}));
    EXPECT_TRUE(prompter.messages.empty()) << prompter.only();
}

TEST_F(CTestDlgTest, EnterInTheListIsNextStepAndArrowsSpeakTheRows) {
    QTest::mouseClick(dialog->startButton(), Qt::LeftButton);
    QTableWidget* list = dialog->list();
    dialog->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    list->setFocus();
    QTest::keyClick(list, Qt::Key_Return);
    ASSERT_FALSE(cell(0, 1).isEmpty());
    EXPECT_EQ(speaker.requests.back(),
              (SpeechRequest{SpeechKind::Result, cell(0, 1).toStdString()}));
    // A calculated row reads with its result, one not yet calculated without.
    QTest::keyClick(list, Qt::Key_Down);
    EXPECT_EQ(list->currentRow(), 1);
    EXPECT_EQ(testing::readerSays(list), cell(1, 0));
    QTest::keyClick(list, Qt::Key_Up);
    EXPECT_EQ(testing::readerSays(list), cell(0, 0) + QStringLiteral(" = ") + cell(0, 1));
    // Enter from the list goes on with the test, not with the row.
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(speaker.requests.back(),
              (SpeechRequest{SpeechKind::Input, cell(1, 0).toStdString()}));
    QTest::keyClick(list, Qt::Key_Enter);
    EXPECT_FALSE(cell(1, 1).isEmpty());
    EXPECT_FALSE(dialog->nextButton()->isEnabled());
    // With the test over, Enter in the list does nothing more.
    const std::size_t said = speaker.requests.size();
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(speaker.requests.size(), said);
    EXPECT_TRUE(prompter.messages.empty()) << prompter.only();
}

TEST_F(CTestDlgTest, TheFocusMovesBetweenStartAndNextStepAsTheyTakeTurns) {
    dialog->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    dialog->startButton()->setFocus();
    QTest::keyClick(dialog->startButton(), Qt::Key_Space);
    EXPECT_EQ(QApplication::focusWidget(), dialog->nextButton());
    for (int step = 0; step < 3; ++step) QTest::keyClick(dialog->nextButton(), Qt::Key_Space);
    EXPECT_FALSE(dialog->nextButton()->isEnabled());
    EXPECT_EQ(QApplication::focusWidget(), dialog->startButton());
}

TEST_F(CTestDlgTest, ChoiceButtonsAreOneChoiceAndEmptyTheListOnChange) {
    QTest::mouseClick(dialog->startButton(), Qt::LeftButton);
    ASSERT_EQ(dialog->list()->rowCount(), 2);
    QTest::mouseClick(dialog->choiceButton(ExerciseChoice::Add), Qt::LeftButton);
    EXPECT_EQ(dialog->list()->rowCount(), 2);
    QTest::mouseClick(dialog->choiceButton(ExerciseChoice::Divide), Qt::LeftButton);
    EXPECT_EQ(dialog->list()->rowCount(), 0);
    EXPECT_EQ(heading(), QStringLiteral("Test for divide"));
    EXPECT_TRUE(dialog->choiceButton(ExerciseChoice::Divide)->isLatched());
    EXPECT_FALSE(dialog->choiceButton(ExerciseChoice::Add)->isLatched());
    for (ExerciseChoice choice : kExerciseChoices) {
        EXPECT_EQ(dialog->choiceButton(choice)->isChecked(), choice == ExerciseChoice::Divide);
    }
    // The arrow keys move the choice.
    dialog->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    dialog->choiceButton(ExerciseChoice::Divide)->setFocus();
    QTest::keyClick(dialog->choiceButton(ExerciseChoice::Divide), Qt::Key_Right);
    EXPECT_TRUE(dialog->choiceButton(ExerciseChoice::Mix)->isChecked());
    EXPECT_EQ(heading(), QStringLiteral("Test for mix"));
}

TEST_F(CTestDlgTest, CopiesTheListToTheClipboard) {
    QTest::mouseClick(dialog->copyAllButton(), Qt::LeftButton);
    EXPECT_EQ(prompter.only(),
              std::string(msg::kTitleMessage) + ": " + std::string(msg::kExerciseListEmpty));
    prompter.messages.clear();
    QTest::mouseClick(dialog->startButton(), Qt::LeftButton);
    QTest::keyClick(dialog.get(), Qt::Key_Return);
    QTest::mouseClick(dialog->copyAllButton(), Qt::LeftButton);
    EXPECT_EQ(QApplication::clipboard()->text(), cell(0, 0) + QStringLiteral("=") + cell(0, 1) +
                                                     QStringLiteral("\r\n") + cell(1, 0) +
                                                     QStringLiteral("\r\n"));
    dialog->list()->selectRow(1);
    QTest::mouseClick(dialog->copySelectedButton(), Qt::LeftButton);
    EXPECT_EQ(QApplication::clipboard()->text(), cell(1, 0) + QStringLiteral("\r\n"));
    ASSERT_EQ(prompter.messages.size(), 2u);
    EXPECT_EQ(prompter.messages[1].text, msg::kSelectionCopied);
}

TEST_F(CTestDlgTest, TheBoxesTakeDigitsOnly) {
    QLineEdit* box = dialog->testNumberBox();
    box->selectAll();
    QTest::keyClicks(box, QStringLiteral("3-0.0x0"));
    EXPECT_EQ(box->text(), QStringLiteral("3000"));
    QTest::keyClicks(box, QStringLiteral("1"));  // four digits at most
    EXPECT_EQ(box->text(), QStringLiteral("3000"));
}

TEST_F(CTestDlgTest, CloseStopsTalkingAndStoresTheLimits) {
    dialog->testNumberBox()->setText(QStringLiteral("300"));
    dialog->maxValueBox()->setText(QStringLiteral("100000"));
    QTest::mouseClick(dialog->startButton(), Qt::LeftButton);
    QTest::mouseClick(dialog->closeButton(), Qt::LeftButton);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_GE(speaker.stops, 1);
    SysDataHolder reread(folder.path());
    ASSERT_EQ(reread.Load().outcome, LoadOutcome::Read);
    EXPECT_EQ(reread.data().exerciseLimit1, 44);
    EXPECT_EQ(reread.data().exerciseLimit3, 10);  // the max value is not written back
}

}  // namespace
}  // namespace quorvel

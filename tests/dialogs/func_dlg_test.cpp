#include "dialogs/func_dlg.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

#include "calc/messages.h"
#include "data/sys_data_holder.h"
#include "dialog_test_support.h"
#include "support/recording_prompter.h"
#include "tools/tool_messages.h"
#include "ui/filter_edit.h"
#include "ui/float_edit.h"

namespace quorvel {
namespace {

using testing::RecordingPrompter;
using testing::TestDataFolder;
using testing::whenModal;

TEST(CFuncDlg, ShowsNineteenFunctionsWithTheirTooltips) {
    CFuncDlg palette;
    palette.show();
    EXPECT_EQ(palette.size(), QSize(570, 200));
    for (const PaletteButton& entry : FunctionPalette()) {
        SCOPED_TRACE(entry.name);
        HoverButton* button = palette.button(
            QString::fromLatin1(entry.name.data(), static_cast<qsizetype>(entry.name.size())));
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->toolTip().toStdString(), entry.tooltip);
        EXPECT_EQ(
            button->accessibleName(),
            QString::fromLatin1(entry.tooltip.data(), static_cast<qsizetype>(entry.tooltip.size()))
                .trimmed());
    }
    EXPECT_EQ(palette.closeButton()->toolTip(), QStringLiteral("Clear the log information"));
    EXPECT_EQ(palette.closeButton()->accessibleName(), QStringLiteral("Close"));
    testing::expectAccessibleNames(&palette);
}

TEST(CFuncDlg, AButtonNamesItsFunctionAndClosesThePalette) {
    for (const char* name : {"^2", "10^", "tanh", "int"}) {
        SCOPED_TRACE(name);
        CFuncDlg palette;
        QSignalSpy chosen(&palette, &CFuncDlg::functionChosen);
        palette.show();
        QTest::mouseClick(palette.button(QString::fromLatin1(name)), Qt::LeftButton);
        ASSERT_EQ(chosen.count(), 1);
        EXPECT_EQ(chosen.at(0).at(0).toString(), QString::fromLatin1(name));
        EXPECT_EQ(palette.result(), QDialog::Accepted);
        EXPECT_FALSE(palette.isVisible());
    }
    CFuncDlg palette;
    QSignalSpy chosen(&palette, &CFuncDlg::functionChosen);
    palette.show();
    QTest::mouseClick(palette.closeButton(), Qt::LeftButton);
    EXPECT_EQ(chosen.count(), 0);
    EXPECT_EQ(palette.result(), QDialog::Rejected);
}

TEST(CFuncInputDlg, ShowsTheAngleUnitOnlyForAngleFunctions) {
    TestDataFolder folder;
    SysDataHolder holder(folder.path());
    RecordingPrompter prompter;
    for (const char* name : {"log", "tanh", "arcsin", "sqrt"}) {
        SCOPED_TRACE(name);
        CFuncInputDlg dialog(QString::fromLatin1(name), holder, prompter);
        dialog.show();
        const bool angle = OffersAngleUnit(name);
        EXPECT_EQ(dialog.radiansButton()->isVisible(), angle);
        EXPECT_EQ(dialog.degreesButton()->isVisible(), angle);
        EXPECT_EQ(dialog.label()->text(), QString::fromLatin1(name) + QStringLiteral("("));
        EXPECT_EQ(dialog.focusWidget(), dialog.argumentBox());
        testing::expectAccessibleNames(&dialog);
    }
}

TEST(CFuncInputDlg, RadioButtonsChangeTheSharedAngleUnit) {
    TestDataFolder folder;
    SysDataHolder holder(folder.path());
    holder.data().angleUnit = 0;
    RecordingPrompter prompter;
    CFuncInputDlg dialog(QStringLiteral("sin"), holder, prompter);
    dialog.show();
    EXPECT_TRUE(dialog.degreesButton()->isChecked());
    QTest::mouseClick(dialog.radiansButton(), Qt::LeftButton);
    EXPECT_EQ(holder.data().angleUnit, 1);
    EXPECT_FALSE(dialog.degreesButton()->isChecked());
    QTest::mouseClick(dialog.degreesButton(), Qt::LeftButton);
    EXPECT_EQ(holder.data().angleUnit, 0);
}

TEST(CFuncInputDlg, TheArgumentBoxTakesNumbersOnly) {
    TestDataFolder folder;
    SysDataHolder holder(folder.path());
    RecordingPrompter prompter;
    CFuncInputDlg dialog(QStringLiteral("abs"), holder, prompter);
    dialog.show();
    QTest::keyClicks(dialog.argumentBox(), QStringLiteral("-1a.5.-2x"));
    EXPECT_EQ(dialog.argumentBox()->text(), QStringLiteral("-1.52"));
}

// The main window's function command, driven through real clicks and keys.
class FunctionCommandTest : public ::testing::Test {
protected:
    QString run() {
        box.show();
        return runFunctionCommand(box, holder, prompter, nullptr);
    }
    TestDataFolder folder;
    SysDataHolder holder{folder.path()};
    RecordingPrompter prompter;
    CFilterEdit box;
};

void choose(const char* name) {
    whenModal<CFuncDlg>([name](CFuncDlg* palette) {
        QTest::mouseClick(palette->button(QString::fromLatin1(name)), Qt::LeftButton);
    });
}

TEST_F(FunctionCommandTest, SinThirtyOkInsertsTheCallAtTheCaret) {
    box.setPlainText(QStringLiteral("2*+1"));
    QTextCursor cursor = box.textCursor();
    cursor.setPosition(2);
    box.setTextCursor(cursor);
    choose("sin");
    whenModal<CFuncInputDlg>([](CFuncInputDlg* dialog) {
        QTest::keyClicks(dialog->argumentBox(), QStringLiteral("30"));
        QTest::mouseClick(dialog->okButton(), Qt::LeftButton);
    });
    EXPECT_EQ(run(), QStringLiteral("sin(30)"));
    EXPECT_EQ(box.toPlainText(), QStringLiteral("2*sin(30)+1"));
    EXPECT_EQ(box.textCursor().position(), 9);
}

TEST_F(FunctionCommandTest, ArcsinOutsideOneIsRefusedUntilCorrected) {
    choose("arcsin");
    whenModal<CFuncInputDlg>([this](CFuncInputDlg* dialog) {
        QTest::keyClicks(dialog->argumentBox(), QStringLiteral("1.5"));
        QTest::mouseClick(dialog->okButton(), Qt::LeftButton);
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_EQ(prompter.only(), "Quorvel: " + std::string(msg::kArcRange));
        dialog->argumentBox()->clear();
        QTest::keyClicks(dialog->argumentBox(), QStringLiteral("0.5"));
        QTest::keyClick(dialog->argumentBox(), Qt::Key_Return);
    });
    EXPECT_EQ(run(), QStringLiteral("arcsin(0.5)"));
    EXPECT_EQ(box.toPlainText(), QStringLiteral("arcsin(0.5)"));
    EXPECT_EQ(prompter.messages.size(), 1u);
}

TEST_F(FunctionCommandTest, SquareAndTenPowerGoInWithoutAnArgument) {
    box.setPlainText(QStringLiteral("3"));
    box.moveCursor(QTextCursor::End);
    choose("^2");
    EXPECT_EQ(run(), QStringLiteral("^2"));
    choose("10^");
    EXPECT_EQ(run(), QStringLiteral("10^"));
    EXPECT_EQ(box.toPlainText(), QStringLiteral("3^210^"));
}

TEST_F(FunctionCommandTest, AnEmptyArgumentInsertsNameAndBrackets) {
    choose("ln");
    whenModal<CFuncInputDlg>(
        [](CFuncInputDlg* dialog) { QTest::mouseClick(dialog->okButton(), Qt::LeftButton); });
    EXPECT_EQ(run(), QStringLiteral("ln()"));
    EXPECT_EQ(box.toPlainText(), QStringLiteral("ln()"));
}

TEST_F(FunctionCommandTest, CancellingEitherDialogInsertsNothing) {
    box.setPlainText(QStringLiteral("7"));
    whenModal<CFuncDlg>(
        [](CFuncDlg* palette) { QTest::mouseClick(palette->closeButton(), Qt::LeftButton); });
    EXPECT_TRUE(run().isEmpty());
    choose("cos");
    whenModal<CFuncInputDlg>([](CFuncInputDlg* dialog) {
        QTest::keyClicks(dialog->argumentBox(), QStringLiteral("1"));
        QTest::mouseClick(dialog->cancelButton(), Qt::LeftButton);
    });
    EXPECT_TRUE(run().isEmpty());
    EXPECT_EQ(box.toPlainText(), QStringLiteral("7"));
}

TEST_F(FunctionCommandTest, AShownResultIsClearedFirst) {
    box.setPlainText(QStringLiteral("42"));
    box.setFreshInput(true);
    choose("sqrt");
    whenModal<CFuncInputDlg>([](CFuncInputDlg* dialog) {
        QTest::keyClicks(dialog->argumentBox(), QStringLiteral("9"));
        QTest::keyClick(dialog->argumentBox(), Qt::Key_Enter);
    });
    EXPECT_EQ(run(), QStringLiteral("sqrt(9)"));
    EXPECT_EQ(box.toPlainText(), QStringLiteral("sqrt(9)"));
    EXPECT_FALSE(box.isFreshInput());
}

}  // namespace
}  // namespace quorvel

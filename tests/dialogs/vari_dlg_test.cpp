#include "dialogs/vari_dlg.h"

#include <gtest/gtest.h>

#include <QTest>
#include <QTextBrowser>

#include "calc/calculate.h"
#include "calc/messages.h"
#include "data/settings_bridge.h"
#include "data/sys_data_holder.h"
#include "dialog_test_support.h"
#include "dialogs/func_dlg.h"
#include "support/recording_prompter.h"
#include "tools/tool_messages.h"
#include "ui/float_edit.h"

namespace quorvel {
namespace {

using testing::RecordingPrompter;
using testing::TestDataFolder;

std::string fileBytes(const TestDataFolder& folder) {
    return folder.bytes(std::string(kSysDataFileName));
}

void retype(QLineEdit* box, const QString& text) {
    box->selectAll();
    QTest::keyClick(box, Qt::Key_Backspace);
    QTest::keyClicks(box, text);
}

TEST(CVariDlg, ShowsTheFileValuesAndIsReachedByKeyboard) {
    TestDataFolder folder;
    SysDataHolder other(folder.path());
    other.data().paramW = "-4.5";
    ASSERT_TRUE(other.Store().stored);

    SysDataHolder holder(folder.path());
    RecordingPrompter prompter;
    CVariDlg dialog(holder, prompter);
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    EXPECT_EQ(dialog.size(), QSize(310, 240));
    EXPECT_EQ(dialog.box(3)->text(), QStringLiteral("-4.5"));
    EXPECT_EQ(dialog.box(0)->text(), QStringLiteral("1"));
    EXPECT_EQ(dialog.okButton()->geometry(), QRect(55, 193, 65, 25));
    EXPECT_EQ(dialog.cancelButton()->geometry(), QRect(130, 193, 65, 25));
    EXPECT_EQ(dialog.helpButton()->geometry(), QRect(205, 193, 65, 25));
    EXPECT_EQ(QApplication::focusWidget(), dialog.box(0));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), dialog.box(1));
    testing::expectAccessibleNames(&dialog);
    EXPECT_TRUE(prompter.messages.empty());
}

TEST(CVariDlg, BoxesRefuseLettersAndALateMinus) {
    struct Case {
        const char* typed;
        const char* shown;
    };
    constexpr Case kCases[] = {
        {"abc2.5", "2.5"}, {"1-2", "12"}, {"-3.1.4", "-3.14"}, {"--7", "-7"}, {"1e5", "15"},
    };
    TestDataFolder folder;
    SysDataHolder holder(folder.path());
    RecordingPrompter prompter;
    CVariDlg dialog(holder, prompter);
    dialog.show();
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.typed);
        retype(dialog.box(2), QString::fromLatin1(c.typed));
        EXPECT_EQ(dialog.box(2)->text(), QString::fromLatin1(c.shown));
    }
}

TEST(CVariDlg, OkStoresTheParametersForTheNextRun) {
    TestDataFolder folder;
    SysDataHolder holder(folder.path());
    RecordingPrompter prompter;
    CVariDlg dialog(holder, prompter);
    dialog.show();
    retype(dialog.box(0), QStringLiteral("2.5"));
    retype(dialog.box(4), QStringLiteral("3.14"));
    QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(prompter.messages.empty()) << prompter.only();

    SysDataHolder restarted(folder.path());
    ASSERT_EQ(restarted.Load().outcome, LoadOutcome::Read);
    restarted.data().decimalPlaces = 5;
    const CalcSettings settings = ToCalcSettings(restarted.data()).settings;
    EXPECT_EQ(CalculateExpression("2*F", {"0", "0", "0", "0", "0"}, settings).result, "5");
    EXPECT_EQ(CalculateExpression("pi*1", {"0", "0", "0", "0", "0"}, settings).result, "3.14");
}

TEST(CVariDlg, CancelLeavesTheFileUnchanged) {
    TestDataFolder folder;
    SysDataHolder first(folder.path());
    ASSERT_TRUE(first.Store().stored);
    const std::string before = fileBytes(folder);

    SysDataHolder holder(folder.path());
    RecordingPrompter prompter;
    CVariDlg dialog(holder, prompter);
    dialog.show();
    retype(dialog.box(1), QStringLiteral("9"));
    QTest::mouseClick(dialog.cancelButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(fileBytes(folder), before);
    EXPECT_EQ(holder.data().paramK, "1");
}

TEST(CVariDlg, ABoxWithoutANumberKeepsTheDialogOpen) {
    TestDataFolder folder;
    SysDataHolder first(folder.path());
    ASSERT_TRUE(first.Store().stored);
    const std::string before = fileBytes(folder);

    SysDataHolder holder(folder.path());
    RecordingPrompter prompter;
    CVariDlg dialog(holder, prompter);
    dialog.show();
    retype(dialog.box(3), QStringLiteral("-"));
    QTest::keyClick(dialog.box(3), Qt::Key_Return);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(prompter.only(),
              std::string(msg::kTitleMessage) + ": " + msg::parameterNotNumber("W"));
    EXPECT_EQ(dialog.focusWidget(), dialog.box(3));
    EXPECT_EQ(fileBytes(folder), before);
}

}  // namespace
}  // namespace quorvel

namespace quorvel {
namespace {

// The page the shared help window shows, and its text.
QTextBrowser* helpBrowser() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* browser = window->findChild<QTextBrowser*>(); browser && window->isVisible()) {
            return browser;
        }
    }
    return nullptr;
}

TEST(HelpButtons, OpenTheirManualPages) {
    TestDataFolder folder;
    SysDataHolder holder(folder.path());
    RecordingPrompter prompter;
    CVariDlg parameters(holder, prompter);
    CFuncDlg palette;
    struct Case {
        HoverButton* button;
        const char* page;
        const char* heading;
    };
    const Case kCases[] = {
        {parameters.helpButton(), "qrc:/help/parameters.html", "Parameters"},
        {palette.helpButton(), "qrc:/help/functions.html", "Functions"},
    };
    parameters.show();
    palette.show();
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.page);
        QTest::mouseClick(c.button, Qt::LeftButton);
        QTextBrowser* browser = helpBrowser();
        ASSERT_NE(browser, nullptr);
        EXPECT_EQ(browser->source().toString(), QString::fromLatin1(c.page));
        EXPECT_TRUE(browser->toPlainText().startsWith(QString::fromLatin1(c.heading)))
            << browser->toPlainText().left(40).toStdString();
    }
    helpBrowser()->window()->close();
}

}  // namespace
}  // namespace quorvel

#include "ui/qt_prompter.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>

#include "calc/messages.h"
#include "ui/input_msg_dlg.h"

namespace quorvel {
namespace {

struct BoxCase {
    MessageIcon icon;
    std::string_view title;
    QMessageBox::Icon shown;
};

const BoxCase kBoxes[] = {
    {MessageIcon::Information, msg::kTitleMessage, QMessageBox::Information},
    {MessageIcon::Exclamation, msg::kTitleWarning, QMessageBox::Warning},
    {MessageIcon::Question, msg::kTitleQuorvel, QMessageBox::Question},
};

TEST(QtPrompter, MessageBoxesCarryTitleTextAndIcon) {
    QtPrompter prompter;
    for (const BoxCase& c : kBoxes) {
        SCOPED_TRACE(std::string(c.title));
        auto box = prompter.makeMessageBox("Sorry,the input is empty.", c.title, c.icon);
        EXPECT_EQ(box->windowTitle().toStdString(), c.title);
        EXPECT_EQ(box->text(), QStringLiteral("Sorry,the input is empty."));
        EXPECT_EQ(box->icon(), c.shown);
        EXPECT_EQ(box->standardButtons(), QMessageBox::Ok);
    }
}

TEST(QtPrompter, QuestionsOfferOkAndCancel) {
    QtPrompter prompter;
    auto box = prompter.makeQuestion("Would you exit Quorvel?", msg::kTitleMessage);
    EXPECT_EQ(box->standardButtons(), QMessageBox::Ok | QMessageBox::Cancel);
    EXPECT_EQ(box->icon(), QMessageBox::Question);
    EXPECT_EQ(box->escapeButton(), box->button(QMessageBox::Cancel));
    EXPECT_EQ(box->windowTitle(), QStringLiteral("Quorvel Message"));
}

TEST(QtPrompter, InputMessagesOpenTheInputMessageDialog) {
    QWidget parent;
    QtPrompter prompter(&parent);
    auto dialog =
        prompter.makeInputMessage("The char [position:1] just after ( cannot be acceptted",
                                  "Please input as the following:", "(*2");
    EXPECT_EQ(dialog->parentWidget(), &parent);
    EXPECT_EQ(dialog->messageBox()->toPlainText(),
              QStringLiteral("The char [position:1] just after ( cannot be acceptted"));
    EXPECT_EQ(dialog->adviceBox()->toPlainText(), QStringLiteral("Please input as the following:"));
    EXPECT_EQ(dialog->expressionBox()->text(), QStringLiteral("(*2"));
}

TEST(QtPrompter, TextsAreReadAsUtf8) {
    QtPrompter prompter;
    auto box = prompter.makeMessageBox("caf\xc3\xa9", "Quorvel", MessageIcon::Information);
    EXPECT_EQ(box->text(), QString::fromUtf8("caf\xc3\xa9"));
}

}  // namespace
}  // namespace quorvel

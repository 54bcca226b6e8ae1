#include "ui/qt_prompter.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <functional>

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

TEST(QtPrompter, InputMessagesMarkTheGivenPosition) {
    QtPrompter prompter;
    auto dialog = prompter.makeInputMessage(
        "The char [position:2] just before operator * "
        "cannot be acceptted",
        "", "2+*3", 2);
    EXPECT_EQ(dialog->expressionBox()->selectedText(), QStringLiteral("+"));
}

// A box open while its parent is destroyed goes with the parent, and only once.
TEST(QtPrompter, ParentDestroyedWhileABoxIsOpen) {
    struct Case {
        const char* name;
        std::function<bool(QtPrompter&)> open;  // the answer, for the question
    };
    const Case kCases[] = {
        {"message",
         [](QtPrompter& p) {
             p.showMessage("Sorry,the denominator cannot be zero.", msg::kTitleWarning,
                           MessageIcon::Exclamation);
             return false;
         }},
        {"question", [](QtPrompter& p) { return p.askOkCancel("Exit?", msg::kTitleMessage); }},
        {"input message",
         [](QtPrompter& p) {
             p.showInputMessage("The char [position:1] just after ( cannot be acceptted", "", "(*",
                                1);
             return false;
         }},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        QPointer<QWidget> parent = new QWidget;
        parent->show();
        QtPrompter prompter(parent);
        QPointer<QWidget> opened;
        bool sawBox = false;
        QTimer::singleShot(0, [&] {
            opened = QApplication::activeModalWidget();
            sawBox = opened && opened->parentWidget() == parent;
            delete parent.data();
        });
        EXPECT_FALSE(c.open(prompter));
        EXPECT_TRUE(sawBox);
        EXPECT_TRUE(parent.isNull());
        EXPECT_TRUE(opened.isNull());
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    }
}

TEST(QtPrompter, BoxWithoutParentAnswersAndGoes) {
    QtPrompter prompter;
    QPointer<QMessageBox> opened;
    bool sawBox = false;
    QTimer::singleShot(0, [&] {
        opened = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        sawBox = !opened.isNull();
        if (opened) opened->button(QMessageBox::Ok)->click();
    });
    EXPECT_TRUE(prompter.askOkCancel("Exit?", msg::kTitleMessage));
    EXPECT_TRUE(sawBox);
    EXPECT_TRUE(opened.isNull());  // deleted once answered
}

TEST(QtPrompter, TextsAreReadAsUtf8) {
    QtPrompter prompter;
    auto box = prompter.makeMessageBox("caf\xc3\xa9", "Quorvel", MessageIcon::Information);
    EXPECT_EQ(box->text(), QString::fromUtf8("caf\xc3\xa9"));
}

}  // namespace
}  // namespace quorvel

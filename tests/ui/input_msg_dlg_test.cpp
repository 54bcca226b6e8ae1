#include "ui/input_msg_dlg.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

#include "ui/hover_button.h"

namespace quorvel {
namespace {

const QString kMessage =
    QStringLiteral("The char [position:2] just before the string -- sin cannot be acceptted");
const QString kAdvice = QStringLiteral("Please delete the operator ^");

TEST(CInputMsgDlg, ShowsTheThreeTextsReadOnly) {
    CInputMsgDlg dialog;
    dialog.setTexts(kMessage, kAdvice, QStringLiteral("2.sin(30)"), 2);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    EXPECT_EQ(dialog.size(), QSize(510, 300));
    EXPECT_EQ(dialog.messageBox()->toPlainText(), kMessage);
    EXPECT_EQ(dialog.adviceBox()->toPlainText(), kAdvice);
    EXPECT_EQ(dialog.expressionBox()->text(), QStringLiteral("2.sin(30)"));
    EXPECT_TRUE(dialog.messageBox()->isReadOnly());
    EXPECT_TRUE(dialog.adviceBox()->isReadOnly());
    EXPECT_TRUE(dialog.expressionBox()->isReadOnly());
    EXPECT_EQ(dialog.closeButton()->geometry(), QRect(238, 244, 65, 25));
    // The offending character, counted from 1, is marked.
    EXPECT_EQ(dialog.expressionBox()->selectedText(), QStringLiteral("."));
    for (QLabel* label : dialog.findChildren<QLabel*>()) {
        EXPECT_EQ(label->palette().color(QPalette::Window), QColor(Qt::white));
    }
}

TEST(CInputMsgDlg, OpensWithAnEmptyAdvice) {
    CInputMsgDlg dialog;
    dialog.setTexts(kMessage, QString(), QStringLiteral("1+"));
    dialog.show();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(dialog.adviceBox()->toPlainText().isEmpty());
}

TEST(CInputMsgDlg, LongExpressionScrollsInsideItsBox) {
    CInputMsgDlg dialog;
    const QString expression = QStringLiteral("1+").repeated(400) + QStringLiteral("1");
    dialog.setTexts(QStringLiteral("The char [position:801] just before = cannot be acceptted"),
                    kAdvice, expression, 801);
    dialog.show();
    EXPECT_EQ(dialog.size(), QSize(510, 300));
    EXPECT_LE(dialog.expressionBox()->geometry().right(), 510);
    EXPECT_EQ(dialog.expressionBox()->text(), expression);
    EXPECT_EQ(dialog.expressionBox()->selectionStart(), 800);
}

// The position given marks the character; the message text is never parsed for one.
TEST(CInputMsgDlg, MarksTheGivenPositionOnly) {
    struct Case {
        const char* message;
        int position;
        const char* marked;  // "" when nothing is marked
    };
    constexpr Case kCases[] = {
        {"The char [position:2] just after ( cannot be acceptted", 2, "*"},
        {"The function name sin must be followed by (", 1, "("},
        {"The char [position:2] just after ( cannot be acceptted", -1, ""},
        {"The char [position:1] just after ( cannot be acceptted", 0, ""},
        {"The char [position:1] just after ( cannot be acceptted", 3, ""},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.message);
        CInputMsgDlg dialog;
        dialog.setTexts(QString::fromLatin1(c.message), kAdvice, QStringLiteral("(*"), c.position);
        EXPECT_EQ(dialog.expressionBox()->selectedText(), QString::fromLatin1(c.marked));
    }
}

TEST(CInputMsgDlg, CloseAndEscapeEndTheDialog) {
    CInputMsgDlg dialog;
    dialog.show();
    QTest::mouseClick(dialog.closeButton(), Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);

    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
}

}  // namespace
}  // namespace quorvel

#include "dialogs/resize_dlg.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QTest>

#include "ui/hover_button.h"

namespace quorvel {
namespace {

TEST(CResizeDlg, ShowsTheMessageForTheChosenStyle) {
    struct Case {
        int code;
        const char* style;
    };
    const Case cases[] = {{1, "standard"}, {2, "cartoon"}, {3, "mini"}, {4, "detail"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        CResizeDlg dialog(c.code);
        const QString style = QString::fromLatin1(c.style);
        EXPECT_EQ(dialog.message(), QStringLiteral("You have select the ") + style +
                                        QStringLiteral(" style.Please exit the calculator and "
                                                       "restart it, then you could use the ") +
                                        style + QStringLiteral(" style.Thank you.\r\n"));
    }
}

TEST(CResizeDlg, CodeThreeLaidOutOnWhite) {
    CResizeDlg dialog(3);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    EXPECT_EQ(dialog.size(), QSize(510, 310));
    EXPECT_EQ(dialog.message(),
              QStringLiteral("You have select the mini style.Please exit the calculator and "
                             "restart it, then you could use the mini style.Thank you.\r\n"));
    QLabel* text = dialog.messageControl();
    EXPECT_EQ(text, dialog.findChild<QLabel*>(QStringLiteral("message")));
    EXPECT_EQ(text->palette().color(QPalette::Window), QColor(Qt::white));
    EXPECT_TRUE(text->autoFillBackground());
    EXPECT_TRUE(QRect(0, 0, 510, 250).contains(text->geometry()));
    EXPECT_EQ(dialog.okButton()->geometry(), QRect(220, 255, 65, 25));
    EXPECT_FALSE(dialog.okButton()->accessibleName().isEmpty());
    // The whole message fits: a word-wrapped label needs no more height than it has.
    EXPECT_LE(text->heightForWidth(text->width()), text->height());
}

TEST(CResizeDlg, OkClosesByClickSpaceOrEnter) {
    enum class Way { Click, Space, Enter };
    for (Way way : {Way::Click, Way::Space, Way::Enter}) {
        SCOPED_TRACE(static_cast<int>(way));
        CResizeDlg dialog(2);
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        HoverButton* ok = dialog.okButton();
        switch (way) {
            case Way::Click:
                QTest::mouseClick(ok, Qt::LeftButton);
                break;
            case Way::Space:
                QTest::keyClick(ok, Qt::Key_Space);
                break;
            case Way::Enter:
                QTest::keyClick(ok, Qt::Key_Return);
                // Enter shows the press before it clicks.
                EXPECT_TRUE(QTest::qWaitFor([&] { return !dialog.isVisible(); }, 1000));
                break;
        }
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
    }
}

}  // namespace
}  // namespace quorvel

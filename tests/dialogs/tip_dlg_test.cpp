#include "dialogs/tip_dlg.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <memory>

#include "data/sys_data_holder.h"
#include "dialog_checks.h"
#include "tools/tip_texts.h"
#include "ui/hover_button.h"

namespace quorvel {
namespace {

QString tip(int index) {
    const std::string_view text = TipTexts()[static_cast<std::size_t>(index)];
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The window as the calculator opens it: busy flag set, on a stored tip position.
struct TipWindow {
    explicit TipWindow(int position, int tipsAtStart = 1)
        : holder(std::filesystem::path("/nonexistent-quorvel-tip-dialog")) {
        holder.data().tipPosition = position;
        holder.data().tipsAtStart = tipsAtStart;
        holder.data().tipWindowOpen = 1;
        dialog = std::make_unique<CTipDlg>(holder);
        dialog->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
    }
    SysDataHolder holder;
    std::unique_ptr<CTipDlg> dialog;
};

TEST(CTipDlg, LaidOutOnItsSkinWithThePartsTooltips) {
    TipWindow w(0);
    CTipDlg& d = *w.dialog;
    EXPECT_EQ(d.size(), QSize(430, 300));
    EXPECT_FALSE(d.isModal());
    struct Case {
        HoverButton* button;
        const char* caption;
        const char* tooltip;
        int x;
    };
    const Case kCases[] = {{d.previousButton(), "Previous", "Get previous tip", 195},
                           {d.nextButton(), "Next", "Get next tip", 270},
                           {d.closeButton(), "Close", "Close this dialog", 345}};
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.caption);
        EXPECT_EQ(c.button->text(), QLatin1String(c.caption));
        EXPECT_EQ(c.button->toolTip(), QLatin1String(c.tooltip));
        EXPECT_EQ(c.button->accessibleName(), QLatin1String(c.caption));
        EXPECT_EQ(c.button->geometry(), QRect(c.x, 260, 65, 25));
        EXPECT_NE(c.button->focusPolicy() & Qt::TabFocus, 0);
    }
    const QFont font = d.tipLabel()->font();
    EXPECT_EQ(font.pixelSize(), 16);
    EXPECT_EQ(font.styleHint(), QFont::SansSerif);
    // The longest tip fits its label at that size, and nothing overlaps the buttons.
    int longest = 0;
    for (int i = 0; i < kTipCount; ++i) {
        if (tip(i).size() > tip(longest).size()) longest = i;
    }
    QLabel probe(tip(longest));
    probe.setFont(font);
    probe.setWordWrap(true);
    EXPECT_LE(probe.heightForWidth(d.tipLabel()->width()), d.tipLabel()->height());
    EXPECT_LT(d.tipLabel()->geometry().bottom(), 260);
    EXPECT_LT(d.showAtStartBox()->geometry().right(), 195);
    EXPECT_TRUE(testing::unnamedControls(d).isEmpty())
        << testing::unnamedControls(d).join(", ").toStdString();
}

TEST(CTipDlg, PreviousAndNextWrapByClickSpaceAndEnter) {
    struct Case {
        int opened;
        const char* button;  // p previous, n next
        int shown;
    };
    const Case kCases[] = {{0, "p", 29}, {29, "n", 0}, {3, "nnp", 4}, {1, "pp", 29}};
    for (const Case& c : kCases) {
        SCOPED_TRACE(std::to_string(c.opened) + c.button);
        TipWindow w(c.opened);
        EXPECT_EQ(w.dialog->tipLabel()->text(), tip(c.opened));
        int press = 0;
        for (const char* b = c.button; *b; ++b, ++press) {
            HoverButton* button = *b == 'n' ? w.dialog->nextButton() : w.dialog->previousButton();
            // Mouse, Space and Enter in turn: each press moves one tip.
            if (press % 3 == 0) {
                QTest::mouseClick(button, Qt::LeftButton);
            } else {
                button->setFocus();
                const int before = w.dialog->model().index();
                QTest::keyClick(button, press % 3 == 1 ? Qt::Key_Space : Qt::Key_Return);
                // Enter shows the press before it clicks.
                EXPECT_TRUE(
                    QTest::qWaitFor([&] { return w.dialog->model().index() != before; }, 1000));
            }
        }
        EXPECT_EQ(w.dialog->model().index(), c.shown);
        EXPECT_EQ(w.dialog->tipLabel()->text(), tip(c.shown));
        EXPECT_EQ(w.dialog->counterLabel()->text(),
                  QStringLiteral("Tip %1 of 30").arg(c.shown + 1));
        EXPECT_EQ(w.holder.data().tipWindowOpen, 1);
    }
}

TEST(CTipDlg, EveryWayOfClosingStoresTheFieldsOnce) {
    enum class Way { CloseButton, Escape, WindowClose };
    for (Way way : {Way::CloseButton, Way::Escape, Way::WindowClose}) {
        SCOPED_TRACE(static_cast<int>(way));
        TipWindow w(4);
        QSignalSpy closed(w.dialog.get(), &CTipDlg::tipsClosed);
        QTest::mouseClick(w.dialog->nextButton(), Qt::LeftButton);  // on tip 5 now
        QTest::mouseClick(w.dialog->showAtStartBox(), Qt::LeftButton);
        ASSERT_FALSE(w.dialog->showAtStartBox()->isChecked());
        switch (way) {
            case Way::CloseButton:
                QTest::mouseClick(w.dialog->closeButton(), Qt::LeftButton);
                break;
            case Way::Escape:
                QTest::keyClick(w.dialog.get(), Qt::Key_Escape);
                break;
            case Way::WindowClose:
                w.dialog->close();
                break;
        }
        EXPECT_FALSE(w.dialog->isVisible());
        EXPECT_EQ(closed.count(), 1);
        EXPECT_EQ(w.holder.data().tipPosition, 6);
        EXPECT_EQ(w.holder.data().tipsAtStart, 0);
        EXPECT_EQ(w.holder.data().tipWindowOpen, 0);
        w.dialog->close();
        EXPECT_EQ(closed.count(), 1);
    }
}

TEST(CTipDlg, TabVisitsTheBoxAndTheButtonsInOrder) {
    TipWindow w(0, 0);
    CTipDlg& d = *w.dialog;
    EXPECT_FALSE(d.showAtStartBox()->isChecked());
    d.activateWindow();
    d.closeButton()->setFocus();
    const QWidget* expected[] = {d.showAtStartBox(), d.previousButton(), d.nextButton(),
                                 d.closeButton()};
    for (const QWidget* w2 : expected) {
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &d,
                        Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), w2);
    }
    // Space on the focused check box toggles it.
    d.showAtStartBox()->setFocus();
    QTest::keyClick(d.showAtStartBox(), Qt::Key_Space);
    EXPECT_TRUE(d.showAtStartBox()->isChecked());
    QTest::mouseClick(d.closeButton(), Qt::LeftButton);
    EXPECT_EQ(w.holder.data().tipsAtStart, 1);
    EXPECT_EQ(w.holder.data().tipPosition, 1);
}

}  // namespace
}  // namespace quorvel

#include "ui/banner_menu.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QFontMetrics>

namespace quorvel {
namespace {

TEST(BannerMenu, UsesTheItemAndBannerFonts) {
    BannerMenu menu(QStringLiteral("Quorvel"));
    EXPECT_EQ(menu.itemFont().pixelSize(), 12);
    EXPECT_EQ(menu.itemFont().weight(), QFont::Normal);
    EXPECT_EQ(menu.bannerFont().pixelSize(), 15);
    EXPECT_EQ(menu.bannerFont().family(), QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(menu.bannerText(), QStringLiteral("Quorvel"));
}

TEST(BannerMenu, LaysItemsOutBesideTheBanner) {
    BannerMenu menu(QStringLiteral("Quorvel"));
    const char* texts[] = {"Standard style", "Cartoon style", "Mini style"};
    for (const char* text : texts) menu.addAction(QString::fromLatin1(text));
    QAction* separator = menu.addSeparator();
    QAction* exit = menu.addAction(QStringLiteral("Exit"));

    const QFontMetrics metrics(menu.itemFont());
    int expectedTotal = BannerMenu::kSeparatorHeight;
    for (QAction* action : menu.actions()) {
        if (action->isSeparator()) continue;
        SCOPED_TRACE(action->text().toStdString());
        const QSize size = menu.itemSize(action->text());
        EXPECT_EQ(size.height(), metrics.height() + 10);
        // Text widths are fractional; the layout rounds them up.
        EXPECT_NEAR(size.width(),
                    menu.bannerWidth() + metrics.horizontalAdvance(action->text()) + 10, 1);
        EXPECT_EQ(menu.actionGeometry(action).height(), size.height());
        EXPECT_EQ(menu.actionGeometry(action).left(), 0);
        expectedTotal += size.height();
    }
    EXPECT_EQ(menu.actionGeometry(separator).height(), BannerMenu::kSeparatorHeight);
    EXPECT_EQ(menu.itemsHeight(), expectedTotal);
    EXPECT_EQ(menu.actionGeometry(exit).bottom() + 1, expectedTotal);
    EXPECT_GE(menu.sizeHint().width(), menu.itemSize(QStringLiteral("Standard style")).width());
}

// An item with a key shows it at its right; the menu is wide enough for both.
TEST(BannerMenu, MakesRoomForAnItemsShortcut) {
    BannerMenu menu(QStringLiteral("Quorvel"));
    QAction* log = menu.addAction(QStringLiteral("Log"));
    log->setShortcut(QKeySequence(QStringLiteral("Ctrl+L")));
    const QFontMetrics metrics(menu.itemFont());
    const QSize plain = menu.itemSize(QStringLiteral("Log"));
    const QSize withKeys = menu.itemSize(QStringLiteral("Log\tCtrl+L"));
    EXPECT_EQ(withKeys.height(), plain.height());
    EXPECT_GE(withKeys.width(),
              plain.width() + metrics.horizontalAdvance(QStringLiteral("Ctrl+L")));
    EXPECT_GE(menu.sizeHint().width(), withKeys.width());
}

}  // namespace
}  // namespace quorvel

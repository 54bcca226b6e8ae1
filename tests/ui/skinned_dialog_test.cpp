#include "ui/skinned_dialog.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QTest>

#include "picture_files.h"

namespace quorvel {
namespace {

const QColor kKey = QColor::fromRgb(skins::kKeyColour);
const QColor kBody(40, 90, 160);

QImage bodyWithKeys(QSize size, std::initializer_list<QPoint> keys) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(kBody);
    for (QPoint p : keys) image.setPixelColor(p, kKey);
    return image;
}

TEST(SkinnedDialogOutline, RemovesEveryKeyPixelHolesIncluded) {
    const QImage skin = bodyWithKeys({10, 8}, {{0, 0}, {9, 0}, {4, 3}, {5, 3}, {9, 7}});
    const QRegion outline = SkinnedDialog::outlineFromSkin(skin, skin.size());
    for (int y = 0; y < 8; ++y) {
        for (int x = 0; x < 10; ++x) {
            SCOPED_TRACE(testing::Message() << x << "," << y);
            EXPECT_EQ(outline.contains(QPoint(x, y)), skin.pixelColor(x, y) != kKey);
        }
    }
}

TEST(SkinnedDialogOutline, SkinWithoutKeyPixelsGivesARectangle) {
    const QImage skin = bodyWithKeys({10, 8}, {});
    EXPECT_EQ(SkinnedDialog::outlineFromSkin(skin, {10, 8}), QRegion(0, 0, 10, 8));
}

TEST(SkinnedDialogOutline, NearKeyColoursStay) {
    QImage skin = bodyWithKeys({3, 1}, {});
    skin.setPixelColor(0, 0, QColor(219, 215, 218));
    skin.setPixelColor(1, 0, QColor(218, 215, 217));
    skin.setPixelColor(2, 0, kKey);
    EXPECT_EQ(SkinnedDialog::outlineFromSkin(skin, {3, 1}), QRegion(0, 0, 2, 1));
}

TEST(SkinnedDialogOutline, WindowBeyondTheSkinKeepsTheRest) {
    const QImage skin = bodyWithKeys({4, 4}, {{3, 3}});
    const QRegion outline = SkinnedDialog::outlineFromSkin(skin, {6, 5});
    EXPECT_EQ(outline, QRegion(0, 0, 6, 5).subtracted(QRegion(3, 3, 1, 1)));
}

class ShownDialog : public ::testing::Test {
protected:
    test::PictureFiles files;
};

TEST_F(ShownDialog, CutsItsOutlineOnceWhenShown) {
    QImage skin = bodyWithKeys({60, 40}, {{0, 0}, {1, 0}, {30, 20}});
    skin.setPixelColor(59, 39, QColor(250, 200, 10));
    SkinnedDialog dialog(files.save("skin", skin));
    dialog.setFixedSize(60, 40);
    EXPECT_FALSE(dialog.isOutlineCut());
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    EXPECT_TRUE(dialog.isOutlineCut());
    EXPECT_TRUE(dialog.windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(
        dialog.mask(),
        QRegion(0, 0, 60, 40).subtracted(QRegion(0, 0, 2, 1)).subtracted(QRegion(30, 20, 1, 1)));

    // The skin is the background, unscaled from the top left.
    const QImage shown = dialog.grab().toImage();
    EXPECT_EQ(shown.pixelColor(10, 10), kBody);
    EXPECT_EQ(shown.pixelColor(59, 39), QColor(250, 200, 10));
}

TEST_F(ShownDialog, ColoursStaticTexts) {
    SkinnedDialog tool(files.solid("plain", {50, 50}, kBody));
    auto* label = new QLabel(QStringLiteral("Repeat"), &tool);
    SkinnedDialog message(files.solid("plain2", {50, 50}, kBody));
    message.setStaticBackground(Qt::white);
    auto* messageLabel = new QLabel(QStringLiteral("Done"), &message);
    tool.show();
    message.show();
    EXPECT_EQ(label->palette().color(QPalette::Window), QColor(245, 243, 233));
    EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(Qt::black));
    EXPECT_TRUE(label->autoFillBackground());
    EXPECT_EQ(messageLabel->palette().color(QPalette::Window), QColor(Qt::white));
}

TEST_F(ShownDialog, DragsByTheBackground) {
    SkinnedDialog dialog(files.solid("drag", {80, 60}, kBody));
    dialog.setFixedSize(80, 60);
    dialog.move(100, 100);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    const QPoint start = dialog.pos();
    QTest::mousePress(&dialog, Qt::LeftButton, {}, QPoint(10, 10));
    QTest::mouseMove(&dialog, QPoint(30, 25));
    QTest::mouseRelease(&dialog, Qt::LeftButton, {}, QPoint(30, 25));
    EXPECT_EQ(dialog.pos() - start, QPoint(20, 15));
}

}  // namespace
}  // namespace quorvel

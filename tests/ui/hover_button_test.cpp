#include "ui/hover_button.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QWidget>

#include "picture_files.h"
#include "ui/latching_button.h"

namespace quorvel {
namespace {

const QColor kNormal(200, 0, 0);
const QColor kPressed(0, 160, 0);
const QColor kHover(0, 0, 220);

class PictureButtons : public ::testing::Test {
protected:
    void SetUp() override {
        window.resize(200, 60);
        first = new HoverButton(&window);
        second = new HoverButton(&window);
        latching = new LatchingButton(&window);
        int x = 10;
        for (HoverButton* b : {first, second, static_cast<HoverButton*>(latching)}) {
            b->setPictures(files.solid("n", {40, 30}, kNormal),
                           files.solid("p", {40, 30}, kPressed),
                           files.solid("h", {40, 30}, kHover));
            b->setGeometry(x, 10, 40, 30);
            x += 60;
            QObject::connect(b, &HoverButton::mouseEntered, [this, b] { log += name(b) + " in "; });
            QObject::connect(b, &HoverButton::mouseLeft, [this, b] { log += name(b) + " out "; });
        }
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    std::string name(HoverButton* b) const {
        return b == first ? "first" : b == second ? "second" : "latching";
    }

    // Inside the edge, where a focused button draws its focus frame.
    static QColor shown(HoverButton* b) { return b->grab().toImage().pixelColor(8, 8); }

    test::PictureFiles files;
    QWidget window;
    HoverButton* first = nullptr;
    HoverButton* second = nullptr;
    LatchingButton* latching = nullptr;
    std::string log;
};

TEST_F(PictureButtons, EnterAndLeaveAreSignalled) {
    QTest::mouseMove(&window, QPoint(5, 5));
    QTest::mouseMove(first, QPoint(20, 15));
    EXPECT_TRUE(first->isHovering());
    QTest::mouseMove(second, QPoint(20, 15));
    EXPECT_FALSE(first->isHovering());
    EXPECT_TRUE(second->isHovering());
    QTest::mouseMove(&window, QPoint(195, 55));
    EXPECT_EQ(log, "first in first out second in second out ");
}

TEST_F(PictureButtons, DrawsThePictureOfItsState) {
    EXPECT_EQ(first->face(), HoverButton::Face::Normal);
    EXPECT_EQ(shown(first), kNormal);

    first->setHeldDown(true);
    EXPECT_EQ(first->face(), HoverButton::Face::Pressed);
    EXPECT_EQ(shown(first), kPressed);

    QTest::mouseMove(first, QPoint(20, 15));
    EXPECT_EQ(first->face(), HoverButton::Face::Hover);
    EXPECT_EQ(shown(first), kHover);

    first->setHeldDown(false);
    QTest::mousePress(first, Qt::LeftButton, {}, QPoint(20, 15));
    EXPECT_FALSE(first->isHovering());
    EXPECT_EQ(shown(first), kPressed);
    QTest::mouseRelease(first, Qt::LeftButton, {}, QPoint(20, 15));
    EXPECT_EQ(first->face(), HoverButton::Face::Normal);
}

TEST_F(PictureButtons, LatchingButtonStaysPressedUntilReleased) {
    int clicks = 0;
    QObject::connect(latching, &QAbstractButton::clicked, [&] { ++clicks; });
    QTest::mouseClick(latching, Qt::LeftButton, {}, QPoint(20, 15));
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(latching->isLatched());
    EXPECT_EQ(shown(latching), kPressed);

    QTest::mouseMove(latching, QPoint(21, 16));  // hovering a latched button keeps it pressed
    EXPECT_EQ(shown(latching), kPressed);
    QTest::mouseMove(&window, QPoint(5, 5));
    EXPECT_EQ(shown(latching), kPressed);

    latching->release();
    EXPECT_FALSE(latching->isLatched());
    EXPECT_EQ(shown(latching), kNormal);

    latching->press();
    EXPECT_EQ(shown(latching), kPressed);
    latching->release();
    latching->setLatched(true);
    EXPECT_EQ(shown(latching), kPressed);
}

TEST_F(PictureButtons, TabFocusesSpaceAndEnterActivate) {
    auto* before = new QLineEdit(&window);
    before->setGeometry(0, 45, 50, 14);
    before->show();
    before->setFocus();
    window.activateWindow();
    int clicks = 0;
    QObject::connect(first, &QAbstractButton::clicked, [&] { ++clicks; });

    QTest::mouseClick(first, Qt::LeftButton, {}, QPoint(20, 15));
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(before->hasFocus()) << "a click took the focus from the typing";

    QWidget* reached = nullptr;
    for (int i = 0; i < 4 && reached != first; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        reached = QApplication::focusWidget();
    }
    ASSERT_EQ(reached, first);
    // The focus frame sits along the edge; the middle keeps the picture.
    EXPECT_NE(first->grab().toImage().pixelColor(1, 15), kNormal);
    EXPECT_EQ(first->grab().toImage().pixelColor(20, 3), kNormal);
    EXPECT_EQ(second->grab().toImage().pixelColor(1, 15), kNormal);

    const struct {
        Qt::Key key;
        const char* name;
    } kKeys[] = {{Qt::Key_Space, "space"}, {Qt::Key_Return, "return"}, {Qt::Key_Enter, "enter"}};
    for (const auto& k : kKeys) {
        SCOPED_TRACE(k.name);
        const int was = clicks;
        QTest::keyClick(first, k.key);
        QTRY_COMPARE_WITH_TIMEOUT(clicks, was + 1, 1000);
    }
}

TEST(HandCursorButton, ShowsTheHandCursor) {
    HandCursorButton button(QStringLiteral("Help"));
    EXPECT_EQ(button.cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(button.text(), QStringLiteral("Help"));
}

TEST(HoverButton, TakesThePictureSizeAsItsSize) {
    HoverButton button;
    button.setPictures(skins::kKey);
    EXPECT_EQ(button.sizeHint(), QSize(40, 30));
    button.setPictures(skins::kButton);
    EXPECT_EQ(button.sizeHint(), QSize(65, 25));
}

}  // namespace
}  // namespace quorvel

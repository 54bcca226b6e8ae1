#include "ui/float_edit.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QTest>

namespace quorvel {
namespace {

TEST(CFloatEdit, TypedKeysKeepANumber) {
    struct Case {
        const char* keys;
        const char* text;
    };
    constexpr Case kCases[] = {
        {"12.5", "12.5"}, {"-3", "-3"},  {"1.2.3", "1.23"}, {"4-5", "45"}, {"--7", "-7"},
        {"a1b2", "12"},   {"1e3", "13"}, {".5", ".5"},      {"+8", "8"},   {" 9 ", "9"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.keys);
        CFloatEdit box;
        box.show();
        QTest::keyClicks(&box, QString::fromLatin1(c.keys));
        EXPECT_EQ(box.text().toStdString(), c.text);
    }
}

TEST(CFloatEdit, MinusOnlyInFrontAndPasteAsAWhole) {
    CFloatEdit box;
    box.show();
    QTest::keyClicks(&box, QStringLiteral("25"));
    QTest::keyClick(&box, Qt::Key_Home);
    QTest::keyClick(&box, Qt::Key_Minus);
    EXPECT_EQ(box.text(), QStringLiteral("-25"));

    QApplication::clipboard()->setText(QStringLiteral("1.5.2"));
    box.selectAll();
    box.paste();
    EXPECT_EQ(box.text(), QStringLiteral("-25"));
    QApplication::clipboard()->setText(QStringLiteral("-0.75"));
    box.selectAll();
    box.paste();
    EXPECT_EQ(box.text(), QStringLiteral("-0.75"));
}

}  // namespace
}  // namespace quorvel

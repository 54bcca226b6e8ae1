#include "ui/filter_edit.h"

#include <gtest/gtest.h>

#include <QShortcut>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

namespace quorvel {
namespace {

// Plays the owner window: inserts what the box asks for and writes down every request.
struct Owner {
    explicit Owner(CFilterEdit& box) {
        QObject::connect(&box, &CFilterEdit::insertCharacterRequested, [&box, this](QChar c) {
            log += c;
            box.insertAtCaret(QString(c));
        });
        QObject::connect(&box, &CFilterEdit::freshInputRequested, [&box, this] {
            log += "<fresh>";
            box.clear();
        });
        QObject::connect(&box, &CFilterEdit::equalRequested, [this] { log += "<equal>"; });
        QObject::connect(&box, &CFilterEdit::characterTyped,
                         [this](QChar c) { log += QStringLiteral("<speak %1>").arg(c); });
    }
    QString log;
};

struct KeyCase {
    const char* keys;
    bool fresh;        // a result is shown before the first key
    const char* text;  // the box afterwards
    const char* log;   // the requests the owner saw
};

constexpr KeyCase kKeys[] = {
    {"sin(", false, "Sin(", "Sin("},
    {"last6", false, "Last", "Last"},
    {"pi*", false, "Pi*", "Pi*"},
    {".", false, "", ""},
    {"0.5", false, "0.5", "0.5"},
    {"x", false, "X", "X"},
    {"y", false, "Y", "Y"},
    {"SIN(", false, "Sin(", "Sin("},
    {"LaSt2", false, "Last2", "Last2"},
    {"2=", false, "2", "2<equal>"},
    {"5", true, "5", "<fresh>5"},
    {"=", true, "", "<fresh>"},
    {"=+", true, "+", "<fresh>+"},
};

TEST(CFilterEdit, TypedKeysReachTheOwnerThroughTheFilter) {
    for (const KeyCase& c : kKeys) {
        SCOPED_TRACE(c.keys);
        CFilterEdit box;
        Owner owner(box);
        if (c.fresh) {
            box.setPlainText(QStringLiteral("1+2\r\n=3"));
            box.setFreshInput();
        }
        QTest::keyClicks(&box, QString::fromLatin1(c.keys));
        EXPECT_EQ(box.toPlainText().toStdString(), c.text);
        EXPECT_EQ(owner.log.toStdString(), c.log);
        EXPECT_FALSE(box.isFreshInput());
    }
}

TEST(CFilterEdit, KeypadButtonsUseTheSameEntry) {
    CFilterEdit box;
    Owner owner(box);
    for (char c : std::string_view("arctan(1)")) box.typeCharacter(QChar::fromLatin1(c));
    EXPECT_EQ(box.toPlainText(), QStringLiteral("Arctan(1)"));
}

TEST(CFilterEdit, NothingIsInsertedWithoutAnOwner) {
    CFilterEdit box;
    QSignalSpy inserts(&box, &CFilterEdit::insertCharacterRequested);
    QTest::keyClicks(&box, QStringLiteral("12"));
    EXPECT_TRUE(box.toPlainText().isEmpty());
    ASSERT_EQ(inserts.count(), 2);
    EXPECT_EQ(inserts.at(1).at(0).value<QChar>(), QLatin1Char('2'));
}

struct BackspaceCase {
    const char* start;  // set as text, caret at the end
    const char* keys;   // typed after one Backspace
    const char* text;
};

constexpr BackspaceCase kBackspaces[] = {
    {"Sin", "n(", "Sin("},  {"2*Sqrt", "(t(", "2*Sqrt("}, {"Pi", "i*2", "Pi*2"},
    {"Last1", "6", "Last"}, {"Last1", "3", "Last3"},      {"3+Ln", "n(", "3+Ln("},
    {"", "1", "1"},
};

TEST(CFilterEdit, BackspaceRebuildsTheWordBuffer) {
    for (const BackspaceCase& c : kBackspaces) {
        SCOPED_TRACE(c.start);
        CFilterEdit box;
        Owner owner(box);
        box.setPlainText(QString::fromLatin1(c.start));
        box.moveCursor(QTextCursor::End);
        QTest::keyClick(&box, Qt::Key_Backspace);
        QTest::keyClicks(&box, QString::fromLatin1(c.keys));
        EXPECT_EQ(box.toPlainText().toStdString(), c.text);
    }
}

TEST(CFilterEdit, BackspaceDeletesBeforeTheCaret) {
    CFilterEdit box;
    box.setPlainText(QStringLiteral("12+34"));
    QTextCursor cursor = box.textCursor();
    cursor.setPosition(3);
    box.setTextCursor(cursor);
    box.deleteBackwards();
    EXPECT_EQ(box.toPlainText(), QStringLiteral("1234"));
    EXPECT_EQ(box.textCursor().position(), 2);
    cursor.setPosition(0);
    box.setTextCursor(cursor);
    box.deleteBackwards();
    EXPECT_EQ(box.toPlainText(), QStringLiteral("1234"));
}

TEST(CFilterEdit, TypingOverASelectionWritesAndAsksToSpeak) {
    CFilterEdit box;
    Owner owner(box);
    box.setPlainText(QStringLiteral("2*Sin7+1"));
    QTextCursor cursor = box.textCursor();
    cursor.setPosition(5);
    cursor.setPosition(6, QTextCursor::KeepAnchor);
    box.setTextCursor(cursor);

    QTest::keyClick(&box, '.');  // "." cannot follow "n": the selection stays
    EXPECT_EQ(box.toPlainText(), QStringLiteral("2*Sin7+1"));
    EXPECT_TRUE(box.textCursor().hasSelection());

    QTest::keyClick(&box, '(');
    EXPECT_EQ(box.toPlainText(), QStringLiteral("2*Sin(+1"));
    EXPECT_EQ(box.textCursor().position(), 6);
    EXPECT_EQ(owner.log, QStringLiteral("<speak (>"));
}

TEST(CFilterEdit, EditingKeysOfTheControlAreClosed) {
    QWidget window;
    auto* box = new CFilterEdit(&window);
    int pastes = 0;
    auto* paste = new QShortcut(QKeySequence::Paste, &window);
    QObject::connect(paste, &QShortcut::activated, [&] { ++pastes; });
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    box->setFocus();
    box->setPlainText(QStringLiteral("12"));
    box->moveCursor(QTextCursor::End);

    QTest::keyClick(window.windowHandle(), Qt::Key_V, Qt::ControlModifier);
    QTest::keyClick(window.windowHandle(), Qt::Key_X, Qt::ControlModifier);
    QTest::keyClick(window.windowHandle(), Qt::Key_Delete);
    QTest::keyClick(window.windowHandle(), Qt::Key_Left);
    QTest::keyClick(window.windowHandle(), Qt::Key_Return);
    EXPECT_EQ(pastes, 1);  // the window's shortcut, not the box, gets Ctrl+V
    EXPECT_EQ(box->toPlainText(), QStringLiteral("12"));
    EXPECT_EQ(box->textCursor().position(), 1);  // arrows still move the caret
}

TEST(CFilterEdit, RequestsGoToTheExplicitOwnerElseTheWindow) {
    QWidget window;
    auto* box = new CFilterEdit(&window);
    EXPECT_FALSE(box->hasExplicitOwner());
    EXPECT_EQ(box->requestOwner(), &window);
    QObject formula;
    box->setOwner(&formula);
    EXPECT_TRUE(box->hasExplicitOwner());
    EXPECT_EQ(box->requestOwner(), &formula);
    box->setOwner(nullptr);
    EXPECT_EQ(box->requestOwner(), &window);
}

TEST(CFilterEdit, ResetTypingStateForgetsAHalfTypedName) {
    CFilterEdit box;
    Owner owner(box);
    QTest::keyClicks(&box, QStringLiteral("si"));
    box.clear();
    box.resetTypingState();
    QTest::keyClicks(&box, QStringLiteral("5"));
    EXPECT_EQ(box.toPlainText(), QStringLiteral("5"));
}

}  // namespace
}  // namespace quorvel

#include "window/main_window.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFontMetrics>
#include <QImage>
#include <QSignalSpy>
#include <QSystemTrayIcon>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <set>

#include "data/sys_data_holder.h"
#include "dialogs/tip_dlg.h"
#include "support/recording_speaker.h"
#include "ui/banner_menu.h"
#include "ui/filter_edit.h"
#include "ui/hover_button.h"

namespace quorvel {
namespace {

namespace id = window_id;
using testing::RecordingSpeaker;

// A window on a fresh data folder, shown and holding the focus.
class Calculator {
public:
    explicit Calculator(WindowStyle style)
        : holder(std::filesystem::path(dir.path().toStdString())) {
        holder.data().talkKeys = 0;  // keys stay quiet unless a test wants them
        holder.Load();
        window =
            std::make_unique<MainWindow>(style, holder, speaker, MainWindow::Options{false, false});
        window->show();
        window->activateWindow();
        QApplication::setActiveWindow(window.get());
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    CFilterEdit* input() const { return window->input(); }
    QString text() const { return input()->toPlainText(); }
    void type(const char* keys) { QTest::keyClicks(input(), QString::fromLatin1(keys)); }

    QTemporaryDir dir;
    SysDataHolder holder;
    RecordingSpeaker speaker;
    std::unique_ptr<MainWindow> window;
};

TEST(MainWindow, TypingAndEnterShowTheStepsAndRenewLast1) {
    for (WindowStyle style : windowStyles()) {
        SCOPED_TRACE(std::string(styleName(style)));
        Calculator calc(style);
        calc.type("2*(3+4)");
        EXPECT_EQ(calc.text(), QStringLiteral("2*(3+4)"));
        QTest::keyClick(calc.input(), Qt::Key_Return);
        EXPECT_EQ(calc.text(), QStringLiteral("2*(3+4)\n=2*7\n=14"));
        const QString renewed = QString::fromStdString(RecentTooltip(0, "14", true));
        EXPECT_TRUE(renewed.contains(QStringLiteral("14")));
        if (HoverButton* last1 = calc.window->button(id::kLast1)) {
            EXPECT_EQ(last1->toolTip(), renewed);
            EXPECT_EQ(last1->accessibleName(), renewed);
        }
        EXPECT_EQ(calc.window->controller().recentResults()[0], "14");
    }
}

TEST(MainWindow, Last1InsertsAtTheCaret) {
    Calculator calc(WindowStyle::Standard);
    calc.type("2*(3+4)");
    QTest::keyClick(calc.input(), Qt::Key_Return);
    calc.type("1+2");  // the first key clears the shown result
    ASSERT_EQ(calc.text(), QStringLiteral("1+2"));
    QTest::keyClick(calc.input(), Qt::Key_Left);
    QTest::mouseClick(calc.window->button(id::kLast1), Qt::LeftButton);
    EXPECT_EQ(calc.text(), QStringLiteral("1+142"));
    EXPECT_EQ(calc.input()->textCursor().position(), 4);
    EXPECT_TRUE(calc.input()->hasFocus());
}

TEST(MainWindow, KeypadButtonsGoThroughTheFilter) {
    Calculator calc(WindowStyle::Detail);
    struct Step {
        int button;
        const char* text;
    };
    // "." cannot start an expression; "s" starts a name and is shown upper-case.
    const Step kSteps[] = {{id::kPoint, ""},
                           {id::kDigit0 + 7, "7"},
                           {id::kTime, "7*"},
                           {id::kLetterA + ('s' - 'a'), "7*S"},
                           {id::kLetterA + ('i' - 'a'), "7*Si"},
                           {id::kLetterA + ('n' - 'a'), "7*Sin"},
                           {id::kOpenBracket, "7*Sin("},
                           {id::kBackspace, "7*Sin"}};
    for (const Step& s : kSteps) {
        SCOPED_TRACE(s.button);
        QTest::mouseClick(calc.window->button(s.button), Qt::LeftButton);
        EXPECT_EQ(calc.text(), QString::fromLatin1(s.text));
        EXPECT_TRUE(calc.input()->hasFocus());
    }
}

TEST(MainWindow, CopyAndPasteThroughTheClipboard) {
    struct Case {
        WindowStyle style;
        QKeySequence paste;
    };
    const Case kCases[] = {{WindowStyle::Standard, QKeySequence(Qt::CTRL | Qt::Key_V)},
                           {WindowStyle::Mini, QKeySequence(Qt::CTRL | Qt::Key_P)},
                           {WindowStyle::Mini, QKeySequence(Qt::CTRL | Qt::Key_V)}};
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.paste.toString().toStdString());
        Calculator calc(c.style);
        calc.type("12+3");
        QTest::keyClick(calc.input(), Qt::Key_Left);
        QTest::keySequence(calc.input(), QKeySequence(Qt::CTRL | Qt::Key_C));
        EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("12+3"));
        EXPECT_EQ(calc.input()->textCursor().position(), 3) << "the caret goes back";
        EXPECT_FALSE(calc.input()->textCursor().hasSelection());

        QGuiApplication::clipboard()->setText(QStringLiteral("7*8"));
        QTest::keySequence(calc.input(), c.paste);
        EXPECT_EQ(calc.text(), QStringLiteral("12+7*83"));
        EXPECT_EQ(calc.input()->textCursor().position(), 6);
    }
}

TEST(MainWindow, ToolButtonsAskTheOwnerForTheirDialog) {
    Calculator calc(WindowStyle::Detail);
    QSignalSpy asked(calc.window.get(), &MainWindow::toolRequested);
    const int kTools[] = {id::kSettings, id::kFunction, id::kParameters, id::kLog,
                          id::kExercise, id::kFormula,  id::kBatch,      id::kConverter};
    for (int tool : kTools) {
        HoverButton* b = calc.window->button(tool);
        ASSERT_NE(b, nullptr) << tool;
        EXPECT_TRUE(b->isEnabled());
        QTest::mouseClick(b, Qt::LeftButton);
        ASSERT_FALSE(asked.isEmpty()) << tool;
        EXPECT_EQ(asked.takeFirst().at(0).toInt(), tool);
    }
    EXPECT_TRUE(calc.input()->hasFocus());
}

TEST(MainWindow, BusyWindowIgnoresEveryCommand) {
    Calculator calc(WindowStyle::Detail);
    calc.type("1+1");
    calc.window->controller().setBusy(true);
    QSignalSpy asked(calc.window.get(), &MainWindow::toolRequested);
    for (int command : {id::kDigit0 + 5, id::kBackspace, id::kEqual, id::kSettings}) {
        QTest::mouseClick(calc.window->button(command), Qt::LeftButton);
    }
    QTest::mouseClick(calc.window->button(id::kStyleMenu), Qt::LeftButton);
    EXPECT_EQ(calc.text(), QStringLiteral("1+1"));
    EXPECT_TRUE(asked.isEmpty());
    EXPECT_FALSE(calc.window->styleMenu()->isVisible());
    calc.window->controller().setBusy(false);
}

TEST(MainWindow, StyleMenuRecordsTheStyleAndAsksForTheMessage) {
    struct Case {
        WindowStyle style;
        int code;
    };
    const Case kCases[] = {{WindowStyle::Detail, 3},
                           {WindowStyle::Mini, 2},
                           {WindowStyle::Cartoon, 4},
                           {WindowStyle::Standard, 4}};
    for (const Case& c : kCases) {
        SCOPED_TRACE(std::string(styleName(c.style)));
        Calculator calc(c.style);
        QSignalSpy message(calc.window.get(), &MainWindow::styleMessageRequested);
        QTest::mouseClick(calc.window->button(id::kStyleMenu), Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(calc.window->styleMenu()));
        QAction* choice = calc.window->menuAction(0, c.code);
        ASSERT_NE(choice, nullptr);
        choice->trigger();
        calc.window->styleMenu()->hide();
        ASSERT_EQ(message.count(), 1);
        EXPECT_EQ(message.at(0).at(0).toInt(), c.code);

        SysDataHolder reread(calc.holder.path().parent_path());
        reread.Load();
        EXPECT_EQ(reread.data().windowStyle, c.code);
        EXPECT_TRUE(calc.window->isVisible()) << "the running window keeps its style";
    }
}

TEST(MainWindow, ExitClosesWithoutAskingAndStores) {
    Calculator calc(WindowStyle::Detail);
    calc.type("5+");
    QTest::mouseClick(calc.window->button(id::kExit), Qt::LeftButton);
    EXPECT_FALSE(calc.window->isVisible());
    EXPECT_TRUE(std::filesystem::exists(calc.holder.path()));
}

TEST(MainWindow, CartoonMenuCarriesHelpAndExit) {
    Calculator calc(WindowStyle::Cartoon);
    EXPECT_EQ(calc.window->button(id::kHelp), nullptr);
    QAction* exit = calc.window->menuAction(id::kExit);
    ASSERT_NE(exit, nullptr);
    EXPECT_EQ(exit->text(), QStringLiteral("Exit"));
    ASSERT_NE(calc.window->menuAction(id::kHelp), nullptr);
    exit->trigger();
    EXPECT_FALSE(calc.window->isVisible());
}

TEST(MainWindow, TrayIconAndWindowTexts) {
    Calculator calc(WindowStyle::Standard);
    ASSERT_NE(calc.window->trayIcon(), nullptr);
    EXPECT_EQ(calc.window->trayIcon()->toolTip(), QStringLiteral("Quorvel "));
    EXPECT_FALSE(calc.window->trayIcon()->isVisible()) << "tests leave the tray alone";
    EXPECT_EQ(calc.window->windowTitle(), QStringLiteral("Quorvel"));
    EXPECT_EQ(calc.input()->font().family(), QStringLiteral("Arial"));
    EXPECT_EQ(calc.input()->font().pointSize(), 14);
    EXPECT_EQ(calc.window->size(), QSize(670, 150));
}

// Fails on any control a screen reader could land on without hearing what it is.
TEST(MainWindow, EveryEnabledControlHasAnAccessibleName) {
    for (WindowStyle style : windowStyles()) {
        SCOPED_TRACE(std::string(styleName(style)));
        Calculator calc(style);
        int controls = 0;
        for (QWidget* w : calc.window->findChildren<QWidget*>()) {
            const bool control =
                qobject_cast<QAbstractButton*>(w) || (w->focusPolicy() & Qt::TabFocus);
            if (!control || !w->isEnabled() || !w->isVisible()) continue;
            ++controls;
            QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
            ASSERT_NE(a, nullptr);
            EXPECT_FALSE(a->text(QAccessible::Name).trimmed().isEmpty())
                << w->metaObject()->className() << " " << w->objectName().toStdString();
        }
        EXPECT_EQ(controls, static_cast<int>(calc.window->layout().controls.size()) + 1);
        for (QAction* action : calc.window->styleMenu()->actions()) {
            if (!action->isSeparator()) {
                EXPECT_FALSE(action->text().isEmpty());
            }
        }
        QAccessibleInterface* box = QAccessible::queryAccessibleInterface(calc.input());
        EXPECT_EQ(box->text(QAccessible::Name), QStringLiteral("Expression"));
    }
}

TEST(MainWindow, TabReachesEveryButtonInLayoutOrder) {
    for (WindowStyle style : windowStyles()) {
        SCOPED_TRACE(std::string(styleName(style)));
        Calculator calc(style);
        calc.input()->setFocus();
        std::vector<int> reached;
        for (std::size_t i = 0; i < calc.window->layout().controls.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            auto* b = qobject_cast<HoverButton*>(QApplication::focusWidget());
            ASSERT_NE(b, nullptr) << "after " << i << " tabs";
            reached.push_back(b->objectName().mid(6).toInt());
        }
        std::vector<int> expected;
        for (const StyleControl& c : calc.window->layout().controls) expected.push_back(c.id);
        EXPECT_EQ(reached, expected);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), calc.input()) << "Tab wraps round to the box";
    }
}

TEST(MainWindow, FocusedButtonsActivateOnSpaceAndEnterButEnterInTheBoxIsEqual) {
    Calculator calc(WindowStyle::Standard);
    calc.type("4");
    HoverButton* plus = calc.window->button(id::kAdd);
    plus->setFocus(Qt::TabFocusReason);
    QTest::keyClick(plus, Qt::Key_Space);
    QTRY_COMPARE_WITH_TIMEOUT(calc.text(), QStringLiteral("4+"), 1000);
    HoverButton* five = calc.window->button(id::kDigit0 + 5);
    five->setFocus(Qt::TabFocusReason);
    QTest::keyClick(five, Qt::Key_Return);
    QTRY_COMPARE_WITH_TIMEOUT(calc.text(), QStringLiteral("4+5"), 1000);
    calc.input()->setFocus();
    QTest::keyClick(calc.input(), Qt::Key_Enter);
    EXPECT_EQ(calc.text(), QStringLiteral("4+5\n=9"));
}

TEST(MainWindow, CaptionsFitAndButtonsStayOffTheCutOutline) {
    for (WindowStyle style : windowStyles()) {
        SCOPED_TRACE(std::string(styleName(style)));
        Calculator calc(style);
        const QImage skin = calc.window->skin().toImage();
        const QRgb key = skins::kKeyColour;
        for (const StyleControl& entry : calc.window->layout().controls) {
            SCOPED_TRACE(entry.id);
            HoverButton* b = calc.window->button(entry.id);
            ASSERT_NE(b, nullptr);
            EXPECT_LE(QFontMetrics(b->font()).horizontalAdvance(b->text()), b->width() - 4);
            int cut = 0;
            for (int y = b->y(); y < b->y() + b->height(); ++y) {
                for (int x = b->x(); x < b->x() + b->width(); ++x) {
                    if ((skin.pixel(x, y) & 0xffffff) == (key & 0xffffff)) ++cut;
                }
            }
            EXPECT_EQ(cut, 0);
        }
    }
}

TEST(MainWindow, FirstStartShowsTipsAndIgnoresCommandsUntilTheyClose) {
    struct Case {
        bool keepShowing;
        bool tipsAtSecondStart;
    };
    for (const Case& c : {Case{true, true}, Case{false, false}}) {
        SCOPED_TRACE(c.keepShowing);
        QTemporaryDir dir;
        const std::filesystem::path folder(dir.path().toStdString());
        RecordingSpeaker speaker;
        {
            SysDataHolder holder(folder);
            holder.data().talkKeys = 0;
            MainWindow window(WindowStyle::Detail, holder, speaker,
                              MainWindow::Options{true, false});
            QSignalSpy asked(&window, &MainWindow::toolRequested);
            window.show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
            CTipDlg* tips = window.tipWindow();
            ASSERT_NE(tips, nullptr);
            ASSERT_TRUE(QTest::qWaitForWindowExposed(tips));
            EXPECT_EQ(holder.data().tipWindowOpen, 1);
            EXPECT_EQ(tips->model().index(), 0);

            QTest::mouseClick(window.button(id::kDigit0 + 7), Qt::LeftButton);
            QTest::keyClicks(window.input(), QStringLiteral("1+2"));
            QTest::mouseClick(window.button(id::kSettings), Qt::LeftButton);
            QTest::mouseClick(window.button(id::kExit), Qt::LeftButton);
            EXPECT_EQ(window.input()->toPlainText(), QString());
            EXPECT_TRUE(asked.isEmpty());
            EXPECT_TRUE(window.isVisible());

            QTest::mouseClick(tips->nextButton(), Qt::LeftButton);
            if (!c.keepShowing) QTest::mouseClick(tips->showAtStartBox(), Qt::LeftButton);
            QTest::mouseClick(tips->closeButton(), Qt::LeftButton);
            EXPECT_FALSE(tips->isVisible());
            EXPECT_EQ(holder.data().tipWindowOpen, 0);
            EXPECT_EQ(holder.data().tipPosition, 2);

            QTest::mouseClick(window.button(id::kDigit0 + 7), Qt::LeftButton);
            EXPECT_EQ(window.input()->toPlainText(), QStringLiteral("7"));
            QTest::mouseClick(window.button(id::kExit), Qt::LeftButton);
            EXPECT_FALSE(window.isVisible());
        }
        // A later start that greets again reads what the tip window stored.
        SysDataHolder holder(folder);
        holder.Load();
        EXPECT_EQ(holder.data().tipPosition, 2);
        holder.data().firstRun = 1;
        MainWindow window(WindowStyle::Standard, holder, speaker,
                          MainWindow::Options{false, false});
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        EXPECT_EQ(window.tipWindow() != nullptr, c.tipsAtSecondStart);
        EXPECT_EQ(window.controller().busy(), c.tipsAtSecondStart);
        if (CTipDlg* tips = window.tipWindow()) {
            EXPECT_EQ(tips->model().index(), 2);
            QTest::keyClick(tips, Qt::Key_Escape);
            EXPECT_FALSE(window.controller().busy());
        }
    }
}

}  // namespace
}  // namespace quorvel

#include "window/main_window.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QKeyEvent>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSystemTrayIcon>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <chrono>
#include <functional>
#include <memory>
#include <set>
#include <vector>

#include "data/sys_data_holder.h"
#include "dialogs/tip_dlg.h"
#include "support/recording_speaker.h"
#include "ui/banner_menu.h"
#include "ui/filter_edit.h"
#include "ui/hover_button.h"
#include "window/zoom_pictures.h"

namespace quorvel {
namespace {

using testing::RecordingSpeaker;

// A window on a fresh data folder, shown and holding the focus.
class Calculator {
public:
    explicit Calculator(WindowStyle style)
        : holder(std::filesystem::path(dir.path().toStdString())) {
        holder.data().talkKeys = 0;  // keys stay quiet unless a test wants them
        holder.Load();
        window = std::make_unique<MainWindow>(style, holder, speaker,
                                              MainWindow::Options{false, false, false});
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
        EXPECT_EQ(calc.window->tooltip(Command::Last1), renewed);
        if (HoverButton* last1 = calc.window->button(Command::Last1)) {
            QAccessibleInterface* a = QAccessible::queryAccessibleInterface(last1);
            EXPECT_EQ(a->text(QAccessible::Name), QStringLiteral("Last result 1"));
            EXPECT_EQ(a->text(QAccessible::Description), QStringLiteral("14"));
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
    QTest::mouseClick(calc.window->button(Command::Last1), Qt::LeftButton);
    EXPECT_EQ(calc.text(), QStringLiteral("1+142"));
    EXPECT_EQ(calc.input()->textCursor().position(), 4);
    EXPECT_TRUE(calc.input()->hasFocus());
}

TEST(MainWindow, KeypadButtonsGoThroughTheFilter) {
    Calculator calc(WindowStyle::Detail);
    struct Step {
        Command button;
        const char* text;
    };
    // "." cannot start an expression; "s" starts a name and is shown upper-case.
    const Step kSteps[] = {{Command::Point, ""},
                           {digitCommand(7), "7"},
                           {Command::Time, "7*"},
                           {letterCommand('s'), "7*S"},
                           {letterCommand('i'), "7*Si"},
                           {letterCommand('n'), "7*Sin"},
                           {Command::OpenBracket, "7*Sin("},
                           {Command::Backspace, "7*Sin"}};
    for (const Step& s : kSteps) {
        SCOPED_TRACE(commandInfo(s.button).id);
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
    const Command kTools[] = {Command::Settings, Command::Function, Command::Parameters,
                              Command::Log,      Command::Exercise, Command::Formula,
                              Command::Batch,    Command::Converter};
    for (Command tool : kTools) {
        SCOPED_TRACE(commandInfo(tool).id);
        HoverButton* b = calc.window->button(tool);
        ASSERT_NE(b, nullptr);
        EXPECT_TRUE(b->isEnabled());
        QTest::mouseClick(b, Qt::LeftButton);
        ASSERT_FALSE(asked.isEmpty());
        EXPECT_EQ(asked.takeFirst().at(0).value<Command>(), tool);
    }
    EXPECT_TRUE(calc.input()->hasFocus());
}

TEST(MainWindow, BusyWindowIgnoresEveryCommand) {
    Calculator calc(WindowStyle::Detail);
    calc.type("1+1");
    calc.window->controller().setBusy(true);
    QSignalSpy asked(calc.window.get(), &MainWindow::toolRequested);
    for (Command command :
         {digitCommand(5), Command::Backspace, Command::Equal, Command::Settings}) {
        QTest::mouseClick(calc.window->button(command), Qt::LeftButton);
    }
    QTest::mouseClick(calc.window->button(Command::StyleMenu), Qt::LeftButton);
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
        QTest::mouseClick(calc.window->button(Command::StyleMenu), Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(calc.window->styleMenu()));
        QAction* choice = calc.window->styleAction(c.code);
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
    QTest::mouseClick(calc.window->button(Command::Exit), Qt::LeftButton);
    EXPECT_FALSE(calc.window->isVisible());
    EXPECT_TRUE(std::filesystem::exists(calc.holder.path()));
}

TEST(MainWindow, CartoonMenuCarriesHelpAndExit) {
    Calculator calc(WindowStyle::Cartoon);
    EXPECT_EQ(calc.window->button(Command::Help), nullptr);
    QAction* exit = calc.window->menuAction(Command::Exit);
    ASSERT_NE(exit, nullptr);
    EXPECT_EQ(exit->text(), QStringLiteral("Exit"));
    ASSERT_NE(calc.window->menuAction(Command::Help), nullptr);
    exit->trigger();
    EXPECT_FALSE(calc.window->isVisible());
}

TEST(MainWindow, TrayIconAndWindowTexts) {
    Calculator calc(WindowStyle::Standard);
    ASSERT_NE(calc.window->trayIcon(), nullptr);
    EXPECT_EQ(calc.window->trayIcon()->toolTip(), QStringLiteral("Quorvel "));
    EXPECT_FALSE(calc.window->trayIcon()->isVisible()) << "tests leave the tray alone";
    EXPECT_EQ(calc.window->windowTitle(), QStringLiteral("Quorvel"));
    // A family the desktop has: what is drawn is what was asked for, with no substitute.
    EXPECT_EQ(calc.input()->font().family(), QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(QFontInfo(calc.input()->font()).family(), QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(calc.input()->font().pointSize(), 14);
    for (const StyleControl& entry : calc.window->layout().controls) {
        EXPECT_EQ(QFontInfo(calc.window->button(entry.command)->font()).family(),
                  QStringLiteral("DejaVu Sans"));
    }
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
        for (const StyleControl& c : calc.window->layout().controls) {
            expected.push_back(commandInfo(c.command).id);
        }
        EXPECT_EQ(reached, expected);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), calc.input()) << "Tab wraps round to the box";
    }
}

TEST(MainWindow, FocusedButtonsActivateOnSpaceAndEnterButEnterInTheBoxIsEqual) {
    Calculator calc(WindowStyle::Standard);
    calc.type("4");
    HoverButton* plus = calc.window->button(Command::Add);
    plus->setFocus(Qt::TabFocusReason);
    QTest::keyClick(plus, Qt::Key_Space);
    QTRY_COMPARE_WITH_TIMEOUT(calc.text(), QStringLiteral("4+"), 1000);
    HoverButton* five = calc.window->button(digitCommand(5));
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
            SCOPED_TRACE(commandInfo(entry.command).id);
            HoverButton* b = calc.window->button(entry.command);
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

// Ctrl+plus, Ctrl+minus and Ctrl+0 from the input box: the window, every key and the box grow
// together, the skin is painted for the size (its cut outline stays off every key) and the
// zoom is stored.
TEST(MainWindow, ZoomKeysScaleEverythingTogether) {
    struct Press {
        int key;
        Qt::KeyboardModifiers modifiers;
        int zoom;
    };
    const Press kPresses[] = {
        {Qt::Key_Plus, Qt::ControlModifier, 125},
        {Qt::Key_Equal, Qt::ControlModifier, 150},
        {Qt::Key_Plus, Qt::ControlModifier | Qt::KeypadModifier, 175},
        {Qt::Key_Plus, Qt::ControlModifier, 200},
        {Qt::Key_Minus, Qt::ControlModifier, 175},
        {Qt::Key_0, Qt::ControlModifier, 100},
        {Qt::Key_Minus, Qt::ControlModifier, 100},
    };
    for (WindowStyle style : {WindowStyle::Standard, WindowStyle::Contrast, WindowStyle::Mini}) {
        SCOPED_TRACE(std::string(styleName(style)));
        Calculator calc(style);
        const QSize small = calc.window->size();
        const StyleLayout& base = calc.window->layout();
        EXPECT_EQ(small, QSize(base.width, base.height));
        for (const Press& p : kPresses) {
            SCOPED_TRACE(p.zoom);
            QTest::keyClick(calc.input(), static_cast<Qt::Key>(p.key), p.modifiers);
            EXPECT_EQ(calc.window->zoom(), p.zoom);
            EXPECT_EQ(calc.holder.data().zoomPercent, p.zoom);
            EXPECT_TRUE(calc.text().isEmpty());  // none of the keys typed anything
            const StyleLayout l = zoomedLayout(base, p.zoom);
            EXPECT_EQ(calc.window->size(), QSize(l.width, l.height));
            EXPECT_EQ(calc.window->skin().size(), calc.window->size());
            EXPECT_EQ(calc.input()->geometry(),
                      QRect(l.input.x, l.input.y, l.input.width, l.input.height));
            const QImage skin = calc.window->skin().toImage();
            for (const StyleControl& entry : l.controls) {
                HoverButton* b = calc.window->button(entry.command);
                ASSERT_NE(b, nullptr);
                EXPECT_EQ(b->geometry(),
                          QRect(entry.rect.x, entry.rect.y, entry.rect.width, entry.rect.height));
                EXPECT_LE(QFontMetrics(b->font()).horizontalAdvance(b->text()), b->width() - 4);
                // The corners of every key lie inside the outline.
                for (const QPoint corner : {b->geometry().topLeft(), b->geometry().bottomRight()}) {
                    EXPECT_NE(skin.pixel(corner) & 0xffffff, skins::kKeyColour & 0xffffff);
                }
            }
        }
        // At 200 % exactly twice the size of 100 %.
        calc.window->controller().setZoom(200);
        EXPECT_EQ(calc.window->size(), 2 * small);
        EXPECT_EQ(calc.input()->size(), 2 * QSize(base.input.width, base.input.height));
        calc.window->controller().setZoom(100);
    }
}

// At 100 % the window shows the committed pictures, read on a worker while it is built: the
// style's skin and, for every key, the three pictures of its look.
TEST(ZoomPictures, TheCommittedPicturesAreTheFilesOfEachLook) {
    // As a pixmap holds them: premultiplied.
    const auto same = [](const QImage& a, const QImage& b) {
        return a.convertToFormat(QImage::Format_ARGB32_Premultiplied) ==
               b.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    };
    for (WindowStyle style : windowStyles()) {
        SCOPED_TRACE(styleName(style));
        const StyleLayout& base = styleLayout(style);
        const ZoomPictures pictures = readCommittedPictures(base);
        const QImage skin(QString::fromStdString(base.skin));
        ASSERT_FALSE(skin.isNull());
        EXPECT_TRUE(same(pictures.skin, skin));
        for (const StyleControl& c : base.controls) {
            SCOPED_TRACE(c.caption);
            const auto keys =
                pictures.keys.find({static_cast<int>(c.look), c.rect.width, c.rect.height});
            ASSERT_NE(keys, pictures.keys.end());
            const skins::ButtonPictures& files = committedKeyPictures(c.look);
            const char* const names[] = {files.normal, files.pressed, files.hover};
            for (std::size_t i = 0; i < 3; ++i) {
                EXPECT_TRUE(same(keys->second[i], QImage(QString::fromLatin1(names[i]))))
                    << names[i];
            }
        }
        Calculator calc(style);
        EXPECT_TRUE(same(calc.window->skin().toImage(), skin));
    }
}

// What a worker prepares for a zoom is what the window would work out itself: the outline of
// the painted skin, and for every caption the largest size that fits its key.
TEST(ZoomPictures, OutlineAndCaptionSizesMatchTheZoomedWindow) {
    for (WindowStyle style : {WindowStyle::Standard, WindowStyle::Contrast, WindowStyle::Mini}) {
        for (int percent : {125, 300}) {
            SCOPED_TRACE(std::string(styleName(style)) + " " + std::to_string(percent));
            const StyleLayout& base = styleLayout(style);
            const ZoomPictures pictures = paintZoomPictures(base, percent);
            const StyleLayout l = zoomedLayout(base, percent);
            EXPECT_EQ(pictures.outline,
                      SkinnedDialog::outlineFromSkin(pictures.skin, QSize(l.width, l.height)));
            EXPECT_FALSE(pictures.outline.contains(QPoint(0, 0)));
            EXPECT_TRUE(pictures.outline.contains(QPoint(l.width / 2, l.height / 2)));
            ASSERT_EQ(pictures.captionPixels.size(), l.controls.size());
            for (std::size_t i = 0; i < l.controls.size(); ++i) {
                const StyleControl& c = l.controls[i];
                SCOPED_TRACE(c.caption);
                const int pixels = pictures.captionPixels[i];
                const QString caption = QString::fromStdString(c.caption);
                const int room = c.rect.width - zoomed(4, percent);
                const int largest =
                    zoomed(captionSize(c.look, caption.size() == 1).pixels, percent);
                EXPECT_LE(pixels, largest);
                EXPECT_LE(QFontMetrics(captionFont(c, pixels)).horizontalAdvance(caption), room);
                if (pixels < largest) {
                    EXPECT_GT(QFontMetrics(captionFont(c, pixels + 1)).horizontalAdvance(caption),
                              room);
                }
            }
        }
    }
}

bool samePictures(const ZoomPictures& a, const ZoomPictures& b) {
    return a.skin == b.skin && a.outline == b.outline && a.keys == b.keys &&
           a.captionPixels == b.captionPixels;
}

// Every zoom asked for is handed over once and is what painting it at once would give, whether
// its workers have finished, are at it or have not begun; the zoom the window left comes back
// as it was kept, not painted again.
TEST(ZoomPrefetch, HandsOverEachZoomOnceAsPaintingItWouldGive) {
    const StyleLayout& base = styleLayout(WindowStyle::Contrast);
    ZoomPictures atDefault = readCommittedPictures(base);
    atDefault.captionPixels = captionPixelSizes(base, kZoomDefault);
    ZoomPrefetch prefetch;

    prefetch.prepare(base, {125, kZoomDefault});
    const std::optional<ZoomPictures> soon = prefetch.take(125);  // the workers barely begun
    ASSERT_TRUE(soon.has_value());
    EXPECT_TRUE(samePictures(*soon, paintZoomPictures(base, 125)));
    const std::optional<ZoomPictures> committed = prefetch.take(kZoomDefault);
    ASSERT_TRUE(committed.has_value());
    EXPECT_TRUE(samePictures(*committed, atDefault));

    prefetch.prepare(base, {150});
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!prefetch.ready() && std::chrono::steady_clock::now() < deadline) QTest::qWait(5);
    ASSERT_TRUE(prefetch.ready());
    const std::optional<ZoomPictures> painted = prefetch.take(150);
    ASSERT_TRUE(painted.has_value());
    EXPECT_TRUE(samePictures(*painted, paintZoomPictures(base, 150)));
    EXPECT_FALSE(prefetch.take(150).has_value());  // once
    EXPECT_FALSE(prefetch.take(175).has_value());  // never asked for

    const qint64 keptSkin = painted->skin.cacheKey();
    prefetch.keep(150, *painted);
    EXPECT_TRUE(prefetch.ready());
    prefetch.prepare(base, {150, 175});
    const std::optional<ZoomPictures> back = prefetch.take(150);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->skin.cacheKey(), keptSkin);
    prefetch.keep(150, *back);
    prefetch.prepare(base, {200});  // two steps away: forgotten
    EXPECT_FALSE(prefetch.take(150).has_value());
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
                              MainWindow::Options{true, false, false});
            QSignalSpy asked(&window, &MainWindow::toolRequested);
            window.show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
            // Busy at once; the tip window itself follows the calculator's first frame.
            EXPECT_EQ(holder.data().tipWindowOpen, 1);
            QTRY_VERIFY(window.tipWindow() != nullptr);
            CTipDlg* tips = window.tipWindow();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(tips));
            EXPECT_EQ(holder.data().tipWindowOpen, 1);
            EXPECT_EQ(tips->model().index(), 0);

            QTest::mouseClick(window.button(digitCommand(7)), Qt::LeftButton);
            QTest::keyClicks(window.input(), QStringLiteral("1+2"));
            QTest::mouseClick(window.button(Command::Settings), Qt::LeftButton);
            QTest::mouseClick(window.button(Command::Exit), Qt::LeftButton);
            EXPECT_EQ(window.input()->toPlainText(), QString());
            EXPECT_TRUE(asked.isEmpty());
            EXPECT_TRUE(window.isVisible());

            QTest::mouseClick(tips->nextButton(), Qt::LeftButton);
            if (!c.keepShowing) QTest::mouseClick(tips->showAtStartBox(), Qt::LeftButton);
            QTest::mouseClick(tips->closeButton(), Qt::LeftButton);
            EXPECT_FALSE(tips->isVisible());
            EXPECT_EQ(holder.data().tipWindowOpen, 0);
            EXPECT_EQ(holder.data().tipPosition, 2);

            QTest::mouseClick(window.button(digitCommand(7)), Qt::LeftButton);
            EXPECT_EQ(window.input()->toPlainText(), QStringLiteral("7"));
            QTest::mouseClick(window.button(Command::Exit), Qt::LeftButton);
            EXPECT_FALSE(window.isVisible());
        }
        // A later start that greets again reads what the tip window stored.
        SysDataHolder holder(folder);
        holder.Load();
        EXPECT_EQ(holder.data().tipPosition, 2);
        holder.data().firstRun = 1;
        MainWindow window(WindowStyle::Standard, holder, speaker,
                          MainWindow::Options{false, false, false});
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        EXPECT_EQ(window.controller().busy(), c.tipsAtSecondStart);
        if (c.tipsAtSecondStart) QTRY_VERIFY(window.tipWindow() != nullptr);
        QCoreApplication::processEvents();
        EXPECT_EQ(window.tipWindow() != nullptr, c.tipsAtSecondStart);
        if (CTipDlg* tips = window.tipWindow()) {
            EXPECT_EQ(tips->model().index(), 2);
            QTest::keyClick(tips, Qt::Key_Escape);
            EXPECT_FALSE(window.controller().busy());
        }
    }
}

// Working taller or wider than the box has its scroll bars, and the end of it, the result,
// is what shows.
TEST(MainWindow, LongWorkingScrollsAndShowsTheResult) {
    struct Case {
        const char* input;
        const char* result;
        bool tall;
        bool wide;
    };
    std::string wide;
    for (int i = 0; i < 4; ++i) wide += "1000000000-999999999+";
    wide += "0";
    const Case kCases[] = {
        {"2*(3+4*5)", "=46", true, false},
        {wide.c_str(), "=4", true, true},
        // Only the steps between are wide: the bar must not wait until they are scrolled to.
        {"2^300/2^299-1-1-1-1-1-1-1", "=-5", true, true},
    };
    for (WindowStyle style : windowStyles()) {
        for (const Case& c : kCases) {
            SCOPED_TRACE(std::string(styleName(style)) + " " + c.input);
            Calculator calc(style);
            calc.type(c.input);
            QTest::keyClick(calc.input(), Qt::Key_Return);
            ASSERT_TRUE(calc.text().endsWith(QLatin1String(c.result)));
            QTest::qWait(20);  // the box shows its bars from the event loop
            QScrollBar* down = calc.input()->verticalScrollBar();
            QScrollBar* across = calc.input()->horizontalScrollBar();
            EXPECT_EQ(down->isVisible(), c.tall);
            EXPECT_EQ(across->isVisible(), c.wide);
            EXPECT_EQ(down->value(), down->maximum()) << "the result line is in view";
            EXPECT_EQ(across->value(), 0) << "lines show from their start";
            const QRect caret = calc.input()->cursorRect();
            EXPECT_TRUE(calc.input()->viewport()->rect().contains(caret.bottomLeft()) || c.wide)
                << "the caret at the end of the result is in view";
            // The first line stays reachable: dragging the bar up shows it.
            down->setValue(down->minimum());
            EXPECT_EQ(calc.input()->cursorForPosition(QPoint(2, 2)).blockNumber(), 0);
        }
    }
}

// Enter on a long line: the box lays out the lines it shows and the ones that size its bars,
// not the hundreds of long lines between, or the result would take frames to appear.
TEST(MainWindow, ALongWorkingLaysOutOnlyTheLinesItNeeds) {
    std::string line;
    for (int i = 0; i < 40; ++i) line += "(12.5+7.25)*3-";
    line += "1";
    for (WindowStyle style : {WindowStyle::Standard, WindowStyle::Mini}) {
        SCOPED_TRACE(styleName(style));
        Calculator calc(style);
        calc.type(line.c_str());
        // Looked at before the event loop runs again: a later relayout would hide the cost.
        QTest::keyClick(calc.input(), Qt::Key_Return);
        const QTextDocument* document = calc.input()->document();
        ASSERT_GT(document->blockCount(), 100);
        const int shown =
            calc.input()->viewport()->height() / calc.input()->fontMetrics().lineSpacing() + 2;
        std::vector<int> laidOut;
        for (QTextBlock block = document->begin().next(); block.isValid(); block = block.next()) {
            if (block.blockNumber() >= document->blockCount() - shown) break;
            if (block.layout()->lineCount() > 0) laidOut.push_back(block.blockNumber());
        }
        EXPECT_TRUE(laidOut.empty()) << laidOut.size() << " hidden lines laid out";
    }
}

TEST(MainWindow, AVeryLongResultShowsItsLeadingDigits) {
    Calculator calc(WindowStyle::Detail);
    calc.holder.data().intDigitsLimit = 400;
    calc.window->controller().reloadSettings();
    calc.type("2^1000");
    QTest::keyClick(calc.input(), Qt::Key_Return);
    const QString last = calc.text().section(QLatin1Char('\n'), -1);
    ASSERT_TRUE(last.startsWith(QStringLiteral("=10715086071862673"))) << last.toStdString();
    ASSERT_EQ(last.size(), 303);
    QTest::qWait(20);
    EXPECT_TRUE(calc.input()->horizontalScrollBar()->isVisible());
    EXPECT_EQ(calc.input()->horizontalScrollBar()->value(), 0);
    // What is drawn at the box's left edge on the last line is the result's start.
    const QRect viewport = calc.input()->viewport()->rect();
    const QTextCursor atLeft = calc.input()->cursorForPosition(
        QPoint(viewport.left() + 2, calc.input()->cursorRect().center().y()));
    EXPECT_LE(atLeft.positionInBlock(), 1);
}

// Enter and keypad Enter are the box's own keys: the press is delivered to the box (where a
// screen reader's key listener sees it first) and no window shortcut claims it.
TEST(MainWindow, EnterIsHandledByTheInputBoxNotAShortcut) {
    class KeySeen : public QObject {
    public:
        bool eventFilter(QObject* watched, QEvent* event) override {
            if (event->type() == QEvent::KeyPress) {
                const int key = static_cast<QKeyEvent*>(event)->key();
                if (key == Qt::Key_Return || key == Qt::Key_Enter) delivered.push_back(watched);
            }
            return false;
        }
        std::vector<QObject*> delivered;
    };
    struct Case {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
    };
    for (const Case& c :
         {Case{Qt::Key_Return, Qt::NoModifier}, Case{Qt::Key_Enter, Qt::KeypadModifier}}) {
        SCOPED_TRACE(c.key);
        Calculator calc(WindowStyle::Standard);
        for (QAction* action : calc.window->findChildren<QAction*>()) {
            for (const QKeySequence& keys : action->shortcuts()) {
                EXPECT_NE(keys[0].key(), Qt::Key_Return) << action->text().toStdString();
                EXPECT_NE(keys[0].key(), Qt::Key_Enter) << action->text().toStdString();
            }
        }
        KeySeen seen;
        qApp->installEventFilter(&seen);
        calc.type("4+5");
        QTest::keyClick(calc.input(), c.key, c.modifiers);
        EXPECT_EQ(calc.text(), QStringLiteral("4+5\n=9"));
        // A second Enter on the shown result clears it, as Equal does.
        QTest::keyClick(calc.input(), c.key, c.modifiers);
        EXPECT_EQ(calc.text(), QString());
        qApp->removeEventFilter(&seen);
        EXPECT_EQ(std::count(seen.delivered.begin(), seen.delivered.end(), calc.input()), 2);
    }
}

// One deliberate announcement per result, each time, the same result again included; it is
// the box's description, which a screen reader speaks for the focused control.
TEST(MainWindow, EachResultIsAnnouncedOnceThroughTheBoxDescription) {
    Calculator calc(WindowStyle::Detail);
    QAccessibleInterface* box = QAccessible::queryAccessibleInterface(calc.input());
    const QString hint = QStringLiteral("Type an expression; Enter calculates");
    EXPECT_EQ(box->text(QAccessible::Description), hint);
    QSignalSpy announced(calc.window.get(), &MainWindow::announced);
    QString previous = box->text(QAccessible::Description);
    for (const char* input : {"2*(3+4)", "2*(3+4)", "3+4", "2*(3+4)"}) {
        SCOPED_TRACE(input);
        calc.type(input);  // the first key clears the result shown before
        EXPECT_EQ(box->text(QAccessible::Description), previous) << "typing says nothing";
        QTest::keyClick(calc.input(), Qt::Key_Return);
        const QString now = box->text(QAccessible::Description);
        EXPECT_NE(now, previous) << "a change, or no screen reader would hear of it";
        EXPECT_EQ(now.trimmed(),
                  input[0] == '3' ? QStringLiteral("equals 7") : QStringLiteral("equals 14"));
        ASSERT_EQ(announced.count(), 1);
        EXPECT_EQ(announced.takeFirst().at(0).toString(), now);
        previous = now;
    }
    EXPECT_EQ(box->text(QAccessible::Name), QStringLiteral("Expression"));
    // Tabbing away and back hears the hint again, not an old result.
    QTest::keyClick(calc.input(), Qt::Key_Tab);
    EXPECT_EQ(box->text(QAccessible::Description), hint);
}

TEST(MainWindow, NoButtonDescriptionRepeatsItsName) {
    for (WindowStyle style : windowStyles()) {
        SCOPED_TRACE(std::string(styleName(style)));
        Calculator calc(style);
        for (const StyleControl& entry : calc.window->layout().controls) {
            HoverButton* b = calc.window->button(entry.command);
            QAccessibleInterface* a = QAccessible::queryAccessibleInterface(b);
            SCOPED_TRACE(a->text(QAccessible::Name).toStdString());
            EXPECT_EQ(a->role(), entry.command == Command::StyleMenu ? QAccessible::ButtonMenu
                                                                     : QAccessible::Button);
            EXPECT_EQ(a->text(QAccessible::Name), QString::fromStdString(entry.accessibleName));
            const QString description = a->text(QAccessible::Description);
            EXPECT_FALSE(!description.isEmpty() &&
                         description.contains(a->text(QAccessible::Name), Qt::CaseInsensitive));
            // The minimize tooltip follows the tray setting once the window has started.
            if (entry.command != Command::Minimize) {
                EXPECT_EQ(b->toolTip(), QString::fromStdString(entry.tooltip)) << "tooltips stay";
            }
            ASSERT_NE(a->actionInterface(), nullptr);
            EXPECT_FALSE(a->actionInterface()->actionNames().isEmpty());
        }
    }
}

// The style menu hangs under its button in the accessibility tree, with named items.
TEST(MainWindow, StyleMenuIsARealMenuUnderItsButton) {
    for (WindowStyle style : windowStyles()) {
        SCOPED_TRACE(std::string(styleName(style)));
        Calculator calc(style);
        QAccessibleInterface* opener =
            QAccessible::queryAccessibleInterface(calc.window->button(Command::StyleMenu));
        ASSERT_EQ(opener->childCount(), 1);
        QAccessibleInterface* menu = opener->child(0);
        ASSERT_NE(menu, nullptr);
        EXPECT_EQ(menu->role(), QAccessible::PopupMenu);
        EXPECT_EQ(opener->indexOfChild(menu), 0);
        QStringList names;
        for (int i = 0; i < menu->childCount(); ++i) {
            QAccessibleInterface* item = menu->child(i);
            if (item->role() == QAccessible::MenuItem) names << item->text(QAccessible::Name);
        }
        std::size_t expected = 0;
        for (const StyleMenuItem& item : calc.window->layout().menu) {
            EXPECT_TRUE(names.contains(QString::fromStdString(item.text))) << item.text;
            ++expected;
        }
        EXPECT_EQ(static_cast<std::size_t>(names.size()), expected);
    }
}

TEST(MainWindow, StyleMenuFromTheKeyboardOpensAtItsButton) {
    struct Case {
        const char* how;
        std::function<void(Calculator&)> open;
    };
    const Case kCases[] = {
        {"Space on the button",
         [](Calculator& calc) {
             HoverButton* b = calc.window->button(Command::StyleMenu);
             b->setFocus(Qt::TabFocusReason);
             QTest::keyClick(b, Qt::Key_Space);
         }},
        {"F10", [](Calculator& calc) { QTest::keyClick(calc.input(), Qt::Key_F10); }},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.how);
        Calculator calc(WindowStyle::Mini);
        QCursor::setPos(5, 5);
        c.open(calc);
        BannerMenu* menu = calc.window->styleMenu();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(menu));
        // Under the button (moved left only as far as the screen's edge asks), not at the pointer.
        HoverButton* b = calc.window->button(Command::StyleMenu);
        const QPoint under = b->mapToGlobal(QPoint(0, b->height()));
        EXPECT_EQ(menu->y(), under.y());
        EXPECT_LE(menu->x(), under.x());
        EXPECT_GT(menu->geometry().right(), under.x());
        EXPECT_EQ(menu->activeAction(), menu->actions().value(0));
        menu->hide();
    }
}

// The tools, Help and the menu have keys in every style, shown beside their menu items.
TEST(MainWindow, ToolShortcutsWorkInEveryStyleAndShowInTheMenu) {
    const std::pair<QKeySequence, Command> kKeys[] = {
        {QKeySequence(Qt::CTRL | Qt::Key_T), Command::Settings},
        {QKeySequence(Qt::CTRL | Qt::Key_L), Command::Log},
        {QKeySequence(Qt::CTRL | Qt::Key_U), Command::Converter},
        {QKeySequence(Qt::CTRL | Qt::Key_M), Command::Formula},
        {QKeySequence(Qt::CTRL | Qt::Key_F), Command::Function},
        {QKeySequence(Qt::CTRL | Qt::Key_R), Command::Parameters},
        {QKeySequence(Qt::CTRL | Qt::Key_E), Command::Exercise},
        {QKeySequence(Qt::CTRL | Qt::Key_B), Command::Batch},
    };
    for (WindowStyle style : windowStyles()) {
        SCOPED_TRACE(std::string(styleName(style)));
        Calculator calc(style);
        QSignalSpy asked(calc.window.get(), &MainWindow::toolRequested);
        for (const auto& [keys, tool] : kKeys) {
            SCOPED_TRACE(keys.toString().toStdString());
            QTest::keySequence(calc.input(), keys);
            ASSERT_EQ(asked.count(), 1);
            EXPECT_EQ(asked.takeFirst().at(0).value<Command>(), tool);
            if (QAction* item = calc.window->menuAction(tool)) {
                EXPECT_EQ(item->shortcut(), keys);
            }
        }
        if (QAction* help = calc.window->menuAction(Command::Help)) {
            EXPECT_EQ(help->shortcut(), QKeySequence(Qt::Key_F1));
        }
        EXPECT_EQ(calc.text(), QString()) << "no key typed into the box";
    }
}

// The box says how it is used, and keeps Orca's own words for the keys out of the window's.
TEST(MainWindow, ScreenReaderQuietsTheKeyEcho) {
    Calculator calc(WindowStyle::Standard);
    calc.window->controller().applySettings([&] {
        SettingsValues v = calc.window->controller().settingsValues();
        v.talkKeys = true;
        return v;
    }());
    calc.type("7");
    calc.window->controller().setScreenReaderRunning(true);
    calc.type("8");
    ASSERT_EQ(calc.text(), QStringLiteral("78"));
    ASSERT_EQ(calc.speaker.requests.size(), 1u);
    EXPECT_EQ(calc.speaker.requests[0].text, "7");
}
}  // namespace
}  // namespace quorvel

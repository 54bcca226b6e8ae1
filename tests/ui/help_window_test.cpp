#include "ui/help_window.h"

#include <gtest/gtest.h>

#include <QDialog>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QTest>
#include <QTextBrowser>
#include <QTextDocument>
#include <QWindow>

#include "tools/tip_texts.h"

namespace quorvel {
namespace {

QString readResource(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(file.readAll());
}

// Makes sure the manual is registered, then closes the window again.
void registerManual() {
    openHelp(nullptr, QStringLiteral("index.html"));
    if (helpWindow()) helpWindow()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QStringList manualPages() {
    registerManual();
    QStringList pages;
    QDirIterator it(QStringLiteral(":/help"), {QStringLiteral("*.html")});
    while (it.hasNext()) pages << QFileInfo(it.next()).fileName();
    pages.sort();
    return pages;
}

// Local links of a page: "page.html" or "page.html#anchor".
QStringList localLinks(const QString& html) {
    QStringList links;
    static const QRegularExpression href(QStringLiteral("href=\"([^\"]+)\""));
    for (const auto& match : href.globalMatch(html)) {
        const QString target = match.captured(1);
        if (!target.contains(QLatin1Char(':'))) links << target;
    }
    return links;
}

HelpWindow* openedOn(const QString& page) {
    openHelp(nullptr, page);
    HelpWindow* window = helpWindow();
    EXPECT_NE(window, nullptr);
    return window;
}

class HelpWindowTest : public testing::Test {
protected:
    void TearDown() override {
        if (helpWindow()) helpWindow()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

TEST_F(HelpWindowTest, FollowsALinkGoesBackAndForward) {
    HelpWindow* window = openedOn(QStringLiteral("index.html"));
    ASSERT_NE(window, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    EXPECT_FALSE(window->isModal());
    EXPECT_EQ(window->currentPage(), QStringLiteral("index.html"));
    EXPECT_FALSE(window->backButton()->isEnabled());

    // Tab picks the first link of the contents, Enter follows it.
    QTextBrowser* browser = window->browser();
    browser->setFocus();
    QTest::keyClick(browser, Qt::Key_Tab);
    QTest::keyClick(browser, Qt::Key_Return);
    EXPECT_EQ(window->currentPage(), QStringLiteral("getting_started.html"));
    EXPECT_TRUE(window->windowTitle().contains(QStringLiteral("Getting started")));
    EXPECT_TRUE(window->backButton()->isEnabled());

    QTest::keyClick(window->contentsButton(), Qt::Key_Left, Qt::AltModifier);
    EXPECT_EQ(window->currentPage(), QStringLiteral("index.html"));
    EXPECT_TRUE(window->forwardButton()->isEnabled());
    QTest::keyClick(browser, Qt::Key_Right, Qt::AltModifier);
    EXPECT_EQ(window->currentPage(), QStringLiteral("getting_started.html"));
    QTest::mouseClick(window->backButton(), Qt::LeftButton);
    EXPECT_EQ(window->currentPage(), QStringLiteral("index.html"));
    QTest::mouseClick(window->forwardButton(), Qt::LeftButton);
    EXPECT_EQ(window->currentPage(), QStringLiteral("getting_started.html"));
    QTest::mouseClick(window->contentsButton(), Qt::LeftButton);
    EXPECT_EQ(window->currentPage(), QStringLiteral("index.html"));
}

TEST_F(HelpWindowTest, OneWindowIsReusedAndEscapeClosesIt) {
    HelpWindow* first = openedOn(QStringLiteral("keypad.html"));
    HelpWindow* second = openedOn(QStringLiteral("settings.html"));
    EXPECT_EQ(first, second);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->currentPage(), QStringLiteral("settings.html"));
    ASSERT_TRUE(QTest::qWaitForWindowActive(second));
    QTest::keyClick(second->browser(), Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(helpWindow(), nullptr);
    // Opening again after a close makes a fresh window.
    EXPECT_NE(openedOn(QStringLiteral("index.html")), nullptr);
}

TEST_F(HelpWindowTest, AnUnknownPageShowsTheContents) {
    for (const char* page : {"no_such_page.html", "", "../CMakeLists.txt"}) {
        SCOPED_TRACE(page);
        HelpWindow* window = openedOn(QString::fromLatin1(page));
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(window->currentPage(), QStringLiteral("index.html"));
        EXPECT_FALSE(window->browser()->toPlainText().isEmpty());
    }
}

TEST_F(HelpWindowTest, EveryControlIsNamed) {
    HelpWindow* window = openedOn(QStringLiteral("index.html"));
    ASSERT_NE(window, nullptr);
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (w->focusPolicy() == Qt::NoFocus || w->focusProxy()) continue;
        EXPECT_FALSE(w->accessibleName().isEmpty()) << w->metaObject()->className();
    }
}

TEST_F(HelpWindowTest, UsableBesideAModalDialog) {
    QDialog modal;
    modal.setWindowModality(Qt::ApplicationModal);
    modal.show();  // closed again before the event loop runs, so no watchdog sees it
    openHelp(&modal, QStringLiteral("settings.html"));
    HelpWindow* window = helpWindow();
    ASSERT_NE(window, nullptr);
    ASSERT_NE(window->windowHandle(), nullptr);
    EXPECT_EQ(window->windowHandle()->transientParent(), modal.windowHandle());
    modal.close();
}

TEST(HelpManual, EveryLinkLeadsToAPageAndAnchorThatExist) {
    const QStringList pages = manualPages();
    ASSERT_TRUE(pages.contains(QStringLiteral("index.html")));
    for (const QString& page : pages) {
        const QString html = readResource(QStringLiteral(":/help/") + page);
        for (const QString& link : localLinks(html)) {
            SCOPED_TRACE((page + QStringLiteral(" -> ") + link).toStdString());
            const QString file = link.section(QLatin1Char('#'), 0, 0);
            const QString anchor = link.section(QLatin1Char('#'), 1);
            const QString target =
                readResource(QStringLiteral(":/help/") + (file.isEmpty() ? page : file));
            EXPECT_FALSE(target.isEmpty());
            if (!anchor.isEmpty()) {
                EXPECT_TRUE(target.contains(QStringLiteral("id=\"") + anchor + QLatin1Char('"')) ||
                            target.contains(QStringLiteral("name=\"") + anchor + QLatin1Char('"')));
            }
        }
    }
}

TEST(HelpManual, EveryPageIsReachableFromTheContentsAndTitled) {
    const QStringList pages = manualPages();
    QSet<QString> reached{QStringLiteral("index.html")};
    QStringList queue{QStringLiteral("index.html")};
    while (!queue.isEmpty()) {
        const QString page = queue.takeFirst();
        for (const QString& link : localLinks(readResource(QStringLiteral(":/help/") + page))) {
            const QString file = link.section(QLatin1Char('#'), 0, 0);
            if (file.endsWith(QStringLiteral(".html")) && !reached.contains(file)) {
                reached.insert(file);
                queue << file;
            }
        }
    }
    static const QRegularExpression title(QStringLiteral("<title>[^<]+</title>"));
    static const QRegularExpression heading(QStringLiteral("<h1>[^<]+</h1>"));
    for (const QString& page : pages) {
        SCOPED_TRACE(page.toStdString());
        EXPECT_TRUE(reached.contains(page)) << "not linked from the contents";
        const QString html = readResource(QStringLiteral(":/help/") + page);
        EXPECT_TRUE(title.match(html).hasMatch());
        EXPECT_TRUE(heading.match(html).hasMatch());
        EXPECT_TRUE(html.contains(QStringLiteral("type=\"text/css\" href=\"manual.css\"")));
    }
}

// A page written into res/help but left out of help.qrc would never reach the program.
TEST(HelpManual, EverySourcePageIsCompiledIn) {
    const QStringList compiled = manualPages();
    const QDir source(QStringLiteral(QUORVEL_HELP_SOURCE_DIR));
    const QStringList written = source.entryList({QStringLiteral("*.html")}, QDir::Files);
    ASSERT_FALSE(written.isEmpty());
    for (const QString& page : written) {
        EXPECT_TRUE(compiled.contains(page)) << page.toStdString();
    }
    EXPECT_TRUE(QFile::exists(QStringLiteral(":/help/manual.css")));
}

TEST(HelpManual, TheKeypadPageListsEveryShortcutOfTheWindow) {
    registerManual();
    const QString html = readResource(QStringLiteral(":/help/keypad.html"));
    for (const char* keys : {"Ctrl+C", "Ctrl+V", "Ctrl+P", "Backspace", "Ctrl+Shift+S", "Enter",
                             "Escape", "Tab", "Space", "Alt+Left", "Alt+Right"}) {
        EXPECT_TRUE(html.contains(QStringLiteral("<kbd>") + QString::fromLatin1(keys) +
                                  QStringLiteral("</kbd>")))
            << keys;
    }
}

// Pictures come from the screenshot tests through scripts/update-help-images.sh.
TEST(HelpManual, EveryPictureIsCompiledInDescribedAndUsed) {
    const QStringList pages = manualPages();
    static const QRegularExpression img(QStringLiteral("<img ([^>]*)>"));
    static const QRegularExpression src(QStringLiteral("src=\"([^\"]+)\""));
    static const QRegularExpression alt(QStringLiteral("alt=\"([^\"]+)\""));
    static const QRegularExpression widthAttribute(QStringLiteral("width=\"([0-9]+)\""));
    QSet<QString> used;
    for (const QString& page : pages) {
        const QString html = readResource(QStringLiteral(":/help/") + page);
        for (const auto& match : img.globalMatch(html)) {
            const QString attributes = match.captured(1);
            const QString file = src.match(attributes).captured(1);
            SCOPED_TRACE((page + QStringLiteral(": ") + file).toStdString());
            EXPECT_TRUE(file.startsWith(QStringLiteral("images/")));
            const QImage picture(QStringLiteral(":/help/") + file);
            EXPECT_FALSE(picture.isNull());
            // Shown whole in the help window, without sideways scrolling.
            const QString width = widthAttribute.match(attributes).captured(1);
            EXPECT_LE(width.isEmpty() ? picture.width() : width.toInt(), 700);
            EXPECT_TRUE(alt.match(attributes).hasMatch());
            used.insert(file);
        }
    }
    QDirIterator it(QStringLiteral(":/help/images"));
    int pictures = 0;
    while (it.hasNext()) {
        const QString file = QStringLiteral("images/") + QFileInfo(it.next()).fileName();
        EXPECT_TRUE(used.contains(file)) << file.toStdString() << " is on no page";
        ++pictures;
    }
    EXPECT_GE(pictures, 10);
    EXPECT_TRUE(used.contains(QStringLiteral("images/first_start.png")));
}

TEST(HelpManual, TheTipsPageListsEveryTipAndTheShortcutsPageEveryWindow) {
    registerManual();
    QTextDocument tips;
    tips.setHtml(readResource(QStringLiteral(":/help/tips.html")));
    const QString text = tips.toPlainText().simplified();
    for (std::string_view tip : TipTexts()) {
        EXPECT_TRUE(
            text.contains(QString::fromUtf8(tip.data(), static_cast<qsizetype>(tip.size()))))
            << tip;
    }
    const QString shortcuts = readResource(QStringLiteral(":/help/shortcuts.html"));
    for (const char* page :
         {"keypad.html", "tips.html", "settings.html", "styles.html", "converter.html",
          "log_manager.html", "formula_manager.html", "functions.html", "parameters.html",
          "exercises.html", "batch.html", "command_line.html"}) {
        EXPECT_TRUE(shortcuts.contains(QStringLiteral("href=\"") + QLatin1String(page))) << page;
    }
}

}  // namespace
}  // namespace quorvel

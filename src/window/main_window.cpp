#include "window/main_window.h"

#include <QAccessible>
#include <QAction>
#include <QClipboard>
#include <QCloseEvent>
#include <QCursor>
#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QScrollBar>
#include <QShortcut>
#include <QSystemTrayIcon>
#include <QTextCursor>

#include "dialogs/tip_dlg.h"
#include "ui/banner_menu.h"
#include "ui/filter_edit.h"
#include "ui/help_window.h"
#include "ui/hover_button.h"
#include "ui/qt_prompter.h"
#include "ui/skin_resources.h"

namespace quorvel {
namespace {

namespace id = window_id;

QString qs(const std::string& text) { return QString::fromStdString(text); }

const skins::ButtonPictures& pictures(ControlLook look) {
    switch (look) {
        case ControlLook::Accent:
            return skins::kAccentKey;
        case ControlLook::Mini:
            return skins::kMiniKey;
        case ControlLook::Cartoon:
            return skins::kCartoonKey;
        default:
            return skins::kKey;
    }
}

QFont captionFont(const StyleControl& entry) {
    QFont font(QStringLiteral("Arial"));
    const bool oneCharacter = QString::fromStdString(entry.caption).size() == 1;
    switch (entry.look) {
        case ControlLook::Word:
            font.setPixelSize(oneCharacter ? 15 : 10);
            break;
        case ControlLook::Mini:
            font.setPixelSize(oneCharacter ? 14 : 9);
            break;
        default:
            font.setPixelSize(oneCharacter ? 16 : 11);
            font.setBold(true);
            break;
    }
    return font;
}

}  // namespace

MainWindow::MainWindow(WindowStyle style, SysDataHolder& data, Speaker& speaker, Options options,
                       QWidget* parent)
    : SkinnedDialog(QString::fromStdString(styleLayout(style).skin), parent),
      m_layout(styleLayout(style)),
      m_options(options),
      m_prompter(std::make_unique<QtPrompter>(this)) {
    setWindowTitle(QStringLiteral("Quorvel"));
    setWindowIcon(QIcon(QString::fromLatin1(skins::kWindowIcon)));
    setClientSize(m_layout.width, m_layout.height);
    buildInput();
    buildButtons();
    buildMenu();
    buildShortcuts();
    buildTray();
    m_controller =
        std::make_unique<CalculatorController>(data, *this, speaker, *m_prompter, options.firstRun);
}

MainWindow::~MainWindow() {
    if (m_tray) m_tray->hide();
}

void MainWindow::buildInput() {
    m_input = new CFilterEdit(this);
    m_input->setObjectName(QStringLiteral("input"));
    m_input->setAccessibleName(QStringLiteral("Expression"));
    m_input->setGeometry(m_layout.input.x, m_layout.input.y, m_layout.input.width,
                         m_layout.input.height);
    // Step lines are kept whole; a long one scrolls sideways.
    m_input->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_input->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_input->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    QFont font(QStringLiteral("Arial"));
    font.setPointSize(14);
    m_input->setFont(font);
    const bool display =
        m_layout.style == WindowStyle::Standard || m_layout.style == WindowStyle::Detail;
    const QColor base = display ? QColor::fromRgb(skins::kDisplayBackground) : QColor(Qt::white);
    const QColor ink = display ? QColor::fromRgb(skins::kDisplayText) : QColor(Qt::black);
    m_input->setStyleSheet(
        QStringLiteral("QPlainTextEdit { background: %1; color: %2; border: 1px solid #1c2230;"
                       " border-radius: 3px; }"
                       "QPlainTextEdit:focus { border: 2px solid #ff8000; }")
            .arg(base.name(), ink.name()));

    connect(m_input, &CFilterEdit::freshInputRequested, this,
            [this] { m_controller->freshInput(); });
    connect(m_input, &CFilterEdit::equalRequested, this, [this] { m_controller->equal(); });
    connect(m_input, &CFilterEdit::insertCharacterRequested, this,
            [this](QChar ch) { m_controller->insertText(std::string(1, ch.toLatin1())); });
    connect(m_input, &CFilterEdit::characterTyped, this,
            [this](QChar ch) { m_controller->characterPlaced(ch.toLatin1()); });
    // The box would copy only its selection itself; the window's copy takes the whole text
    // when nothing is selected.
    m_input->installEventFilter(this);
    m_input->setFocus();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    // While the tip window is open the box takes no typing either; Tab still moves on.
    if (watched == m_input && event->type() == QEvent::KeyPress && m_controller &&
        m_controller->busy()) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key != Qt::Key_Tab && key != Qt::Key_Backtab) return true;
    }
    if (watched == m_input && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy)) {
        runCommand(id::kCopy);
        return true;
    }
    return SkinnedDialog::eventFilter(watched, event);
}

void MainWindow::buildButtons() {
    QWidget* previous = m_input;
    for (const StyleControl& entry : m_layout.controls) {
        auto* button = new HoverButton(qs(entry.caption), this);
        button->setObjectName(QStringLiteral("button%1").arg(entry.id));
        button->setPictures(pictures(entry.look));
        button->setGeometry(entry.rect.x, entry.rect.y, entry.rect.width, entry.rect.height);
        button->setFont(captionFont(entry));
        button->setToolTip(qs(entry.tooltip));
        button->setAccessibleName(qs(entry.accessibleName));
        const int command = entry.id;
        connect(button, &QAbstractButton::clicked, this, [this, command] { runCommand(command); });
        setTabOrder(previous, button);
        previous = button;
        m_buttons[entry.id] = button;
    }
}

void MainWindow::buildMenu() {
    m_menu = new BannerMenu(qs(m_layout.menuBanner), this);
    m_menu->setAccessibleName(qs(m_layout.menuBanner));
    for (const StyleMenuItem& item : m_layout.menu) {
        if (item.separatorBefore) m_menu->addSeparator();
        QAction* action = m_menu->addAction(qs(item.text));
        action->setData(item.id);
        const int code = item.styleCode;
        const int command = item.command;
        connect(action, &QAction::triggered, this, [this, code, command] {
            if (code != 0) {
                m_controller->chooseStyle(code);
            } else {
                runCommand(command);
            }
        });
    }
}

void MainWindow::buildShortcuts() {
    for (const StyleShortcut& entry : m_layout.shortcuts) {
        auto* shortcut = new QShortcut(QKeySequence(qs(entry.keys)), this);
        const int command = entry.command;
        connect(shortcut, &QShortcut::activated, this, [this, command] { runCommand(command); });
    }
}

void MainWindow::buildTray() {
    m_tray = new QSystemTrayIcon(windowIcon(), this);
    m_tray->setToolTip(QStringLiteral("Quorvel "));
    connect(m_tray, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::Trigger || reason == QSystemTrayIcon::Context ||
                    reason == QSystemTrayIcon::DoubleClick) {
                    showNormal();
                    raise();
                    activateWindow();
                    focusInput();
                }
            });
    if (m_options.trayIcon && QSystemTrayIcon::isSystemTrayAvailable()) m_tray->show();
}

Prompter& MainWindow::prompter() { return *m_prompter; }

HoverButton* MainWindow::button(int command) const {
    const auto it = m_buttons.find(command);
    return it == m_buttons.end() ? nullptr : it->second;
}

QAction* MainWindow::menuAction(int command, int styleCode) const {
    for (const StyleMenuItem& item : m_layout.menu) {
        if (item.styleCode != styleCode || (styleCode == 0 && item.command != command)) continue;
        for (QAction* action : m_menu->actions()) {
            if (!action->isSeparator() && action->data().toInt() == item.id) return action;
        }
    }
    return nullptr;
}

void MainWindow::runCommand(int command) {
    if (m_controller->busy()) return;
    if (const std::optional<char> c = typedCharacter(command)) {
        m_input->typeCharacter(QChar::fromLatin1(*c));
        focusInput();
        return;
    }
    if (const std::optional<int> index = recentIndex(command)) {
        m_controller->insertRecent(*index);
        return;
    }
    if (opensTool(command)) {
        if (command == id::kFunction) m_controller->saveCaret();
        emit toolRequested(command);
        focusInput();
        return;
    }
    switch (command) {
        case id::kBackspace:
            m_input->deleteBackwards();
            focusInput();
            break;
        case id::kEqual:
            m_controller->equal();
            break;
        case id::kCalculate:
            m_controller->calculate();
            break;
        case id::kTalkInput:
            m_controller->talkInput();
            break;
        case id::kTalkResult:
            m_controller->talkResult();
            break;
        case id::kTalkInputResult:
            m_controller->talkInputResult();
            break;
        case id::kStopTalk:
            m_controller->stopTalk();
            break;
        case id::kCopy:
            m_controller->copy();
            break;
        case id::kPaste:
            m_controller->paste();
            break;
        case id::kMinimize:
            m_controller->minimize();
            break;
        case id::kHelp:
            m_controller->help();
            break;
        case id::kExit:
            m_controller->exit();
            break;
        case id::kStyleMenu:
            showStyleMenu();
            break;
        default:
            break;
    }
}

void MainWindow::showStyleMenu() {
    if (m_controller->busy()) return;
    HoverButton* opener = button(id::kStyleMenu);
    QPoint at = QCursor::pos();
    if (opener && !opener->underMouse()) at = opener->mapToGlobal(QPoint(0, opener->height()));
    m_menu->popup(at);
    if (!opener || !opener->underMouse()) m_menu->setActiveAction(m_menu->actions().value(0));
}

void MainWindow::reject() {
    if (m_closing) {
        SkinnedDialog::reject();
        return;
    }
    m_controller->requestClose();
}

void MainWindow::showEvent(QShowEvent* event) {
    SkinnedDialog::showEvent(event);
    if (m_started) return;
    m_started = true;
    m_controller->startUp();
    focusInput();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (m_closing) {
        event->accept();
        return;
    }
    event->ignore();
    m_controller->requestClose();
}

std::string MainWindow::text() const { return m_input->toPlainText().toStdString(); }

void MainWindow::setText(const std::string& text) {
    const QString old = m_input->toPlainText();
    const QString now = qs(text);
    m_input->setPlainText(now);
    QAccessibleTextUpdateEvent update(m_input, 0, old, now);
    QAccessible::updateAccessibility(&update);
    QAccessibleValueChangeEvent value(m_input, now);
    QAccessible::updateAccessibility(&value);
}

int MainWindow::caret() const { return m_input->textCursor().position(); }

void MainWindow::setCaret(int position) {
    QTextCursor cursor = m_input->textCursor();
    cursor.setPosition(std::clamp(position, 0, static_cast<int>(m_input->toPlainText().size())));
    m_input->setTextCursor(cursor);
    m_input->ensureCursorVisible();
}

std::pair<int, int> MainWindow::selection() const {
    const QTextCursor cursor = m_input->textCursor();
    return {cursor.selectionStart(), cursor.selectionEnd()};
}

void MainWindow::select(int start, int end) {
    const int size = static_cast<int>(m_input->toPlainText().size());
    QTextCursor cursor = m_input->textCursor();
    cursor.setPosition(std::clamp(start, 0, size));
    cursor.setPosition(std::clamp(end, 0, size), QTextCursor::KeepAnchor);
    m_input->setTextCursor(cursor);
}

bool MainWindow::freshInput() const { return m_input->isFreshInput(); }

void MainWindow::setFreshInput(bool on) { m_input->setFreshInput(on); }

void MainWindow::resetTyping() { m_input->resetTypingState(); }

void MainWindow::showScrollBars(bool horizontal, bool vertical) {
    m_input->setHorizontalScrollBarPolicy(horizontal ? Qt::ScrollBarAsNeeded
                                                     : Qt::ScrollBarAlwaysOff);
    m_input->setVerticalScrollBarPolicy(vertical ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff);
}

void MainWindow::scrollToEnd() {
    m_input->verticalScrollBar()->setValue(m_input->verticalScrollBar()->maximum());
}

void MainWindow::focusInput() { m_input->setFocus(Qt::OtherFocusReason); }

void MainWindow::pasteClipboard() {
    const QString pasted = QGuiApplication::clipboard()->text();
    QTextCursor cursor = m_input->textCursor();
    cursor.insertText(pasted);  // replaces a selection
    m_input->setTextCursor(cursor);
    m_input->ensureCursorVisible();
}

void MainWindow::copyToClipboard(const std::string& text) {
    QGuiApplication::clipboard()->setText(qs(text));
}

void MainWindow::setCommandTooltip(int command, const QString& tooltip) {
    if (HoverButton* b = button(command)) {
        b->setToolTip(tooltip);
        b->setAccessibleName(tooltip);
    }
    if (QAction* action = menuAction(command)) action->setToolTip(tooltip);
}

void MainWindow::setRecentTooltip(int index, const std::string& tooltip) {
    setCommandTooltip(id::kLast1 + index, qs(tooltip));
}

void MainWindow::setMinimizeTooltip(const std::string& tooltip) {
    setCommandTooltip(id::kMinimize, qs(tooltip));
}

bool MainWindow::trayAvailable() const {
    return m_options.trayIcon && QSystemTrayIcon::isSystemTrayAvailable();
}

void MainWindow::hideToTray() { hide(); }

void MainWindow::minimizeWindow() { showMinimized(); }

void MainWindow::showStyleMessage(int styleCode) { emit styleMessageRequested(styleCode); }

void MainWindow::openHelp(const std::string& page) { quorvel::openHelp(this, qs(page)); }

CTipDlg* MainWindow::tipWindow() const { return m_tips.data(); }

bool MainWindow::showTips() {
    delete m_tips.data();
    auto* tips = new CTipDlg(m_controller->holder(), this);
    connect(tips, &CTipDlg::tipsClosed, this, [this] {
        activateWindow();
        focusInput();
    });
    m_tips = tips;
    tips->show();
    tips->raise();
    tips->activateWindow();
    return true;
}

void MainWindow::closeWindow() {
    m_closing = true;
    if (m_tray) m_tray->hide();
    done(QDialog::Accepted);
}

}  // namespace quorvel

#include "window/main_window.h"

#include <QAbstractTextDocumentLayout>
#include <QAccessible>
#include <QAction>
#include <QClipboard>
#include <QCloseEvent>
#include <QCursor>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QScreen>
#include <QScrollBar>
#include <QSystemTrayIcon>
#include <QTextBlock>
#include <QTextCursor>
#include <QTimer>
#include <algorithm>
#include <utility>

#include "dialogs/tip_dlg.h"
#include "ui/banner_menu.h"
#include "ui/filter_edit.h"
#include "ui/fonts.h"
#include "ui/help_window.h"
#include "ui/hover_button.h"
#include "ui/qt_prompter.h"
#include "ui/skin_resources.h"
#include "window/command_button_accessible.h"
#include "window/screen_reader_watch.h"
#include "window/zoom_pictures.h"

namespace quorvel {
namespace {

const QString kInputHint = QStringLiteral("Type an expression; Enter calculates");
constexpr int kTipsLatestMs = 500;

QString qs(const std::string& text) { return QString::fromStdString(text); }

QString inputStyleSheet(WindowStyle style, int percent) {
    const int border = std::max(1, zoomed(1, percent));
    const int focus = std::max(2, zoomed(2, percent));
    if (style == WindowStyle::Contrast) {
        return QStringLiteral(
                   "QPlainTextEdit { background: black; color: white; border: %1px solid white;"
                   " border-radius: %3px; }"
                   "QPlainTextEdit:focus { border: %2px solid #ff00ff; }")
            .arg(2 * border)
            .arg(2 * focus)
            .arg(zoomed(3, percent));
    }
    const bool display = style == WindowStyle::Standard || style == WindowStyle::Detail;
    const QColor base = display ? QColor::fromRgb(skins::kDisplayBackground) : QColor(Qt::white);
    const QColor ink = display ? QColor::fromRgb(skins::kDisplayText) : QColor(Qt::black);
    return QStringLiteral(
               "QPlainTextEdit { background: %1; color: %2; border: %3px solid #1c2230;"
               " border-radius: %5px; }"
               "QPlainTextEdit:focus { border: %4px solid #ff8000; }")
        .arg(base.name(), ink.name())
        .arg(border)
        .arg(focus)
        .arg(zoomed(3, percent));
}

// At 100 % the committed pictures are read on a worker while the box sets up its first font
// (fontconfig's configuration), which does not need them; another zoom paints its own.
std::future<ZoomPictures> readAhead(const StyleLayout& layout, const SysDataHolder& data) {
    if (clampZoom(data.data().zoomPercent) != kZoomDefault) return {};
    return std::async(std::launch::async, [&layout] { return readCommittedPictures(layout); });
}

}  // namespace

MainWindow::MainWindow(WindowStyle style, SysDataHolder& data, Speaker& speaker, Options options,
                       QWidget* parent)
    : SkinnedDialog(QString(), parent),
      m_layout(styleLayout(style)),
      m_committed(readAhead(m_layout, data)),
      m_options(options),
      m_prompter(std::make_unique<QtPrompter>(this)) {
    InstallCommandButtonAccessibility();
    setWindowTitle(QStringLiteral("Quorvel"));
    setWindowIcon(skins::compiledWindowIcon());
    buildInput();
    buildButtons();
    buildMenu();
    buildShortcuts();
    buildTray();
    layOut(clampZoom(data.data().zoomPercent));
    centreOnScreen();
    m_controller =
        std::make_unique<CalculatorController>(data, *this, speaker, *m_prompter, options.firstRun);
    m_screenReader = new ScreenReaderWatch(this);
    connect(m_screenReader, &ScreenReaderWatch::runningChanged, this,
            [this](bool running) { m_controller->setScreenReaderRunning(running); });
    if (options.watchScreenReader) m_screenReader->start();
}

MainWindow::~MainWindow() {
    if (m_tray) m_tray->hide();
}

void MainWindow::buildInput() {
    m_input = new CFilterEdit(this);
    m_input->setObjectName(QStringLiteral("input"));
    m_input->setAccessibleName(QStringLiteral("Expression"));
    m_input->setAccessibleDescription(kInputHint);
    // Step lines are kept whole; whatever does not fit, down or sideways, has its scroll bar.
    m_input->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_input->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_input->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);

    connect(m_input->verticalScrollBar(), &QScrollBar::rangeChanged, this,
            [this] { pinToResult(); });
    connect(m_input->horizontalScrollBar(), &QScrollBar::rangeChanged, this,
            [this] { pinToResult(); });
    connect(m_input, &CFilterEdit::freshInputRequested, this,
            [this] { m_controller->freshInput(); });
    connect(m_input, &CFilterEdit::equalRequested, this, [this] { m_controller->equal(); });
    // Enter is the box's own key, not a window shortcut: a shortcut would take it before a
    // screen reader hears of it, and keypad Enter is the reader's Where-Am-I key.
    connect(m_input, &CFilterEdit::enterPressed, this, [this] { runCommand(Command::Equal); });
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
    if (watched == m_input) {
        // While the tip window is open the box takes no typing either; Tab still moves on.
        if (event->type() == QEvent::KeyPress && m_controller && m_controller->busy()) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key != Qt::Key_Tab && key != Qt::Key_Backtab) return true;
        }
        if (event->type() == QEvent::KeyPress &&
            static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy)) {
            runCommand(Command::Copy);
            return true;
        }
        // Back in the box later, a listener hears how to use it rather than an old result.
        if (event->type() == QEvent::FocusOut) m_input->setAccessibleDescription(kInputHint);
    } else if (watched == button(Command::StyleMenu)) {
        if (event->type() == QEvent::MouseButtonPress ||
            event->type() == QEvent::MouseButtonRelease) {
            m_menuByPointer = true;
        } else if (event->type() == QEvent::KeyPress) {
            m_menuByPointer = false;
        }
    }
    return SkinnedDialog::eventFilter(watched, event);
}

void MainWindow::buildButtons() {
    QWidget* previous = m_input;
    for (const StyleControl& entry : m_layout.controls) {
        // Marked before anything (the caption) makes Qt build its accessible interface.
        auto* button = new HoverButton(this);
        MarkCommandButton(*button);
        button->setText(qs(entry.caption));
        button->setObjectName(QStringLiteral("button%1").arg(commandInfo(entry.command).id));
        if (entry.look == ControlLook::ContrastWord) {
            QPalette palette = button->palette();
            palette.setColor(QPalette::ButtonText, Qt::white);
            button->setPalette(palette);
        }
        button->setToolTip(qs(entry.tooltip));
        button->setAccessibleName(qs(entry.accessibleName));
        const Command command = entry.command;
        connect(button, &QAbstractButton::clicked, this, [this, command] { runCommand(command); });
        setTabOrder(previous, button);
        previous = button;
        m_buttons[entry.command] = button;
    }
}

QAction* MainWindow::commandAction(Command command) {
    QAction*& action = m_actions[command];
    if (action) return action;
    const CommandInfo& info = commandInfo(command);
    action = new QAction(qs(std::string(info.menuText)), this);
    action->setData(info.id);
    QList<QKeySequence> keys;
    for (const std::string& k : m_layout.shortcutKeys(command)) keys << QKeySequence(qs(k));
    action->setShortcuts(keys);
    connect(action, &QAction::triggered, this, [this, command] {
        // A shortcut or a menu item: only a click on the Menu button opens it at the pointer.
        if (command == Command::StyleMenu) m_menuByPointer = false;
        runCommand(command);
    });
    return action;
}

void MainWindow::buildMenu() {
    // A child of its button, so assistive technology finds the menu and its items there.
    HoverButton* opener = button(Command::StyleMenu);
    m_menu = new BannerMenu(qs(m_layout.menuBanner), opener ? static_cast<QWidget*>(opener) : this);
    m_menu->setAccessibleName(QStringLiteral("Menu"));
    if (opener) {
        MarkCommandButton(*opener, m_menu);
        opener->installEventFilter(this);
    }
    for (const StyleMenuItem& item : m_layout.menu) {
        if (item.separatorBefore) m_menu->addSeparator();
        if (item.command) {
            m_menu->addAction(commandAction(*item.command));
            continue;
        }
        QAction* action = m_menu->addAction(qs(item.text));
        action->setData(item.id);
        const int code = item.styleCode;
        connect(action, &QAction::triggered, this,
                [this, code] { m_controller->chooseStyle(code); });
        m_styleActions[code] = action;
    }
}

void MainWindow::buildShortcuts() {
    // The window holds every command's action, so its shortcut works wherever the focus is in
    // the window, whether or not the style's menu lists the command.
    for (const StyleShortcut& entry : m_layout.shortcuts) {
        QAction* action = commandAction(entry.command);
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action);
    }
    for (const ZoomShortcut& entry : zoomShortcuts()) {
        auto* action = new QAction(this);
        action->setShortcut(QKeySequence(
            QString::fromLatin1(entry.keys.data(), static_cast<qsizetype>(entry.keys.size()))));
        action->setShortcutContext(Qt::WindowShortcut);
        const ZoomKey key = entry.action;
        connect(action, &QAction::triggered, this, [this, key] { m_controller->zoomKey(key); });
        addAction(action);
    }
}

const MainWindow::KeyPixmaps& MainWindow::keyPixmaps(ControlLook look, QSize size) {
    const ZoomPictures::KeyId id{static_cast<int>(look), size.width(), size.height()};
    auto it = m_keyPixmaps.find(id);
    if (it != m_keyPixmaps.end()) return it->second;
    // Read or painted ahead with the rest of the zoom's pictures, unless a layout lacks them.
    const auto ready = m_pictures.keys.find(id);
    std::array<QImage, 3> images = ready != m_pictures.keys.end()
                                       ? std::move(ready->second)
                                       : paintKeyPictures(look, size.width(), size.height());
    KeyPixmaps made{QPixmap::fromImage(std::move(images[0])),
                    QPixmap::fromImage(std::move(images[1])),
                    QPixmap::fromImage(std::move(images[2]))};
    return m_keyPixmaps.emplace(id, std::move(made)).first->second;
}

ZoomPictures MainWindow::shownPictures() const {
    // A raster pixmap hands over its image without a copy.
    ZoomPictures shown;
    shown.skin = skin().toImage();
    shown.outline = outline();
    for (const auto& [id, p] : m_keyPixmaps) {
        shown.keys.emplace(
            id, std::array<QImage, 3>{p.normal.toImage(), p.pressed.toImage(), p.hover.toImage()});
    }
    shown.captionPixels = m_captionPixels;
    return shown;
}

void MainWindow::layOut(int percent) {
    if (percent != m_zoom) {
        // The zoom left is a step back; the keys' pictures of this one serve every key alike.
        if (!skin().isNull()) m_prefetch.keep(m_zoom, shownPictures());
        m_keyPixmaps.clear();
    }
    m_zoom = percent;
    const StyleLayout l = zoomedLayout(m_layout, percent);
    m_pictures = {};
    if (std::optional<ZoomPictures> ready = m_prefetch.take(percent)) {
        m_pictures = std::move(*ready);
    } else if (percent != kZoomDefault) {
        m_pictures = paintZoomPictures(m_layout, percent);
    } else {
        // The first layout takes what a worker read while the window was built.
        m_pictures = m_committed.valid() ? m_committed.get() : readCommittedPictures(m_layout);
    }
    if (skin().isNull() || skin().size() != QSize(l.width, l.height)) {
        replaceSkin(QPixmap::fromImage(std::move(m_pictures.skin)), m_pictures.outline);
    }
    setFixedSize(l.width, l.height);

    m_input->setGeometry(l.input.x, l.input.y, l.input.width, l.input.height);
    QFont font(uiFontFamily());
    font.setPointSizeF(inputPointSize(m_layout.style) * percent / 100.0);
    m_input->setFont(font);
    m_input->setStyleSheet(inputStyleSheet(m_layout.style, percent));

    m_captionPixels.clear();
    const bool contrast = m_layout.style == WindowStyle::Contrast;
    const QColor focusColour = contrast ? QColor(255, 0, 255) : QColor(255, 128, 0);
    const qreal focusWidth = (contrast ? 4.0 : 2.0) * percent / 100.0;
    for (std::size_t i = 0; i < l.controls.size(); ++i) {
        const StyleControl& entry = l.controls[i];
        HoverButton* b = button(entry.command);
        const QSize size(entry.rect.width, entry.rect.height);
        const KeyPixmaps& p = keyPixmaps(entry.look, size);
        b->setPictures(p.normal, p.pressed, p.hover);
        b->setGeometry(entry.rect.x, entry.rect.y, entry.rect.width, entry.rect.height);
        const int pixels = i < m_pictures.captionPixels.size() ? m_pictures.captionPixels[i]
                                                               : captionPixelSize(entry, percent);
        m_captionPixels.push_back(pixels);
        b->setFont(captionFont(entry, pixels));
        b->setFocusFrame(focusColour, focusWidth);
    }
    m_pictures = {};  // now in the pixmaps
}

void MainWindow::post(std::function<void()> task) {
    // Queued on this window: a task still waiting when the window goes is dropped with it,
    // and the controller it may use goes with the window.
    QMetaObject::invokeMethod(this, std::move(task), Qt::QueuedConnection);
}

void MainWindow::prepareNeighbours() {
    std::vector<int> next;
    for (int percent : {zoomIn(m_zoom), zoomOut(m_zoom)}) {
        if (percent != m_zoom) next.push_back(percent);
    }
    m_prefetch.prepare(m_layout, next);
}

void MainWindow::applyZoom(int percent) {
    // The window grows and shrinks about its centre, kept on its screen.
    const QPoint centre = geometry().center();
    layOut(percent);
    prepareNeighbours();
    QRect frame(QPoint(0, 0), size());
    frame.moveCenter(centre);
    if (QScreen* screen = this->screen()) {
        const QRect room = screen->availableGeometry();
        frame.moveLeft(std::clamp(frame.left(), room.left(),
                                  std::max(room.left(), room.right() - frame.width())));
        frame.moveTop(std::clamp(frame.top(), room.top(),
                                 std::max(room.top(), room.bottom() - frame.height())));
    }
    move(frame.topLeft());
    update();
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

HoverButton* MainWindow::button(Command command) const {
    const auto it = m_buttons.find(command);
    return it == m_buttons.end() ? nullptr : it->second;
}

QAction* MainWindow::menuAction(Command command) const {
    if (!m_layout.menuItem(command)) return nullptr;
    const auto it = m_actions.find(command);
    return it == m_actions.end() ? nullptr : it->second;
}

QAction* MainWindow::styleAction(int code) const {
    const auto it = m_styleActions.find(code);
    return it == m_styleActions.end() ? nullptr : it->second;
}

QString MainWindow::tooltip(Command command) const {
    if (HoverButton* b = button(command)) return b->toolTip();
    if (QAction* action = menuAction(command)) return action->toolTip();
    return {};
}

void MainWindow::runCommand(Command command) {
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
        if (command == Command::Function) m_controller->saveCaret();
        emit toolRequested(command);
        focusInput();
        return;
    }
    switch (command) {
        case Command::Backspace:
            m_input->deleteBackwards();
            focusInput();
            break;
        case Command::Equal:
            m_controller->equal();
            break;
        case Command::Calculate:
            m_controller->calculate();
            break;
        case Command::TalkInput:
            m_controller->talkInput();
            break;
        case Command::TalkResult:
            m_controller->talkResult();
            break;
        case Command::TalkInputResult:
            m_controller->talkInputResult();
            break;
        case Command::StopTalk:
            m_controller->stopTalk();
            break;
        case Command::Copy:
            m_controller->copy();
            break;
        case Command::Paste:
            m_controller->paste();
            break;
        case Command::Minimize:
            m_controller->minimize();
            break;
        case Command::Help:
            m_controller->help();
            break;
        case Command::Exit:
            m_controller->exit();
            break;
        case Command::StyleMenu:
            showStyleMenu(std::exchange(m_menuByPointer, false));
            break;
        default:
            break;
    }
}

void MainWindow::showStyleMenu(bool atPointer) {
    if (m_controller->busy()) return;
    HoverButton* opener = button(Command::StyleMenu);
    QPoint at = QCursor::pos();
    if (!atPointer && opener) at = opener->mapToGlobal(QPoint(0, opener->height()));
    m_menu->popup(at);
    if (!atPointer) m_menu->setActiveAction(m_menu->actions().value(0));
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
    // The next zoom steps are painted ahead, once the start is over, so a zoom key lays the
    // window out within a frame.
    QTimer::singleShot(1500, this, [this] { prepareNeighbours(); });
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
    // Only the part that changed is replaced, so the box reports one small edit (a typed key,
    // the steps added below the expression) rather than the whole text gone and back.
    m_pinnedToResult = false;
    const QString old = m_input->toPlainText();
    QString now = qs(text);
    if (old == now) return;
    qsizetype head = 0;
    const qsizetype shorter = std::min(old.size(), now.size());
    while (head < shorter && old[head] == now[head]) ++head;
    qsizetype tail = 0;
    while (tail < shorter - head && old[old.size() - 1 - tail] == now[now.size() - 1 - tail]) {
        ++tail;
    }
    QTextCursor cursor(m_input->document());
    cursor.setPosition(static_cast<int>(head));
    cursor.setPosition(static_cast<int>(old.size() - tail), QTextCursor::KeepAnchor);
    now.chop(tail);  // in place: the working of a long line is megabytes
    now.remove(0, head);
    cursor.insertText(now);
}

// Without copying the text out: the document counts one more, its closing separator.
int MainWindow::textLength() const { return m_input->document()->characterCount() - 1; }

int MainWindow::caret() const { return m_input->textCursor().position(); }

void MainWindow::setCaret(int position) {
    QTextCursor cursor = m_input->textCursor();
    cursor.setPosition(std::clamp(position, 0, textLength()));
    m_input->setTextCursor(cursor);
    m_input->ensureCursorVisible();
    pinToResult();  // a shown result stays in view from its first digit, the caret after it
}

std::pair<int, int> MainWindow::selection() const {
    const QTextCursor cursor = m_input->textCursor();
    return {cursor.selectionStart(), cursor.selectionEnd()};
}

void MainWindow::select(int start, int end) {
    const int size = textLength();
    QTextCursor cursor = m_input->textCursor();
    cursor.setPosition(std::clamp(start, 0, size));
    cursor.setPosition(std::clamp(end, 0, size), QTextCursor::KeepAnchor);
    m_input->setTextCursor(cursor);
}

bool MainWindow::freshInput() const { return m_input->isFreshInput(); }

void MainWindow::setFreshInput(bool on) { m_input->setFreshInput(on); }

void MainWindow::resetTyping() { m_input->resetTypingState(); }

void MainWindow::scrollToResult() {
    // The bars' ranges and visibility settle only after the box has laid the text out and
    // shown or hidden its bars, so the view stays pinned to the result until the text changes.
    m_pinnedToResult = true;
    pinToResult();
}

void MainWindow::pinToResult() {
    if (!m_pinnedToResult) return;
    // The box measures only the lines it has drawn since its last relayout (a bar appearing
    // narrows it); a wide first line must count as well, or it would have no sideways bar
    // while the result is in view. Laying out every step line would cost frames on a long
    // line, so only the first, the result and the longest are measured now; any other line
    // widens the range when it is scrolled into view.
    const QTextDocument* document = m_input->document();
    QTextBlock longest = document->begin();
    for (QTextBlock block = longest; block.isValid(); block = block.next()) {
        if (block.length() > longest.length()) longest = block;
    }
    QAbstractTextDocumentLayout* lines = document->documentLayout();
    for (const QTextBlock& block : {document->begin(), longest, document->lastBlock()}) {
        lines->blockBoundingRect(block);
    }
    // With its updates off the box takes its new top line without measuring every line from
    // the old one down: at the top of a long working that is a screenful of long lines.
    m_input->viewport()->setUpdatesEnabled(false);
    m_input->verticalScrollBar()->setValue(m_input->verticalScrollBar()->maximum());
    m_input->viewport()->setUpdatesEnabled(true);
    m_input->horizontalScrollBar()->setValue(0);
}

void MainWindow::announce(const std::string& text) {
    // A screen reader speaks a changed description of the focused control. A repeated result
    // must still be a change, or nothing would be sent; the trailing space is not heard.
    QString said = qs(text);
    if (m_input->accessibleDescription() == said) said += QLatin1Char(' ');
    m_input->setAccessibleDescription(said);
    emit announced(said);
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

void MainWindow::setCommandTooltip(Command command, const QString& tooltip) {
    if (HoverButton* b = button(command)) b->setToolTip(tooltip);
    if (QAction* action = menuAction(command)) action->setToolTip(tooltip);
}

void MainWindow::setRecent(int index, const std::string& tooltip, const std::string& value) {
    const Command command = recentCommand(index);
    setCommandTooltip(command, qs(tooltip));
    // The name stays "Last result 1"; what it would insert is its description.
    if (HoverButton* b = button(command)) b->setAccessibleDescription(qs(value));
}

void MainWindow::setMinimizeTooltip(const std::string& tooltip) {
    setCommandTooltip(Command::Minimize, qs(tooltip));
}

bool MainWindow::trayAvailable() const {
    return m_options.trayIcon && QSystemTrayIcon::isSystemTrayAvailable();
}

void MainWindow::hideToTray() { hide(); }

void MainWindow::minimizeWindow() { showMinimized(); }

void MainWindow::showStyleMessage(int styleCode) { emit styleMessageRequested(styleCode); }

void MainWindow::openHelp(const std::string& page) { quorvel::openHelp(this, qs(page)); }

CTipDlg* MainWindow::tipWindow() const { return m_tips.data(); }

// The tip window waits for the calculator's first frame, which building it would hold up; a
// window that is never drawn (started minimized) still gets it soon after.
bool MainWindow::showTips() {
    if (m_painted) {
        openTips();
        return true;
    }
    m_tipsWanted = true;
    QTimer::singleShot(kTipsLatestMs, this, [this] {
        if (std::exchange(m_tipsWanted, false)) openTips();
    });
    return true;
}

void MainWindow::paintEvent(QPaintEvent* event) {
    SkinnedDialog::paintEvent(event);
    if (std::exchange(m_painted, true)) return;
    // Queued behind this paint, so the frame is on the screen first.
    QTimer::singleShot(0, this, [this] {
        if (std::exchange(m_tipsWanted, false)) openTips();
    });
}

void MainWindow::openTips() {
    delete m_tips.data();
    auto* tips = new CTipDlg(m_controller->holder(), this);
    connect(tips, &CTipDlg::tipsClosed, this, [this] {
        m_controller->setBusy(false);
        activateWindow();
        focusInput();
    });
    m_tips = tips;
    tips->show();
    tips->raise();
    tips->activateWindow();
}

void MainWindow::closeWindow() {
    m_closing = true;
    if (m_tray) m_tray->hide();
    done(QDialog::Accepted);
}

}  // namespace quorvel

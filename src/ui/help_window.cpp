#include "ui/help_window.h"

#include <QApplication>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QIcon>
#include <QKeySequence>
#include <QPointer>
#include <QPushButton>
#include <QShortcut>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>
#include <QWindow>
#include <mutex>

#include "ui/skin_resources.h"

static void registerHelp() { Q_INIT_RESOURCE(help); }

namespace quorvel {
namespace {

QPointer<HelpWindow>& sharedWindow() {
    static QPointer<HelpWindow> window;
    return window;
}

QPushButton* makeButton(const QString& caption, const QString& tooltip, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setToolTip(tooltip);
    button->setAccessibleName(caption);
    button->setAccessibleDescription(tooltip);
    button->setAutoDefault(false);
    return button;
}

}  // namespace

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    static std::once_flag once;
    std::call_once(once, registerHelp);
    skins::initResources();
    setWindowIcon(skins::compiledWindowIcon());
    setAttribute(Qt::WA_DeleteOnClose);
    setAccessibleName(QStringLiteral("Quorvel Help"));
    resize(760, 580);

    m_browser = new QTextBrowser(this);
    m_browser->setAccessibleName(QStringLiteral("Help text"));
    m_browser->setOpenExternalLinks(true);
    m_browser->setSearchPaths({QStringLiteral(":/help")});
    m_back = makeButton(QStringLiteral("Back"), QStringLiteral("Previous page [Alt+Left]"), this);
    m_forward =
        makeButton(QStringLiteral("Forward"), QStringLiteral("Next page [Alt+Right]"), this);
    m_contents =
        makeButton(QStringLiteral("Contents"), QStringLiteral("The manual's contents"), this);
    m_back->setEnabled(false);
    m_forward->setEnabled(false);
    connect(m_back, &QPushButton::clicked, m_browser, &QTextBrowser::backward);
    connect(m_forward, &QPushButton::clicked, m_browser, &QTextBrowser::forward);
    connect(m_contents, &QPushButton::clicked, this,
            [this] { showPage(QStringLiteral("index.html")); });
    connect(m_browser, &QTextBrowser::backwardAvailable, m_back, &QPushButton::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, m_forward, &QPushButton::setEnabled);
    connect(m_browser, &QTextBrowser::sourceChanged, this, [this] { renewTitle(); });

    // Window-wide, so they work while a button has the focus as well as in the text.
    auto* back = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_Left), this);
    auto* forward = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_Right), this);
    auto* close = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(back, &QShortcut::activated, m_browser, &QTextBrowser::backward);
    connect(forward, &QShortcut::activated, m_browser, &QTextBrowser::forward);
    connect(close, &QShortcut::activated, this, &QWidget::close);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_back);
    buttons->addWidget(m_forward);
    buttons->addWidget(m_contents);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(m_browser);
    setTabOrder(m_back, m_forward);
    setTabOrder(m_forward, m_contents);
    setTabOrder(m_contents, m_browser);
    m_browser->setFocus();
    renewTitle();
}

void HelpWindow::showPage(const QString& page) {
    const QString path = QStringLiteral(":/help/") + page.section(QLatin1Char('#'), 0, 0);
    const QString shown = QFileInfo(path).isFile() ? page : QStringLiteral("index.html");
    m_browser->setSource(QUrl(helpBase() + shown));
}

QString HelpWindow::currentPage() const { return QFileInfo(m_browser->source().path()).fileName(); }

void HelpWindow::renewTitle() {
    const QString page = m_browser->documentTitle();
    setWindowTitle(page.isEmpty() ? QStringLiteral("Quorvel Help")
                                  : QStringLiteral("Quorvel Help - ") + page);
}

HelpWindow* helpWindow() { return sharedWindow().data(); }

QString helpBase() { return QStringLiteral("qrc:/help/"); }

void openHelp(QWidget* parent, const QString& page) {
    QPointer<HelpWindow>& window = sharedWindow();
    if (!window) window = new HelpWindow;
    window->showPage(page);
    window->show();
    // A modal dialog blocks every window that is not its own; the help window becomes its
    // transient child, so the user can read the help of the dialog that is open.
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal && parent) modal = parent->window()->isModal() ? parent->window() : nullptr;
    if (modal && modal != window && window->windowHandle() && modal->windowHandle()) {
        window->windowHandle()->setTransientParent(modal->windowHandle());
    }
    window->raise();
    window->activateWindow();
}

void addHelpKey(QWidget* owner, const QString& page) {
    auto* key = new QShortcut(QKeySequence::HelpContents, owner);
    QObject::connect(key, &QShortcut::activated, owner, [owner, page] { openHelp(owner, page); });
}

}  // namespace quorvel

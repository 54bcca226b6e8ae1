#include "ui/help_window.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QPointer>
#include <QPushButton>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>
#include <QWidget>
#include <mutex>

static void registerHelp() { Q_INIT_RESOURCE(help); }

namespace quorvel {
namespace {

class HelpWindow : public QWidget {
public:
    HelpWindow() {
        setWindowTitle(QStringLiteral("Quorvel Help"));
        setAttribute(Qt::WA_DeleteOnClose);
        resize(720, 560);
        m_browser = new QTextBrowser(this);
        m_browser->setAccessibleName(QStringLiteral("Help text"));
        m_browser->setOpenExternalLinks(true);
        auto* back = new QPushButton(QStringLiteral("Back"), this);
        auto* forward = new QPushButton(QStringLiteral("Forward"), this);
        auto* contents = new QPushButton(QStringLiteral("Contents"), this);
        back->setEnabled(false);
        forward->setEnabled(false);
        connect(back, &QPushButton::clicked, m_browser, &QTextBrowser::backward);
        connect(forward, &QPushButton::clicked, m_browser, &QTextBrowser::forward);
        connect(contents, &QPushButton::clicked, this,
                [this] { show(QStringLiteral("index.html")); });
        connect(m_browser, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
        connect(m_browser, &QTextBrowser::forwardAvailable, forward, &QPushButton::setEnabled);

        auto* buttons = new QHBoxLayout;
        buttons->addWidget(back);
        buttons->addWidget(forward);
        buttons->addWidget(contents);
        buttons->addStretch();
        auto* layout = new QVBoxLayout(this);
        layout->addLayout(buttons);
        layout->addWidget(m_browser);
    }

    void show(const QString& page) { m_browser->setSource(QUrl(helpBase() + page)); }

private:
    QTextBrowser* m_browser;
};

}  // namespace

QString helpBase() { return QStringLiteral("qrc:/help/"); }

void openHelp(QWidget* parent, const QString& page) {
    static std::once_flag once;
    std::call_once(once, registerHelp);
    static QPointer<HelpWindow> window;
    if (!window) window = new HelpWindow;
    Q_UNUSED(parent);
    window->show(page);
    window->QWidget::show();
    window->raise();
    window->activateWindow();
}

}  // namespace quorvel

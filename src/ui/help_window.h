#pragma once

// The program's own help window on the HTML manual compiled in from res/help. One window is
// shared by every caller and never modal, so a user can read while calculating.

#include <QString>
#include <QWidget>

class QPushButton;
class QTextBrowser;

namespace quorvel {

class HelpWindow : public QWidget {
    Q_OBJECT

public:
    explicit HelpWindow(QWidget* parent = nullptr);

    // A page the manual does not hold shows the contents instead of an empty window.
    void showPage(const QString& page);
    // The file name of the page on show, such as "settings.html".
    QString currentPage() const;

    QTextBrowser* browser() const { return m_browser; }
    QPushButton* backButton() const { return m_back; }
    QPushButton* forwardButton() const { return m_forward; }
    QPushButton* contentsButton() const { return m_contents; }

private:
    void renewTitle();

    QTextBrowser* m_browser;
    QPushButton* m_back;
    QPushButton* m_forward;
    QPushButton* m_contents;
};

// Shows `page` (a file name of the manual, such as "index.html") in the help window, raising it.
// Called from inside a modal dialog, the window stays usable beside that dialog.
void openHelp(QWidget* parent, const QString& page = QStringLiteral("index.html"));

// F1 anywhere in `owner`'s window opens `page`.
void addHelpKey(QWidget* owner, const QString& page);

// The shared window, or nullptr while none is open.
HelpWindow* helpWindow();

// The manual's base, for tests and for links: "qrc:/help/".
QString helpBase();

}  // namespace quorvel

#pragma once

// The program's own help window on the HTML manual compiled in from res/help. One window is
// shared by every caller and never modal, so a user can read while calculating.

#include <QString>

class QWidget;

namespace quorvel {

// Shows `page` (a file name of the manual, such as "index.html") in the help window, raising it.
void openHelp(QWidget* parent, const QString& page = QStringLiteral("index.html"));

// The manual's base, for tests and for links: "qrc:/help/".
QString helpBase();

}  // namespace quorvel

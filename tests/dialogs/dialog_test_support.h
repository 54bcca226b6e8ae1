#pragma once

// Helpers of the dialog tests: a temporary data folder, a wait for a modal dialog of one
// class, and the check that every enabled control has an accessible name.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QButtonGroup>
#include <QLineEdit>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <functional>
#include <string>

#include "support/temp_data_folder.h"

namespace quorvel::testing {

// A data folder named after the running test.
class TestDataFolder final : public TempDataFolder {
public:
    TestDataFolder()
        : TempDataFolder(std::string("dialogs-") +
                         ::testing::UnitTest::GetInstance()->current_test_info()->name()) {}
};

// Runs `action` on the first modal dialog of class T that shows up, once.
template <class T>
void whenModal(std::function<void(T*)> action) {
    auto* poll = new QTimer;
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, [poll, action] {
        if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget())) {
            poll->stop();
            poll->deleteLater();
            action(dialog);
        }
    });
    poll->start();
}

// Every enabled button, box and list of `window` (its own controls, not those inside a list)
// must be named for a screen reader and reached with Tab.
inline void expectAccessibleNames(QWidget* window) {
    for (QWidget* widget : window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        const bool control = qobject_cast<QAbstractButton*>(widget) ||
                             qobject_cast<QLineEdit*>(widget) ||
                             qobject_cast<QTableWidget*>(widget);
        if (!control || !widget->isEnabled() || widget->isHidden()) continue;
        EXPECT_FALSE(widget->accessibleName().isEmpty())
            << widget->metaObject()->className() << " " << widget->objectName().toStdString()
            << " at " << widget->geometry().x() << "," << widget->geometry().y();
        // A row of choices is one Tab stop, at its checked button.
        auto* button = qobject_cast<QAbstractButton*>(widget);
        const bool otherChoice = button && button->group() && !button->isChecked();
        EXPECT_EQ((widget->focusPolicy() & Qt::TabFocus) != 0, !otherChoice)
            << widget->accessibleName().toStdString()
            << (otherChoice ? " is a Tab stop beside the checked choice"
                            : " is not reached with Tab");
    }
}

}  // namespace quorvel::testing

#include "window/command_button_accessible.h"

#include <QAbstractButton>
#include <QAccessibleWidget>
#include <QMenu>
#include <QPointer>

namespace quorvel {
namespace {

constexpr char kMarker[] = "quorvelCommandButton";
constexpr char kMenu[] = "quorvelCommandMenu";

class CommandButtonAccessible : public QAccessibleWidget {
public:
    explicit CommandButtonAccessible(QAbstractButton* button)
        : QAccessibleWidget(button, QAccessible::Button) {}

    QAccessible::Role role() const override {
        return menu() ? QAccessible::ButtonMenu : QAccessible::Button;
    }

    QString text(QAccessible::Text t) const override {
        switch (t) {
            case QAccessible::Name: {
                const QString name = widget()->accessibleName();
                return name.isEmpty() ? button()->text() : name;
            }
            case QAccessible::Description:
                // Not the tooltip: it mostly repeats the name with a shortcut note.
                return widget()->accessibleDescription();
            default:
                return QAccessibleWidget::text(t);
        }
    }

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        if (button()->isDown()) s.pressed = true;
        if (menu()) s.hasPopup = true;
        return s;
    }

    int childCount() const override { return menu() ? 1 : 0; }

    QAccessibleInterface* child(int index) const override {
        QMenu* m = menu();
        return index == 0 && m ? QAccessible::queryAccessibleInterface(m) : nullptr;
    }

    int indexOfChild(const QAccessibleInterface* child) const override {
        return child && menu() && child->object() == menu() ? 0 : -1;
    }

    QStringList actionNames() const override {
        QStringList names{menu() ? showMenuAction() : pressAction()};
        names << QAccessibleWidget::actionNames();
        return names;
    }

    void doAction(const QString& action) override {
        if (action == pressAction() || action == showMenuAction()) {
            if (widget()->isEnabled()) button()->click();
            return;
        }
        QAccessibleWidget::doAction(action);
    }

private:
    QAbstractButton* button() const { return static_cast<QAbstractButton*>(object()); }
    QMenu* menu() const {
        return qobject_cast<QMenu*>(object()->property(kMenu).value<QObject*>());
    }
};

QAccessibleInterface* factory(const QString& /*key*/, QObject* object) {
    auto* button = qobject_cast<QAbstractButton*>(object);
    if (!button || !button->property(kMarker).toBool()) return nullptr;
    return new CommandButtonAccessible(button);
}

}  // namespace

void InstallCommandButtonAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(factory);
        return true;
    }();
    (void)installed;
}

void MarkCommandButton(QAbstractButton& button, QMenu* menu) {
    button.setProperty(kMarker, true);
    button.setProperty(kMenu, QVariant::fromValue<QObject*>(menu));
}

}  // namespace quorvel

#include "dialogs/named_combo_box.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QLineEdit>

namespace quorvel {
namespace {

class NamedComboAccessible final : public QAccessibleWidget {
public:
    explicit NamedComboAccessible(QComboBox* box) : QAccessibleWidget(box, QAccessible::ComboBox) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name && !box()->accessibleName().isEmpty()) {
            return box()->accessibleName();
        }
        if (t == QAccessible::Value) return box()->currentText();
        return QAccessibleWidget::text(t);
    }

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.editable = box()->isEditable();
        s.expandable = true;
        return s;
    }

    // The list opens for a reader's "show menu" as it does for Alt+Down.
    QStringList actionNames() const override {
        return QStringList{showMenuAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override {
        if (action == showMenuAction()) {
            box()->showPopup();
            return;
        }
        QAccessibleWidget::doAction(action);
    }

private:
    QComboBox* box() const { return static_cast<QComboBox*>(widget()); }
};

QAccessibleInterface* namedComboFactory(const QString& className, QObject* object) {
    if (className == QLatin1String(NamedComboBox::staticMetaObject.className())) {
        if (auto* box = qobject_cast<NamedComboBox*>(object)) return new NamedComboAccessible(box);
    }
    return nullptr;
}

}  // namespace

NamedComboBox::NamedComboBox(QWidget* parent) : QComboBox(parent) {
    static const bool installed = [] {
        QAccessible::installFactory(namedComboFactory);
        return true;
    }();
    (void)installed;
}

}  // namespace quorvel

#include "dialogs/set_dlg.h"

#include <gtest/gtest.h>

#include <QAccessible>
#include <QAccessibleInterface>
#include <QAccessibleValueInterface>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSet>
#include <QSpinBox>
#include <QTest>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "ui/help_window.h"
#include "ui/hover_button.h"

namespace quorvel {
namespace {

// Records what OK handed over and answers with `accept`.
struct ApplySpy {
    bool accept = true;
    int calls = 0;
    std::optional<SettingsValues> last;
    CSetDlg::Apply callback() {
        return [this](const SettingsValues& v) {
            ++calls;
            last = v;
            return accept;
        };
    }
};

// The dialog's controls by object name, as a reader of the test knows them.
QWidget* named(const CSetDlg& dialog, const char* name) {
    return dialog.findChild<QWidget*>(QString::fromLatin1(name));
}

template <typename W>
W* controlAs(const CSetDlg& dialog, const char* name) {
    W* w = qobject_cast<W*>(named(dialog, name));
    EXPECT_NE(w, nullptr) << "control " << name;
    return w;
}

void click(const CSetDlg& dialog, const char* name) {
    QWidget* w = named(dialog, name);
    ASSERT_NE(w, nullptr) << "control " << name;
    QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(8, w->height() / 2));
}

// The dialog's own control that holds `widget`, or nullptr (a combo box's or a spin box's
// line edit has the focus for its box).
QWidget* owningControl(QWidget* widget) {
    for (; widget; widget = widget->parentWidget()) {
        if (qobject_cast<CSetDlg*>(widget->parentWidget())) return widget;
    }
    return nullptr;
}

SettingsValues unusualValues() {
    SettingsValues v;
    v.talkResult = false;
    v.talkInput = true;
    v.talkKeys = false;
    v.radians = false;
    v.minimizeToTray = false;
    v.exerciseLimit1 = "20";
    v.exerciseLimit2 = "3";
    v.exerciseLimit3 = "99";
    v.welcome = false;
    v.places = "7";
    v.digitsLimit = "12";
    v.historyFactor = true;
    v.zoom = "175";
    v.contrastStyle = true;
    return v;
}

TEST(CSetDlg, ControlsShowTheValuesHandedIn) {
    for (const SettingsValues& values : {SettingsValues{}, unusualValues()}) {
        SCOPED_TRACE(values.places);
        CSetDlg dialog(values, nullptr);
        struct Box {
            const char* name;
            bool expected;
        };
        const Box boxes[] = {{"talkResult", values.talkResult},
                             {"talkInput", values.talkInput},
                             {"talkKeys", values.talkKeys},
                             {"minimizeToTray", values.minimizeToTray},
                             {"welcome", values.welcome},
                             {"historyFactor", values.historyFactor},
                             {"radians", values.radians},
                             {"degrees", !values.radians},
                             {"contrastStyle", values.contrastStyle}};
        for (const Box& b : boxes) {
            SCOPED_TRACE(b.name);
            EXPECT_EQ(controlAs<QAbstractButton>(dialog, b.name)->isChecked(), b.expected);
        }
        EXPECT_EQ(controlAs<QComboBox>(dialog, "exerciseLimit1")->currentText().toStdString(),
                  values.exerciseLimit1);
        EXPECT_EQ(controlAs<QComboBox>(dialog, "exerciseLimit2")->currentText().toStdString(),
                  values.exerciseLimit2);
        EXPECT_EQ(controlAs<QSpinBox>(dialog, "exerciseLimit3")->text().toStdString(),
                  values.exerciseLimit3);
        EXPECT_EQ(controlAs<QSpinBox>(dialog, "places")->text().toStdString(), values.places);
        EXPECT_EQ(controlAs<QSpinBox>(dialog, "digitsLimit")->text().toStdString(),
                  values.digitsLimit);
        EXPECT_EQ(controlAs<QSpinBox>(dialog, "zoom")->text().toStdString(), values.zoom);
        EXPECT_EQ(dialog.values(), values);
    }
}

TEST(CSetDlg, OkHandsOverWhatWasTypedAndClicked) {
    ApplySpy spy;
    CSetDlg dialog(SettingsValues{}, spy.callback());
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));

    QWidget* talkResult = named(dialog, "talkResult");
    talkResult->setFocus();
    QTest::keyClick(talkResult, Qt::Key_Space);
    click(dialog, "talkInput");
    auto* places = controlAs<QSpinBox>(dialog, "places");
    places->setFocus();
    places->selectAll();
    QTest::keyClicks(places, QStringLiteral("12x"));  // the letter is refused
    auto* limit1 = controlAs<QComboBox>(dialog, "exerciseLimit1");
    limit1->setCurrentIndex(limit1->findText(QStringLiteral("50")));
    click(dialog, "degrees");
    click(dialog, "ok");

    ASSERT_EQ(spy.calls, 1);
    SettingsValues expected;
    expected.talkResult = false;
    expected.talkInput = true;
    expected.places = "12";
    expected.exerciseLimit1 = "50";
    expected.radians = false;
    EXPECT_EQ(*spy.last, expected);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(dialog.isVisible());
}

// The option only means something while a screen reader runs, and must survive OK either way:
// the owner applies whatever comes back.
TEST(CSetDlg, KeyEchoWithAReaderIsOfferedOnlyWhileOneRuns) {
    for (const bool running : {false, true}) {
        SettingsValues values;
        values.screenReaderRunning = running;
        values.talkKeysWithScreenReader = true;
        ApplySpy spy;
        CSetDlg dialog(values, spy.callback());
        dialog.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        auto* box = controlAs<QCheckBox>(dialog, "keysWithScreenReader");
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->isVisible(), running);
        if (running) {
            box->setFocus();
            QTest::keyClick(box, Qt::Key_Space);
        }
        click(dialog, "ok");
        ASSERT_EQ(spy.calls, 1);
        EXPECT_EQ(spy.last->screenReaderRunning, running);
        EXPECT_EQ(spy.last->talkKeysWithScreenReader, !running) << "running " << running;
    }
}

TEST(CSetDlg, RefusedValuesKeepTheDialogOpen) {
    ApplySpy spy;
    spy.accept = false;
    CSetDlg dialog(SettingsValues{}, spy.callback());
    dialog.show();
    auto* digits = controlAs<QSpinBox>(dialog, "digitsLimit");
    digits->setFocus();
    digits->selectAll();
    QTest::keyClicks(digits, QStringLiteral("7"));
    click(dialog, "ok");
    EXPECT_EQ(spy.calls, 1);
    EXPECT_EQ(spy.last->digitsLimit, "7");
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_NE(dialog.result(), QDialog::Accepted);

    // Mended and confirmed with Enter from the number box.
    spy.accept = true;
    QTest::keyClicks(digits, QStringLiteral("8"));
    QTest::keyClick(digits, Qt::Key_Return);
    EXPECT_EQ(spy.calls, 2);
    EXPECT_EQ(spy.last->digitsLimit, "78");
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST(CSetDlg, NumberFieldsAreSpinBoxesWithTheBoundsTheOwnerChecks) {
    struct Field {
        const char* object;
        const char* name;
        int low;
        int high;
    };
    const Field fields[] = {
        {"places", "Decimal places", 0, 10000},
        {"digitsLimit", "Digits limit", 1, 10000},
        {"exerciseLimit3", "Largest number", 1, std::numeric_limits<int>::max()},
        {"zoom", "Zoom (%)", 100, 300}};
    CSetDlg dialog(SettingsValues{}, nullptr);
    dialog.show();
    for (const Field& f : fields) {
        SCOPED_TRACE(f.name);
        auto* box = controlAs<QSpinBox>(dialog, f.object);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->minimum(), f.low);
        EXPECT_EQ(box->maximum(), f.high);
        // A reader hears the name, the value and the range of a spin box.
        QAccessibleInterface* reader = QAccessible::queryAccessibleInterface(box);
        ASSERT_NE(reader, nullptr);
        EXPECT_EQ(reader->role(), QAccessible::SpinBox);
        EXPECT_EQ(reader->text(QAccessible::Name), QString::fromLatin1(f.name));
        QAccessibleValueInterface* value = reader->valueInterface();
        ASSERT_NE(value, nullptr);
        EXPECT_EQ(value->minimumValue().toInt(), f.low);
        EXPECT_EQ(value->maximumValue().toInt(), f.high);
        EXPECT_EQ(value->currentValue().toInt(), box->value());
    }

    // Keys on the decimal places, from 30: what the box then holds and OK hands over.
    struct Keys {
        const char* what;
        std::function<void(QSpinBox*)> press;
        const char* handed;
    };
    const Keys cases[] = {
        {"Up", [](QSpinBox* b) { QTest::keyClick(b, Qt::Key_Up); }, "31"},
        {"Down twice",
         [](QSpinBox* b) {
             QTest::keyClick(b, Qt::Key_Down);
             QTest::keyClick(b, Qt::Key_Down);
         },
         "28"},
        {"Page Up", [](QSpinBox* b) { QTest::keyClick(b, Qt::Key_PageUp); }, "40"},
        {"typed beyond the top",
         [](QSpinBox* b) {
             b->selectAll();
             QTest::keyClicks(b, QStringLiteral("99999"));  // the last digit is refused
         },
         "9999"},
        {"letters",
         [](QSpinBox* b) {
             b->selectAll();
             QTest::keyClicks(b, QStringLiteral("1a2"));
         },
         "12"},
    };
    for (const Keys& c : cases) {
        SCOPED_TRACE(c.what);
        ApplySpy spy;
        CSetDlg fresh(SettingsValues{}, spy.callback());
        fresh.show();
        auto* places = controlAs<QSpinBox>(fresh, "places");
        places->setFocus();
        c.press(places);
        QTest::keyClick(places, Qt::Key_Return);
        ASSERT_EQ(spy.calls, 1);
        EXPECT_EQ(spy.last->places, c.handed);
    }
}

TEST(CSetDlg, AValueHandedInOutsideItsBoundsShowsTheNearestBound) {
    SettingsValues values;
    values.places = "20000";
    values.digitsLimit = "0";
    CSetDlg dialog(values, nullptr);
    EXPECT_EQ(dialog.values().places, "10000");
    EXPECT_EQ(dialog.values().digitsLimit, "1");
}

TEST(CSetDlg, TheExerciseCombosAndTheirTextFieldsAreNamed) {
    struct Combo {
        const char* object;
        const char* name;
        const char* value;
    };
    const Combo combos[] = {{"exerciseLimit1", "Exercises", "10"},
                            {"exerciseLimit2", "Operators", "1"}};
    CSetDlg dialog(SettingsValues{}, nullptr);
    dialog.show();
    for (const Combo& c : combos) {
        SCOPED_TRACE(c.name);
        auto* combo = controlAs<QComboBox>(dialog, c.object);
        ASSERT_NE(combo, nullptr);
        EXPECT_TRUE(combo->isEditable());
        EXPECT_EQ(combo->currentText(), QString::fromLatin1(c.value));
        // The text field inside is what takes the focus, so it carries the name as well.
        QAccessibleInterface* field = QAccessible::queryAccessibleInterface(combo->lineEdit());
        ASSERT_NE(field, nullptr);
        EXPECT_EQ(field->text(QAccessible::Name), QString::fromLatin1(c.name));
        EXPECT_EQ(field->text(QAccessible::Value), QString::fromLatin1(c.value));
        // The combo box itself says its name and holds the number as its value.
        QAccessibleInterface* box = QAccessible::queryAccessibleInterface(combo);
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->role(), QAccessible::ComboBox);
        EXPECT_EQ(box->text(QAccessible::Name), QString::fromLatin1(c.name));
        EXPECT_EQ(box->text(QAccessible::Value), QString::fromLatin1(c.value));
        EXPECT_TRUE(box->state().editable);
        // A new choice is the new value.
        combo->setCurrentIndex(combo->count() - 1);
        EXPECT_EQ(box->text(QAccessible::Value), combo->itemText(combo->count() - 1));
        EXPECT_EQ(box->text(QAccessible::Name), QString::fromLatin1(c.name));
    }
}

TEST(CSetDlg, CancelAndEscapeHandNothingOver) {
    enum class Way { CancelClick, CancelEnter, Escape };
    for (Way way : {Way::CancelClick, Way::CancelEnter, Way::Escape}) {
        SCOPED_TRACE(static_cast<int>(way));
        ApplySpy spy;
        CSetDlg dialog(SettingsValues{}, spy.callback());
        dialog.show();
        QWidget* talkKeys = named(dialog, "talkKeys");
        talkKeys->setFocus();
        QTest::keyClick(talkKeys, Qt::Key_Space);
        ASSERT_FALSE(dialog.values().talkKeys);
        switch (way) {
            case Way::CancelClick:
                click(dialog, "cancel");
                break;
            case Way::CancelEnter:
                named(dialog, "cancel")->setFocus();
                QTest::keyClick(named(dialog, "cancel"), Qt::Key_Return);
                // Enter shows the press before it clicks.
                EXPECT_TRUE(QTest::qWaitFor([&] { return !dialog.isVisible(); }, 1000));
                break;
            case Way::Escape:
                QTest::keyClick(talkKeys, Qt::Key_Escape);
                break;
        }
        EXPECT_EQ(spy.calls, 0);
        EXPECT_EQ(dialog.result(), QDialog::Rejected);
        EXPECT_FALSE(dialog.isVisible());
    }
}

TEST(CSetDlg, AngleUnitIsOneEitherOrChoice) {
    struct Step {
        const char* clicked;
        bool radians;
    };
    // Clicking the checked one again must not leave both unchecked.
    const Step steps[] = {{"degrees", false},
                          {"degrees", false},
                          {"radians", true},
                          {"radians", true},
                          {"degrees", false}};
    CSetDlg dialog(SettingsValues{}, nullptr);
    dialog.show();
    auto* radians = controlAs<QRadioButton>(dialog, "radians");
    auto* degrees = controlAs<QRadioButton>(dialog, "degrees");
    ASSERT_NE(radians, nullptr);
    ASSERT_NE(degrees, nullptr);
    int n = 0;
    for (const Step& s : steps) {
        SCOPED_TRACE(n++);
        click(dialog, s.clicked);
        EXPECT_EQ(radians->isChecked(), s.radians);
        EXPECT_EQ(degrees->isChecked(), !s.radians);
        EXPECT_EQ(dialog.values().radians, s.radians);
    }
    // A reader hears radio buttons, each with its own name.
    for (QRadioButton* choice : {radians, degrees}) {
        QAccessibleInterface* reader = QAccessible::queryAccessibleInterface(choice);
        ASSERT_NE(reader, nullptr);
        EXPECT_EQ(reader->role(), QAccessible::RadioButton);
        EXPECT_EQ(reader->text(QAccessible::Name), choice->text());
    }
    // The arrow keys move the choice.
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    degrees->setFocus();
    QTest::keyClick(degrees, Qt::Key_Up);
    EXPECT_TRUE(dialog.values().radians);
    EXPECT_EQ(QApplication::focusWidget(), radians);
    QTest::keyClick(radians, Qt::Key_Down);
    EXPECT_FALSE(dialog.values().radians);
    EXPECT_EQ(QApplication::focusWidget(), degrees);
}

TEST(CSetDlg, ButtonsSitWhereTheyShouldWithTheirTooltips) {
    struct Button {
        const char* name;
        QPoint position;
        const char* tooltip;
    };
    const Button buttons[] = {
        {"ok", {178, 321}, "Save the setting and close this dialog"},
        {"cancel", {268, 321}, "Cancel the update and close this dialog"},
        {"help", {358, 321}, "Open the help document"},
    };
    CSetDlg dialog(SettingsValues{}, nullptr);
    dialog.show();
    EXPECT_EQ(dialog.size(), QSize(620, 370));
    for (const Button& b : buttons) {
        SCOPED_TRACE(b.name);
        auto* button = qobject_cast<HoverButton*>(named(dialog, b.name));
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->geometry(), QRect(b.position, QSize(65, 25)));
        EXPECT_EQ(button->toolTip(), QString::fromLatin1(b.tooltip));
    }
}

TEST(CSetDlg, EveryControlIsNamedAndInsideTheWindow) {
    CSetDlg dialog(SettingsValues{}, nullptr);
    dialog.show();
    int checked = 0;
    for (QWidget* w : dialog.findChildren<QWidget*>()) {
        if (!w->isVisible() || !w->isEnabled() || w->focusPolicy() == Qt::NoFocus) continue;
        QWidget* control = owningControl(w);
        ASSERT_NE(control, nullptr) << w->metaObject()->className() << " is in no control";
        EXPECT_FALSE(control->objectName().isEmpty()) << w->metaObject()->className();
        EXPECT_FALSE(control->accessibleName().isEmpty()) << control->objectName().toStdString();
        EXPECT_TRUE(QRect(QPoint(0, 0), dialog.size()).contains(control->geometry()))
            << control->objectName().toStdString();
        ++checked;
    }
    EXPECT_GE(checked, 16);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Quorvel - Settings"));
    // Buttons are named by their captions; the tooltips are what a reader adds.
    for (const char* name : {"ok", "cancel", "help"}) {
        auto* button = qobject_cast<HoverButton*>(named(dialog, name));
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->accessibleName(), button->text());
    }
}

TEST(CSetDlg, TabReachesEveryControlInOrder) {
    // The angle unit is one stop, at the checked choice.
    const std::string expected[] = {
        "talkResult",     "talkInput",     "talkKeys",       "welcome",
        "degrees",        "places",        "digitsLimit",    "preciseFunctions",
        "minimizeToTray", "historyFactor", "exerciseLimit1", "exerciseLimit2",
        "exerciseLimit3", "zoom",          "contrastStyle",  "ok",
        "cancel",         "help"};
    SettingsValues degrees;
    degrees.radians = false;
    CSetDlg dialog(degrees, nullptr);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    dialog.activateWindow();
    named(dialog, "talkResult")->setFocus();
    std::vector<std::string> reached;
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        QWidget* focused = owningControl(QApplication::focusWidget());
        reached.push_back(focused ? focused->objectName().toStdString() : "none");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    EXPECT_EQ(reached, std::vector<std::string>(std::begin(expected), std::end(expected)));
    // And round to the first again.
    EXPECT_EQ(owningControl(QApplication::focusWidget()), named(dialog, "talkResult"));
}

TEST(CSetDlg, HelpOpensTheSettingsPageAndKeepsTheDialog) {
    CSetDlg dialog(SettingsValues{}, nullptr);
    dialog.show();
    named(dialog, "help")->setFocus();
    QTest::keyClick(named(dialog, "help"), Qt::Key_Space);
    ASSERT_NE(helpWindow(), nullptr);
    EXPECT_EQ(helpWindow()->currentPage(), QStringLiteral("settings.html"));
    EXPECT_TRUE(dialog.isVisible());
    helpWindow()->close();
}

}  // namespace
}  // namespace quorvel

namespace quorvel {
namespace {

TEST(CSetDlg, SpaceTurnsPreciseFunctionsOnAndOff) {
    SettingsValues off;
    CSetDlg dialog(off, nullptr);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    QWidget* box = named(dialog, "preciseFunctions");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(box->accessibleName(), QStringLiteral("Precise functions"));
    EXPECT_FALSE(dialog.values().preciseFunctions);
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Space);
    EXPECT_TRUE(dialog.values().preciseFunctions);
    QTest::keyClick(box, Qt::Key_Space);
    EXPECT_FALSE(dialog.values().preciseFunctions);
}

}  // namespace
}  // namespace quorvel

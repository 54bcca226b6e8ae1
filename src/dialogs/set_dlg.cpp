#include "dialogs/set_dlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QSpinBox>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <array>
#include <string_view>

#include "dialogs/dialog_button.h"
#include "dialogs/named_combo_box.h"
#include "ui/help_window.h"

namespace quorvel {
namespace {

QWidget* findControl(const QWidget* dialog, int id) {
    const auto children = dialog->findChildren<QWidget*>();
    for (QWidget* child : children) {
        if (child->property("controlId").toInt() == id) return child;
    }
    return nullptr;
}

constexpr int kWidth = 620;
constexpr int kHeight = 370;

// The three columns of the panel the skin leaves inside its title bar and border.
constexpr int kColumnX[] = {30, 230, 420};
constexpr int kHeadingY = 52;
constexpr int kRowY = 80;
constexpr int kRowStep = 32;

QString qt(const std::string& text) { return QString::fromStdString(text); }

template <typename W>
W* tag(W* widget, int id, const char* name, const QString& accessibleName) {
    widget->setProperty("controlId", id);
    widget->setObjectName(QString::fromLatin1(name));
    widget->setAccessibleName(accessibleName);
    return widget;
}

QLabel* heading(const QString& text, int column, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    label->setGeometry(kColumnX[column], kHeadingY, 180, 20);
    return label;
}

QCheckBox* checkBox(int id, const char* name, const QString& caption, int column, int row,
                    QWidget* parent) {
    auto* box = tag(new QCheckBox(caption, parent), id, name, caption);
    box->setGeometry(kColumnX[column], kRowY + row * kRowStep, 185, 24);
    return box;
}

// A caption on the left and a narrow number box on the right of one row.
template <typename W>
W* labelled(W* field, int id, const char* name, const QString& caption, int column, int row,
            QWidget* parent) {
    auto* label = new QLabel(caption, parent);
    label->setGeometry(kColumnX[column], kRowY + row * kRowStep + 2, 112, 20);
    label->setBuddy(field);
    tag(field, id, name, caption);
    field->setGeometry(kColumnX[column] + 114, kRowY + row * kRowStep, 62, 24);
    return field;
}

// The combo boxes take digits only, like a number edit box; their value is the owner's to read.
QRegularExpressionValidator* digitsOnly(QObject* parent) {
    return new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,9}")),
                                           parent);
}

// A whole number within `range`: a reader says its value and its bounds, and a value outside
// them cannot be typed. A value handed in outside them shows as the nearest bound.
QSpinBox* numberBox(const std::string& value, SettingRange range, QWidget* parent) {
    auto* box = new QSpinBox(parent);
    box->setRange(range.low, range.high);
    box->setValue(QString::fromStdString(value).toInt());
    box->setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
    box->setAccelerated(true);
    return box;
}

QComboBox* numberCombo(const QStringList& choices, const std::string& value, QWidget* parent) {
    auto* combo = new NamedComboBox(parent);
    combo->setEditable(true);
    combo->addItems(choices);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setValidator(digitsOnly(combo));
    combo->setEditText(qt(value));
    return combo;
}

// The editable combo box's own text field is what has the focus, so it carries the name too.
QComboBox* nameCombo(QComboBox* combo) {
    combo->lineEdit()->setAccessibleName(combo->accessibleName());
    return combo;
}

// One of the angle unit's two choices: a radio button, so a reader says it is one of two, but
// drawn as a check box as the dialog has always shown it.
class CheckDrawnRadio final : public QRadioButton {
public:
    using QRadioButton::QRadioButton;

protected:
    void paintEvent(QPaintEvent*) override {
        QStylePainter painter(this);
        QStyleOptionButton option;
        initStyleOption(&option);
        painter.drawControl(QStyle::CE_CheckBox, option);
    }
};

template <std::size_t N>
QStringList choiceList(const std::array<std::string_view, N>& choices) {
    QStringList list;
    for (std::string_view choice : choices) list.append(QString::fromLatin1(choice));
    return list;
}

}  // namespace

CSetDlg::CSetDlg(const SettingsValues& values, Apply apply, QWidget* parent)
    : SkinnedDialog(QString::fromLatin1(skins::kSkinDialog), parent), m_apply(std::move(apply)) {
    setToolTitle(QStringLiteral("Settings"));

    heading(QStringLiteral("Speech"), 0, this);
    m_talkResult = checkBox(1004, "talkResult", QStringLiteral("Talk the result"), 0, 0, this);
    m_talkInput = checkBox(1005, "talkInput", QStringLiteral("Talk the input"), 0, 1, this);
    m_talkKeys = checkBox(1006, "talkKeys", QStringLiteral("Talk each key"), 0, 2, this);
    m_welcome = checkBox(1008, "welcome", QStringLiteral("Speak welcome at start"), 0, 3, this);
    // Offered only while a screen reader runs, which echoes typed keys itself.
    m_keysWithReader = checkBox(1010, "keysWithScreenReader",
                                QStringLiteral("Talk keys with a reader"), 0, 4, this);
    m_keysWithReader->setVisible(values.screenReaderRunning);

    heading(QStringLiteral("Calculation"), 1, this);
    const auto angleChoice = [this](int id, const char* name, const QString& caption, int row) {
        auto* button = tag(new CheckDrawnRadio(caption, this), id, name, caption);
        button->setGeometry(kColumnX[1], kRowY + row * kRowStep, 185, 24);
        return button;
    };
    m_radians = angleChoice(1031, "radians", QStringLiteral("Angles in radians"), 0);
    m_degrees = angleChoice(1032, "degrees", QStringLiteral("Angles in degrees"), 1);
    m_places = labelled(numberBox(values.places, kPlacesBox.range, this), 1056, "places",
                        QStringLiteral("Decimal places"), 1, 2, this);
    m_digitsLimit = labelled(numberBox(values.digitsLimit, kDigitsLimitBox.range, this), 1057,
                             "digitsLimit", QStringLiteral("Digits limit"), 1, 3, this);
    m_precise = checkBox(1013, "preciseFunctions", QStringLiteral("Precise functions"), 1, 4, this);
    m_precise->setToolTip(
        QStringLiteral("Functions and powers to all decimal places, not 12 (slower)"));
    m_precise->setChecked(values.preciseFunctions);

    heading(QStringLiteral("Window and tools"), 2, this);
    m_minimizeToTray =
        checkBox(1007, "minimizeToTray", QStringLiteral("Minimize to the tray"), 2, 0, this);
    m_historyFactor =
        checkBox(1009, "historyFactor", QStringLiteral("Converter history"), 2, 1, this);
    const QStringList counts = choiceList(kExerciseCountChoices);
    const QStringList operators = choiceList(kOperatorCountChoices);
    m_exerciseLimit1 =
        nameCombo(labelled(numberCombo(counts, values.exerciseLimit1, this), 1053, "exerciseLimit1",
                           QStringLiteral("Exercises"), 2, 2, this));
    m_exerciseLimit2 =
        nameCombo(labelled(numberCombo(operators, values.exerciseLimit2, this), 1036,
                           "exerciseLimit2", QStringLiteral("Operators"), 2, 3, this));
    m_exerciseLimit3 =
        labelled(numberBox(values.exerciseLimit3, kLargestNumberBox.range, this), 1054,
                 "exerciseLimit3", QStringLiteral("Largest number"), 2, 4, this);
    m_zoom = labelled(numberBox(values.zoom, kZoomBox.range, this), 1058, "zoom",
                      QStringLiteral("Zoom (%)"), 2, 5, this);
    m_zoom->setSingleStep(25);
    m_contrastStyle =
        checkBox(1011, "contrastStyle", QStringLiteral("High-contrast style"), 2, 6, this);
    m_contrastStyle->setChecked(values.contrastStyle);

    // One either-or choice: a click or an arrow key checks one and unchecks the other, and
    // Tab stops at the checked one only.
    makeExclusiveChoice(this, {m_radians, m_degrees});
    (values.radians ? m_radians : m_degrees)->setChecked(true);

    m_talkResult->setChecked(values.talkResult);
    m_talkInput->setChecked(values.talkInput);
    m_talkKeys->setChecked(values.talkKeys);
    m_welcome->setChecked(values.welcome);
    m_keysWithReader->setChecked(values.talkKeysWithScreenReader);
    m_screenReaderRunning = values.screenReaderRunning;
    m_minimizeToTray->setChecked(values.minimizeToTray);
    m_historyFactor->setChecked(values.historyFactor);

    m_ok = makeDialogButton(this, QStringLiteral("OK"),
                            QStringLiteral("Save the setting and close this dialog"),
                            QRect(178, 321, 65, 25));
    auto* cancel = makeDialogButton(this, QStringLiteral("Cancel"),
                                    QStringLiteral("Cancel the update and close this dialog"),
                                    QRect(268, 321, 65, 25));
    auto* help =
        makeDialogButton(this, QStringLiteral("Help"), QStringLiteral("Open the help document"),
                         QRect(358, 321, 65, 25));
    // The captions are the names; a reader adds the tooltips as descriptions.
    for (HoverButton* button : {m_ok, cancel, help}) button->setAccessibleName(button->text());
    m_ok->setProperty("controlId", 1);
    cancel->setProperty("controlId", 2);
    help->setProperty("controlId", 3);
    m_ok->setObjectName(QStringLiteral("ok"));
    cancel->setObjectName(QStringLiteral("cancel"));
    help->setObjectName(QStringLiteral("help"));
    connect(m_ok, &QAbstractButton::clicked, this, &CSetDlg::okPressed);
    connect(cancel, &QAbstractButton::clicked, this, &CSetDlg::reject);
    connect(help, &QAbstractButton::clicked, this,
            [this] { openHelp(this, QStringLiteral("settings.html")); });

    // Down each column, then the buttons.
    QWidget* order[] = {m_talkResult,     m_talkInput,
                        m_talkKeys,       m_welcome,
                        m_keysWithReader, m_radians,
                        m_degrees,        m_places,
                        m_digitsLimit,    m_precise,
                        m_minimizeToTray, m_historyFactor,
                        m_exerciseLimit1, m_exerciseLimit2,
                        m_exerciseLimit3, m_zoom,
                        m_contrastStyle,  m_ok,
                        cancel,           help};
    for (std::size_t i = 1; i < std::size(order); ++i) setTabOrder(order[i - 1], order[i]);

    setClientSize(kWidth, kHeight);
    m_talkResult->setFocus();
}

SettingsValues CSetDlg::values() const {
    SettingsValues v;
    v.talkResult = m_talkResult->isChecked();
    v.talkInput = m_talkInput->isChecked();
    v.talkKeys = m_talkKeys->isChecked();
    v.radians = m_radians->isChecked();
    v.minimizeToTray = m_minimizeToTray->isChecked();
    v.exerciseLimit1 = m_exerciseLimit1->currentText().toStdString();
    v.exerciseLimit2 = m_exerciseLimit2->currentText().toStdString();
    v.exerciseLimit3 = std::to_string(m_exerciseLimit3->value());
    v.welcome = m_welcome->isChecked();
    v.places = std::to_string(m_places->value());
    v.digitsLimit = std::to_string(m_digitsLimit->value());
    v.historyFactor = m_historyFactor->isChecked();
    v.talkKeysWithScreenReader = m_keysWithReader->isChecked();
    v.screenReaderRunning = m_screenReaderRunning;
    v.preciseFunctions = m_precise->isChecked();
    v.zoom = std::to_string(m_zoom->value());
    v.contrastStyle = m_contrastStyle->isChecked();
    return v;
}

QWidget* CSetDlg::control(int id) const { return findControl(this, id); }

void CSetDlg::okPressed() {
    if (!m_apply || m_apply(values())) accept();
}

void CSetDlg::keyPressEvent(QKeyEvent* event) {
    // Enter anywhere but on a button is OK, as in any dialog with a default button.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        okPressed();
        event->accept();
        return;
    }
    SkinnedDialog::keyPressEvent(event);
}

}  // namespace quorvel

#include "dialogs/set_dlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>

#include "dialogs/dialog_button.h"
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

// Edit boxes take digits only, like a number edit box; the range is the owner's to check.
QRegularExpressionValidator* digitsOnly(QObject* parent) {
    return new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,9}")),
                                           parent);
}

QLineEdit* numberEdit(const std::string& value, QWidget* parent) {
    auto* edit = new QLineEdit(qt(value), parent);
    edit->setValidator(digitsOnly(edit));
    return edit;
}

QComboBox* numberCombo(const QStringList& choices, const std::string& value, QWidget* parent) {
    auto* combo = new QComboBox(parent);
    combo->setEditable(true);
    combo->addItems(choices);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setValidator(digitsOnly(combo));
    combo->setEditText(qt(value));
    return combo;
}

}  // namespace

CSetDlg::CSetDlg(const SettingsValues& values, Apply apply, QWidget* parent)
    : SkinnedDialog(QString::fromLatin1(skins::kSkinDialog), parent), m_apply(std::move(apply)) {
    setWindowTitle(QStringLiteral("Quorvel Setting"));
    setAccessibleName(QStringLiteral("Quorvel Setting"));

    heading(QStringLiteral("Speech"), 0, this);
    m_talkResult = checkBox(1004, "talkResult", QStringLiteral("Talk the result"), 0, 0, this);
    m_talkInput = checkBox(1005, "talkInput", QStringLiteral("Talk the input"), 0, 1, this);
    m_talkKeys = checkBox(1006, "talkKeys", QStringLiteral("Talk each key"), 0, 2, this);
    m_welcome = checkBox(1008, "welcome", QStringLiteral("Speak welcome at start"), 0, 3, this);

    heading(QStringLiteral("Calculation"), 1, this);
    m_radians = checkBox(1031, "radians", QStringLiteral("Angles in radians"), 1, 0, this);
    m_degrees = checkBox(1032, "degrees", QStringLiteral("Angles in degrees"), 1, 1, this);
    m_places = labelled(numberEdit(values.places, this), 1056, "places",
                        QStringLiteral("Decimal places"), 1, 2, this);
    m_digitsLimit = labelled(numberEdit(values.digitsLimit, this), 1057, "digitsLimit",
                             QStringLiteral("Digits limit"), 1, 3, this);

    heading(QStringLiteral("Window and tools"), 2, this);
    m_minimizeToTray =
        checkBox(1007, "minimizeToTray", QStringLiteral("Minimize to the tray"), 2, 0, this);
    m_historyFactor =
        checkBox(1009, "historyFactor", QStringLiteral("Converter history"), 2, 1, this);
    const QStringList counts{QStringLiteral("5"),  QStringLiteral("10"), QStringLiteral("20"),
                             QStringLiteral("30"), QStringLiteral("50"), QStringLiteral("100")};
    const QStringList operators{QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"),
                                QStringLiteral("4"), QStringLiteral("5")};
    m_exerciseLimit1 = labelled(numberCombo(counts, values.exerciseLimit1, this), 1053,
                                "exerciseLimit1", QStringLiteral("Exercises"), 2, 2, this);
    m_exerciseLimit2 = labelled(numberCombo(operators, values.exerciseLimit2, this), 1036,
                                "exerciseLimit2", QStringLiteral("Operators"), 2, 3, this);
    m_exerciseLimit3 = labelled(numberEdit(values.exerciseLimit3, this), 1054, "exerciseLimit3",
                                QStringLiteral("Largest number"), 2, 4, this);

    // Two check boxes that act as a radio pair: clicking either checks it and unchecks the
    // other, so one is always checked. Not a button group, which would take the unchecked
    // one out of the Tab chain.
    const auto choose = [this](bool radians) {
        m_radians->setChecked(radians);
        m_degrees->setChecked(!radians);
    };
    connect(m_radians, &QCheckBox::clicked, this, [choose] { choose(true); });
    connect(m_degrees, &QCheckBox::clicked, this, [choose] { choose(false); });
    choose(values.radians);

    m_talkResult->setChecked(values.talkResult);
    m_talkInput->setChecked(values.talkInput);
    m_talkKeys->setChecked(values.talkKeys);
    m_welcome->setChecked(values.welcome);
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
    m_ok->setProperty("controlId", 1);
    cancel->setProperty("controlId", 2);
    help->setProperty("controlId", 3);
    connect(m_ok, &QAbstractButton::clicked, this, &CSetDlg::okPressed);
    connect(cancel, &QAbstractButton::clicked, this, &CSetDlg::reject);
    connect(help, &QAbstractButton::clicked, this,
            [this] { openHelp(this, QStringLiteral("settings.html")); });

    // Down each column, then the buttons.
    QWidget* order[] = {m_talkResult,     m_talkInput,
                        m_talkKeys,       m_welcome,
                        m_radians,        m_degrees,
                        m_places,         m_digitsLimit,
                        m_minimizeToTray, m_historyFactor,
                        m_exerciseLimit1, m_exerciseLimit2,
                        m_exerciseLimit3, m_ok,
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
    v.exerciseLimit3 = m_exerciseLimit3->text().toStdString();
    v.welcome = m_welcome->isChecked();
    v.places = m_places->text().toStdString();
    v.digitsLimit = m_digitsLimit->text().toStdString();
    v.historyFactor = m_historyFactor->isChecked();
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

#include "dialogs/func_dlg.h"

#include <QLabel>
#include <QRadioButton>
#include <QTextCursor>

#include "data/sys_data_holder.h"
#include "dialogs/dialog_button.h"
#include "ui/filter_edit.h"
#include "ui/float_edit.h"
#include "ui/help_window.h"

namespace quorvel {
namespace {

QString toQt(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// What a palette button shows; the tooltip says what it does.
QString caption(const PaletteButton& button) {
    if (button.name == "10^") return QStringLiteral("10^x");
    if (button.name == "^2") return QStringLiteral("x^2");
    return toQt(button.name);
}

constexpr int kColumns = 7;

}  // namespace

CFuncDlg::CFuncDlg(QWidget* parent)
    : SkinnedDialog(QString::fromLatin1(skins::kSkinFormula), parent) {
    setToolTitle(QStringLiteral("Functions"));
    int slot = 0;
    const auto nextSlot = [&slot] {
        const QRect place(20 + (slot % kColumns) * 76, 60 + (slot / kColumns) * 40, 65, 25);
        ++slot;
        return place;
    };
    for (const PaletteButton& entry : FunctionPalette()) {
        HoverButton* button =
            makeDialogButton(this, caption(entry), toQt(entry.tooltip), nextSlot());
        const QString name = toQt(entry.name);
        // The tooltip's words are the name; the description says what the button types.
        setReaderText(button, toQt(entry.tooltip).trimmed(),
                      entry.insertedDirectly ? QStringLiteral("Types ") + name
                                             : QStringLiteral("Asks for the argument of ") + name);
        connect(button, &QAbstractButton::clicked, this, [this, name] {
            emit functionChosen(name);
            QDialog::accept();
        });
        m_buttons.emplace_back(name, button);
    }
    auto* close =
        makeDialogButton(this, QStringLiteral("Close"), toQt(kPaletteCloseTooltip), nextSlot());
    setReaderText(close, toQt(kPaletteCloseName), QStringLiteral("Close the function list"));
    connect(close, &QAbstractButton::clicked, this, &QDialog::reject);
    m_close = close;
    auto* help = makeDialogButton(this, QStringLiteral("Help"), QString(), nextSlot());
    connect(help, &QAbstractButton::clicked, this,
            [this] { openHelp(this, QStringLiteral("functions.html")); });
    m_help = help;
    setClientSize(570, 200);
}

HoverButton* CFuncDlg::button(const QString& name) const {
    for (const auto& [buttonName, button] : m_buttons) {
        if (buttonName == name) return button;
    }
    return nullptr;
}

CFuncInputDlg::CFuncInputDlg(const QString& name, SysDataHolder& holder, Prompter& prompter,
                             QWidget* parent)
    : SkinnedDialog(QString::fromLatin1(skins::kSkinParameters), parent),
      m_model(name.toStdString(), holder.data()),
      m_prompter(prompter) {
    setToolTitle(QStringLiteral("Function argument"));
    m_label = new QLabel(toQt(m_model.label()), this);
    m_label->setGeometry(30, 70, 80, 24);
    m_label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_argument = new CFloatEdit(this);
    m_argument->setGeometry(115, 70, 150, 24);
    m_argument->setAccessibleName(QStringLiteral("Argument of ") + toQt(m_model.name()));
    auto* close = new QLabel(QStringLiteral(")"), this);
    close->setGeometry(268, 70, 12, 24);

    m_radians = new QRadioButton(QStringLiteral("Radian"), this);
    m_degrees = new QRadioButton(QStringLiteral("Degree"), this);
    m_radians->setGeometry(60, 120, 90, 22);
    m_degrees->setGeometry(170, 120, 90, 22);
    m_radians->setAccessibleName(QStringLiteral("Radian"));
    m_degrees->setAccessibleName(QStringLiteral("Degree"));
    (m_model.radians() ? m_radians : m_degrees)->setChecked(true);
    connect(m_radians, &QRadioButton::toggled, this, [this](bool on) {
        if (on) m_model.setRadians(true);
        m_label->setText(toQt(m_model.label()));
    });
    connect(m_degrees, &QRadioButton::toggled, this, [this](bool on) {
        if (on) m_model.setRadians(false);
    });
    // Hidden, not only disabled: a function without an angle has no unit to choose.
    m_radians->setVisible(m_model.showsAngleUnit());
    m_degrees->setVisible(m_model.showsAngleUnit());

    auto* ok = makeDialogButton(this, QStringLiteral("OK"), QString(), QRect(80, 193, 65, 25));
    auto* cancel =
        makeDialogButton(this, QStringLiteral("Cancel"), QString(), QRect(165, 193, 65, 25));
    connect(ok, &QAbstractButton::clicked, this, &CFuncInputDlg::accept);
    connect(cancel, &QAbstractButton::clicked, this, &QDialog::reject);
    m_ok = ok;
    m_cancel = cancel;
    setTabOrder(m_argument, m_radians);
    setTabOrder(m_radians, m_degrees);
    setTabOrder(m_degrees, ok);
    setTabOrder(ok, cancel);
    m_argument->setFocus();
    // Enter in the box is OK, as the dialog's default button would be.
    connect(m_argument, &QLineEdit::returnPressed, this, &CFuncInputDlg::accept);
    setClientSize(310, 240);
}

QString CFuncInputDlg::call() const { return toQt(m_model.call(m_argument->text().toStdString())); }

void CFuncInputDlg::accept() {
    if (!m_model.accept(m_argument->text().toStdString(), m_prompter)) {
        m_argument->setFocus();
        m_argument->selectAll();
        return;
    }
    QDialog::accept();
}

QString runFunctionCommand(CFilterEdit& box, SysDataHolder& holder, Prompter& prompter,
                           QWidget* parent) {
    const int caret = box.textCursor().position();
    QString chosen;
    {
        CFuncDlg palette(parent);
        QObject::connect(&palette, &CFuncDlg::functionChosen,
                         [&chosen](const QString& name) { chosen = name; });
        const int code = palette.exec();
        if (code == QDialog::Accepted && box.isFreshInput()) {
            box.clear();
            box.setFreshInput(false);
            box.resetTypingState();
        }
    }
    QString insertion;
    const PaletteButton* entry = FindPaletteButton(chosen.toStdString());
    if (entry == nullptr) {
        box.setFocus();
        return insertion;
    }
    if (entry->insertedDirectly) {
        insertion = chosen;
    } else {
        CFuncInputDlg argument(chosen, holder, prompter, parent);
        if (argument.exec() == QDialog::Accepted) insertion = argument.call();
    }
    if (!insertion.isEmpty()) {
        QTextCursor cursor = box.textCursor();
        cursor.setPosition(std::min(caret, static_cast<int>(box.toPlainText().size())));
        box.setTextCursor(cursor);
        box.insertAtCaret(insertion);
    }
    box.setFocus();
    return insertion;
}

}  // namespace quorvel

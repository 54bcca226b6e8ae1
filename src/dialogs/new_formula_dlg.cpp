#include "dialogs/new_formula_dlg.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTextCursor>

#include "data/sys_data_holder.h"
#include "dialogs/manager_widgets.h"
#include "tools/formula_book.h"
#include "ui/filter_edit.h"
#include "ui/help_window.h"

namespace quorvel {

CNewFormulaDlg::CNewFormulaDlg(SysDataHolder& holder, Prompter& prompter, std::string_view catalog,
                               QWidget* parent)
    : SkinnedDialog(QString::fromLatin1(skins::kSkinFormula), parent),
      m_holder(holder),
      m_prompter(prompter) {
    setToolTitle(QStringLiteral("New formula"));

    auto* expressionLabel = new QLabel(QStringLiteral("Expression:"), this);
    expressionLabel->setGeometry(24, 55, 85, 20);
    m_expression = new CFilterEdit(this);
    m_expression->setOwner(this);
    m_expression->setTabChangesFocus(true);
    m_expression->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_expression->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_expression->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_expression->setGeometry(110, 50, 436, 28);
    m_expression->setAccessibleName(QStringLiteral("Expression"));
    expressionLabel->setBuddy(m_expression);

    m_description = makeDescriptionBox(this);
    m_catalog = makeCatalogRow(this);
    std::vector<std::string> entries;
    for (int i = 0; i < m_catalog->count(); ++i)
        entries.push_back(m_catalog->itemText(i).toStdString());
    m_catalog->setCurrentIndex(CatalogEntryIndex(entries, catalog));

    m_calculate =
        makeDialogButton(this, QStringLiteral("Calculate"),
                         QStringLiteral("Calculate the input expression"), QRect(125, 145, 65, 25));
    m_save = makeDialogButton(this, QStringLiteral("Save"), QStringLiteral("Save the formula."),
                              QRect(205, 145, 65, 25));
    m_clear = makeDialogButton(this, QStringLiteral("Clear"), QString(), QRect(285, 145, 65, 25));
    m_close =
        makeDialogButton(this, QStringLiteral("Close"),
                         QStringLiteral("Close the new formual window"), QRect(365, 145, 65, 25));
    for (HoverButton* button : {m_calculate, m_save, m_clear, m_close}) {
        button->setAccessibleName(button->text());
    }
    m_calculate->setObjectName(QStringLiteral("calculate"));
    m_save->setObjectName(QStringLiteral("save"));
    m_clear->setObjectName(QStringLiteral("clear"));
    m_close->setObjectName(QStringLiteral("close"));
    m_close->setAccessibleDescription(QStringLiteral("Close the new formula window"));

    // The main window's typing path: the box filters, the owner inserts.
    connect(m_expression, &CFilterEdit::insertCharacterRequested, m_expression,
            [this](QChar ch) { m_expression->insertAtCaret(QString(ch)); });
    connect(m_expression, &CFilterEdit::freshInputRequested, this, [this] {
        m_expression->clear();
        m_expression->resetTypingState();
    });
    connect(m_expression, &CFilterEdit::equalRequested, this,
            [this] { m_expression->resetTypingState(); });
    connect(m_calculate, &QAbstractButton::clicked, this, [this] { calculate(); });
    connect(m_save, &QAbstractButton::clicked, this, [this] { save(); });
    connect(m_clear, &QAbstractButton::clicked, this, [this] { clearBoxes(); });
    connect(m_close, &QAbstractButton::clicked, this, &QDialog::reject);

    addHelpKey(this, QStringLiteral("formula_manager.html"));

    setClientSize(570, 200);
    centreOnScreen();
    m_expression->setFocus();
}

void CNewFormulaDlg::keyPressEvent(QKeyEvent* event) {
    // Enter in the expression box calculates, as Equal would in the main window.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && focusWidget() == m_expression) {
        calculate();
        return;
    }
    SkinnedDialog::keyPressEvent(event);
}

void CNewFormulaDlg::calculate() {
    const std::optional<std::string> shown =
        CalculateFormula(m_expression->toPlainText().toStdString(), m_holder.data(), m_prompter);
    if (!shown) return;
    m_expression->setPlainText(QString::fromStdString(*shown));
    m_expression->moveCursor(QTextCursor::End);
    m_expression->resetTypingState();
    m_expression->setFreshInput(true);
}

void CNewFormulaDlg::save() {
    SaveFormula(m_holder, m_prompter, m_catalog->currentText().toStdString(),
                m_expression->toPlainText().toStdString(), m_description->text().toStdString());
}

void CNewFormulaDlg::clearBoxes() {
    m_expression->clear();
    m_expression->resetTypingState();
    m_expression->setFreshInput(false);
    m_description->clear();
}

}  // namespace quorvel

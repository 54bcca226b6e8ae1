#include "dialogs/export_to_for_dlg.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include "dialogs/manager_widgets.h"
#include "tools/formula_book.h"
#include "ui/help_window.h"

namespace quorvel {

CExportToForDlg::CExportToForDlg(SysDataHolder& holder, Prompter& prompter,
                                 std::string_view expression, QWidget* parent)
    : SkinnedDialog(QString::fromLatin1(skins::kSkinFormula), parent),
      m_holder(holder),
      m_prompter(prompter) {
    setToolTitle(QStringLiteral("Export to the formula manager"));

    auto* formulaLabel = new QLabel(QStringLiteral("Formula:"), this);
    formulaLabel->setGeometry(24, 55, 85, 20);
    m_formula = new QLineEdit(QString::fromStdString(std::string(expression)), this);
    m_formula->setGeometry(110, 52, 436, 25);
    m_formula->setAccessibleName(QStringLiteral("Formula"));
    formulaLabel->setBuddy(m_formula);

    m_description = makeDescriptionBox(this);
    m_catalog = makeCatalogRow(this);
    m_catalog->setPlaceholderText(QStringLiteral("choose"));
    m_catalog->setCurrentIndex(-1);

    m_export = makeDialogButton(this, QStringLiteral("Export"),
                                QStringLiteral("Export the formula to the chosen catalog"),
                                QRect(210, 145, 65, 25));
    m_close = makeDialogButton(this, QStringLiteral("Close"), QString(), QRect(300, 145, 65, 25));
    m_export->setAccessibleName(m_export->text());
    connect(m_export, &QAbstractButton::clicked, this, [this] { exportFormula(); });
    connect(m_close, &QAbstractButton::clicked, this, &QDialog::reject);

    addHelpKey(this, QStringLiteral("formula_manager.html"));

    setClientSize(570, 200);
    centreOnScreen();
}

void CExportToForDlg::exportFormula() {
    std::optional<std::string> catalog;
    if (m_catalog->currentIndex() >= 0) catalog = m_catalog->currentText().toStdString();
    ExportFormula(m_holder, m_prompter, catalog, m_formula->text().toStdString(),
                  m_description->text().toStdString());
}

}  // namespace quorvel

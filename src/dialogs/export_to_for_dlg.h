#pragma once

// Export from the log: one expression, a description and a catalog, appended to the formulas
// and stored at once. The dialog stays open for another try.

#include <string_view>

#include "ui/skinned_dialog.h"

class QComboBox;
class QLineEdit;

namespace quorvel {

class Prompter;
class SysDataHolder;
class HoverButton;

class CExportToForDlg : public SkinnedDialog {
    Q_OBJECT

public:
    CExportToForDlg(SysDataHolder& holder, Prompter& prompter, std::string_view expression,
                    QWidget* parent = nullptr);

    QLineEdit* formulaBox() const { return m_formula; }
    QLineEdit* descriptionBox() const { return m_description; }
    // No entry is chosen when the dialog opens.
    QComboBox* catalogBox() const { return m_catalog; }
    HoverButton* exportButton() const { return m_export; }
    HoverButton* closeButton() const { return m_close; }

private:
    void exportFormula();

    SysDataHolder& m_holder;
    Prompter& m_prompter;
    QLineEdit* m_formula = nullptr;
    QLineEdit* m_description = nullptr;
    QComboBox* m_catalog = nullptr;
    HoverButton* m_export = nullptr;
    HoverButton* m_close = nullptr;
};

}  // namespace quorvel

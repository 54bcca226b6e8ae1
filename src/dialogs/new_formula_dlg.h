#pragma once

// A new formula: the expression typed through the same input box as the main window's,
// calculated into a whole calculation (3+4=7), described and saved into a catalog. The dialog
// stays open for more formulas. Its buttons are the objects "calculate", "save", "clear" and
// "close".

#include <string_view>

#include "ui/skinned_dialog.h"

class QComboBox;
class QLineEdit;

namespace quorvel {

class CFilterEdit;
class HoverButton;
class Prompter;
class SysDataHolder;

class CNewFormulaDlg : public SkinnedDialog {
    Q_OBJECT

public:
    // `catalog` picks the first entry of the catalog box that reads the same in lower case.
    CNewFormulaDlg(SysDataHolder& holder, Prompter& prompter, std::string_view catalog,
                   QWidget* parent = nullptr);

    CFilterEdit* expressionBox() const { return m_expression; }
    QLineEdit* descriptionBox() const { return m_description; }
    QComboBox* catalogBox() const { return m_catalog; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void calculate();
    void save();
    void clearBoxes();

    SysDataHolder& m_holder;
    Prompter& m_prompter;
    CFilterEdit* m_expression = nullptr;
    QLineEdit* m_description = nullptr;
    QComboBox* m_catalog = nullptr;
    HoverButton* m_calculate = nullptr;
    HoverButton* m_save = nullptr;
    HoverButton* m_clear = nullptr;
    HoverButton* m_close = nullptr;
};

}  // namespace quorvel

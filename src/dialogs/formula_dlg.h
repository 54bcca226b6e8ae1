#pragma once

// The formula manager: the formulas of one catalog at a time, spoken, copied, removed,
// cleared, and new ones added through CNewFormulaDlg. The rules live in FormulaBook; this
// dialog only connects its widgets to it.

#include <functional>
#include <string_view>

#include "dialogs/manager_widgets.h"
#include "tools/formula_book.h"
#include "ui/latching_button.h"
#include "ui/skinned_dialog.h"

class QLineEdit;

namespace quorvel {

class SysDataHolder;

class CFormulaDlg : public SkinnedDialog {
    Q_OBJECT

public:
    // Brings the demonstration formulas into an empty formula list. `speaker` is this window's
    // own slot: stopped when the dialog closes.
    CFormulaDlg(SysDataHolder& holder, Speaker& speaker, Prompter& prompter,
                QWidget* parent = nullptr);

    // New formula opens CNewFormulaDlg with the current catalog by default; tests put their
    // own. The list is read again afterwards either way.
    using NewFormulaOpener = std::function<void(std::string_view catalog)>;
    void setNewFormulaOpener(NewFormulaOpener opener) { m_newOpener = std::move(opener); }

    QTableView* list() const { return m_view; }
    QLineEdit* repeatBox() const { return m_repeat; }
    const FormulaBook& model() const { return m_book; }

    void done(int result) override;

private:
    void chooseCatalog(std::size_t index);
    void removeSelected();
    void clearCatalog();
    void newFormula();

    FormulaBook m_book;
    SysDataHolder& m_holder;
    Prompter& m_prompter;
    ManagerTableModel* m_model = nullptr;
    QTableView* m_view = nullptr;
    QLineEdit* m_repeat = nullptr;
    std::vector<LatchingButton*> m_tabs;
    NewFormulaOpener m_newOpener;
    QtClipboard m_clipboard;
};

}  // namespace quorvel

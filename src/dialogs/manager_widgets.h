#pragma once

// Pieces the log and formula managers share: the table model a manager's list is read
// through, and the clipboard the copy commands fill.

#include <QAbstractTableModel>
#include <QStringList>
#include <QTableView>
#include <functional>
#include <span>
#include <vector>

class QComboBox;
class QLineEdit;

#include "dialogs/dialog_button.h"
#include "tools/list_manager.h"

namespace quorvel {

// The six catalogs, in button order, as a combo box's entries.
QComboBox* makeCatalogBox(QWidget* parent);

// The "Description:" box and the "Catalog:" choice on one row, as the new formula and export
// dialogs place them; each label is its box's buddy.
QLineEdit* makeDescriptionBox(QWidget* parent);
QComboBox* makeCatalogRow(QWidget* parent);

// A manager's picture button: object name, caption, tooltip, top-left corner, and what a
// reader says after the caption where the tooltip would not do (empty: the tooltip).
struct ManagerButtonRow {
    const char* name;
    const char* caption;
    const char* tooltip;
    int x;
    int y;
    const char* spoken;
};

// Makes each button 65 by 25 at its corner, spoken by its caption.
void addManagerButtons(QWidget* parent, std::span<const ManagerButtonRow> entries);
// The button of `parent` with this object name, or null.
HoverButton* findManagerButton(const QWidget* parent, const char* name);

// The "Repeat times:" label and box below a manager's list.
QLineEdit* makeRepeatBox(QWidget* parent);

// A manager's list as Qt sees it. Cells are asked for only for the rows on screen; a screen
// reader hears a whole row at each cell.
class ManagerTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    ManagerTableModel(const ManagerList& list, QStringList headings, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    void setHeading(int column, const QString& text);
    // After the list behind the model changed.
    void reload();

private:
    const ManagerList& m_list;
    QStringList m_headings;
};

// The full-row, grid-lined list of a manager with fixed column widths.
QTableView* makeManagerView(QWidget* parent, ManagerTableModel* model,
                            const std::vector<int>& columnWidths);
// The selected rows, by position from the top.
std::vector<std::size_t> selectedRows(const QTableView* view);

// Ctrl+C and Delete on a manager's list run its Copy selected and Remove selected; the list's
// own copy of the current cell never sees them.
void addListKeys(QTableView* view, std::function<void()> copy, std::function<void()> remove);

// The system clipboard, plain text, lines ending "\r\n" as built.
class QtClipboard final : public Clipboard {
public:
    bool setText(std::string_view text) override;
};

}  // namespace quorvel

#pragma once

// Pieces the log and formula managers share: picture buttons that take focus and show it, the
// table model a manager's list is read through, and the clipboard the copy commands fill.

#include <QAbstractTableModel>
#include <QKeyEvent>
#include <QPainter>
#include <QStringList>
#include <QTableView>
#include <functional>
#include <vector>

class QComboBox;

#include "tools/list_manager.h"
#include "ui/hover_button.h"
#include "ui/latching_button.h"

namespace quorvel {

// A picture button reachable with Tab, activated with Space (the base) or Enter, with a
// dotted focus mark inside its edge.
template <class Base>
class FocusMarked : public Base {
public:
    explicit FocusMarked(QWidget* parent = nullptr) : Base(parent) {
        this->setFocusPolicy(Qt::StrongFocus);
    }

protected:
    void paintEvent(QPaintEvent* event) override {
        Base::paintEvent(event);
        if (!this->hasFocus()) return;
        QPainter painter(this);
        painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
        painter.drawRect(this->rect().adjusted(3, 3, -4, -4));
    }
    void keyPressEvent(QKeyEvent* event) override {
        if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
            event->modifiers() == Qt::NoModifier) {
            this->animateClick();
            return;
        }
        Base::keyPressEvent(event);
    }
};

using FocusButton = FocusMarked<HoverButton>;
using FocusTabButton = FocusMarked<LatchingButton>;

// A dialog button: 65 x 25 picture, caption, tooltip and accessible name.
FocusButton* makeDialogButton(QWidget* parent, const QString& caption, const QString& tooltip,
                              QRect geometry);

// The six catalogs, in button order, as a combo box's entries.
QComboBox* makeCatalogBox(QWidget* parent);

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

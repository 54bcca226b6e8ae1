#include "dialogs/manager_widgets.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <algorithm>
#include <memory>

#include "dialogs/named_combo_box.h"
#include "tools/formula_book.h"

namespace quorvel {

QComboBox* makeCatalogBox(QWidget* parent) {
    auto* box = new NamedComboBox(parent);
    for (std::string_view catalog : kCatalogs) {
        box->addItem(QString::fromLatin1(catalog.data(), static_cast<qsizetype>(catalog.size())));
    }
    box->setAccessibleName(QStringLiteral("Catalog"));
    return box;
}

QLineEdit* makeDescriptionBox(QWidget* parent) {
    auto* label = new QLabel(QStringLiteral("Description:"), parent);
    label->setGeometry(24, 92, 85, 20);
    auto* box = new QLineEdit(parent);
    box->setGeometry(110, 89, 250, 25);
    box->setAccessibleName(QStringLiteral("Description"));
    label->setBuddy(box);
    return box;
}

QComboBox* makeCatalogRow(QWidget* parent) {
    auto* label = new QLabel(QStringLiteral("Catalog:"), parent);
    label->setGeometry(376, 92, 60, 20);
    QComboBox* box = makeCatalogBox(parent);
    box->setGeometry(436, 89, 110, 25);
    label->setBuddy(box);
    return box;
}

void addManagerButtons(QWidget* parent, std::span<const ManagerButtonRow> entries) {
    for (const ManagerButtonRow& entry : entries) {
        const QString caption = QString::fromLatin1(entry.caption);
        HoverButton* button = makeDialogButton(parent, caption, QString::fromLatin1(entry.tooltip),
                                               QRect(entry.x, entry.y, 65, 25));
        button->setObjectName(QString::fromLatin1(entry.name));
        setReaderText(button, caption, QString::fromLatin1(entry.spoken));
    }
}

HoverButton* findManagerButton(const QWidget* parent, const char* name) {
    return parent->findChild<HoverButton*>(QString::fromLatin1(name), Qt::FindDirectChildrenOnly);
}

QLineEdit* makeRepeatBox(QWidget* parent) {
    auto* label = new QLabel(QStringLiteral("Repeat times:"), parent);
    label->setGeometry(20, 297, 95, 20);
    auto* box = new QLineEdit(QStringLiteral("1"), parent);
    box->setGeometry(115, 294, 50, 25);
    box->setAccessibleName(QStringLiteral("Repeat times"));
    label->setBuddy(box);
    return box;
}

ManagerTableModel::ManagerTableModel(const ManagerList& list, QStringList headings, QObject* parent)
    : QAbstractTableModel(parent), m_list(list), m_headings(std::move(headings)) {}

int ManagerTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_list.rowCount());
}

int ManagerTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 2;
}

QVariant ManagerTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const auto row = static_cast<std::size_t>(index.row());
    if (role == Qt::DisplayRole) {
        const ListCells cells = m_list.cells(row);
        return QString::fromStdString(index.column() == 0 ? cells.first : cells.second);
    }
    if (role == Qt::AccessibleTextRole) return QString::fromStdString(m_list.rowText(row));
    return {};
}

QVariant ManagerTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
        section < m_headings.size()) {
        return m_headings.at(section);
    }
    return QAbstractTableModel::headerData(section, orientation, role);
}

void ManagerTableModel::setHeading(int column, const QString& text) {
    m_headings[column] = text;
    emit headerDataChanged(Qt::Horizontal, column, column);
}

void ManagerTableModel::reload() {
    beginResetModel();
    endResetModel();
}

namespace {

// Home and End go to the first and the last row, not the first and the last cell of a row,
// which in a list of whole rows would not move at all.
class ManagerView final : public QTableView {
public:
    using QTableView::QTableView;

protected:
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override {
        if (action == MoveHome || action == MoveEnd) modifiers |= Qt::ControlModifier;
        return QTableView::moveCursor(action, modifiers);
    }
};

// Keeps a current row, at the same position where it can, whenever the list is refilled: the
// arrow keys start from it and a reader says it when the list has the focus.
void keepCurrentRow(QTableView* view, ManagerTableModel* model) {
    auto row = std::make_shared<int>(0);
    QObject::connect(model, &QAbstractItemModel::modelAboutToBeReset, view,
                     [view, row] { *row = std::max(view->currentIndex().row(), 0); });
    const auto restore = [view, model, row] {
        const int count = model->rowCount();
        if (count == 0) return;
        view->selectionModel()->setCurrentIndex(model->index(std::min(*row, count - 1), 0),
                                                QItemSelectionModel::NoUpdate);
    };
    QObject::connect(model, &QAbstractItemModel::modelReset, view, restore);
    restore();
}

}  // namespace

QTableView* makeManagerView(QWidget* parent, ManagerTableModel* model,
                            const std::vector<int>& columnWidths) {
    auto* view = new ManagerView(parent);
    view->setModel(model);
    keepCurrentRow(view, model);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setShowGrid(true);
    view->setWordWrap(false);
    view->setTabKeyNavigation(false);
    view->verticalHeader()->hide();
    // Fixed row heights keep a list of any length as quick as a short one.
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 6);
    view->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->horizontalHeader()->setHighlightSections(false);
    for (std::size_t c = 0; c < columnWidths.size(); ++c) {
        view->setColumnWidth(static_cast<int>(c), columnWidths[c]);
    }
    return view;
}

std::vector<std::size_t> selectedRows(const QTableView* view) {
    std::vector<std::size_t> rows;
    if (!view->selectionModel()) return rows;
    for (const QModelIndex& index : view->selectionModel()->selectedRows()) {
        rows.push_back(static_cast<std::size_t>(index.row()));
    }
    return rows;
}

namespace {

class ListKeys : public QObject {
public:
    ListKeys(QObject* parent, std::function<void()> copy, std::function<void()> remove)
        : QObject(parent), m_copy(std::move(copy)), m_remove(std::move(remove)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            auto* key = static_cast<QKeyEvent*>(event);
            if (key->matches(QKeySequence::Copy)) {
                m_copy();
                return true;
            }
            if (key->matches(QKeySequence::Delete)) {
                m_remove();
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> m_copy;
    std::function<void()> m_remove;
};

}  // namespace

void addListKeys(QTableView* view, std::function<void()> copy, std::function<void()> remove) {
    view->installEventFilter(new ListKeys(view, std::move(copy), std::move(remove)));
}

bool QtClipboard::setText(std::string_view text) {
    QClipboard* clipboard = QApplication::clipboard();
    if (!clipboard) return false;
    clipboard->setText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    return true;
}

}  // namespace quorvel

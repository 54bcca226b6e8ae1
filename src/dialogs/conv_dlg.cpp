#include "dialogs/conv_dlg.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QShortcut>
#include <QTableWidget>
#include <QTimer>

#include "data/sys_data_holder.h"
#include "dialogs/conv_float_edit.h"
#include "dialogs/dialog_button.h"
#include "dialogs/new_conv_dlg.h"
#include "ui/help_window.h"
#include "ui/hover_button.h"
#include "ui/latching_button.h"

namespace quorvel {
namespace {

constexpr int kPanelLeft = 20;
constexpr int kPanelRight = 730;
constexpr int kListTop = 84;
constexpr int kModeTop = 48;
constexpr int kButtonTop = 330;

QString fromStd(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QTableWidget* makeList(const QString& name, const QStringList& columns, const QList<int>& widths,
                       QWidget* parent) {
    auto* list = new QTableWidget(0, static_cast<int>(columns.size()), parent);
    list->setAccessibleName(name);
    list->setHorizontalHeaderLabels(columns);
    for (int i = 0; i < widths.size(); ++i) list->setColumnWidth(i, widths[i]);
    list->horizontalHeader()->setStretchLastSection(false);
    list->horizontalHeader()->setHighlightSections(false);
    // A 350-pixel column in a narrower list still shows its caption.
    list->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    list->verticalHeader()->hide();
    list->verticalHeader()->setDefaultSectionSize(20);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setShowGrid(true);
    list->setWordWrap(false);
    // Tab leaves the list; the arrow keys move within it.
    list->setTabKeyNavigation(false);
    return list;
}

void fillList(QTableWidget* list, const std::vector<ConverterRow>& rows) {
    list->clearContents();
    list->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        const ConverterRow& row = rows[static_cast<std::size_t>(r)];
        // Either cell of a row, when it becomes current, reads as the whole row.
        const QString spoken = fromStd(row.name) + QStringLiteral(", ") + fromStd(row.value);
        for (int column = 0; column < 2; ++column) {
            auto* item = new QTableWidgetItem(fromStd(column == 0 ? row.name : row.value));
            item->setData(Qt::AccessibleTextRole, spoken);
            list->setItem(r, column, item);
        }
    }
}

std::optional<std::size_t> selectedRow(const QTableWidget* list) {
    const QModelIndexList rows = list->selectionModel()->selectedRows();
    if (rows.isEmpty()) return std::nullopt;
    return static_cast<std::size_t>(rows.first().row());
}

void selectRow(QTableWidget* list, std::optional<std::size_t> row) {
    if (!row || *row >= static_cast<std::size_t>(list->rowCount())) {
        list->clearSelection();
        list->setCurrentItem(nullptr);
        return;
    }
    // The selected row is also the current one, where the arrow keys start and which a
    // reader says when the list gets the focus.
    list->setCurrentCell(static_cast<int>(*row), 0,
                         QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    list->scrollToItem(list->item(static_cast<int>(*row), 0));
}

bool isEnter(const QKeyEvent* event) {
    return event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
}

}  // namespace

CConvDlg::CConvDlg(SysDataHolder& holder, Prompter& prompter, QWidget* parent,
                   const QString& mainInput)
    : SkinnedDialog(QString::fromLatin1(skins::kSkinConverter), parent),
      m_mainInput(mainInput.toStdString()) {
    setToolTitle(tr("Unit converter"));
    setFixedSize(kWidth, kHeight);
    buildControls();
    m_model = std::make_unique<ConverterModel>(holder.data(), prompter,
                                               static_cast<ConverterView&>(*this));
    connectControls();
    m_model->open();
    latchMode();
}

CConvDlg::~CConvDlg() = default;

void CConvDlg::buildControls() {
    const auto modes = ConverterModes();
    int x = 28;
    for (const ConverterMode& mode : modes) {
        auto* button = new LatchingButton(fromStd(mode.caption), this);
        button->setPictures(skins::kTab);
        // "Quick check" must fit the 70-pixel picture.
        QFont font = button->font();
        font.setPointSizeF(font.pointSizeF() * 0.9);
        button->setFont(font);
        button->setAccessibleName(button->text());
        button->setGeometry(x, kModeTop, 70, 25);
        x += 78;
        m_modeButtons.push_back(button);
    }

    const int half = (kPanelRight - kPanelLeft - 16) / 2;
    m_inputList = makeList(tr("Input unit list"), {tr("Input Unit Name"), tr("Conversion Factor")},
                           {150, 350}, this);
    m_inputList->setGeometry(kPanelLeft, kListTop, half, 204);
    m_outputList = makeList(tr("Output unit list"),
                            {tr("Output Unit Name"), tr("Conversion Factor")}, {150, 350}, this);
    m_outputList->setGeometry(kPanelRight - half, kListTop, half, 204);

    m_valueBox = new CConvFloatEdit(this);
    m_valueBox->setAccessibleName(tr("Input value"));
    m_valueBox->setGeometry(kPanelLeft + 90, 296, half - 90, 24);
    m_valueLabel = new QLabel(tr("Input &value:"), this);
    m_valueLabel->setGeometry(kPanelLeft, 296, 88, 24);
    m_valueLabel->setBuddy(m_valueBox);

    m_resultBox = new QLineEdit(this);
    m_resultBox->setReadOnly(true);
    m_resultBox->setAccessibleName(tr("Result"));
    m_resultBox->setGeometry(kPanelRight - half + 60, 296, half - 60, 24);
    m_resultLabel = new QLabel(tr("&Result:"), this);
    m_resultLabel->setGeometry(kPanelRight - half, 296, 58, 24);
    m_resultLabel->setBuddy(m_resultBox);

    m_itemList = makeList(tr("Conversion list"), {tr("Discription of Conversion"), tr("Value")},
                          {360, 240}, this);
    m_itemList->setGeometry(kPanelLeft, kListTop, kPanelRight - kPanelLeft, 236);
    m_itemList->horizontalHeader()->setStretchLastSection(true);

    // The caption is the name; a reader adds the tooltip, or the spoken form where the
    // tooltip is misspelt.
    const auto button = [this](const QString& caption, const QString& tip, int left,
                               const QString& spoken = {}) {
        auto* b = new HoverButton(caption, this);
        b->setPictures(skins::kButton);
        b->setToolTip(tip);
        setReaderText(b, caption, spoken);
        b->setGeometry(left, kButtonTop, 65, 25);
        return b;
    };
    m_new = button(tr("New"), QStringLiteral("Creat the new conversion item"), 28,
                   tr("Create a new conversion item"));
    m_edit = button(tr("Edit"), QStringLiteral("Edit the selected item"), 101);
    m_remove = button(tr("Remove"), QStringLiteral("Remove the selected item."), 174);
    m_select =
        button(tr("Select"), QStringLiteral("Copy the value of selected item to the inut field"),
               484, tr("Copy the value of the selected item to the input field"));
    m_close = button(tr("Close"), QStringLiteral("Close this dialog"), 557);
    m_help =
        button(tr("Help"), QStringLiteral("Help Document."), 630, tr("Open the help document"));

    // One exclusive choice: the checked button is the current category, Tab stops there and
    // the arrow keys move to the neighbouring category.
    m_modeGroup = makeExclusiveChoice(
        this, std::vector<QAbstractButton*>(m_modeButtons.begin(), m_modeButtons.end()));

    QWidget* order[] = {m_inputList, m_outputList, m_valueBox, m_resultBox, m_itemList, m_new,
                        m_edit,      m_remove,     m_select,   m_close,     m_help};
    QWidget* previous = m_modeButtons.back();
    for (std::size_t i = 1; i < m_modeButtons.size(); ++i) {
        setTabOrder(m_modeButtons[i - 1], m_modeButtons[i]);
    }
    for (QWidget* next : order) {
        setTabOrder(previous, next);
        previous = next;
    }
}

void CConvDlg::connectControls() {
    const auto modes = ConverterModes();
    for (std::size_t i = 0; i < m_modeButtons.size(); ++i) {
        connect(m_modeButtons[i], &QAbstractButton::clicked, this, [this, mode = modes[i].mode] {
            m_model->setMode(mode);
            latchMode();
        });
    }

    const auto unitList = [this](QTableWidget* list, bool input) {
        connect(list, &QTableWidget::itemSelectionChanged, this, [this, list, input] {
            if (m_updating) return;
            if (input) {
                m_model->setInputSelection(selectedRow(list));
            } else {
                m_model->setOutputSelection(selectedRow(list));
            }
            requestRecompute();
        });
        connect(list, &QTableWidget::clicked, this, &CConvDlg::requestRecompute);
        list->installEventFilter(this);
    };
    unitList(m_inputList, true);
    unitList(m_outputList, false);

    connect(m_itemList, &QTableWidget::itemSelectionChanged, this, [this] {
        if (!m_updating) m_model->setListSelection(selectedRow(m_itemList));
    });
    m_itemList->installEventFilter(this);
    m_itemList->viewport()->installEventFilter(this);
    connect(m_itemList->horizontalHeader(), &QHeaderView::sectionDoubleClicked, this,
            [this](int) { m_model->doubleClickHeader(); });

    connect(m_valueBox, &QLineEdit::textEdited, this, [this](const QString& text) {
        if (!m_updating) m_model->setValueText(text.toStdString());
    });
    connect(m_valueBox, &CConvFloatEdit::valueKey, this,
            [this](char ch) { m_model->valueKeyTyped(ch, m_valueBox->text().toStdString()); });
    m_valueBox->installEventFilter(this);

    connect(m_new, &QAbstractButton::clicked, this, [this] {
        m_model->newConversion();
        latchMode();
    });
    connect(m_edit, &QAbstractButton::clicked, this, [this] {
        m_model->editConversion();
        latchMode();
    });
    connect(m_remove, &QAbstractButton::clicked, this, [this] { m_model->removeConversion(); });
    connect(m_select, &QAbstractButton::clicked, this, [this] { m_model->select(); });
    connect(m_close, &QAbstractButton::clicked, this, &QDialog::reject);
    connect(m_help, &QAbstractButton::clicked, this, &CConvDlg::helpRequested);
    auto* f1 = new QShortcut(QKeySequence::HelpContents, this);
    connect(f1, &QShortcut::activated, this, &CConvDlg::helpRequested);
}

void CConvDlg::latchMode() {
    const std::optional<std::size_t> current = ConverterModeIndex(m_model->mode());
    for (std::size_t i = 0; i < m_modeButtons.size(); ++i) {
        if (current == i) {
            m_modeButtons[i]->press();
        } else {
            m_modeButtons[i]->release();
        }
    }
    checkOnly(m_modeGroup, current ? m_modeButtons[*current] : nullptr);
}

void CConvDlg::requestRecompute() {
    if (m_recomputePending) return;
    m_recomputePending = true;
    QTimer::singleShot(0, this, [this] {
        m_recomputePending = false;
        m_model->recompute();
    });
}

void CConvDlg::helpRequested() {
    openHelp(this, QStringLiteral("converter.html"));
    if (m_itemList->isVisible()) m_itemList->setFocus();
}

bool CConvDlg::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress && isEnter(static_cast<QKeyEvent*>(event)) &&
        (watched == m_inputList || watched == m_outputList || watched == m_itemList ||
         watched == m_valueBox)) {
        m_model->select();
        return true;
    }
    // After the table has selected the row under the mouse.
    if (event->type() == QEvent::MouseButtonDblClick && watched == m_itemList->viewport()) {
        QTimer::singleShot(0, this, [this] { m_model->doubleClickList(); });
    }
    return SkinnedDialog::eventFilter(watched, event);
}

void CConvDlg::showEvent(QShowEvent* event) {
    centreOnScreen();
    SkinnedDialog::showEvent(event);
}

bool CConvDlg::hasSelection() const { return m_model->returnMode() == kReturnSelect; }

QString CConvDlg::returnValue() const { return QString::fromStdString(m_model->returnValue()); }

InsertOutcome CConvDlg::insertion(std::size_t caret) const {
    return InsertConvertedValue(m_mainInput, caret, m_model->returnValue());
}

void CConvDlg::showPage(ConverterPage page) {
    const bool units = page == ConverterPage::Units;
    for (QWidget* w : std::initializer_list<QWidget*>{m_inputList, m_outputList, m_valueBox,
                                                      m_resultBox, m_valueLabel, m_resultLabel}) {
        w->setVisible(units);
    }
    m_itemList->setVisible(!units);
}

void CConvDlg::showUnitRows(const std::vector<ConverterRow>& rows) {
    m_updating = true;
    fillList(m_inputList, rows);
    fillList(m_outputList, rows);
    m_updating = false;
}

void CConvDlg::showListRows(const std::vector<ConverterRow>& rows) {
    m_updating = true;
    fillList(m_itemList, rows);
    m_updating = false;
}

void CConvDlg::selectUnitRows(std::optional<std::size_t> input, std::optional<std::size_t> output) {
    m_updating = true;
    selectRow(m_inputList, input);
    selectRow(m_outputList, output);
    m_updating = false;
}

void CConvDlg::selectListRow(std::optional<std::size_t> row) {
    m_updating = true;
    selectRow(m_itemList, row);
    m_updating = false;
}

void CConvDlg::showValue(const std::string& text) {
    m_updating = true;
    m_valueBox->setText(QString::fromStdString(text));
    m_updating = false;
}

void CConvDlg::showResult(const std::string& text) {
    m_resultBox->setText(QString::fromStdString(text));
    m_resultBox->setCursorPosition(0);
}

std::optional<ConversionFields> CConvDlg::askConversion(const ConversionFields& initial,
                                                        bool editing) {
    CNewConvDlg companion(initial, editing, this);
    if (companion.exec() != QDialog::Accepted) return std::nullopt;
    return companion.fields();
}

void CConvDlg::closeSelected() { accept(); }

}  // namespace quorvel

#include "dialogs/test_dlg.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QShortcut>
#include <QTableWidget>
#include <ctime>

#include "data/sys_data_holder.h"
#include "dialogs/dialog_button.h"
#include "speech/speech_worker.h"
#include "ui/float_edit.h"

namespace quorvel {
namespace {

QString toQt(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

std::uint32_t secondsNow() { return static_cast<std::uint32_t>(std::time(nullptr)); }

}  // namespace

CTestDlg::CTestDlg(SysDataHolder& holder, Speaker& speaker, Prompter& prompter, QWidget* parent,
                   int maxValue)
    : SkinnedDialog(QString::fromLatin1(skins::kSkinDialog), parent),
      m_holder(holder),
      m_speaker(speaker),
      m_prompter(prompter) {
    build(maxValue);
}

CTestDlg::CTestDlg(SysDataHolder& holder, WordPlayer& player, Prompter& prompter, QWidget* parent,
                   int maxValue)
    : SkinnedDialog(QString::fromLatin1(skins::kSkinDialog), parent),
      m_ownSpeech(std::make_unique<SpeechWorker>(player)),
      m_holder(holder),
      m_speaker(*m_ownSpeech),
      m_prompter(prompter) {
    build(maxValue);
}

CTestDlg::~CTestDlg() {
    m_speechPoll.stop();
    m_speaker.stop();
}

void CTestDlg::build(int maxValue) {
    setToolTitle(QStringLiteral("Exercise generator"));
    ExerciseView& view = *this;
    m_session = std::make_unique<ExerciseSession>(m_holder, m_speaker, m_prompter, view, secondsNow,
                                                  m_engine);
    if (maxValue < 0) maxValue = m_holder.data().exerciseLimit3;
    const ExerciseLimits limits = m_session->initialLimits(maxValue);

    QWidget* previous = nullptr;
    const auto chain = [this, &previous](QWidget* widget) {
        if (previous) setTabOrder(previous, widget);
        previous = widget;
    };
    for (std::size_t i = 0; i < m_choices.size(); ++i) {
        const ExerciseChoice choice = kExerciseChoices[i];
        const QString name = toQt(ChoiceName(choice));
        auto* button = makeDialogButton<LatchingButton>(
            this, name, QString(), QRect(20 + static_cast<int>(i) * 78, 52, 70, 25), skins::kTab);
        connect(button, &QAbstractButton::clicked, this,
                [this, choice] { m_session->choose(choice); });
        m_choices[i] = button;
        chain(button);
    }
    // The checked button is the current operator choice; the arrow keys move between them.
    makeExclusiveChoice(this, std::vector<QAbstractButton*>(m_choices.begin(), m_choices.end()));

    const auto addBox = [&](const QString& caption, int x, int labelWidth, int boxWidth, int digits,
                            int value) {
        auto* label = new QLabel(caption, this);
        label->setGeometry(x, 88, labelWidth, 22);
        auto* box = new CDigitsEdit(digits, this);
        box->setGeometry(x + labelWidth + 4, 88, boxWidth, 22);
        box->setText(QString::number(value));
        box->setAccessibleName(caption);
        label->setBuddy(box);
        chain(box);
        return box;
    };
    m_testNumber = addBox(QStringLiteral("Test number"), 20, 80, 50, 4, limits.testNumber);
    m_operatorNumber =
        addBox(QStringLiteral("Operator number"), 175, 110, 50, 3, limits.operatorNumber);
    m_maxValue = addBox(QStringLiteral("Max value"), 360, 70, 90, 9, limits.maxValue);

    m_list = new QTableWidget(0, 2, this);
    m_list->setGeometry(20, 120, 584, 175);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setShowGrid(true);
    m_list->verticalHeader()->setVisible(false);
    m_list->setColumnWidth(0, 380);
    m_list->setColumnWidth(1, 200);
    m_list->horizontalHeader()->setStretchLastSection(true);
    m_list->setAccessibleName(QStringLiteral("Exercises"));
    chain(m_list);

    m_summary = new QLabel(this);
    m_summary->setGeometry(20, 300, 584, 22);
    m_summary->setAccessibleName(QStringLiteral("Summary"));

    // What a reader says: a name, then the tooltip unless `spoken` replaces it.
    struct ButtonEntry {
        const char* caption;
        const char* tip;
        HoverButton** slot;
        const char* name;
        const char* spoken;
    };
    const ButtonEntry entries[] = {
        {"Start", "Start the test", &m_start, "Start", ""},
        {"Next step", "Run the next step [Shortcut key => press the ENTER key]", &m_next,
         "Next step", "Run the next step; the Enter key does it too"},
        {"Copy all", "Copy all these test calculation into the clipboard", &m_copyAll, "Copy all",
         "Copy all these calculations to the clipboard"},
        // The caption is shortened to fit the 70-pixel picture; the name says it in full.
        {"Copy sel.", "Copy the selected calculation into the clipboard", &m_copySelected,
         "Copy selected", ""},
        {"Stop talking", "Stop talking", &m_stop, "Stop talking", "End the speech at once"},
        {"Close", "", &m_close, "Close", ""},
    };
    int x = 20;
    for (const ButtonEntry& entry : entries) {
        auto* button =
            makeDialogButton(this, QString::fromLatin1(entry.caption),
                             QString::fromLatin1(entry.tip), QRect(x, 328, 70, 25), skins::kTab);
        setReaderText(button, QString::fromLatin1(entry.name), QString::fromLatin1(entry.spoken));
        x += 80;
        *entry.slot = button;
        chain(button);
    }
    connect(m_start, &QAbstractButton::clicked, this, [this] {
        m_session->start({m_testNumber->value(), m_operatorNumber->value(), m_maxValue->value()});
    });
    connect(m_next, &QAbstractButton::clicked, this, [this] { m_session->nextStep(); });
    connect(m_copyAll, &QAbstractButton::clicked, this, [this] { m_session->copyAll(); });
    connect(m_copySelected, &QAbstractButton::clicked, this, [this] {
        std::vector<std::size_t> rows;
        for (const QModelIndex& index : m_list->selectionModel()->selectedRows()) {
            rows.push_back(static_cast<std::size_t>(index.row()));
        }
        m_session->copySelected(rows);
    });
    connect(m_stop, &QAbstractButton::clicked, this, [this] { m_session->stopTalking(); });
    connect(m_close, &QAbstractButton::clicked, this, &CTestDlg::closeWindow);

    // The accelerator: Enter runs the next step wherever the focus is. A list keeps an Enter
    // that reaches it for its current row; this one hands it on to the step as well.
    for (const int key : {Qt::Key_Return, Qt::Key_Enter}) {
        auto* shortcut = new QShortcut(QKeySequence(key), this);
        connect(shortcut, &QShortcut::activated, this, &CTestDlg::enterPressed);
    }
    m_list->installEventFilter(this);
    m_speechPoll.setInterval(100);
    connect(&m_speechPoll, &QTimer::timeout, this, [this] {
        m_session->speechIdle();
        if (!m_session->summaryPending()) m_speechPoll.stop();
    });

    showState();
    m_start->setFocus();
    setClientSize(620, 370);
}

LatchingButton* CTestDlg::choiceButton(ExerciseChoice choice) const {
    for (std::size_t i = 0; i < m_choices.size(); ++i) {
        if (kExerciseChoices[i] == choice) return m_choices[i];
    }
    return nullptr;
}

void CTestDlg::enterPressed() {
    if (m_session->nextEnabled()) m_session->nextStep();
}

bool CTestDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_list && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            enterPressed();
            return true;
        }
    }
    return SkinnedDialog::eventFilter(watched, event);
}

void CTestDlg::setRow(std::size_t row) {
    const ExerciseRow& entry = m_session->rows()[row];
    // Either cell, when it becomes current, reads as the whole row.
    const QString spoken =
        entry.result.empty() ? toQt(entry.calculation)
                             : toQt(entry.calculation) + QStringLiteral(" = ") + toQt(entry.result);
    const int index = static_cast<int>(row);
    for (int column = 0; column < 2; ++column) {
        auto* item = new QTableWidgetItem(toQt(column == 0 ? entry.calculation : entry.result));
        item->setData(Qt::AccessibleTextRole, spoken);
        m_list->setItem(index, column, item);
    }
}

void CTestDlg::showRows() {
    const auto& rows = m_session->rows();
    m_list->setRowCount(static_cast<int>(rows.size()));
    for (std::size_t i = 0; i < rows.size(); ++i) setRow(i);
    // A current row, unselected, where the arrow keys start.
    if (!rows.empty()) {
        m_list->setCurrentCell(0, 0, QItemSelectionModel::NoUpdate);
    }
}

void CTestDlg::showResult(std::size_t row) {
    const int current = m_list->currentRow();
    setRow(row);
    if (current >= 0) m_list->setCurrentCell(current, 0, QItemSelectionModel::NoUpdate);
    m_list->scrollToItem(m_list->item(static_cast<int>(row), 0));
}

void CTestDlg::showState() {
    for (std::size_t i = 0; i < m_choices.size(); ++i) {
        if (kExerciseChoices[i] == m_session->choice()) {
            m_choices[i]->press();
            m_choices[i]->setChecked(true);
        } else {
            m_choices[i]->release();
        }
    }
    m_list->setHorizontalHeaderLabels({toQt(m_session->heading()), QStringLiteral("Result")});
    // A button that is disabled while it has the focus hands it to the next live control in
    // the Tab chain; the live one of the pair is enabled first and takes the focus over.
    const bool start = m_session->startEnabled();
    const bool next = m_session->nextEnabled();
    if (start) m_start->setEnabled(true);
    if (next) m_next->setEnabled(true);
    if (!start && next && m_start->hasFocus()) m_next->setFocus();
    if (!next && start && m_next->hasFocus()) m_start->setFocus();
    m_start->setEnabled(start);
    m_next->setEnabled(next);
    m_summary->setText(toQt(m_session->summary()));
    if (m_session->summaryPending()) m_speechPoll.start();
}

void CTestDlg::setClipboardText(const std::string& text) {
    QApplication::clipboard()->setText(toQt(text));
}

void CTestDlg::closeWindow() {
    if (!m_closed) {
        m_closed = true;
        m_speechPoll.stop();
        m_session->close();
    }
    QDialog::accept();
}

void CTestDlg::reject() { closeWindow(); }

}  // namespace quorvel

#include "dialogs/test_dlg.h"

#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
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
    setWindowTitle(QStringLiteral("Exercises"));
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
            this, name, name, QRect(20 + static_cast<int>(i) * 78, 52, 70, 25), skins::kTab);
        connect(button, &QAbstractButton::clicked, this,
                [this, choice] { m_session->choose(choice); });
        m_choices[i] = button;
        chain(button);
    }

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

    struct ButtonEntry {
        const char* caption;
        const char* tip;
        HoverButton** slot;
    };
    const ButtonEntry entries[] = {
        {"Start", "Start the test", &m_start},
        {"Next step", "Run the next step [Shortcut key => press the ENTER key]", &m_next},
        {"Copy all", "Copy all these test calculation into the clipboard", &m_copyAll},
        // The caption is shortened to fit the 70-pixel picture; the tooltip, which is also
        // the accessible name, says it in full.
        {"Copy sel.", "Copy the selected calculation into the clipboard", &m_copySelected},
        {"Stop talking", "Stop talking", &m_stop},
        {"Close", "Close", &m_close},
    };
    int x = 20;
    for (const ButtonEntry& entry : entries) {
        auto* button =
            makeDialogButton(this, QString::fromLatin1(entry.caption),
                             QString::fromLatin1(entry.tip), QRect(x, 328, 70, 25), skins::kTab);
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

    // The accelerator: Enter runs the next step wherever the focus is.
    for (const int key : {Qt::Key_Return, Qt::Key_Enter}) {
        auto* shortcut = new QShortcut(QKeySequence(key), this);
        connect(shortcut, &QShortcut::activated, this, [this] {
            if (m_session->nextEnabled()) m_session->nextStep();
        });
    }
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

void CTestDlg::showRows() {
    const auto& rows = m_session->rows();
    m_list->setRowCount(static_cast<int>(rows.size()));
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const int row = static_cast<int>(i);
        m_list->setItem(row, 0, new QTableWidgetItem(toQt(rows[i].calculation)));
        m_list->setItem(row, 1, new QTableWidgetItem(toQt(rows[i].result)));
    }
}

void CTestDlg::showResult(std::size_t row) {
    const int index = static_cast<int>(row);
    m_list->setItem(index, 1, new QTableWidgetItem(toQt(m_session->rows()[row].result)));
    m_list->scrollToItem(m_list->item(index, 0));
}

void CTestDlg::showState() {
    for (std::size_t i = 0; i < m_choices.size(); ++i) {
        if (kExerciseChoices[i] == m_session->choice()) {
            m_choices[i]->press();
        } else {
            m_choices[i]->release();
        }
    }
    m_list->setHorizontalHeaderLabels({toQt(m_session->heading()), QStringLiteral("Result")});
    m_start->setEnabled(m_session->startEnabled());
    m_next->setEnabled(m_session->nextEnabled());
    m_summary->setText(toQt(m_session->summary()));
    if (m_session->summaryPending()) m_speechPoll.start();
    // A disabled button drops its focus; keep the keyboard user on the live one.
    if (m_session->running() && m_start->hasFocus()) m_next->setFocus();
    if (!m_session->running() && m_next->hasFocus()) m_start->setFocus();
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

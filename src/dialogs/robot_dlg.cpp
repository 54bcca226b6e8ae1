#include "dialogs/robot_dlg.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QRadioButton>
#include <QScrollBar>
#include <QSpinBox>
#include <chrono>
#include <utility>

#include "calc/calc_settings.h"
#include "calc/text_util.h"
#include "data/sys_data_holder.h"
#include "dialogs/dialog_button.h"
#include "speech/speaker.h"
#include "ui/help_window.h"

namespace quorvel {
namespace {

// The log box takes lines for a few milliseconds per tick, in small batches, so a flood of
// calculations never holds the window up; the rest follow on the next ticks.
constexpr std::size_t kLinesPerBatch = 200;
constexpr qint64 kLogBudgetMs = 8;
constexpr int kTickMs = 25;

constexpr BatchMode kModeOrder[5] = {BatchMode::AddResult, BatchMode::ReplaceResult,
                                     BatchMode::AddSteps, BatchMode::GenFilter,
                                     BatchMode::DetailFilter};

QString qs(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
std::string text(const QString& s) { return s.toStdString(); }

QLabel* label(const QString& caption, QWidget* buddy, QRect where, QWidget* parent) {
    auto* l = new QLabel(caption, parent);
    l->setGeometry(where);
    l->setBuddy(buddy);
    return l;
}

}  // namespace

CRobotDlg::CRobotDlg(SysDataHolder& holder, Speaker& speaker, Prompter& prompter, bool talkAfterRun,
                     QWidget* parent)
    : SkinnedDialog(QString::fromLatin1(skins::kSkinConverter), parent),
      m_speaker(speaker),
      m_prompter(prompter),
      m_model(holder.data(), talkAfterRun),
      m_runPrompter(this, prompter) {
    setWindowTitle(QStringLiteral("Batch calculation"));
    setClientSize(750, 370);
    buildControls();
    m_tick.setInterval(kTickMs);
    connect(&m_tick, &QTimer::timeout, this, &CRobotDlg::tick);
}

CRobotDlg::~CRobotDlg() {
    endWorker();
    m_speaker.stop();
}

void CRobotDlg::buildControls() {
    const int left = 20;
    m_source = new QLineEdit(this);
    m_source->setGeometry(105, 50, 250, 24);
    m_source->setAccessibleName(QStringLiteral("Source file"));
    label(QStringLiteral("&Source file:"), m_source, {left, 50, 84, 24}, this);
    m_browseSource =
        makeDialogButton(this, QStringLiteral("Browse"),
                         QStringLiteral("Browse for the source file"), QRect(363, 49, 65, 25));

    m_result = new QLineEdit(this);
    m_result->setGeometry(105, 82, 250, 24);
    m_result->setAccessibleName(QStringLiteral("Result file"));
    label(QStringLiteral("&Result file:"), m_result, {left, 82, 84, 24}, this);
    m_browseFolder =
        makeDialogButton(this, QStringLiteral("Folder"),
                         QStringLiteral("Browse for the result directory"), QRect(363, 81, 65, 25));

    auto* modeLabel = new QLabel(QStringLiteral("Mode:"), this);
    modeLabel->setGeometry(left, 116, 84, 20);
    const QRect modePlaces[5] = {{105, 116, 105, 20},
                                 {212, 116, 122, 20},
                                 {336, 116, 94, 20},
                                 {105, 140, 105, 20},
                                 {212, 140, 122, 20}};
    for (int i = 0; i < 5; ++i) {
        const QString name = qs(BatchModeName(kModeOrder[i]));
        m_modes[i] = new QRadioButton(name, this);
        m_modes[i]->setGeometry(modePlaces[i]);
        m_modes[i]->setAccessibleName(name);
        connect(m_modes[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on) m_model.setMode(kModeOrder[i]);
        });
    }
    m_modes[0]->setChecked(true);

    m_places = new QSpinBox(this);
    m_places->setRange(kPlacesRange.low, kPlacesRange.high);
    m_places->setValue(m_model.places());
    m_places->setGeometry(145, 172, 65, 24);
    m_places->setAccessibleName(QStringLiteral("Decimal places"));
    label(QStringLiteral("Decimal &places P:"), m_places, {left, 172, 124, 24}, this);
    m_digits = new QSpinBox(this);
    m_digits->setRange(kDigitsLimitRange.low, kDigitsLimitRange.high);
    m_digits->setValue(m_model.digitsLimit());
    m_digits->setGeometry(363, 172, 65, 24);
    m_digits->setAccessibleName(QStringLiteral("Integer digits limit"));
    label(QStringLiteral("&Integer digits N:"), m_digits, {228, 172, 132, 24}, this);

    m_eNotation = new QCheckBox(QStringLiteral("&E-notation"), this);
    m_eNotation->setGeometry(left, 206, 150, 22);
    m_eNotation->setAccessibleName(QStringLiteral("E-notation"));
    m_talkAfterRun = new QCheckBox(QStringLiteral("&Talk after the run"), this);
    m_talkAfterRun->setGeometry(228, 206, 200, 22);
    m_talkAfterRun->setChecked(m_model.talkAfterRun());
    m_talkAfterRun->setAccessibleName(QStringLiteral("Talk after the run"));

    m_progress = new QProgressBar(this);
    m_progress->setGeometry(left, 240, 408, 22);
    m_progress->setRange(0, 100);
    m_progress->setValue(0);
    m_progress->setAccessibleName(QStringLiteral("Progress"));
    m_progress->setFormat(QStringLiteral("Ready"));

    m_log = new QPlainTextEdit(this);
    m_log->setGeometry(443, 50, 287, 255);
    m_log->setTabChangesFocus(true);
    m_log->setAccessibleName(QStringLiteral("Log"));
    m_log->setPlainText(qs(Trim(RobotLog::kHeading)));
    m_log->moveCursor(QTextCursor::End);

    struct ButtonRow {
        HoverButton** button;
        const char* caption;
        const char* tip;
    };
    const ButtonRow row[] = {
        {&m_begin, "Begin", "Begin to calculate"},
        {&m_talk, "Talk", "Talk the calculation in the log"},
        {&m_copy, "Copy", "Copy the log to the clipboard"},
        {&m_clear, "Clear", "Clear the log"},
        {&m_stopTalk, "Silence", "Stop the current talking"},
        {&m_help, "Help", "Open the help document"},
        {&m_close, "Close", "Close the robot"},
    };
    int x = left;
    for (const ButtonRow& b : row) {
        *b.button = makeDialogButton(this, QString::fromLatin1(b.caption),
                                     QString::fromLatin1(b.tip), QRect(x, 318, 65, 25));
        x += b.button == &m_help ? 100 + 65 : 75;
    }
    m_close->move(665, 318);

    connect(m_browseSource, &QAbstractButton::clicked, this, &CRobotDlg::browseSource);
    connect(m_browseFolder, &QAbstractButton::clicked, this, &CRobotDlg::browseResultFolder);
    connect(m_begin, &QAbstractButton::clicked, this, &CRobotDlg::beginOrStop);
    connect(m_talk, &QAbstractButton::clicked, this, [this] { m_model.talk(m_speaker); });
    connect(m_copy, &QAbstractButton::clicked, this, &CRobotDlg::copyLog);
    connect(m_clear, &QAbstractButton::clicked, this, &CRobotDlg::clearLog);
    connect(m_stopTalk, &QAbstractButton::clicked, this, [this] { m_speaker.stop(); });
    connect(m_help, &QAbstractButton::clicked, this,
            [this] { openHelp(this, QStringLiteral("batch.html")); });
    connect(m_close, &QAbstractButton::clicked, this, &CRobotDlg::reject);

    QWidget* order[] = {m_source,   m_browseSource, m_result,       m_browseFolder, m_modes[0],
                        m_modes[1], m_modes[2],     m_modes[3],     m_modes[4],     m_places,
                        m_digits,   m_eNotation,    m_talkAfterRun, m_log,          m_begin,
                        m_talk,     m_copy,         m_clear,        m_stopTalk,     m_help,
                        m_close};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i) setTabOrder(order[i], order[i + 1]);
    m_source->setFocus();
}

QRadioButton* CRobotDlg::modeButton(BatchMode mode) const {
    for (int i = 0; i < 5; ++i) {
        if (kModeOrder[i] == mode) return m_modes[i];
    }
    return nullptr;
}

void CRobotDlg::readBoxes() {
    m_model.setSource(text(m_source->text()));
    m_model.setResult(text(m_result->text()));
    m_model.setPlaces(m_places->value());
    m_model.setDigitsLimit(m_digits->value());
    m_model.setENotation(m_eNotation->isChecked());
    m_model.setTalkAfterRun(m_talkAfterRun->isChecked());
}

void CRobotDlg::browseSource() {
    const QString start = QFileInfo(m_source->text().trimmed()).absolutePath();
    const QString chosen =
        QFileDialog::getOpenFileName(this, QString(), start, qs(QtFileFilter(kRobotSourceFilter)));
    if (chosen.isEmpty()) return;
    m_model.sourceChosen(text(chosen));
    m_source->setText(qs(m_model.source()));
    m_result->setText(qs(m_model.result()));
}

void CRobotDlg::browseResultFolder() {
    readBoxes();
    if (!m_model.mayBrowseResultFolder(m_prompter)) return;
    const QString folder = QFileDialog::getExistingDirectory(
        this, qs(kRobotFolderTitle), QFileInfo(m_source->text().trimmed()).absolutePath(),
        QFileDialog::ShowDirsOnly);
    if (folder.isEmpty()) return;
    m_model.resultFolderChosen(text(folder));
    m_result->setText(qs(m_model.result()));
}

void CRobotDlg::copyLog() {
    m_model.copyLog(text(m_log->toPlainText()), m_prompter, [this](const std::string& log) {
        m_log->selectAll();
        QApplication::clipboard()->setText(qs(log));
    });
}

void CRobotDlg::clearLog() {
    m_model.clearLog();
    m_boxPending.clear();
    m_log->setPlainText(qs(Trim(RobotLog::kHeading)));
    m_log->moveCursor(QTextCursor::End);
}

void CRobotDlg::beginOrStop() {
    if (isRunning()) {
        stopRun();
        return;
    }
    readBoxes();
    std::optional<BatchOptions> options = m_model.beginRun(m_prompter);
    if (!options) return;
    m_result->setText(qs(m_model.result()));
    startWorker(std::move(*options));
}

void CRobotDlg::stopRun() { m_job.requestStop(); }

void CRobotDlg::startWorker(BatchOptions options) {
    m_workerDone = false;
    m_runPrompter.reset();
    setRunning(true);
    m_runTime.start();
    m_finishing = false;
    m_tick.start();
    const unsigned run = ++m_run;
    BatchJob::Listener listener;
    listener.onCalculation = [this](const BatchEntry& entry) { m_feed.push(entry); };
    listener.onLogLine = [this](std::string_view line) { m_feed.pushNote(line); };
    listener.onFinished = [this, run](BatchOutcome outcome) {
        QMetaObject::invokeMethod(
            this,
            [this, run, outcome = std::move(outcome)] {
                if (run == m_run) workerDone(outcome);
            },
            Qt::QueuedConnection);
    };
    m_job.start(std::move(options), m_runPrompter, std::move(listener));
}

void CRobotDlg::workerDone(const BatchOutcome& outcome) {
    m_job.wait();
    m_outcome = outcome;
    m_workerDone = true;
    takeFeed();
    setRunning(false);
    showProgress();
    // The run list is whole once the feed is taken, even while the box still catches up.
    m_model.endRun(m_speaker);
    m_finishing = true;
    emit runEnded();
    tick();
}

void CRobotDlg::takeFeed() {
    for (;;) {
        std::string lines = m_model.takeFeed(m_feed, kLinesPerBatch);
        if (lines.empty()) return;
        m_boxPending.push_back(std::move(lines));
    }
}

void CRobotDlg::tick() {
    takeFeed();
    // With the caret at the end the box follows the run; moved elsewhere, it stays.
    QElapsedTimer spent;
    spent.start();
    while (!m_boxPending.empty() && spent.elapsed() < kLogBudgetMs) {
        m_log->appendPlainText(qs(m_boxPending.front()));
        m_boxPending.pop_front();
    }
    if (!m_workerDone) {
        showProgress();
        return;
    }
    if (!m_boxPending.empty()) return;
    if (!m_job.active()) m_tick.stop();
    if (!m_finishing) return;
    m_finishing = false;
    QScrollBar* bar = m_log->verticalScrollBar();
    bar->setValue(bar->maximum());
    emit runFinished();
}

void CRobotDlg::showProgress() {
    const BatchProgress progress = m_job.progress();
    const auto elapsed = std::chrono::milliseconds(m_runTime.elapsed());
    m_progress->setValue(m_workerDone && m_outcome.status == BatchStatus::Done
                             ? 100
                             : RobotProgressPercent(progress));
    m_progress->setFormat(
        qs(RobotProgressText(progress, m_workerDone ? std::chrono::milliseconds(0) : elapsed)));
}

void CRobotDlg::setRunning(bool running) {
    m_begin->setText(running ? QStringLiteral("Stop") : QStringLiteral("Begin"));
    const QString tip =
        running ? QStringLiteral("Stop the calculation") : QStringLiteral("Begin to calculate");
    m_begin->setToolTip(tip);
    m_begin->setAccessibleName(tip);
    for (QWidget* w :
         std::initializer_list<QWidget*>{m_source, m_result, m_browseSource, m_browseFolder,
                                         m_places, m_digits, m_eNotation, m_talkAfterRun}) {
        w->setEnabled(!running);
    }
    for (QRadioButton* mode : m_modes) mode->setEnabled(!running);
}

void CRobotDlg::endWorker() {
    m_tick.stop();
    if (!m_job.active()) return;
    m_job.requestStop();
    m_runPrompter.cancel();
    m_job.wait();
}

void CRobotDlg::reject() {
    m_boxPending.clear();
    m_finishing = false;
    if (isRunning()) {
        // An abandoned run neither reports nor talks.
        ++m_run;
        endWorker();
        m_feed.take(m_feed.size());
        m_workerDone = true;
        setRunning(false);
    }
    m_speaker.stop();
    SkinnedDialog::reject();
}

}  // namespace quorvel

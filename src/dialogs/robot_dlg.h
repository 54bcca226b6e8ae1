#pragma once

// The batch calculation window (the "robot"). The run goes to a worker thread so that the
// window keeps turning: Begin becomes Stop, a progress bar counts the lines, and the log box
// takes what the run reports in batches on a timer. Prompts of the run are shown on the
// window's thread through the caller's Prompter.

#include <QElapsedTimer>
#include <QTimer>
#include <deque>
#include <memory>
#include <string>

#include "dialogs/gui_thread_prompter.h"
#include "tools/batch_job.h"
#include "tools/batch_run.h"
#include "tools/robot_model.h"
#include "ui/skinned_dialog.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QRadioButton;
class QSpinBox;

namespace quorvel {

class HoverButton;
class Speaker;
class SysDataHolder;

class CRobotDlg : public SkinnedDialog {
    Q_OBJECT

public:
    // `speaker` is this window's own speech slot; it is stopped when the window closes.
    CRobotDlg(SysDataHolder& holder, Speaker& speaker, Prompter& prompter, bool talkAfterRun,
              QWidget* parent = nullptr);
    ~CRobotDlg() override;

    RobotModel& model() { return m_model; }
    bool isRunning() const { return m_job.active(); }

    QLineEdit* sourceBox() const { return m_source; }
    QLineEdit* resultBox() const { return m_result; }
    QRadioButton* modeButton(BatchMode mode) const;
    QSpinBox* placesBox() const { return m_places; }
    QSpinBox* digitsBox() const { return m_digits; }
    QCheckBox* eNotationBox() const { return m_eNotation; }
    QCheckBox* talkAfterRunBox() const { return m_talkAfterRun; }
    QPlainTextEdit* logBox() const { return m_log; }
    QProgressBar* progressBar() const { return m_progress; }
    HoverButton* beginButton() const { return m_begin; }
    HoverButton* talkButton() const { return m_talk; }
    HoverButton* copyButton() const { return m_copy; }
    HoverButton* clearButton() const { return m_clear; }
    HoverButton* stopTalkButton() const { return m_stopTalk; }
    HoverButton* closeButton() const { return m_close; }
    // The outcome of the last run that ended.
    const BatchOutcome& lastOutcome() const { return m_outcome; }

public slots:
    // Begin, or Stop while a run goes on.
    void beginOrStop();
    void stopRun();
    void reject() override;

signals:
    // The run has ended: Begin is back, the run list whole; the box may still be catching up.
    void runEnded();
    // The run has ended and its whole log is in the box.
    void runFinished();

private:
    void buildControls();
    void browseSource();
    void browseResultFolder();
    void copyLog();
    void clearLog();
    void readBoxes();
    void setRunning(bool running);
    void startWorker(BatchOptions options);
    void workerDone(const BatchOutcome& outcome);
    void tick();
    // Everything the run reported goes into the model at once; the box gets it in batches.
    void takeFeed();
    void showProgress();
    // Stops the run and waits for its thread; prompts still waiting are dropped.
    void endWorker();

    Speaker& m_speaker;
    Prompter& m_prompter;
    RobotModel m_model;
    GuiThreadPrompter m_runPrompter;

    RobotFeed m_feed;
    // After the feed and the prompter its run uses, so that it ends before they go.
    BatchJob m_job;
    unsigned m_run = 0;  // the run whose end is awaited; a closed window abandons it
    bool m_workerDone = false;
    bool m_finishing = false;              // the worker has ended; runFinished is still due
    std::deque<std::string> m_boxPending;  // log lines the box has not shown yet
    BatchOutcome m_outcome;
    QTimer m_tick;
    QElapsedTimer m_runTime;

    QLineEdit* m_source = nullptr;
    QLineEdit* m_result = nullptr;
    QRadioButton* m_modes[5] = {};
    QSpinBox* m_places = nullptr;
    QSpinBox* m_digits = nullptr;
    QCheckBox* m_eNotation = nullptr;
    QCheckBox* m_talkAfterRun = nullptr;
    QPlainTextEdit* m_log = nullptr;
    QProgressBar* m_progress = nullptr;
    HoverButton* m_browseSource = nullptr;
    HoverButton* m_browseFolder = nullptr;
    HoverButton* m_begin = nullptr;
    HoverButton* m_talk = nullptr;
    HoverButton* m_copy = nullptr;
    HoverButton* m_clear = nullptr;
    HoverButton* m_stopTalk = nullptr;
    HoverButton* m_help = nullptr;
    HoverButton* m_close = nullptr;
};

}  // namespace quorvel

#pragma once

// The exercise generator window: the operator choice, three limit boxes, the list of
// calculations and their results, and the step buttons; Enter is Next step wherever the focus
// is. It speaks through its own slot and stores the data file when it closes.

#include <QTimer>
#include <array>
#include <memory>
#include <random>

#include "tools/exercise.h"
#include "ui/hover_button.h"
#include "ui/latching_button.h"
#include "ui/skinned_dialog.h"

class QLabel;
class QTableWidget;

namespace quorvel {

class CDigitsEdit;
class Prompter;
class Speaker;
class SpeechWorker;
class SysDataHolder;
class WordPlayer;

class CTestDlg : public SkinnedDialog, private ExerciseView {
    Q_OBJECT

public:
    // maxValue below 0: the data file's exercise limit 3.
    CTestDlg(SysDataHolder& holder, Speaker& speaker, Prompter& prompter, QWidget* parent = nullptr,
             int maxValue = -1);
    // With a speech slot of its own on `player`, stopped and released when the window goes.
    CTestDlg(SysDataHolder& holder, WordPlayer& player, Prompter& prompter,
             QWidget* parent = nullptr, int maxValue = -1);
    ~CTestDlg() override;

    const ExerciseSession& session() const { return *m_session; }
    LatchingButton* choiceButton(ExerciseChoice choice) const;
    CDigitsEdit* testNumberBox() const { return m_testNumber; }
    CDigitsEdit* operatorNumberBox() const { return m_operatorNumber; }
    CDigitsEdit* maxValueBox() const { return m_maxValue; }
    QTableWidget* list() const { return m_list; }
    QLabel* summaryLabel() const { return m_summary; }
    HoverButton* startButton() const { return m_start; }
    HoverButton* nextButton() const { return m_next; }
    HoverButton* copyAllButton() const { return m_copyAll; }
    HoverButton* copySelectedButton() const { return m_copySelected; }
    HoverButton* closeButton() const { return m_close; }

    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void enterPressed();
    void setRow(std::size_t row);
    void build(int maxValue);
    void showRows() override;
    void showResult(std::size_t row) override;
    void showState() override;
    void setClipboardText(const std::string& text) override;
    void closeWindow();

    std::unique_ptr<SpeechWorker> m_ownSpeech;
    SysDataHolder& m_holder;
    Speaker& m_speaker;
    Prompter& m_prompter;
    std::mt19937 m_engine;
    std::unique_ptr<ExerciseSession> m_session;
    QTimer m_speechPoll;
    bool m_closed = false;

    std::array<LatchingButton*, 5> m_choices{};
    CDigitsEdit* m_testNumber = nullptr;
    CDigitsEdit* m_operatorNumber = nullptr;
    CDigitsEdit* m_maxValue = nullptr;
    QTableWidget* m_list = nullptr;
    QLabel* m_summary = nullptr;
    HoverButton* m_start = nullptr;
    HoverButton* m_next = nullptr;
    HoverButton* m_copyAll = nullptr;
    HoverButton* m_copySelected = nullptr;
    HoverButton* m_stop = nullptr;
    HoverButton* m_close = nullptr;
};

}  // namespace quorvel

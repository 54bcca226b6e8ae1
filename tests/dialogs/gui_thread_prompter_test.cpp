#include "dialogs/gui_thread_prompter.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QObject>
#include <QTest>
#include <QThread>
#include <atomic>
#include <thread>

#include "support/recording_prompter.h"

namespace quorvel {
namespace {

// Records on which thread each prompt arrived.
class Target : public testing::RecordingPrompter {
public:
    void showMessage(std::string_view text, std::string_view title, MessageIcon icon) override {
        onWindowThread.push_back(QThread::currentThread() == qApp->thread());
        RecordingPrompter::showMessage(text, title, icon);
    }
    bool askOkCancel(std::string_view text, std::string_view title) override {
        onWindowThread.push_back(QThread::currentThread() == qApp->thread());
        return RecordingPrompter::askOkCancel(text, title);
    }
    void showInputMessage(std::string_view message, std::string_view advice,
                          std::string_view expression, int position) override {
        onWindowThread.push_back(QThread::currentThread() == qApp->thread());
        RecordingPrompter::showInputMessage(message, advice, expression, position);
    }
    std::vector<bool> onWindowThread;
};

// Turns the event loop until `done`, at most a few seconds.
void pumpUntil(const std::atomic<bool>& done) {
    for (int i = 0; i < 500 && !done; ++i) QTest::qWait(10);
}

TEST(GuiThreadPrompter, HandsEveryPromptToTheWindowsThreadAndWaits) {
    struct Case {
        bool answer;
    };
    for (const Case c : {Case{true}, Case{false}}) {
        SCOPED_TRACE(c.answer);
        QObject context;
        Target target;
        target.answer = c.answer;
        GuiThreadPrompter prompter(&context, target);
        std::atomic<bool> done{false};
        bool answered = !c.answer;
        std::thread worker([&] {
            prompter.showMessage("Sorry", "Quorvel", MessageIcon::Information);
            answered = prompter.askOkCancel("Go on?", "Quorvel");
            prompter.showInputMessage("bad char", "advice", "2*-3", 3);
            done = true;
        });
        pumpUntil(done);
        worker.join();
        ASSERT_TRUE(done);
        EXPECT_EQ(answered, c.answer);
        EXPECT_EQ(target.onWindowThread, (std::vector<bool>{true, true, true}));
        ASSERT_EQ(target.messages.size(), 1u);
        EXPECT_EQ(target.messages[0].text, "Sorry");
        ASSERT_EQ(target.inputMessages.size(), 1u);
        EXPECT_EQ(target.inputMessages[0].expression, "2*-3");
        EXPECT_EQ(target.inputMessages[0].position, 3);
    }
}

TEST(GuiThreadPrompter, OnTheWindowsThreadItShowsAtOnce) {
    QObject context;
    Target target;
    GuiThreadPrompter prompter(&context, target);
    prompter.showMessage("now", "Quorvel", MessageIcon::Exclamation);
    EXPECT_EQ(target.only(), "Quorvel: now");
}

// A closing window cancels: the waiting worker goes on, and the prompt is never shown.
TEST(GuiThreadPrompter, CancelReleasesAWaitingWorker) {
    QObject context;
    Target target;
    GuiThreadPrompter prompter(&context, target);
    std::atomic<bool> done{false};
    bool answer = true;
    std::thread worker([&] {
        answer = prompter.askOkCancel("Go on?", "Quorvel");
        done = true;
    });
    // The event loop does not turn, so the question waits.
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(done);
    prompter.cancel();
    worker.join();
    EXPECT_FALSE(answer);
    QCoreApplication::processEvents();
    EXPECT_TRUE(target.questions.empty());

    // Cancelled, later prompts are dropped without waiting; reset lets them through again.
    std::thread late([&] { prompter.showMessage("late", "Quorvel", MessageIcon::Information); });
    late.join();
    QCoreApplication::processEvents();
    EXPECT_TRUE(target.messages.empty());
    prompter.reset();
    done = false;
    std::thread again([&] {
        prompter.showMessage("again", "Quorvel", MessageIcon::Information);
        done = true;
    });
    pumpUntil(done);
    again.join();
    EXPECT_EQ(target.only(), "Quorvel: again");
}

}  // namespace
}  // namespace quorvel

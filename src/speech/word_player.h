#pragma once

// The seam between the wording and the sound: a reading only ever plays one word to its end,
// waits, or silences, so the same reading drives the audio device, a WAV file or a test.

#include <chrono>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

class WordPlayer {
public:
    virtual ~WordPlayer() = default;
    // Returns when the word has been played; a word without a recording returns at once.
    virtual void play(std::string_view wordFile) = 0;
    virtual void pause(std::chrono::milliseconds duration) = 0;
    // Ends anything still sounding.
    virtual void silence() = 0;
};

// One step of a word plan: a word file, or (with an empty file) a pause.
struct WordEntry {
    std::string file;
    std::chrono::milliseconds pause{0};

    bool isPause() const { return file.empty(); }
    friend bool operator==(const WordEntry&, const WordEntry&) = default;
};

using WordPlan = std::vector<WordEntry>;

// Collects what a reading plays instead of sounding it.
class PlanRecorder final : public WordPlayer {
public:
    void play(std::string_view wordFile) override;
    void pause(std::chrono::milliseconds duration) override;
    void silence() override;

    const WordPlan& plan() const { return m_plan; }
    int silences() const { return m_silences; }

private:
    WordPlan m_plan;
    int m_silences = 0;
};

void playPlan(const WordPlan& plan, WordPlayer& player);

// One line per entry: "one1.wav", or "pause 2000" for a pause.
std::string formatWordPlan(const WordPlan& plan);

}  // namespace quorvel

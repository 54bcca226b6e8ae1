#pragma once

// The seam between the wording and the sound: a reading only ever plays one word, waits, or
// silences, so the same reading drives the audio device, a WAV file or a test. Words and pauses
// carry the request's stop flag, so a stop cuts them short instead of waiting for their end.

#include <chrono>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "speech/stop_flag.h"

namespace quorvel {

class WordPlayer {
public:
    virtual ~WordPlayer() = default;
    // Returns when the word has been played, or within a few milliseconds of `stop` being set;
    // a word without a recording returns at once.
    virtual void play(std::string_view wordFile, const StopFlag& stop) = 0;
    // Waits `duration`, or until `stop` is set.
    virtual void pause(std::chrono::milliseconds duration, const StopFlag& stop) = 0;
    // Ends anything still sounding.
    virtual void silence() = 0;
};

// The quiet a player puts between two words that follow each other directly. The recordings
// are cut close to the voice, and back to back a listener hears words at the joins that were
// never said.
inline constexpr std::chrono::milliseconds kWordGap{50};

// Tells a player which words follow another directly and need the gap before them; a pause or
// a silence already parts two words.
class WordSpacing {
public:
    explicit WordSpacing(std::chrono::milliseconds gap = kWordGap) : m_gap(gap) {}

    // The quiet to sound before the word about to be played.
    std::chrono::milliseconds beforeWord() {
        const bool follows = m_afterWord;
        m_afterWord = true;
        return follows ? m_gap : std::chrono::milliseconds(0);
    }
    void parted() { m_afterWord = false; }

private:
    std::chrono::milliseconds m_gap;
    bool m_afterWord = false;
};

// Frames that last `duration` at `sampleRate`; none for a negative duration.
std::size_t framesFor(std::chrono::milliseconds duration, int sampleRate);

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
    void play(std::string_view wordFile, const StopFlag& stop) override;
    void pause(std::chrono::milliseconds duration, const StopFlag& stop) override;
    void silence() override;

    const WordPlan& plan() const { return m_plan; }
    int silences() const { return m_silences; }

private:
    WordPlan m_plan;
    int m_silences = 0;
};

// Plays every entry, then silences; a set `stop` cuts the rest short.
void playPlan(const WordPlan& plan, WordPlayer& player, const StopFlag& stop = StopFlag());

// One line per entry: "one1.wav", or "pause 2000" for a pause.
std::string formatWordPlan(const WordPlan& plan);

}  // namespace quorvel

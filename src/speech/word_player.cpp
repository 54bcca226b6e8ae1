#include "speech/word_player.h"

namespace quorvel {

std::size_t framesFor(std::chrono::milliseconds duration, int sampleRate) {
    if (duration.count() <= 0 || sampleRate <= 0) return 0;
    return static_cast<std::size_t>(duration.count()) * static_cast<std::size_t>(sampleRate) / 1000;
}

void PlanRecorder::play(std::string_view wordFile, const StopFlag&) {
    m_plan.push_back({std::string(wordFile), {}});
}

void PlanRecorder::pause(std::chrono::milliseconds duration, const StopFlag&) {
    m_plan.push_back({std::string(), duration});
}

void PlanRecorder::silence() { ++m_silences; }

void playPlan(const WordPlan& plan, WordPlayer& player, const StopFlag& stop) {
    for (const WordEntry& entry : plan) {
        if (stop.isSet()) break;
        if (entry.isPause()) {
            player.pause(entry.pause, stop);
        } else {
            player.play(entry.file, stop);
        }
    }
    player.silence();
}

std::string formatWordPlan(const WordPlan& plan) {
    std::string out;
    for (const WordEntry& entry : plan) {
        if (entry.isPause()) {
            out += "pause " + std::to_string(entry.pause.count());
        } else {
            out += entry.file;
        }
        out += '\n';
    }
    return out;
}

}  // namespace quorvel

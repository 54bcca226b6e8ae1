#pragma once

// The robot window without its widgets: the boxes' values, the mode, P and N, the log and the
// run list, and what each button does. A run itself goes through RunBatch, usually on a worker
// thread; what the run reports there is queued in a RobotFeed and taken into the log on the
// window's thread in batches, so a run of a million calculations never waits for the log box.

#include <chrono>
#include <cstddef>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "speech/speaker.h"
#include "tools/batch_run.h"
#include "tools/prompter.h"

namespace quorvel {

struct CSysData;

// The file filter of the source browser: "Text (*.txt)|*.txt|...||" pairs of a label and a
// pattern become Qt's "Text (*.txt);;...". "*.*" is every file, which on Linux is "*".
std::string QtFileFilter(std::string_view pairs);
inline constexpr std::string_view kRobotSourceFilter =
    "Text (*.txt)|*.txt|*.xml|*.htm|*.cpp|*.h|All Files (*.*)|*.*||";
inline constexpr std::string_view kRobotFolderTitle = "Select directory for the result file";

// "1234 lines done", and once the run has taken more than half a second and the source has a
// size, ", about 7 s left" from the pace so far.
std::string RobotProgressText(const BatchProgress& progress, std::chrono::milliseconds elapsed);
// 0..100 of the source read; 0 when the source has no size.
int RobotProgressPercent(const BatchProgress& progress);

// What a run reports on its own thread, waiting for the window's thread. Safe to push from one
// thread while another takes.
class RobotFeed {
public:
    struct Item {
        bool note = false;  // a log line that is no calculation
        BatchEntry entry;   // when !note
        std::string text;   // when note
    };

    void push(const BatchEntry& entry);
    void pushNote(std::string_view line);
    // Up to `most` items, oldest first.
    std::vector<Item> take(std::size_t most);
    std::size_t size() const;

private:
    mutable std::mutex m_mutex;
    std::vector<Item> m_items;
    std::size_t m_first = 0;  // items before it were taken
};

class RobotModel {
public:
    // P and N start as the data's; the data takes the dialog's values at every run.
    RobotModel(CSysData& data, bool talkAfterRun);

    void setSource(std::string text) { m_source = std::move(text); }
    const std::string& source() const { return m_source; }
    void setResult(std::string text) { m_result = std::move(text); }
    const std::string& result() const { return m_result; }
    void setMode(BatchMode mode) { m_mode = mode; }
    BatchMode mode() const { return m_mode; }
    // Brought into the engine's ranges.
    void setPlaces(int places);
    int places() const { return m_places; }
    void setDigitsLimit(int digits);
    int digitsLimit() const { return m_digitsLimit; }
    void setENotation(bool on) { m_eNotation = on; }
    bool eNotation() const { return m_eNotation; }
    void setTalkAfterRun(bool on) { m_talkAfterRun = on; }
    bool talkAfterRun() const { return m_talkAfterRun; }
    // The clock of the log lines; tests fix it.
    void setClock(CalculatorSession::Clock clock) { m_clock = std::move(clock); }

    // A source chosen in the file browser; the result goes beside it.
    void sourceChosen(std::string path);
    // May the result folder be browsed? Says why not when the source is still empty.
    bool mayBrowseResultFolder(Prompter& prompter) const;
    // A folder chosen for the result: the source's name with ".rob" in it.
    void resultFolderChosen(std::string_view folder);

    // Begin: the options of the run, or none after telling the user why not. P and N go into
    // the data, an empty result path is derived (result() shows it), the run list empties.
    std::optional<BatchOptions> beginRun(Prompter& prompter);
    // Takes up to `most` of what the run reported into the log; returns the new log lines
    // joined by "\n", for the log box.
    std::string takeFeed(RobotFeed& feed, std::size_t most);
    // After the run and its last feed: talks the run when the switch is on.
    void endRun(Speaker& speaker) const;

    void talk(Speaker& speaker) const;
    void clearLog() { m_log.clear(); }
    // Copies what the log box shows, trimmed, with "\r\n" line breaks, through `put`, and says
    // so; or says the log is empty.
    bool copyLog(std::string_view boxText, Prompter& prompter,
                 const std::function<void(const std::string&)>& put) const;

    const RobotLog& log() const { return m_log; }

private:
    CSysData& m_data;
    std::string m_source;
    std::string m_result;
    BatchMode m_mode = BatchMode::AddResult;
    int m_places;
    int m_digitsLimit;
    bool m_eNotation = false;
    bool m_talkAfterRun;
    CalculatorSession::Clock m_clock = LocalLogTime;
    RobotLog m_log;
};

}  // namespace quorvel

#pragma once

// The exercise generator without widgets. Start builds a list of random whole-number
// calculations and speaks the first; each Next step then alternately calculates a row (writing
// and speaking its result) and speaks the following row. After the last result the count of
// calculations worked through is shown and, once the result has been said, spoken.

#include <cstdint>
#include <functional>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace quorvel {

class Prompter;
class Speaker;
class SysDataHolder;

enum class ExerciseChoice { Add, Minus, Time, Divide, Mix };

inline constexpr ExerciseChoice kExerciseChoices[] = {ExerciseChoice::Add, ExerciseChoice::Minus,
                                                      ExerciseChoice::Time, ExerciseChoice::Divide,
                                                      ExerciseChoice::Mix};

// "add", "minus", "time", "divide", "mix".
std::string_view ChoiceName(ExerciseChoice choice);
// The operator of calculation `index` (from 0): "mix" rotates + - * /.
char ChoiceOperator(ExerciseChoice choice, std::size_t index);

struct ExerciseRow {
    std::string calculation;
    std::string result;  // empty until the row has been calculated
};

// Clock: seconds since the epoch; the engine is reseeded from it for every calculation.
using ExerciseClock = std::function<std::uint32_t()>;

struct ExerciseLimits {
    int testNumber = 0;      // how many calculations
    int operatorNumber = 0;  // operators per calculation; 0 gives single numbers
    int maxValue = 0;        // operands are 1 .. maxValue
};

class ExerciseGenerator {
public:
    ExerciseGenerator(ExerciseClock clock, std::mt19937& engine)
        : m_clock(std::move(clock)), m_engine(engine) {}

    // One calculation that is not yet in `rows`, or none after more than 5 × `storedTestNumber`
    // duplicates. `maxValue` must be at least 1.
    std::optional<std::string> generate(char op, int maxValue, int operatorNumber,
                                        const std::vector<ExerciseRow>& rows, int storedTestNumber);
    // The whole list, appended to `rows` (emptied first); false, with `rows` empty and the
    // user told, when a calculation could not be found.
    bool build(ExerciseChoice choice, const ExerciseLimits& limits, int storedTestNumber,
               std::vector<ExerciseRow>& rows, Prompter& prompter);

private:
    ExerciseClock m_clock;
    std::mt19937& m_engine;
};

// The text Copy all and Copy selected put on the clipboard: "1+2=3\r\n" per row, or
// "1+2\r\n" for a row without result.
std::string ExerciseCopyText(const std::vector<ExerciseRow>& rows,
                             const std::vector<std::size_t>& selected);

// What the dialog shows; the session calls it after each change.
class ExerciseView {
public:
    virtual ~ExerciseView() = default;
    virtual void showRows() = 0;                   // the list was replaced or emptied
    virtual void showResult(std::size_t row) = 0;  // one row's result was written
    virtual void showState() = 0;                  // buttons, choice, heading, summary
    virtual void setClipboardText(const std::string& text) = 0;
};

class ExerciseSession {
public:
    ExerciseSession(SysDataHolder& holder, Speaker& speaker, Prompter& prompter, ExerciseView& view,
                    ExerciseClock clock, std::mt19937& engine);

    // The boxes' starting values: test and operator number from the data file, the max value
    // as the main window hands it in.
    ExerciseLimits initialLimits(int maxValue) const;

    void choose(ExerciseChoice choice);
    void start(const ExerciseLimits& limits);
    void nextStep();
    void copyAll();
    void copySelected(const std::vector<std::size_t>& selected);
    void stopTalking();
    // Called while the dialog is idle: speaks the summary once the last result has been said.
    void speechIdle();
    // Close: stops the speech and stores the data file.
    void close();

    ExerciseChoice choice() const { return m_choice; }
    std::string heading() const;
    const std::vector<ExerciseRow>& rows() const { return m_rows; }
    bool running() const { return m_running; }
    bool startEnabled() const { return !m_running; }
    bool nextEnabled() const { return m_running; }
    int stepCounter() const { return m_step; }
    // "You worked through 2 calculations." after a run, empty before and during one.
    const std::string& summary() const { return m_summary; }
    bool summaryPending() const { return m_summaryPending; }

private:
    void finish();

    SysDataHolder& m_holder;
    Speaker& m_speaker;
    Prompter& m_prompter;
    ExerciseView& m_view;
    ExerciseGenerator m_generator;
    ExerciseChoice m_choice = ExerciseChoice::Add;
    std::vector<ExerciseRow> m_rows;
    bool m_running = false;
    int m_step = 0;
    std::string m_summary;
    std::size_t m_workedThrough = 0;
    bool m_summaryPending = false;
};

}  // namespace quorvel

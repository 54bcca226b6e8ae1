#pragma once

// The fixed messages of the tools, the managers and quorvel-calc's notices: one table beside
// the engine's in calc/messages.h, of the same shape and with the same titles, so a caller
// names a message and its arguments and never a title or a text.

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "calc/messages.h"

namespace quorvel {

enum class ToolMessageId {
    None,
    // The unit converter.
    SelectInputUnitName,
    SelectOutputUnitName,
    InputValueFirst,
    SelectInputUnitFirst,
    SelectOutputUnitFirst,
    FailedToConvert,
    SelectItemFromList,
    SelectListItemFirst,
    SelectRemovedItemFirst,
    SelectItemFirst,
    InputDegreeFirst,
    InputNumberFirst,
    // The function palette and the exercise generator.
    ArcRange,
    ExerciseNotAccepted,
    ExerciseListEmpty,
    ExerciseCopied,
    SelectFirst,
    SelectionCopied,
    MaxValueTooSmall,
    TestNumberTooSmall,
    // The parameter dialog.
    ParameterNotNumber,
    // The batch run.
    SelectSourceFirst,
    FailedToRead,
    FailedToWrite,
    LogEmpty,
    LogCopied,
    // The log and formula managers.
    RepeatRange,
    LogListEmpty,
    LogInformationCopied,
    SelectLineToExport,
    ClearLogQuestion,
    InputAndCalculate,
    FormulaSaved,
    SelectCatalogFirst,
    FormulaExported,
    // The calculator window.
    InputEmpty,
    ExitQuestion,
    SettingOutOfRange,
    // The data folder's own words: settings it corrected, a damaged file, a failed store. The
    // calculator window and the managers give a failed store the exclamation icon.
    DataFileNotice,
    StoreFailed,
    // quorvel-calc's answers to a line it does not calculate.
    NothingToCalculate,
    EquationNeedsRightSide,
    AssignmentNeedsValue,
    NeitherAssignmentNorEquation,
    PromptWords,
    DidYouMean,
    UnitsNotMatched,
};

using ToolMessageEntry = BasicMessageEntry<ToolMessageId>;

// Every tool message, in id order.
std::span<const ToolMessageEntry> ToolMessageTable();
// The row of `id`; ToolMessageId::None has none and must not be asked for.
const ToolMessageEntry& MessageFor(ToolMessageId id);

// A message to show: its id and the arguments its text names. The arguments go in as given;
// a caller quoting a file name or typed text escapes it first.
struct ToolMessage {
    ToolMessage(ToolMessageId message, std::vector<std::string> values = {})
        : id(message), arguments(std::move(values)) {}

    ToolMessageId id;
    std::vector<std::string> arguments;

    // The text as shown; "" for ToolMessageId::None.
    std::string text() const;
};

}  // namespace quorvel

namespace quorvel::msg {

// The texts the table shows; titles and icons are the table's.

// The unit converter.
inline constexpr std::string_view kSelectInputUnitName =
    "Please select the input unit name from the input unit list";
inline constexpr std::string_view kSelectOutputUnitName =
    "Please select the output unit name from the output unit list";
inline constexpr std::string_view kInputValueFirst = "Please input the input value first";

inline constexpr std::string_view kSelectInputUnitFirst = "Please select input unit first.";
inline constexpr std::string_view kSelectOutputUnitFirst = "Please select output unit first.";
inline constexpr std::string_view kFailedToConvert = "Failed to convert.";
inline constexpr std::string_view kSelectItemFromList = "Please select the item from the list.";
inline constexpr std::string_view kSelectListItemFirst = "Please select the list item first.";
inline constexpr std::string_view kSelectRemovedItemFirst = "Please select the removed item first.";
inline constexpr std::string_view kSelectItemFirst = "Please select the item first.";
inline constexpr std::string_view kInputDegreeFirst = "Please input the degree number first.";
inline constexpr std::string_view kInputNumberFirst = "Please input a number first.";

// The function palette's argument dialog.
inline constexpr std::string_view kArcRange =
    "Sorry, the value of arcsin or arccos in this calculator cannot be larger than 1.";

// The exercise generator.
inline constexpr std::string_view kExerciseNotAccepted =
    "Sorry, the calculation test number,the max value and the operator number are not "
    "accepted.Please decrease the number of calculation test, or increase the max value ,or "
    "increase the operator number.Thank you.";
inline constexpr std::string_view kExerciseListEmpty = "The list is empty.Please begin test first.";
inline constexpr std::string_view kExerciseCopied =
    "The Test information has been copied into the clipboard successfully.";
// Also said by the log and formula managers.
inline constexpr std::string_view kSelectFirst = "Please select first.Thank you.";
inline constexpr std::string_view kSelectionCopied =
    "The selection has been copied into the clipboard successfully.";
inline constexpr std::string_view kMaxValueTooSmall = "The max value should be at least 1.";
inline constexpr std::string_view kTestNumberTooSmall = "The test number should be at least 1.";
// Shown and spoken at the end of an exercise run.
inline std::string exerciseSummary(std::size_t calculations) {
    return "You worked through " + std::to_string(calculations) +
           (calculations == 1 ? " calculation." : " calculations.");
}

// The parameter dialog's refusal of box `box` ("F", "K", "M", "W" or "Pi").
inline std::string parameterNotNumber(std::string_view box) {
    return ToolMessage(ToolMessageId::ParameterNotNumber, {std::string(box)}).text();
}

// The calculator window.
inline constexpr std::string_view kInputEmpty = "Sorry,the input is empty.";
inline constexpr std::string_view kExitQuestion = "Would you exit Quorvel?";

// The batch run.
inline constexpr std::string_view kSelectSourceFirst =
    "Please select the source file first by clicking the browse button.";
// Said after the path of a file error, in brackets.
inline constexpr std::string_view kReasonOverwritesSource = "the result would overwrite the source";
inline constexpr std::string_view kReasonNoSuchFile = "no such file";
inline constexpr std::string_view kReasonNoSuchFolder = "no such folder";
inline constexpr std::string_view kReasonPermissionDenied = "permission denied";
inline constexpr std::string_view kReasonDiskFull = "disk full";
inline constexpr std::string_view kReasonIsFolder = "it is a folder";
inline constexpr std::string_view kReasonNotAFile = "it is not an ordinary file";
inline constexpr std::string_view kReasonIsLink = "it is a link to another file";
inline constexpr std::string_view kLogEmpty = "Sorry,the log is empty.Please calculate first.";
inline constexpr std::string_view kLogCopied =
    "the log  information has been copied to the clipboard.";

// "Failed to open and write the file:/data/sums.rob (disk full)" for FailedToRead or
// FailedToWrite. A file name may hold any byte but the slash, so its control characters are
// escaped.
inline ToolMessage fileError(ToolMessageId id, std::string_view path, std::string_view reason) {
    return {id, {escapeControls(path), std::string(reason)}};
}

// The batch run's own log lines.
inline std::string batchStopped(std::size_t line) {
    return "Stopped by the user after line " + std::to_string(line) + ".";
}
inline std::string batchLineFailed(std::size_t line, std::string_view calculation,
                                   std::string_view message) {
    return "Line " + std::to_string(line) + ": " + std::string(calculation) +
           " failed: " + std::string(message);
}
inline std::string batchLongLine(std::size_t line, std::size_t limit) {
    return "Line " + std::to_string(line) + " is longer than " + std::to_string(limit) +
           " characters and was copied without calculating.";
}
inline std::string batchFailedSummary(std::size_t count, std::size_t firstLine) {
    if (count == 1) return "1 calculation failed, on line " + std::to_string(firstLine);
    return std::to_string(count) + " calculations failed; the first on line " +
           std::to_string(firstLine);
}
inline std::string batchLongLineSummary(std::size_t count, std::size_t firstLine,
                                        std::size_t limit) {
    const std::string longer = " longer than " + std::to_string(limit) + " characters";
    if (count == 1) {
        return "1 line" + longer + " was copied without calculating: line " +
               std::to_string(firstLine);
    }
    return std::to_string(count) + " lines" + longer +
           " were copied without calculating; the first is line " + std::to_string(firstLine);
}

}  // namespace quorvel::msg

#pragma once

// The fixed texts of the log manager and the formula manager; the tool message table gives
// them their title and icon.

#include <string_view>

// kSelectFirst and kSelectionCopied, which the exercise list says as well.
#include "tools/tool_messages.h"

namespace quorvel::msg {

inline constexpr std::string_view kRepeatRange = "Repeat Times should be between 1 and 50";
inline constexpr std::string_view kLogListEmpty =
    "Log list is empty.Please calculate first.Thank you.";
inline constexpr std::string_view kLogInformationCopied =
    "The log information has been copied into the clipboard successfully.";
// Two spaces before "you", as the log manager has always said it.
inline constexpr std::string_view kSelectLineToExport =
    "Please select first by clicking the line  you want to export.";
inline constexpr std::string_view kClearLogQuestion =
    "Do you want to clear all the log information?.";

inline constexpr std::string_view kInputAndCalculate = "Please input the expression and calculate.";
inline constexpr std::string_view kFormulaSaved = "Save the new formula successfully.";
inline constexpr std::string_view kSelectCatalogFirst = "Please select the catalog first.";
inline constexpr std::string_view kFormulaExported = "Export to the formula manager successfully";

}  // namespace quorvel::msg

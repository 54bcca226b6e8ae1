#pragma once

// The fixed messages of the tools (unit converter, batch run), beside the engine's in
// calc/messages.h and with the same titles.

#include <string_view>

namespace quorvel::msg {

// Title "Quorvel", exclamation icon.
inline constexpr std::string_view kSelectInputUnitName =
    "Please select the input unit name from the input unit list";
inline constexpr std::string_view kSelectOutputUnitName =
    "Please select the output unit name from the output unit list";
inline constexpr std::string_view kInputValueFirst = "Please input the input value first";

// Title "Quorvel Message", information icon.
inline constexpr std::string_view kSelectInputUnitFirst = "Please select input unit first.";
inline constexpr std::string_view kSelectOutputUnitFirst = "Please select output unit first.";
inline constexpr std::string_view kFailedToConvert = "Failed to convert.";
inline constexpr std::string_view kSelectItemFromList = "Please select the item from the list.";
inline constexpr std::string_view kSelectListItemFirst = "Please select the list item first.";
inline constexpr std::string_view kSelectRemovedItemFirst = "Please select the removed item first.";
inline constexpr std::string_view kSelectItemFirst = "Please select the item first.";
inline constexpr std::string_view kInputDegreeFirst = "Please input the degree number first.";
inline constexpr std::string_view kInputNumberFirst = "Please input a number first.";

// The batch run; title "Quorvel", information icon.
inline constexpr std::string_view kSelectSourceFirst =
    "Please select the source file first by clicking the browse button.";
inline constexpr std::string_view kFailedToRead = "Failed to open and read the file:";
inline constexpr std::string_view kFailedToWrite = "Failed to open and write the file:";
inline constexpr std::string_view kLogEmpty = "Sorry,the log is empty.Please calculate first.";
inline constexpr std::string_view kLogCopied =
    "the log  information has been copied to the clipboard.";

}  // namespace quorvel::msg

#include "tools/tool_messages.h"

#include "tools/manager_messages.h"

namespace quorvel {
namespace {

using Id = ToolMessageId;
using Kind = MessageKind;
using msg::kTitleMessage;
using msg::kTitleQuorvel;

// A hint or a report of what was done, a refusal of what cannot go on, a question; each under
// the title its window has always given it.
constexpr ToolMessageEntry hint(Id id, std::string_view title, std::string_view text) {
    return {id, title, Kind::Information, text, {}};
}
constexpr ToolMessageEntry refusal(Id id, std::string_view title, std::string_view text) {
    return {id, title, Kind::Exclamation, text, {}};
}
constexpr ToolMessageEntry question(Id id, std::string_view text) {
    return {id, kTitleMessage, Kind::Question, text, {}};
}
constexpr ToolMessageEntry note(Id id, std::string_view text) {
    return hint(id, kTitleMessage, text);
}

constexpr ToolMessageEntry kMessages[] = {
    refusal(Id::SelectInputUnitName, kTitleQuorvel, msg::kSelectInputUnitName),
    refusal(Id::SelectOutputUnitName, kTitleQuorvel, msg::kSelectOutputUnitName),
    refusal(Id::InputValueFirst, kTitleQuorvel, msg::kInputValueFirst),
    note(Id::SelectInputUnitFirst, msg::kSelectInputUnitFirst),
    note(Id::SelectOutputUnitFirst, msg::kSelectOutputUnitFirst),
    note(Id::FailedToConvert, msg::kFailedToConvert),
    note(Id::SelectItemFromList, msg::kSelectItemFromList),
    note(Id::SelectListItemFirst, msg::kSelectListItemFirst),
    note(Id::SelectRemovedItemFirst, msg::kSelectRemovedItemFirst),
    note(Id::SelectItemFirst, msg::kSelectItemFirst),
    note(Id::InputDegreeFirst, msg::kInputDegreeFirst),
    note(Id::InputNumberFirst, msg::kInputNumberFirst),

    hint(Id::ArcRange, kTitleQuorvel, msg::kArcRange),
    hint(Id::ExerciseNotAccepted, kTitleQuorvel, msg::kExerciseNotAccepted),
    note(Id::ExerciseListEmpty, msg::kExerciseListEmpty),
    note(Id::ExerciseCopied, msg::kExerciseCopied),
    note(Id::SelectFirst, msg::kSelectFirst),
    note(Id::SelectionCopied, msg::kSelectionCopied),
    note(Id::MaxValueTooSmall, msg::kMaxValueTooSmall),
    note(Id::TestNumberTooSmall, msg::kTestNumberTooSmall),

    note(Id::ParameterNotNumber,
         "The box {0} does not hold a number. Please type a number such as 2.5 or -3."),

    hint(Id::SelectSourceFirst, kTitleQuorvel, msg::kSelectSourceFirst),
    hint(Id::FailedToRead, kTitleQuorvel, "Failed to open and read the file:{0} ({1})"),
    hint(Id::FailedToWrite, kTitleQuorvel, "Failed to open and write the file:{0} ({1})"),
    hint(Id::LogEmpty, kTitleQuorvel, msg::kLogEmpty),
    hint(Id::LogCopied, kTitleQuorvel, msg::kLogCopied),

    note(Id::RepeatRange, msg::kRepeatRange),
    note(Id::LogListEmpty, msg::kLogListEmpty),
    note(Id::LogInformationCopied, msg::kLogInformationCopied),
    note(Id::SelectLineToExport, msg::kSelectLineToExport),
    question(Id::ClearLogQuestion, msg::kClearLogQuestion),
    note(Id::InputAndCalculate, msg::kInputAndCalculate),
    note(Id::FormulaSaved, msg::kFormulaSaved),
    note(Id::SelectCatalogFirst, msg::kSelectCatalogFirst),
    note(Id::FormulaExported, msg::kFormulaExported),

    hint(Id::InputEmpty, kTitleQuorvel, msg::kInputEmpty),
    question(Id::ExitQuestion, msg::kExitQuestion),
    refusal(Id::SettingOutOfRange, kTitleMessage,
            "The {0} must be a whole number from {1} to {2}."),

    // The data folder words these itself: the file's name and what was wrong.
    note(Id::DataFileNotice, "{0}"),
    refusal(Id::StoreFailed, kTitleMessage, "{0}"),

    note(Id::NothingToCalculate,
         "There is nothing to calculate: type an expression such as 2+3, an assignment such as "
         "(M)=5 or an equation such as 2*x+3=7."),
    note(Id::EquationNeedsRightSide,
         "An equation needs \"=\" and a right-hand side, such as 2*x+3=7."),
    note(Id::AssignmentNeedsValue, "An assignment needs a value after \"=\", such as (M)=5."),
    note(Id::NeitherAssignmentNorEquation,
         "A text with \"=\" is calculated only as an assignment such as (M)=5 or an equation in "
         "x such as 2*x+3=7."),
    note(Id::PromptWords,
         "There is nothing to calculate: help, quit and exit are words of the prompt; "
         "quorvel-calc --help lists the options."),
    note(Id::DidYouMean, "There is nothing to calculate: did you mean {0}?"),
    // The unit names' own explanation first.
    note(Id::UnitsNotMatched,
         "{0}; convert with --convert CATEGORY VALUE FROM TO (quorvel-calc --units lists the "
         "categories and their units)"),
};

constexpr bool inIdOrder() {
    for (std::size_t i = 0; i < std::size(kMessages); ++i) {
        if (static_cast<std::size_t>(kMessages[i].id) != i + 1) return false;
    }
    return true;
}
static_assert(inIdOrder(), "MessageFor finds a row by its id");
static_assert(std::size(kMessages) == static_cast<std::size_t>(Id::UnitsNotMatched),
              "every id has its row");

}  // namespace

std::span<const ToolMessageEntry> ToolMessageTable() { return kMessages; }

const ToolMessageEntry& MessageFor(ToolMessageId id) {
    return kMessages[static_cast<std::size_t>(id) - 1];
}

std::string ToolMessage::text() const {
    if (id == ToolMessageId::None) return {};
    return FillMessage(MessageFor(id).text, arguments);
}

}  // namespace quorvel

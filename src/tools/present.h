#pragma once

// The one way a report reaches the user: a message table gives the outcome's or the tool
// message's title, kind and text, and the Prompter shows them as a box, the input message
// dialog or a question.

#include "calc/calc_outcome.h"
#include "tools/prompter.h"
#include "tools/tool_messages.h"

namespace quorvel {

// Shows the failure of `outcome`; nothing for a success or a quiet failure.
void present(const CalcOutcome& outcome, Prompter& prompter);
// Shows a tool's message; nothing for ToolMessageId::None. A question is asked and its answer
// dropped: ask() is for the questions whose answer matters.
void present(const ToolMessage& message, Prompter& prompter);
// Asks a question of the table and answers whether the user chose OK; any other message is
// shown and answers true.
bool ask(const ToolMessage& message, Prompter& prompter);

}  // namespace quorvel

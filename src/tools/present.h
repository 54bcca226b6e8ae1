#pragma once

// The one way a report of the engine reaches the user: the message table gives the outcome's
// title, kind and text, and the Prompter shows them as a box or the input message dialog.

#include "calc/calc_outcome.h"
#include "tools/prompter.h"

namespace quorvel {

// Shows the failure of `outcome`; nothing for a success or a quiet failure.
void present(const CalcOutcome& outcome, Prompter& prompter);

}  // namespace quorvel

#pragma once

// quorvel-calc at a terminal: a prompt with GNU readline's line editing and a history that
// lasts between runs. Used only when standard input and output are both a terminal, so piped
// input keeps its one answer line per input line.

#include <filesystem>
#include <string_view>

namespace quorvel {

class LineCalculator;

// $XDG_STATE_HOME/quorvel/history, with $HOME/.local/state standing in for an unset, empty or
// relative $XDG_STATE_HOME; empty when neither gives a place.
std::filesystem::path HistoryFile(std::string_view xdgStateHome, std::string_view home);

// Reads lines until quit, exit or Ctrl+D. Returns the calculator's status.
int RunTerminal(LineCalculator& calculator, std::string_view version);

}  // namespace quorvel

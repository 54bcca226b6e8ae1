#pragma once

// How the engine and the tool logic talk to the user without knowing the toolkit: the windows
// pass a Qt implementation, quorvel-calc one that writes to standard error, tests a recorder.

#include <string_view>

namespace quorvel {

enum class MessageIcon { Information, Exclamation, Question };

class Prompter {
public:
    virtual ~Prompter() = default;
    virtual void showMessage(std::string_view text, std::string_view title, MessageIcon icon) = 0;
    virtual bool askOkCancel(std::string_view text, std::string_view title) = 0;
    // The input message dialog: what is wrong, what would be accepted, and the expression;
    // position: the offending character (1-based), or -1.
    virtual void showInputMessage(std::string_view message, std::string_view advice,
                                  std::string_view expression, int position) = 0;
};

}  // namespace quorvel

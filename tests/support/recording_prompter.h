#pragma once

// A Prompter for tests: remembers what the user would have been shown and answers questions
// with a chosen reply.

#include <string>
#include <vector>

#include "tools/prompter.h"

namespace quorvel::testing {

struct ShownMessage {
    std::string text;
    std::string title;
    MessageIcon icon;
};

struct ShownInputMessage {
    std::string message;
    std::string advice;
    std::string expression;
    int position;
};

class RecordingPrompter : public Prompter {
public:
    void showMessage(std::string_view text, std::string_view title, MessageIcon icon) override {
        messages.push_back({std::string(text), std::string(title), icon});
    }
    bool askOkCancel(std::string_view text, std::string_view title) override {
        questions.push_back({std::string(text), std::string(title), MessageIcon::Question});
        return answer;
    }
    void showInputMessage(std::string_view message, std::string_view advice,
                          std::string_view expression, int position) override {
        inputMessages.push_back(
            {std::string(message), std::string(advice), std::string(expression), position});
    }

    // "Title: text" of the only thing shown, or "" when nothing was shown.
    std::string only() const {
        if (messages.size() + inputMessages.size() != 1) return "";
        if (!messages.empty()) return messages[0].title + ": " + messages[0].text;
        return "input: " + inputMessages[0].message;
    }

    std::vector<ShownMessage> messages;
    std::vector<ShownMessage> questions;
    std::vector<ShownInputMessage> inputMessages;
    bool answer = true;
};

}  // namespace quorvel::testing

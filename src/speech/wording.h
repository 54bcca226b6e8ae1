#pragma once

// The readings turn a text into word files, played one at a time through a WordPlayer.
// Between words they test a stop flag; a reading that finds it set silences the player and
// ends stopped, and every caller that gets Stopped from a part speaks nothing more. The player
// sees the same flag, so the word or pause under way is cut short too.

#include <chrono>
#include <string_view>

#include "speech/word_player.h"

namespace quorvel {

enum class ReadingOutcome { Completed, Stopped };

class Wording {
public:
    Wording(WordPlayer& player, StopFlag& stop) : m_player(player), m_stop(stop) {}

    // Selects the reading by the lower-cased command word: key, input, result, inputresult,
    // msg or expr. Any other command reads nothing.
    ReadingOutcome Talk(std::string_view command, std::string_view text);

    ReadingOutcome TalkChar(char ch);
    ReadingOutcome TalkOperator(char ch);
    ReadingOutcome TalkFunctionWord(std::string_view name);
    ReadingOutcome TalkButtonWord(std::string_view name);
    ReadingOutcome TalkKey(std::string_view key);
    ReadingOutcome TalkNumber(std::string_view text);
    ReadingOutcome TalkNumberWords(std::string_view text);
    ReadingOutcome TalkDigits(std::string_view text);
    ReadingOutcome TalkExpNumber(std::string_view text);
    ReadingOutcome TalkExpression(std::string_view text);
    ReadingOutcome TalkResult(std::string_view text);
    ReadingOutcome TalkInputResult(std::string_view text);
    // "count:item|item|...": each item, then 2000 ms; a further 2000 ms between passes.
    ReadingOutcome TalkExprList(std::string_view text);

private:
    bool stopped();
    void play(std::string_view wordFile) { m_player.play(wordFile, m_stop); }
    void pause(std::chrono::milliseconds duration) { m_player.pause(duration, m_stop); }
    // Says a leading "+" or "-" and returns the text after it.
    std::string_view speakSign(std::string_view text);
    ReadingOutcome talkPair(std::string_view expression, std::string_view result);

    WordPlayer& m_player;
    StopFlag& m_stop;
};

// True for the command words Talk reads (compared lower-cased); Talk reads nothing for others.
bool isSpeechCommand(std::string_view command);

// What the speech request (command, text) plays, without playing it.
WordPlan makeWordPlan(std::string_view command, std::string_view text);

}  // namespace quorvel

#pragma once

// The readings turn a text into word files, played one at a time through a WordPlayer.
// Between words they test a stop flag; a reading that finds it set silences the player and
// ends stopped, and every caller that gets Stopped from a part speaks nothing more. The player
// sees the same flag, so the word or pause under way is cut short too.

#include <chrono>
#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

#include "speech/speaker.h"
#include "speech/word_player.h"

namespace quorvel {

enum class ReadingOutcome { Completed, Stopped };

// Bounds of one request, so that no text, however repeated, speaks for hours or fills memory
// with its plan or its WAV file. Past a bound the request is cut, quietly: a count above the
// largest is read as the largest, and the word or pause past a budget ends the reading as a
// stop would. The list windows allow the same counts.
inline constexpr int kMaxRepeatCount = 50;
inline constexpr std::size_t kMaxRequestWords = 10000;
inline constexpr std::size_t kMaxRequestPauses = 1000;

enum class RequestCut { None, RepeatCount, Words, Pauses };

class Wording {
public:
    Wording(WordPlayer& player, StopFlag& stop) : m_player(player), m_stop(stop) {}

    ReadingOutcome Talk(const SpeechRequest& request);

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
    ReadingOutcome TalkInputResult(std::string_view expression, std::string_view result);
    // "count:item|item|...": each item, then 2000 ms; a further 2000 ms between passes.
    ReadingOutcome TalkExprList(std::string_view text);

    // The first bound this request met, if any.
    RequestCut cut() const { return m_cut; }

private:
    bool stopped();
    void play(std::string_view wordFile);
    void pause(std::chrono::milliseconds duration);
    // False, and the request cut, when the budget is spent.
    bool spend(std::size_t& spent, std::size_t budget, RequestCut cut);
    // Says a leading "+" or "-" and returns the text after it.
    std::string_view speakSign(std::string_view text);
    ReadingOutcome talkPair(std::string_view expression, std::string_view result);

    WordPlayer& m_player;
    StopFlag& m_stop;
    std::size_t m_words = 0;
    std::size_t m_pauses = 0;
    bool m_spent = false;  // a budget ran out: every reading ends
    RequestCut m_cut = RequestCut::None;
};

// The command line's form of a request: the command word (key, input, result, inputresult,
// msg or expr, compared lower-cased) and one text, "EXPRESSION----RESULT" for inputresult.
// Nothing for another word.
std::optional<SpeechRequest> ParseSpeechRequest(std::string_view command, std::string_view text);
bool isSpeechCommand(std::string_view command);

// True for the names TalkButtonWord has a word for (compared as given).
bool isButtonWord(std::string_view name);
std::vector<std::string_view> buttonWordNames();

// What the request plays, without playing it; `cut`, when given, tells whether and where a
// bound cut it.
WordPlan makeWordPlan(const SpeechRequest& request, RequestCut* cut = nullptr);
// The same for the command line's form; an unknown command plays nothing.
WordPlan makeWordPlan(std::string_view command, std::string_view text, RequestCut* cut = nullptr);

}  // namespace quorvel

#pragma once

// What the log manager and the formula manager share: a two-column list read newest or
// catalog order, copied to the clipboard as "first   second\r\n" lines and spoken as one
// "expr" request "repeat:item|item|". Rows are addressed by their position in the list; a
// selection is a set of such positions, in any order.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "speech/speaker.h"
#include "tools/prompter.h"
#include "tools/tool_messages.h"

namespace quorvel {

class SysDataHolder;

// Where copied text goes. False when the clipboard could not be had: nothing is then said.
class Clipboard {
public:
    virtual ~Clipboard() = default;
    virtual bool setText(std::string_view text) = 0;
};

struct ListCells {
    std::string first;
    std::string second;
    bool operator==(const ListCells&) const = default;
};

inline constexpr int kMinRepeat = 1;
inline constexpr int kMaxRepeat = 50;

// The leading digits of the repeat box (after leading blanks) as a number; none give 0. A
// number too long for an int reads as one beyond the limit, never as a small one.
int ReadRepeatCount(std::string_view text);

// "2:x|y|" from the repeat text and the items, each trimmed as the request wants.
std::string ExprRequestText(std::string_view repeatText, const std::vector<std::string>& items);

// One clipboard line per row: first cell, three spaces, second cell, "\r\n".
std::string CopyLines(const std::vector<ListCells>& rows);

// Stores the data file now; on failure tells the user why and answers false.
bool StoreOrTell(const SysDataHolder& holder, Prompter& prompter);

class ManagerList {
public:
    ManagerList(Speaker& speaker, Prompter& prompter) : m_speaker(speaker), m_prompter(prompter) {}
    virtual ~ManagerList() = default;
    ManagerList(const ManagerList&) = delete;
    ManagerList& operator=(const ManagerList&) = delete;

    virtual std::size_t rowCount() const = 0;
    virtual ListCells cells(std::size_t row) const = 0;
    // A row's text for a screen reader: its cells joined with a space.
    std::string rowText(std::size_t row) const;

    // Positions in range, ascending, each once.
    std::vector<std::size_t> normalised(std::vector<std::size_t> rows) const;

    void copySelected(const std::vector<std::size_t>& rows, Clipboard& clipboard);
    void copyAll(Clipboard& clipboard);
    // Every row, in list order.
    void talkAll(std::string_view repeatText);
    // The selected rows in list order; nothing selected asks the user to select.
    void talkSelected(const std::vector<std::size_t>& rows, std::string_view repeatText);
    // A double click: the first selected row; nothing selected does nothing.
    void talkFirstSelected(const std::vector<std::size_t>& rows, std::string_view repeatText);
    void stopTalking();

protected:
    // The cell a row speaks and what Talk all says for an empty list.
    virtual std::string spokenText(std::size_t row) const = 0;
    virtual ToolMessageId emptyListMessage() const = 0;

    void tell(ToolMessageId message);
    Prompter& prompter() { return m_prompter; }

private:
    bool repeatInRange(std::string_view repeatText);
    void say(std::string_view repeatText, const std::vector<std::size_t>& rows);

    Speaker& m_speaker;
    Prompter& m_prompter;
};

}  // namespace quorvel

#include "tools/list_manager.h"

#include <algorithm>
#include <limits>

#include "calc/messages.h"
#include "calc/text_util.h"
#include "data/sys_data_holder.h"
#include "tools/present.h"

namespace quorvel {

int ReadRepeatCount(std::string_view text) {
    std::size_t at = 0;
    while (at < text.size() && (text[at] == ' ' || text[at] == '\t')) ++at;
    long long count = 0;
    for (; at < text.size() && IsDigit(text[at]); ++at) {
        count = count * 10 + (text[at] - '0');
        if (count > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
    }
    return static_cast<int>(count);
}

std::string ExprRequestText(std::string_view repeatText, const std::vector<std::string>& items) {
    std::string list;
    for (const std::string& item : items) {
        list += item;
        list += '|';
    }
    return std::string(Trim(repeatText)) + ":" + std::string(Trim(list));
}

std::string CopyLines(const std::vector<ListCells>& rows) {
    std::string text;
    for (const ListCells& row : rows) {
        text += row.first;
        text += "   ";
        text += row.second;
        text += "\r\n";
    }
    return text;
}

bool StoreOrTell(const SysDataHolder& holder, Prompter& prompter) {
    const StoreResult stored = holder.Store();
    if (!stored.stored) present({ToolMessageId::StoreFailed, {stored.reason}}, prompter);
    return stored.stored;
}

std::string ManagerList::rowText(std::size_t row) const {
    const ListCells c = cells(row);
    return c.first + " " + c.second;
}

std::vector<std::size_t> ManagerList::normalised(std::vector<std::size_t> rows) const {
    const std::size_t count = rowCount();
    std::erase_if(rows, [count](std::size_t row) { return row >= count; });
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

void ManagerList::tell(ToolMessageId message) { present(message, m_prompter); }

void ManagerList::copySelected(const std::vector<std::size_t>& rows, Clipboard& clipboard) {
    const std::vector<std::size_t> selected = normalised(rows);
    if (selected.empty()) {
        tell(ToolMessageId::SelectFirst);
        return;
    }
    std::vector<ListCells> lines;
    lines.reserve(selected.size());
    for (std::size_t row : selected) lines.push_back(cells(row));
    if (clipboard.setText(CopyLines(lines))) tell(ToolMessageId::SelectionCopied);
}

void ManagerList::copyAll(Clipboard& clipboard) {
    std::vector<ListCells> lines;
    lines.reserve(rowCount());
    for (std::size_t row = 0; row < rowCount(); ++row) lines.push_back(cells(row));
    if (clipboard.setText(CopyLines(lines))) tell(ToolMessageId::LogInformationCopied);
}

bool ManagerList::repeatInRange(std::string_view repeatText) {
    const int count = ReadRepeatCount(repeatText);
    if (count >= kMinRepeat && count <= kMaxRepeat) return true;
    tell(ToolMessageId::RepeatRange);
    return false;
}

void ManagerList::say(std::string_view repeatText, const std::vector<std::size_t>& rows) {
    std::vector<std::string> items;
    items.reserve(rows.size());
    for (std::size_t row : rows) items.push_back(spokenText(row));
    m_speaker.say({SpeechKind::ExprList, ExprRequestText(repeatText, items)});
}

void ManagerList::talkAll(std::string_view repeatText) {
    if (!repeatInRange(repeatText)) return;
    if (rowCount() == 0) {
        tell(emptyListMessage());
        return;
    }
    std::vector<std::size_t> all(rowCount());
    for (std::size_t row = 0; row < all.size(); ++row) all[row] = row;
    say(repeatText, all);
}

void ManagerList::talkSelected(const std::vector<std::size_t>& rows, std::string_view repeatText) {
    const std::vector<std::size_t> selected = normalised(rows);
    if (selected.empty()) {
        tell(ToolMessageId::SelectFirst);
        return;
    }
    if (!repeatInRange(repeatText)) return;
    say(repeatText, selected);
}

void ManagerList::talkFirstSelected(const std::vector<std::size_t>& rows,
                                    std::string_view repeatText) {
    const std::vector<std::size_t> selected = normalised(rows);
    if (selected.empty() || !repeatInRange(repeatText)) return;
    say(repeatText, {selected.front()});
}

void ManagerList::stopTalking() { m_speaker.stop(); }

}  // namespace quorvel

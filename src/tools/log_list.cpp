#include "tools/log_list.h"

#include <utility>

#include "calc/log_line.h"
#include "calc/messages.h"
#include "data/sys_data_holder.h"
#include "tools/present.h"

namespace quorvel {

LogList::LogList(SysDataHolder& holder, Speaker& speaker, Prompter& prompter)
    : ManagerList(speaker, prompter), m_holder(holder) {}

std::size_t LogList::rowCount() const { return m_holder.data().log.size(); }

ListCells LogList::cells(std::size_t row) const {
    LogCells split = SplitLogCells(m_holder.data().log.at(lineOf(row)));
    return {std::move(split.time), std::move(split.expression)};
}

ToolMessageId LogList::emptyListMessage() const { return ToolMessageId::LogListEmpty; }

void LogList::removeSelected(const std::vector<std::size_t>& rows) {
    const std::vector<std::size_t> selected = normalised(rows);
    if (selected.empty()) return;
    std::vector<std::string>& log = m_holder.data().log;
    std::vector<bool> doomed(log.size(), false);
    for (std::size_t row : selected) doomed[lineOf(row)] = true;
    std::size_t kept = 0;
    for (std::size_t i = 0; i < log.size(); ++i) {
        if (doomed[i]) continue;
        if (kept != i) log[kept] = std::move(log[i]);
        ++kept;
    }
    log.resize(kept);
}

bool LogList::clear() {
    if (!ask(ToolMessageId::ClearLogQuestion, prompter())) return false;
    m_holder.data().log.clear();
    StoreOrTell(m_holder, prompter());
    return true;
}

void LogList::exportSelected(const std::vector<std::size_t>& rows,
                             const std::function<void(std::string_view)>& exportOne) {
    const std::vector<std::size_t> selected = normalised(rows);
    if (selected.empty()) {
        tell(ToolMessageId::SelectLineToExport);
        return;
    }
    // Read every expression first: an export dialog may not change the log, but a row
    // position must never be read against a list it no longer describes.
    std::vector<std::string> expressions;
    expressions.reserve(selected.size());
    for (std::size_t row : selected) expressions.push_back(cells(row).second);
    for (const std::string& expression : expressions) exportOne(expression);
}

}  // namespace quorvel

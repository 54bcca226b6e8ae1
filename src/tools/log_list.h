#pragma once

// The log manager without its dialog. Row k shows log line count-1-k, newest first; cells are
// split from the line only when asked for, so a log of any length opens at once.

#include <functional>
#include <string_view>
#include <vector>

#include "tools/list_manager.h"

namespace quorvel {

class SysDataHolder;

class LogList final : public ManagerList {
public:
    LogList(SysDataHolder& holder, Speaker& speaker, Prompter& prompter);

    std::size_t rowCount() const override;
    // "Time" and "Expression".
    ListCells cells(std::size_t row) const override;
    // The log line a row shows.
    std::size_t lineOf(std::size_t row) const { return rowCount() - 1 - row; }

    // Deletes the lines the rows show; the file is written by the next store.
    void removeSelected(const std::vector<std::size_t>& rows);
    // After the user agrees: empties the log and stores the file at once. True when emptied.
    bool clear();
    // Hands each selected row's expression, in list order, to `exportOne` (the export dialog).
    void exportSelected(const std::vector<std::size_t>& rows,
                        const std::function<void(std::string_view expression)>& exportOne);

protected:
    std::string spokenText(std::size_t row) const override { return cells(row).second; }
    ToolMessageId emptyListMessage() const override;

private:
    SysDataHolder& m_holder;
};

}  // namespace quorvel

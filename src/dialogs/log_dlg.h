#pragma once

// The log manager: the calculation log newest first, spoken with a repeat count, copied,
// removed, cleared, and exported line by line into the formula manager. The rules live in
// LogList; this dialog only connects its widgets to it.

#include <functional>
#include <string_view>

#include "dialogs/manager_widgets.h"
#include "tools/log_list.h"
#include "ui/skinned_dialog.h"

class QLineEdit;

namespace quorvel {

class SysDataHolder;

class CLogDlg : public SkinnedDialog {
    Q_OBJECT

public:
    // `speaker` is this window's own slot: stopped when the dialog closes.
    CLogDlg(SysDataHolder& holder, Speaker& speaker, Prompter& prompter, QWidget* parent = nullptr);

    // Export opens CExportToForDlg for each expression by default; tests put their own.
    using ExportOpener = std::function<void(std::string_view expression)>;
    void setExportOpener(ExportOpener opener) { m_exportOpener = std::move(opener); }

    QTableView* list() const { return m_view; }
    QLineEdit* repeatBox() const { return m_repeat; }
    const LogList& model() const { return m_list; }

    void done(int result) override;

private:
    void copySelected();
    void copyAll();
    void talkSelected();
    void talkAll();
    void talkFirstSelected();
    void removeSelected();
    void clear();
    void exportSelected();
    void reload();

    SysDataHolder& m_holder;
    Prompter& m_prompter;
    LogList m_list;
    ManagerTableModel* m_model = nullptr;
    QTableView* m_view = nullptr;
    QLineEdit* m_repeat = nullptr;
    ExportOpener m_exportOpener;
    QtClipboard m_clipboard;
};

}  // namespace quorvel

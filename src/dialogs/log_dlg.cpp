#include "dialogs/log_dlg.h"

#include <QLineEdit>

#include "dialogs/export_to_for_dlg.h"
#include "ui/help_window.h"

namespace quorvel {
namespace {

// Talking on the upper row beside the repeat box, list work on the lower one.
constexpr ManagerButtonRow kButtons[] = {
    {"talk", "Talk", "Talk the selected lines.", 180, 294, ""},
    {"talkAll", "Talk all", "Talk all expressions in the log.", 255, 294, ""},
    {"stop", "Stop", "", 330, 294, ""},
    {"copy", "Copy", "Copy the selected lines into the clip board.", 20, 328,
     "Copy the selected lines to the clipboard"},
    {"copyAll", "Copy all", "Copy all these log data into the clipboard", 95, 328, ""},
    {"remove", "Remove", "Remove the selected lines.", 170, 328, ""},
    {"export", "Export", "Export the selected lines to the formula manager.", 245, 328, ""},
    {"clear", "Clear", "Clear the log information", 320, 328, ""},
    {"close", "Close", "Close the log manager", 535, 328, ""},
};

}  // namespace

CLogDlg::CLogDlg(SysDataHolder& holder, Speaker& speaker, Prompter& prompter, QWidget* parent)
    : SkinnedDialog(QString::fromLatin1(skins::kSkinDialog), parent),
      m_holder(holder),
      m_prompter(prompter),
      m_list(holder, speaker, prompter) {
    setToolTitle(QStringLiteral("Log manager"));

    m_model =
        new ManagerTableModel(m_list, {QStringLiteral("Time"), QStringLiteral("Expression")}, this);
    // The Time cell holds the whole stamp, date and hour, so it is wider than the date alone
    // needs; both columns fit the list so no row hides behind a horizontal scroll bar.
    m_view = makeManagerView(this, m_model, {130, 440});
    m_view->setGeometry(14, 44, 592, 240);
    m_view->setAccessibleName(QStringLiteral("Log list"));
    // A double click, or Enter on the list.
    connect(m_view, &QTableView::activated, this, [this] { talkFirstSelected(); });

    m_repeat = makeRepeatBox(this);

    addManagerButtons(this, kButtons);
    const auto button = [this](const char* name) { return findManagerButton(this, name); };
    button("stop")->setAccessibleName(QStringLiteral("Stop talking"));
    connect(button("close"), &QAbstractButton::clicked, this, &QDialog::reject);
    connect(button("clear"), &QAbstractButton::clicked, this, [this] { clear(); });
    connect(button("copy"), &QAbstractButton::clicked, this, [this] { copySelected(); });
    connect(button("talk"), &QAbstractButton::clicked, this, [this] { talkSelected(); });
    connect(button("copyAll"), &QAbstractButton::clicked, this, [this] { copyAll(); });
    connect(button("talkAll"), &QAbstractButton::clicked, this, [this] { talkAll(); });
    connect(button("stop"), &QAbstractButton::clicked, this, [this] { m_list.stopTalking(); });
    connect(button("remove"), &QAbstractButton::clicked, this, [this] { removeSelected(); });
    connect(button("export"), &QAbstractButton::clicked, this, [this] { exportSelected(); });

    addListKeys(
        m_view, [this] { copySelected(); }, [this] { removeSelected(); });
    addHelpKey(this, QStringLiteral("log_manager.html"));

    m_exportOpener = [this](std::string_view expression) {
        CExportToForDlg dialog(m_holder, m_prompter, expression, this);
        dialog.exec();
    };

    setClientSize(620, 370);
    centreOnScreen();
    m_view->setFocus();
}

void CLogDlg::done(int result) {
    m_list.stopTalking();
    SkinnedDialog::done(result);
}

void CLogDlg::reload() { m_model->reload(); }

void CLogDlg::copySelected() { m_list.copySelected(selectedRows(m_view), m_clipboard); }
void CLogDlg::copyAll() { m_list.copyAll(m_clipboard); }
void CLogDlg::talkSelected() {
    m_list.talkSelected(selectedRows(m_view), m_repeat->text().toStdString());
}
void CLogDlg::talkAll() { m_list.talkAll(m_repeat->text().toStdString()); }
void CLogDlg::talkFirstSelected() {
    m_list.talkFirstSelected(selectedRows(m_view), m_repeat->text().toStdString());
}

void CLogDlg::removeSelected() {
    m_list.removeSelected(selectedRows(m_view));
    reload();
}

void CLogDlg::clear() {
    if (m_list.clear()) reload();
}

void CLogDlg::exportSelected() { m_list.exportSelected(selectedRows(m_view), m_exportOpener); }

}  // namespace quorvel

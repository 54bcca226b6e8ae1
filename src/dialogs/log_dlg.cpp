#include "dialogs/log_dlg.h"

#include <QLineEdit>

#include "dialogs/export_to_for_dlg.h"
#include "ui/help_window.h"

namespace quorvel {
namespace {

// Talking on the upper row beside the repeat box, list work on the lower one.
constexpr ManagerButtonRow kButtons[] = {
    {4, "Talk", "Talk the selected lines.", 180, 294, ""},
    {6, "Talk all", "Talk all expressions in the log.", 255, 294, ""},
    {1057, "Stop", "", 330, 294, ""},
    {3, "Copy", "Copy the selected lines into the clip board.", 20, 328,
     "Copy the selected lines to the clipboard"},
    {5, "Copy all", "Copy all these log data into the clipboard", 95, 328, ""},
    {1076, "Remove", "Remove the selected lines.", 170, 328, ""},
    {1080, "Export", "Export the selected lines to the formula manager.", 245, 328, ""},
    {2, "Clear", "Clear the log information", 320, 328, ""},
    {1, "Close", "Close the log manager", 535, 328, ""},
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

    addManagerButtons(this, kButtons, m_buttons);
    button(1057)->setAccessibleName(QStringLiteral("Stop talking"));
    connect(button(1), &QAbstractButton::clicked, this, &QDialog::reject);
    connect(button(2), &QAbstractButton::clicked, this, [this] { clear(); });
    connect(button(3), &QAbstractButton::clicked, this, [this] { copySelected(); });
    connect(button(4), &QAbstractButton::clicked, this, [this] { talkSelected(); });
    connect(button(5), &QAbstractButton::clicked, this, [this] { copyAll(); });
    connect(button(6), &QAbstractButton::clicked, this, [this] { talkAll(); });
    connect(button(1057), &QAbstractButton::clicked, this, [this] { m_list.stopTalking(); });
    connect(button(1076), &QAbstractButton::clicked, this, [this] { removeSelected(); });
    connect(button(1080), &QAbstractButton::clicked, this, [this] { exportSelected(); });

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

HoverButton* CLogDlg::button(int id) const { return findManagerButton(m_buttons, id); }

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

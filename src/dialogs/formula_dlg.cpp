#include "dialogs/formula_dlg.h"

#include <QLineEdit>

#include "dialogs/new_formula_dlg.h"
#include "ui/help_window.h"

namespace quorvel {
namespace {

constexpr ManagerButtonRow kButtons[] = {
    {"talk", "Talk", "Talk the selected lines.", 180, 294, ""},
    {"talkAll", "Talk all", "Talk all formula in the catalog.", 255, 294,
     "Talk all formulas in the catalog"},
    {"stop", "Stop", "Stop talking", 330, 294, "End the speech at once"},
    {"copy", "Copy", "Copy the selected lines into the clip board.", 20, 328,
     "Copy the selected lines to the clipboard"},
    {"copyAll", "Copy all", "Copy all these formula data into the clipboard", 95, 328, ""},
    {"remove", "Remove", "Remove the select formula from this catalog", 170, 328,
     "Remove the selected formulas from this catalog"},
    {"clear", "Clear", "Clear the formula information in this catalog", 245, 328, ""},
    {"new", "New", "Creat the new formula", 320, 328, "Create a new formula"},
    {"exit", "Exit", "Exit this dialog", 535, 328, ""},
};

QString qstr(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

CFormulaDlg::CFormulaDlg(SysDataHolder& holder, Speaker& speaker, Prompter& prompter,
                         QWidget* parent)
    : SkinnedDialog(QString::fromLatin1(skins::kSkinDialog), parent),
      m_book(holder, speaker, prompter),
      m_holder(holder),
      m_prompter(prompter) {
    setToolTitle(QStringLiteral("Formula manager"));

    for (std::size_t i = 0; i < kCatalogs.size(); ++i) {
        auto* tab = new LatchingButton(qstr(kCatalogs[i]), this);
        tab->setPictures(skins::kTab);
        tab->setAccessibleName(QStringLiteral("Catalog ") + qstr(kCatalogs[i]));
        tab->setGeometry(50 + 70 * static_cast<int>(i), 44, 70, 25);
        connect(tab, &QAbstractButton::clicked, this, [this, i] { chooseCatalog(i); });
        // "catalog_time" and so on.
        tab->setObjectName(QStringLiteral("catalog_") + qstr(kCatalogs[i]));
        m_tabs.push_back(tab);
    }
    // The checked catalog button is the current catalog; the arrow keys move between them.
    makeExclusiveChoice(this, std::vector<QAbstractButton*>(m_tabs.begin(), m_tabs.end()));

    m_model = new ManagerTableModel(
        m_book, {qstr(m_book.columnHeading()), QStringLiteral("Description")}, this);
    // Both columns fit beside the vertical scroll bar, so no row hides behind a horizontal one.
    m_view = makeManagerView(this, m_model, {350, 220});
    m_view->setGeometry(14, 76, 592, 208);
    m_view->setAccessibleName(QStringLiteral("Formula list"));
    connect(m_view, &QTableView::activated, this, [this] {
        m_book.talkFirstSelected(selectedRows(m_view), m_repeat->text().toStdString());
    });

    m_repeat = makeRepeatBox(this);

    addManagerButtons(this, kButtons);
    const auto button = [this](const char* name) { return findManagerButton(this, name); };
    const auto repeat = [this] { return m_repeat->text().toStdString(); };
    button("stop")->setAccessibleName(QStringLiteral("Stop talking"));
    connect(button("exit"), &QAbstractButton::clicked, this, &QDialog::reject);
    connect(button("clear"), &QAbstractButton::clicked, this, [this] { clearCatalog(); });
    connect(button("copy"), &QAbstractButton::clicked, this,
            [this] { m_book.copySelected(selectedRows(m_view), m_clipboard); });
    connect(button("talk"), &QAbstractButton::clicked, this,
            [this, repeat] { m_book.talkSelected(selectedRows(m_view), repeat()); });
    connect(button("copyAll"), &QAbstractButton::clicked, this,
            [this] { m_book.copyAll(m_clipboard); });
    connect(button("talkAll"), &QAbstractButton::clicked, this,
            [this, repeat] { m_book.talkAll(repeat()); });
    connect(button("new"), &QAbstractButton::clicked, this, [this] { newFormula(); });
    connect(button("stop"), &QAbstractButton::clicked, this, [this] { m_book.stopTalking(); });
    connect(button("remove"), &QAbstractButton::clicked, this, [this] { removeSelected(); });

    addListKeys(
        m_view, [this] { m_book.copySelected(selectedRows(m_view), m_clipboard); },
        [this] { removeSelected(); });
    addHelpKey(this, QStringLiteral("formula_manager.html"));

    m_newOpener = [this](std::string_view catalog) {
        CNewFormulaDlg dialog(m_holder, m_prompter, catalog, this);
        dialog.exec();
    };

    chooseCatalog(0);
    setClientSize(620, 370);
    centreOnScreen();
    m_view->setFocus();
}

void CFormulaDlg::done(int result) {
    m_book.stopTalking();
    SkinnedDialog::done(result);
}

void CFormulaDlg::chooseCatalog(std::size_t index) {
    for (std::size_t i = 0; i < m_tabs.size(); ++i) {
        if (i == index) {
            m_tabs[i]->press();
        } else {
            m_tabs[i]->release();
        }
    }
    m_tabs[index]->setChecked(true);
    m_book.setCatalog(kCatalogs[index]);
    m_model->setHeading(0, qstr(m_book.columnHeading()));
    m_model->reload();
}

void CFormulaDlg::removeSelected() {
    m_book.removeSelected(selectedRows(m_view));
    m_model->reload();
}

void CFormulaDlg::clearCatalog() {
    m_book.clearCatalog();
    m_model->reload();
}

void CFormulaDlg::newFormula() {
    m_newOpener(m_book.catalog());
    m_book.refill();
    m_model->reload();
}

}  // namespace quorvel

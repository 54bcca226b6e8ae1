// What a screen reader says for every control of the tool dialogs: a name, a description only
// where it adds something, the texts spelt correctly, and a window title naming the tool.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleInterface>
#include <QApplication>
#include <QHeaderView>
#include <functional>
#include <memory>

#include "data/sys_data_holder.h"
#include "dialogs/conv_dlg.h"
#include "dialogs/export_to_for_dlg.h"
#include "dialogs/formula_dlg.h"
#include "dialogs/func_dlg.h"
#include "dialogs/log_dlg.h"
#include "dialogs/new_conv_dlg.h"
#include "dialogs/new_formula_dlg.h"
#include "dialogs/set_dlg.h"
#include "dialogs/test_dlg.h"
#include "dialogs/tip_dlg.h"
#include "dialogs/vari_dlg.h"
#include "support/recording_prompter.h"
#include "support/recording_speaker.h"
#include "support/temp_data_folder.h"

namespace quorvel {
namespace {

using testing::RecordingPrompter;
using testing::RecordingSpeaker;
using testing::TempDataFolder;

// Words the tooltips misspell, which a reader must not say.
const char* const kMisspelt[] = {"Creat ",         "inut",         "formual",          "clip board",
                                 "select formula", "all formula ", "test calculation "};

// The widgets that take the focus, without the parts of a composite control.
std::vector<QWidget*> focusable(QWidget* dialog) {
    std::vector<QWidget*> found;
    for (QWidget* w : dialog->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(dialog) || !w->isEnabled() || w->focusPolicy() == Qt::NoFocus) continue;
        // A header, or a widget that hands its focus on (a combo box to its text field, a
        // spin box's text field to the spin box), is not where a reader lands.
        if (qobject_cast<QHeaderView*>(w) || w->focusProxy()) continue;
        found.push_back(w);
    }
    return found;
}

TEST(ReaderText, EveryControlHasANameAndNoDescriptionRepeatsIt) {
    TempDataFolder folder("reader-text");
    SysDataHolder holder(folder.path());
    holder.data().log = {"2026-03-07 09:05   1+1=2"};
    RecordingPrompter prompter;
    RecordingSpeaker speaker;
    struct Case {
        const char* title;
        std::function<std::unique_ptr<QDialog>()> make;
    };
    const Case cases[] = {
        {"Quorvel - Settings",
         [&] { return std::make_unique<CSetDlg>(SettingsValues{}, nullptr); }},
        {"Quorvel - Unit converter",
         [&] { return std::make_unique<CConvDlg>(holder, prompter, nullptr, QString()); }},
        {"Quorvel - New conversion",
         [&] { return std::make_unique<CNewConvDlg>(ConversionFields{}, false); }},
        {"Quorvel - Log manager",
         [&] { return std::make_unique<CLogDlg>(holder, speaker, prompter); }},
        {"Quorvel - Formula manager",
         [&] { return std::make_unique<CFormulaDlg>(holder, speaker, prompter); }},
        {"Quorvel - New formula",
         [&] { return std::make_unique<CNewFormulaDlg>(holder, prompter, "add"); }},
        {"Quorvel - Export to the formula manager",
         [&] { return std::make_unique<CExportToForDlg>(holder, prompter, "1+1=2"); }},
        {"Quorvel - Functions", [&] { return std::make_unique<CFuncDlg>(); }},
        {"Quorvel - Function argument",
         [&] { return std::make_unique<CFuncInputDlg>(QStringLiteral("sin"), holder, prompter); }},
        {"Quorvel - Parameters", [&] { return std::make_unique<CVariDlg>(holder, prompter); }},
        {"Quorvel - Exercise generator",
         [&] { return std::make_unique<CTestDlg>(holder, speaker, prompter, nullptr, 20); }},
        {"Quorvel - Tip of the day", [&] { return std::make_unique<CTipDlg>(holder); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        std::unique_ptr<QDialog> dialog = c.make();
        dialog->show();
        EXPECT_EQ(dialog->windowTitle(), QString::fromLatin1(c.title));
        const std::vector<QWidget*> controls = focusable(dialog.get());
        EXPECT_GE(controls.size(), 2u);
        for (QWidget* w : controls) {
            QAccessibleInterface* reader = QAccessible::queryAccessibleInterface(w);
            ASSERT_NE(reader, nullptr);
            const QString name = reader->text(QAccessible::Name).trimmed();
            const QString description = reader->text(QAccessible::Description).trimmed();
            SCOPED_TRACE(w->metaObject()->className() + std::string(" ") + name.toStdString());
            EXPECT_FALSE(name.isEmpty());
            EXPECT_NE(description.compare(name, Qt::CaseInsensitive), 0)
                << "the description repeats the name";
            for (const char* word : kMisspelt) {
                EXPECT_FALSE(name.contains(QLatin1String(word))) << word;
                EXPECT_FALSE(description.contains(QLatin1String(word))) << word;
            }
            // A button's name is its caption, or says the shortened caption in full.
            if (auto* button = qobject_cast<QAbstractButton*>(w);
                button && !button->text().isEmpty()) {
                EXPECT_LE(name.size(), 40) << "a name, not a sentence";
            }
        }
        dialog->hide();
    }
}

}  // namespace
}  // namespace quorvel

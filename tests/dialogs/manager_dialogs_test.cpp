// The log manager, the formula manager and their two small dialogs on a display: real clicks
// and keys, the real clipboard, a temporary data folder, a recording Prompter and Speaker.

#include <gtest/gtest.h>

#include <QAccessible>
#include <QAccessibleInterface>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>
#include <functional>
#include <memory>
#include <set>

#include "data/sys_data_holder.h"
#include "dialogs/export_to_for_dlg.h"
#include "dialogs/formula_dlg.h"
#include "dialogs/log_dlg.h"
#include "dialogs/manager_widgets.h"
#include "dialogs/new_formula_dlg.h"
#include "reader_events.h"
#include "support/recording_prompter.h"
#include "support/recording_speaker.h"
#include "support/temp_data_folder.h"
#include "tools/manager_messages.h"
#include "ui/filter_edit.h"
#include "ui/help_window.h"

namespace quorvel {
namespace {

using testing::RecordingPrompter;
using testing::RecordingSpeaker;
using testing::TempDataFolder;

// The button of `dialog` with this object name, or null.
template <class Button = HoverButton>
Button* button(const QWidget& dialog, const char* name) {
    return dialog.findChild<Button*>(QString::fromLatin1(name));
}

class ManagerDialogs : public ::testing::Test {
protected:
    void SetUp() override {
        holder.data().log = {"2026-03-07 09:05   1+1=2", "2026-03-07 09:06   2+2=4",
                             "2026-03-07 09:07   3+3=6", "2026-03-07 09:08   4+4=8"};
    }

    static void clickRow(QTableView* view, int row, Qt::KeyboardModifiers mods = {}) {
        const QRect cell = view->visualRect(view->model()->index(row, 1));
        QTest::mouseClick(view->viewport(), Qt::LeftButton, mods, cell.center());
    }
    static void click(QAbstractButton* button) {
        ASSERT_NE(button, nullptr);
        QTest::mouseClick(button, Qt::LeftButton);
    }
    static QString cell(QTableView* view, int row, int column) {
        return view->model()->index(row, column).data().toString();
    }
    std::string shown() const { return prompter.only(); }

    TempDataFolder folder{::testing::UnitTest::GetInstance()->current_test_info()->name()};
    SysDataHolder holder{folder.path()};
    RecordingSpeaker speaker;
    RecordingPrompter prompter;
};

TEST(ManagerWidgets, EachBoxIsItsLabelsBuddyAndButtonsAreFoundByName) {
    QWidget parent;
    QLineEdit* repeat = makeRepeatBox(&parent);
    QLineEdit* description = makeDescriptionBox(&parent);
    QComboBox* catalog = makeCatalogRow(&parent);
    EXPECT_EQ(repeat->text(), QStringLiteral("1"));
    EXPECT_EQ(catalog->count(), static_cast<int>(kCatalogs.size()));
    const std::pair<const char*, QWidget*> rows[] = {
        {"Repeat times:", repeat}, {"Description:", description}, {"Catalog:", catalog}};
    for (const auto& [text, box] : rows) {
        const QLabel* label = nullptr;
        for (const QLabel* l : parent.findChildren<QLabel*>()) {
            if (l->text() == QLatin1String(text)) label = l;
        }
        ASSERT_NE(label, nullptr) << text;
        EXPECT_EQ(label->buddy(), box) << text;
    }

    constexpr ManagerButtonRow entries[] = {{"talk", "Talk", "Talk it.", 180, 294, "Say it."},
                                            {"exit", "Exit", "", 535, 328, ""}};
    addManagerButtons(&parent, entries);
    HoverButton* exit = findManagerButton(&parent, "exit");
    ASSERT_NE(exit, nullptr);
    EXPECT_EQ(exit, button(parent, "exit"));
    EXPECT_EQ(exit->geometry(), QRect(535, 328, 65, 25));
    EXPECT_EQ(exit->accessibleName(), QStringLiteral("Exit"));
    HoverButton* talk = findManagerButton(&parent, "talk");
    ASSERT_NE(talk, nullptr);
    EXPECT_EQ(talk->text(), QStringLiteral("Talk"));
    EXPECT_EQ(talk->toolTip(), QStringLiteral("Talk it."));
    EXPECT_EQ(talk->accessibleName(), QStringLiteral("Talk"));
    EXPECT_EQ(talk->accessibleDescription(), QStringLiteral("Say it."));
    EXPECT_EQ(findManagerButton(&parent, "other"), nullptr);
}

TEST_F(ManagerDialogs, LogListIsNewestFirstAndReadRowByRow) {
    CLogDlg dialog(holder, speaker, prompter);
    QTableView* list = dialog.list();
    EXPECT_EQ(dialog.size(), QSize(620, 370));
    EXPECT_EQ(list->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Time"));
    EXPECT_EQ(list->model()->headerData(1, Qt::Horizontal).toString(),
              QStringLiteral("Expression"));
    ASSERT_EQ(list->model()->rowCount(), 4);
    // The whole stamp shows, and both columns fit beside the vertical scroll bar.
    EXPECT_GE(list->columnWidth(0),
              list->fontMetrics().horizontalAdvance(QStringLiteral("2026-03-07 09:08")) + 8);
    EXPECT_LE(
        list->columnWidth(0) + list->columnWidth(1),
        list->width() - 2 * list->frameWidth() - list->verticalScrollBar()->sizeHint().width());
    EXPECT_EQ(cell(list, 0, 0), QStringLiteral("2026-03-07 09:08"));
    EXPECT_EQ(cell(list, 0, 1), QStringLiteral("4+4=8"));
    EXPECT_EQ(cell(list, 3, 1), QStringLiteral("1+1=2"));

    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(list);
    ASSERT_NE(table, nullptr);
    ASSERT_NE(table->tableInterface(), nullptr);
    for (int column = 0; column < 2; ++column) {
        QAccessibleInterface* c = table->tableInterface()->cellAt(1, column);
        ASSERT_NE(c, nullptr);
        EXPECT_EQ(c->text(QAccessible::Name), QStringLiteral("2026-03-07 09:07 3+3=6"));
    }
}

TEST_F(ManagerDialogs, LogListKeysMoveARowAtATimeAndToEitherEnd) {
    holder.data().log.clear();
    for (int i = 0; i < 300; ++i) {
        holder.data().log.push_back("2026-03-07 10:00   " + std::to_string(i) +
                                    "+0=" + std::to_string(i));
    }
    CLogDlg dialog(holder, speaker, prompter);
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    QTableView* list = dialog.list();
    list->setFocus();
    ASSERT_TRUE(list->hasFocus());
    // The newest line is current before any key, so the first Down is already a move, and a
    // reader has a row to say when the list gets the focus.
    ASSERT_EQ(list->currentIndex().row(), 0);
    EXPECT_EQ(testing::readerSays(list), cell(list, 0, 0) + QLatin1Char(' ') + cell(list, 0, 1));

    struct Step {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int row;       // current afterwards
        int selected;  // rows selected afterwards
    };
    const Step steps[] = {{Qt::Key_Down, {}, 1, 1},  {Qt::Key_Down, {}, 2, 1},
                          {Qt::Key_End, {}, 299, 1}, {Qt::Key_Up, {}, 298, 1},
                          {Qt::Key_Home, {}, 0, 1},  {Qt::Key_End, Qt::ShiftModifier, 299, 300}};
    int n = 0;
    for (const Step& step : steps) {
        SCOPED_TRACE(n++);
        QTest::keyClick(list, step.key, step.modifiers);
        EXPECT_EQ(list->currentIndex().row(), step.row);
        EXPECT_EQ(static_cast<int>(selectedRows(list).size()), step.selected);
        // Each move is told to a reader as the row it reached, time and expression.
        EXPECT_EQ(testing::readerSays(list),
                  cell(list, step.row, 0) + QLatin1Char(' ') + cell(list, step.row, 1));
        EXPECT_TRUE(list->visualRect(list->currentIndex()).intersects(list->viewport()->rect()));
    }
    EXPECT_EQ(cell(list, 299, 1), QStringLiteral("0+0=0"));

    // After a removal the current row stays where it was, on the line that moved up.
    QTest::keyClick(list, Qt::Key_Home);
    QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_Delete);
    EXPECT_EQ(list->model()->rowCount(), 299);
    EXPECT_EQ(list->currentIndex().row(), 1);
    EXPECT_EQ(cell(list, 1, 1), QStringLiteral("297+0=297"));
}

TEST_F(ManagerDialogs, LogCopySelectedPutsTheExactTextOnTheClipboard) {
    CLogDlg dialog(holder, speaker, prompter);
    dialog.show();
    QTableView* list = dialog.list();

    clickRow(list, 2);
    clickRow(list, 0, Qt::ControlModifier);
    click(button(dialog, "copy"));
    EXPECT_EQ(QApplication::clipboard()->text(),
              QStringLiteral("2026-03-07 09:08   4+4=8\r\n2026-03-07 09:06   2+2=4\r\n"));
    EXPECT_EQ(shown(), "Quorvel Message: " + std::string(msg::kSelectionCopied));

    // The keyboard: a row, then Shift+Down takes the next one too; Ctrl+C copies.
    prompter.messages.clear();
    clickRow(list, 1);
    QTest::keyClick(list, Qt::Key_Down, Qt::ShiftModifier);
    QTest::keyClick(list, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(),
              QStringLiteral("2026-03-07 09:07   3+3=6\r\n2026-03-07 09:06   2+2=4\r\n"));
    EXPECT_EQ(prompter.messages.size(), 1u);

    prompter.messages.clear();
    list->clearSelection();
    click(button(dialog, "copy"));
    EXPECT_EQ(shown(), "Quorvel Message: " + std::string(msg::kSelectFirst));
}

TEST_F(ManagerDialogs, LogRemoveUpdatesTheListAndTheLog) {
    CLogDlg dialog(holder, speaker, prompter);
    dialog.show();
    QTableView* list = dialog.list();
    clickRow(list, 0);
    clickRow(list, 1, Qt::ShiftModifier);
    click(button(dialog, "remove"));
    EXPECT_EQ(list->model()->rowCount(), 2);
    EXPECT_EQ(cell(list, 0, 1), QStringLiteral("2+2=4"));
    EXPECT_EQ(holder.data().log,
              (std::vector<std::string>{"2026-03-07 09:05   1+1=2", "2026-03-07 09:06   2+2=4"}));
    // The Delete key does the same for the row with the keyboard focus.
    clickRow(list, 1);
    QTest::keyClick(list, Qt::Key_Delete);
    EXPECT_EQ(holder.data().log, (std::vector<std::string>{"2026-03-07 09:06   2+2=4"}));
}

TEST_F(ManagerDialogs, LogTalksAndStopsItsSpeakerWhenClosed) {
    CLogDlg dialog(holder, speaker, prompter);
    dialog.show();
    dialog.repeatBox()->setText(QStringLiteral("2"));
    click(button(dialog, "talkAll"));
    clickRow(dialog.list(), 3);
    QTest::keyClick(dialog.list(), Qt::Key_Return);
    click(button(dialog, "talk"));
    ASSERT_EQ(speaker.requests.size(), 3u);
    EXPECT_EQ(speaker.requests[0].text, "2:4+4=8|3+3=6|2+2=4|1+1=2|");
    EXPECT_EQ(speaker.requests[1], (SpeechRequest{SpeechKind::ExprList, "2:1+1=2|"}));
    EXPECT_EQ(speaker.requests[2], (SpeechRequest{SpeechKind::ExprList, "2:1+1=2|"}));
    click(button(dialog, "stop"));
    EXPECT_EQ(speaker.stops, 1);
    click(button(dialog, "close"));
    EXPECT_EQ(speaker.stops, 2);
    EXPECT_FALSE(dialog.isVisible());
}

TEST_F(ManagerDialogs, LogClearThenCancelLeavesTheFileAlone) {
    ASSERT_TRUE(holder.Store().stored);
    const std::string before = folder.bytes("SysData.dat");
    CLogDlg dialog(holder, speaker, prompter);
    prompter.answer = false;
    click(button(dialog, "clear"));
    EXPECT_EQ(folder.bytes("SysData.dat"), before);
    EXPECT_EQ(dialog.list()->model()->rowCount(), 4);
    prompter.answer = true;
    click(button(dialog, "clear"));
    EXPECT_EQ(dialog.list()->model()->rowCount(), 0);
    EXPECT_NE(folder.bytes("SysData.dat"), before);
}

TEST_F(ManagerDialogs, LogExportOpensTheExportDialogPerSelectedRow) {
    CLogDlg dialog(holder, speaker, prompter);
    dialog.show();
    std::vector<std::string> opened;
    dialog.setExportOpener([&](std::string_view e) { opened.emplace_back(e); });
    click(button(dialog, "export"));
    EXPECT_EQ(shown(), "Quorvel Message: " + std::string(msg::kSelectLineToExport));
    clickRow(dialog.list(), 3);
    clickRow(dialog.list(), 1, Qt::ControlModifier);
    click(button(dialog, "export"));
    EXPECT_EQ(opened, (std::vector<std::string>{"3+3=6", "1+1=2"}));
}

TEST_F(ManagerDialogs, ExportWithoutACatalogStoresNothing) {
    CExportToForDlg dialog(holder, prompter, "2+3=5");
    EXPECT_EQ(dialog.size(), QSize(570, 200));
    EXPECT_EQ(dialog.formulaBox()->text(), QStringLiteral("2+3=5"));
    click(dialog.exportButton());
    EXPECT_EQ(shown(), "Quorvel Message: " + std::string(msg::kSelectCatalogFirst));
    EXPECT_TRUE(holder.data().formulas.empty());
    EXPECT_EQ(folder.bytes("SysData.dat"), "");

    prompter.messages.clear();
    dialog.catalogBox()->setCurrentIndex(1);
    QTest::keyClicks(dialog.descriptionBox(), QStringLiteral("sum"));
    click(dialog.exportButton());
    EXPECT_EQ(shown(), "Quorvel Message: " + std::string(msg::kFormulaExported));
    EXPECT_EQ(holder.data().formulas, (std::vector<CFormula>{{"minus", "2+3=5", "sum"}}));
    EXPECT_NE(folder.bytes("SysData.dat"), "");
}

TEST_F(ManagerDialogs, FormulaManagerSwitchesCatalogsAndRemovesByRow) {
    holder.data().formulas = {
        {"Add", "1+1=2", "mine"}, {"add", "2+2=4", "too"}, {"time", "2*3=6", "t"}};
    CFormulaDlg dialog(holder, speaker, prompter);
    dialog.show();
    QTableView* list = dialog.list();
    EXPECT_EQ(list->model()->headerData(0, Qt::Horizontal).toString(),
              QStringLiteral("Formula for add"));
    EXPECT_EQ(list->columnWidth(0), 350);
    EXPECT_LE(
        list->columnWidth(0) + list->columnWidth(1),
        list->width() - 2 * list->frameWidth() - list->verticalScrollBar()->sizeHint().width());
    ASSERT_EQ(list->model()->rowCount(), 2);
    EXPECT_EQ(cell(list, 0, 0), QStringLiteral("1+1=2"));

    clickRow(list, 0);
    click(button(dialog, "remove"));
    ASSERT_EQ(list->model()->rowCount(), 1);
    EXPECT_EQ(cell(list, 0, 0), QStringLiteral("2+2=4"));
    EXPECT_EQ(holder.data().formulas.size(), 2u);
    EXPECT_EQ(holder.data().formulas[0].formula, "2+2=4");

    click(button(dialog, "catalog_time"));
    EXPECT_EQ(list->model()->headerData(0, Qt::Horizontal).toString(),
              QStringLiteral("Formula for time"));
    ASSERT_EQ(list->model()->rowCount(), 1);
    EXPECT_EQ(cell(list, 0, 1), QStringLiteral("t"));
    ASSERT_NE(button<LatchingButton>(dialog, "catalog_time"), nullptr);
    EXPECT_TRUE(button<LatchingButton>(dialog, "catalog_time")->isLatched());
    EXPECT_FALSE(button<LatchingButton>(dialog, "catalog_add")->isLatched());
    // The current catalog is the one checked button of the row, as a reader hears it.
    for (std::string_view catalog : kCatalogs) {
        SCOPED_TRACE(catalog);
        const std::string name = "catalog_" + std::string(catalog);
        ASSERT_NE(button(dialog, name.c_str()), nullptr);
        EXPECT_TRUE(button(dialog, name.c_str())->isCheckable());
        EXPECT_EQ(button(dialog, name.c_str())->isChecked(), catalog == "time");
    }
    // The arrow keys move the catalog.
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    button(dialog, "catalog_time")->setFocus();
    QTest::keyClick(button(dialog, "catalog_time"), Qt::Key_Right);
    EXPECT_TRUE(button(dialog, "catalog_divide")->isChecked());
    EXPECT_EQ(list->model()->headerData(0, Qt::Horizontal).toString(),
              QStringLiteral("Formula for divide"));
}

TEST_F(ManagerDialogs, FormulaManagerFillsAnEmptyListAndReadsItAgainAfterNew) {
    CFormulaDlg dialog(holder, speaker, prompter);
    EXPECT_EQ(dialog.list()->model()->rowCount(), 45);
    EXPECT_EQ(cell(dialog.list(), 0, 0), QStringLiteral("1+1=2"));
    EXPECT_EQ(cell(dialog.list(), 0, 1), QStringLiteral("Demo"));
    std::string openedWith;
    dialog.setNewFormulaOpener([&](std::string_view catalog) {
        openedWith = catalog;
        holder.data().formulas.push_back({"divide", "9/3=3", "new"});
    });
    click(button(dialog, "catalog_divide"));
    click(button(dialog, "new"));
    EXPECT_EQ(openedWith, "divide");
    EXPECT_EQ(dialog.list()->model()->rowCount(), 46);
    EXPECT_EQ(cell(dialog.list(), 45, 0), QStringLiteral("9/3=3"));

    click(button(dialog, "clear"));
    EXPECT_EQ(dialog.list()->model()->rowCount(), 0);
    EXPECT_EQ(holder.data().formulas.size(), 135u);
}

TEST_F(ManagerDialogs, NewFormulaTypesCalculatesAndSaves) {
    CNewFormulaDlg dialog(holder, prompter, "TIME");
    dialog.show();
    EXPECT_EQ(dialog.catalogBox()->currentText(), QStringLiteral("time"));
    CFilterEdit* box = dialog.expressionBox();

    click(button(dialog, "save"));
    EXPECT_EQ(shown(), "Quorvel Message: " + std::string(msg::kInputAndCalculate));
    EXPECT_TRUE(holder.data().formulas.empty());

    QTest::keyClicks(box, QStringLiteral("3+4"));
    EXPECT_EQ(box->toPlainText(), QStringLiteral("3+4"));
    click(button(dialog, "calculate"));
    EXPECT_EQ(box->toPlainText(), QStringLiteral("3+4=7"));

    // The next key starts a new expression, as after a result in the main window.
    QTest::keyClicks(box, QStringLiteral("sin(0)"));
    EXPECT_EQ(box->toPlainText(), QStringLiteral("Sin(0)"));
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_EQ(box->toPlainText(), QStringLiteral("Sin(0)=0"));

    prompter.messages.clear();
    QTest::keyClicks(dialog.descriptionBox(), QStringLiteral("zero"));
    click(button(dialog, "save"));
    EXPECT_EQ(shown(), "Quorvel Message: " + std::string(msg::kFormulaSaved));
    const std::vector<CFormula> saved = {{"time", "Sin(0)=0", "zero"}};
    EXPECT_EQ(holder.data().formulas, saved);
    SysDataHolder reread(folder.path());
    ASSERT_EQ(reread.Load().outcome, LoadOutcome::Read);
    EXPECT_EQ(reread.data().formulas, saved);

    click(button(dialog, "clear"));
    EXPECT_TRUE(box->toPlainText().isEmpty());
    EXPECT_TRUE(dialog.descriptionBox()->text().isEmpty());
}

// Every enabled control has an accessible name and Tab reaches each of them.
TEST_F(ManagerDialogs, EveryControlIsNamedAndReachedWithTab) {
    struct Case {
        const char* name;
        std::function<std::unique_ptr<QDialog>()> make;
    };
    const Case kCases[] = {
        {"log", [&] { return std::make_unique<CLogDlg>(holder, speaker, prompter); }},
        {"formula", [&] { return std::make_unique<CFormulaDlg>(holder, speaker, prompter); }},
        {"new", [&] { return std::make_unique<CNewFormulaDlg>(holder, prompter, "add"); }},
        {"export", [&] { return std::make_unique<CExportToForDlg>(holder, prompter, "1+1=2"); }},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<QDialog> dialog = c.make();
        dialog->show();
        dialog->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
        std::set<QWidget*> controls;
        for (QWidget* w : dialog->findChildren<QWidget*>()) {
            const bool control = qobject_cast<QAbstractButton*>(w) || qobject_cast<QLineEdit*>(w) ||
                                 qobject_cast<QComboBox*>(w) ||
                                 qobject_cast<QAbstractItemView*>(w) ||
                                 qobject_cast<QPlainTextEdit*>(w);
            if (!control || !w->isEnabled() || !w->isVisibleTo(dialog.get())) continue;
            if (qobject_cast<QHeaderView*>(w)) continue;
            if (w->parentWidget() != dialog.get()) continue;  // parts of a control
            EXPECT_FALSE(w->accessibleName().isEmpty()) << w->metaObject()->className();
            controls.insert(w);
        }
        ASSERT_GE(controls.size(), 4u);
        std::set<QWidget*> reached;
        for (std::size_t i = 0; i < controls.size() * 2; ++i) {
            QWidget* focus = QApplication::focusWidget();
            ASSERT_NE(focus, nullptr);
            reached.insert(focus);
            QTest::keyClick(focus, Qt::Key_Tab);
        }
        for (QWidget* w : controls) {
            // A row of choices is one Tab stop, at its checked button.
            auto* choice = qobject_cast<QAbstractButton*>(w);
            if (choice && choice->group() && !choice->isChecked()) {
                EXPECT_FALSE(reached.count(w)) << qPrintable(w->accessibleName());
                continue;
            }
            EXPECT_TRUE(reached.count(w)) << qPrintable(w->accessibleName());
        }
    }
}

TEST_F(ManagerDialogs, ButtonsActivateWithEnterAndSpace) {
    CLogDlg dialog(holder, speaker, prompter);
    dialog.show();
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
    button(dialog, "talkAll")->setFocus();
    QTest::keyClick(button(dialog, "talkAll"), Qt::Key_Return);
    QTest::qWait(300);  // the click is animated
    QTest::keyClick(button(dialog, "talkAll"), Qt::Key_Space);
    EXPECT_EQ(speaker.requests.size(), 2u);
}

TEST_F(ManagerDialogs, F1OpensTheManualPageOfEachDialog) {
    CLogDlg log(holder, speaker, prompter);
    CFormulaDlg formulas(holder, speaker, prompter);
    CNewFormulaDlg fresh(holder, prompter, "time");
    CExportToForDlg exporter(holder, prompter, "1+1=2");
    const std::pair<QWidget*, const char*> cases[] = {{&log, "log_manager.html"},
                                                      {&formulas, "formula_manager.html"},
                                                      {&fresh, "formula_manager.html"},
                                                      {&exporter, "formula_manager.html"}};
    for (const auto& [dialog, page] : cases) {
        SCOPED_TRACE(page);
        // Each dialog starts with the manual elsewhere, so only its own key can bring the page.
        openHelp(nullptr, QStringLiteral("index.html"));
        dialog->show();
        dialog->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog));
        QWidget* focus = dialog->focusWidget() ? dialog->focusWidget() : dialog;
        QTest::keyClick(focus, Qt::Key_F1);
        ASSERT_NE(helpWindow(), nullptr);
        EXPECT_EQ(helpWindow()->currentPage().toStdString(), page);
        dialog->hide();
    }
    helpWindow()->close();
}

}  // namespace
}  // namespace quorvel

#include "dialogs/conv_dlg.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <algorithm>

#include "data/sys_data_holder.h"
#include "dialog_checks.h"
#include "dialogs/conv_float_edit.h"
#include "dialogs/new_conv_dlg.h"
#include "reader_events.h"
#include "support/recording_prompter.h"
#include "tools/tool_messages.h"
#include "ui/float_edit.h"
#include "ui/hover_button.h"
#include "ui/latching_button.h"

namespace quorvel {
namespace {

using testing::RecordingPrompter;

QString cell(const QTableWidget* list, int row, int column) {
    const QTableWidgetItem* item = list->item(row, column);
    return item ? item->text() : QString();
}

int rowNamed(const QTableWidget* list, const QString& name) {
    for (int r = 0; r < list->rowCount(); ++r) {
        if (cell(list, r, 0) == name) return r;
    }
    ADD_FAILURE() << "no row " << name.toStdString();
    return 0;
}

QPoint rowCentre(QTableWidget* list, int row) {
    list->scrollToItem(list->item(row, 0));
    return list->visualItemRect(list->item(row, 0)).center();
}

void clickRow(QTableWidget* list, const QString& name) {
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, rowCentre(list, rowNamed(list, name)));
    QCoreApplication::processEvents();
}

int selected(const QTableWidget* list) {
    const auto rows = list->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

// A converter on a fresh data folder, shown but not modal.
struct Fixture {
    explicit Fixture(const QString& mainInput = QString())
        : holder(std::filesystem::path(folder.path().toStdString())),
          dialog(std::make_unique<CConvDlg>(holder, prompter, nullptr, mainInput)) {
        dialog->show();
        QCoreApplication::processEvents();
    }
    void typeValue(const char* keys) {
        dialog->valueBox()->selectAll();
        QTest::keyClick(dialog->valueBox(), Qt::Key_Backspace);
        QTest::keyClicks(dialog->valueBox(), QString::fromLatin1(keys));
        QCoreApplication::processEvents();
    }
    void clickMode(std::string_view mode) {
        const auto index = ConverterModeIndex(mode);
        ASSERT_TRUE(index.has_value());
        QTest::mouseClick(dialog->modeButtons()[*index], Qt::LeftButton);
        QCoreApplication::processEvents();
    }

    QTemporaryDir folder;
    SysDataHolder holder;
    RecordingPrompter prompter;
    std::unique_ptr<CConvDlg> dialog;
};

TEST(CConvDlg, OpensOnTheLengthPage) {
    Fixture f;
    CConvDlg& d = *f.dialog;
    EXPECT_EQ(d.size(), QSize(750, 370));
    for (QTableWidget* list : {d.inputList(), d.outputList()}) {
        EXPECT_TRUE(list->isVisible());
        EXPECT_EQ(list->rowCount(), 30);
        EXPECT_EQ(cell(list, 0, 0), QStringLiteral("angstroms"));
        EXPECT_EQ(cell(list, 8, 1), QStringLiteral("0.3048"));
        EXPECT_EQ(selected(list), 0);
        EXPECT_EQ(list->columnWidth(0), 150);
        EXPECT_EQ(list->columnWidth(1), 350);
        EXPECT_TRUE(list->showGrid());
        EXPECT_EQ(list->selectionBehavior(), QAbstractItemView::SelectRows);
    }
    EXPECT_EQ(d.inputList()->horizontalHeaderItem(0)->text(), QStringLiteral("Input Unit Name"));
    EXPECT_EQ(d.outputList()->horizontalHeaderItem(0)->text(), QStringLiteral("Output Unit Name"));
    EXPECT_EQ(d.outputList()->horizontalHeaderItem(1)->text(), QStringLiteral("Conversion Factor"));
    EXPECT_EQ(d.valueBox()->text(), QStringLiteral("1"));
    EXPECT_EQ(d.resultBox()->text(), QStringLiteral("1"));
    EXPECT_FALSE(d.itemList()->isVisible());
    EXPECT_TRUE(d.modeButtons()[0]->isLatched());
    EXPECT_FALSE(d.modeButtons()[1]->isLatched());
    EXPECT_TRUE(f.prompter.messages.empty());
}

TEST(CConvDlg, ResultFollowsDigitsAndClicksOnly) {
    struct Step {
        const char* keys;  // typed at the end of the value box
        const char* value;
        const char* result;
    };
    constexpr Step kSteps[] = {
        {"5", "5", "12.7"},    {".", "5.", "12.7"},     {"5", "5.5", "13.97"},
        {"\b", "5.", "13.97"}, {"x-+e", "5.", "13.97"}, {"\b\b", "", "13.97"},
        {"2", "2", "5.08"},
    };
    Fixture f;
    clickRow(f.dialog->inputList(), QStringLiteral("inch"));
    clickRow(f.dialog->outputList(), QStringLiteral("centimetre"));
    EXPECT_EQ(f.dialog->resultBox()->text(), QStringLiteral("2.54"));
    f.typeValue("");
    for (const Step& s : kSteps) {
        SCOPED_TRACE(s.keys);
        for (const char* k = s.keys; *k; ++k) {
            if (*k == '\b') {
                QTest::keyClick(f.dialog->valueBox(), Qt::Key_Backspace);
            } else {
                QTest::keyClick(f.dialog->valueBox(), *k);
            }
        }
        QCoreApplication::processEvents();
        EXPECT_EQ(f.dialog->valueBox()->text().toStdString(), s.value);
        EXPECT_EQ(f.dialog->resultBox()->text().toStdString(), s.result);
    }
    // A click on a unit brings the result up to date.
    f.typeValue("3.");
    QTest::keyClick(f.dialog->valueBox(), Qt::Key_Backspace);
    clickRow(f.dialog->outputList(), QStringLiteral("centimetre"));
    EXPECT_EQ(f.dialog->resultBox()->text(), QStringLiteral("7.62"));
    EXPECT_TRUE(f.prompter.messages.empty());
}

TEST(CConvDlg, SelectHandsBackTheResultAndRecordsIt) {
    Fixture f(QStringLiteral("1+"));
    f.holder.data().historyFactor = 1;
    clickRow(f.dialog->inputList(), QStringLiteral("foot(UK and US)"));
    clickRow(f.dialog->outputList(), QStringLiteral("inch"));
    f.typeValue("2");
    ASSERT_EQ(f.dialog->resultBox()->text(), QStringLiteral("24"));
    QTest::mouseClick(f.dialog->selectButton(), Qt::LeftButton);
    EXPECT_EQ(f.dialog->result(), QDialog::Accepted);
    EXPECT_FALSE(f.dialog->isVisible());
    EXPECT_TRUE(f.dialog->hasSelection());
    EXPECT_EQ(f.dialog->returnValue(), QStringLiteral("24"));
    EXPECT_EQ(f.dialog->insertion(std::string::npos).text, "1+24");
    ASSERT_EQ(f.holder.data().conversions.size(), 1u);
    EXPECT_EQ(f.holder.data().conversions[0],
              (CConverter{"", "12", "1 foot(UK and US) ->  inch", 1}));
}

TEST(CConvDlg, QuickCheckRowsByDoubleClickAndEnter) {
    struct Case {
        const char* row;
        bool byEnter;
        const char* mainInput;
        const char* inserted;
    };
    constexpr Case kCases[] = {
        {"Fahrenheit->Celsius", false, "212", "212*0.5556-17.78"},
        {"Foot->Meter", true, "3", "3*0.3048"},
        {"Inch->Centimetre", false, "", "2.54"},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.row);
        Fixture f(QString::fromLatin1(c.mainInput));
        f.clickMode(kModeQuickCheck);
        QTableWidget* list = f.dialog->itemList();
        ASSERT_TRUE(list->isVisible());
        EXPECT_FALSE(f.dialog->inputList()->isVisible());
        EXPECT_FALSE(f.dialog->valueBox()->isVisible());
        ASSERT_EQ(list->rowCount(), 42);
        EXPECT_EQ(list->horizontalHeaderItem(0)->text(),
                  QStringLiteral("Discription of Conversion"));
        EXPECT_EQ(list->columnWidth(0), 360);
        const int row = rowNamed(list, QString::fromLatin1(c.row));
        if (c.byEnter) {
            list->setFocus();
            list->setCurrentCell(row, 0);
            QTest::keyClick(list, Qt::Key_Return);
        } else {
            QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, rowCentre(list, row));
        }
        QCoreApplication::processEvents();
        EXPECT_EQ(f.dialog->result(), QDialog::Accepted);
        EXPECT_EQ(f.dialog->insertion(std::string::npos).text, c.inserted);
        EXPECT_TRUE(f.prompter.messages.empty());
    }
}

TEST(CConvDlg, FailuresAreToldAndTheDialogStays) {
    struct Case {
        const char* mode;
        HoverButton* (CConvDlg::*button)() const;
        std::string_view message;
    };
    const Case kCases[] = {
        {"history", &CConvDlg::selectButton, msg::kSelectItemFromList},
        {"history", &CConvDlg::removeButton, msg::kSelectRemovedItemFirst},
        {"quickcheck", &CConvDlg::editButton, msg::kSelectItemFirst},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.message);
        Fixture f;
        f.clickMode(c.mode);
        QTest::mouseClick((f.dialog.get()->*c.button)(), Qt::LeftButton);
        EXPECT_EQ(f.prompter.only(), "Quorvel Message: " + std::string(c.message));
        EXPECT_TRUE(f.dialog->isVisible());
        EXPECT_FALSE(f.dialog->hasSelection());
    }
    Fixture f;
    f.typeValue("");
    clickRow(f.dialog->inputList(), QStringLiteral("inch"));
    EXPECT_EQ(f.prompter.only(), "Quorvel: " + std::string(msg::kInputValueFirst));
}

// Fills the companion dialog once it is open and presses OK.
void answerCompanion(const char* description, const char* value, bool* seen) {
    QTimer::singleShot(0, [=] {
        auto* companion = qobject_cast<CNewConvDlg*>(QApplication::activeModalWidget());
        ASSERT_NE(companion, nullptr);
        *seen = true;
        companion->descriptionBox()->setText(QString::fromLatin1(description));
        companion->valueBox()->setText(QString::fromLatin1(value));
        QTest::mouseClick(companion->okButton(), Qt::LeftButton);
    });
}

TEST(CConvDlg, NewEditRemoveChangeTheRecordOfTheRow) {
    Fixture f;
    f.holder.data().conversions = {{"", "1", "a", 1}, {"length", "2", "b", 1}, {"", "3", "c", 1}};
    f.clickMode(kModeHistory);
    QTableWidget* list = f.dialog->itemList();
    ASSERT_EQ(list->rowCount(), 3);

    bool seen = false;
    answerCompanion("d", "4", &seen);
    QTest::mouseClick(f.dialog->newButton(), Qt::LeftButton);
    EXPECT_TRUE(seen);
    ASSERT_EQ(list->rowCount(), 4);
    EXPECT_EQ(cell(list, 3, 0), QStringLiteral("d"));

    clickRow(list, QStringLiteral("c"));
    QTest::mouseClick(f.dialog->removeButton(), Qt::LeftButton);
    ASSERT_EQ(f.holder.data().conversions.size(), 3u);
    EXPECT_EQ(f.holder.data().conversions[2].description, "d");
    EXPECT_EQ(cell(list, 2, 0), QStringLiteral("d"));

    seen = false;
    clickRow(list, QStringLiteral("a"));
    answerCompanion("a2", "10", &seen);
    QTest::mouseClick(f.dialog->editButton(), Qt::LeftButton);
    EXPECT_TRUE(seen);
    EXPECT_EQ(f.holder.data().conversions[0], (CConverter{"history", "10", "a2", 1}));
    EXPECT_EQ(cell(list, 0, 0), QStringLiteral("a2"));
    EXPECT_EQ(cell(list, 1, 0), QStringLiteral("b"));
    EXPECT_TRUE(f.prompter.messages.empty());
}

TEST(CConvDlg, EveryControlIsNamedAndReachedByTab) {
    Fixture f;
    for (const char* mode : {"length", "quickcheck", "history"}) {
        SCOPED_TRACE(mode);
        f.clickMode(mode);
        EXPECT_EQ(testing::unnamedControls(*f.dialog).join(QStringLiteral(", ")), QString());
    }
    f.clickMode("length");
    // The tooltips keep their words; a reader hears the caption and a mended description.
    EXPECT_EQ(f.dialog->selectButton()->toolTip(),
              QStringLiteral("Copy the value of selected item to the inut field"));
    EXPECT_EQ(f.dialog->selectButton()->accessibleName(), QStringLiteral("Select"));
    EXPECT_EQ(f.dialog->newButton()->toolTip(), QStringLiteral("Creat the new conversion item"));
    EXPECT_EQ(f.dialog->newButton()->accessibleDescription(),
              QStringLiteral("Create a new conversion item"));

    // From the last category button, Tab walks the lists, the boxes and the buttons.
    f.dialog->activateWindow();
    f.dialog->modeButtons().back()->setFocus();
    const QWidget* expected[] = {f.dialog->inputList(),    f.dialog->outputList(),
                                 f.dialog->valueBox(),     f.dialog->resultBox(),
                                 f.dialog->newButton(),    f.dialog->editButton(),
                                 f.dialog->removeButton(), f.dialog->selectButton(),
                                 f.dialog->closeButton(),  f.dialog->helpButton()};
    for (const QWidget* next : expected) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), next)
            << next->accessibleName().toStdString() << " got "
            << (QApplication::focusWidget()
                    ? QApplication::focusWidget()->accessibleName().toStdString()
                    : std::string("nothing"));
    }

    // Arrow keys choose a unit and convert; Enter selects.
    f.dialog->inputList()->setFocus();
    QTest::keyClick(f.dialog->inputList(), Qt::Key_Down);
    QCoreApplication::processEvents();
    EXPECT_EQ(selected(f.dialog->inputList()), 1);
    EXPECT_EQ(f.dialog->resultBox()->text().toStdString(), "1.4959855E+21");
    QTest::keyClick(f.dialog->inputList(), Qt::Key_Enter);
    EXPECT_TRUE(f.dialog->hasSelection());
    // Shown in E form, handed back in plain digits.
    EXPECT_EQ(f.dialog->returnValue().toStdString(), "1495985500000000000000");
}

int checkedMode(const CConvDlg& d) {
    int found = -1;
    for (std::size_t i = 0; i < d.modeButtons().size(); ++i) {
        if (d.modeButtons()[i]->isChecked()) {
            EXPECT_EQ(found, -1) << "two categories checked";
            found = static_cast<int>(i);
        }
    }
    return found;
}

TEST(CConvDlg, TheCategoryButtonsAreOneChoiceThatSaysWhichIsCurrent) {
    Fixture f;
    CConvDlg& d = *f.dialog;
    d.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&d));
    const auto index = [](std::string_view mode) {
        return static_cast<int>(ConverterModeIndex(mode).value());
    };
    for (LatchingButton* button : d.modeButtons()) EXPECT_TRUE(button->isCheckable());
    EXPECT_EQ(checkedMode(d), index("length"));

    // Clicks, then the arrow keys from the focused category; each step is the current mode.
    struct Step {
        const char* action;  // a mode to click, or "right" / "left"
        const char* mode;
    };
    const Step steps[] = {{"history", "history"}, {"history", "history"}, {"area", "area"},
                          {"right", "mass"},      {"right", "press"},     {"left", "mass"}};
    for (const Step& step : steps) {
        SCOPED_TRACE(step.action);
        const std::string action = step.action;
        if (action == "right" || action == "left") {
            QWidget* focused = QApplication::focusWidget();
            ASSERT_NE(focused, nullptr);
            QTest::keyClick(focused, action == "right" ? Qt::Key_Right : Qt::Key_Left);
            QCoreApplication::processEvents();
        } else {
            f.clickMode(step.action);
            d.modeButtons()[static_cast<std::size_t>(index(step.action))]->setFocus();
        }
        EXPECT_EQ(d.model().mode(), step.mode);
        EXPECT_EQ(checkedMode(d), index(step.mode));
        EXPECT_TRUE(d.modeButtons()[static_cast<std::size_t>(index(step.mode))]->isLatched());
        EXPECT_EQ(QApplication::focusWidget(),
                  d.modeButtons()[static_cast<std::size_t>(index(step.mode))]);
    }

    // Tab stops at the current category only: Shift+Tab from the input list lands on it and
    // the next Shift+Tab leaves the row of categories.
    d.activateWindow();
    d.inputList()->setFocus();
    QTest::keyClick(d.inputList(), Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget(),
              d.modeButtons()[static_cast<std::size_t>(index("mass"))]);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    const auto& buttons = d.modeButtons();
    EXPECT_EQ(std::find(buttons.begin(), buttons.end(), QApplication::focusWidget()),
              buttons.end());
}

TEST(CConvDlg, ArrowKeysInTheListsMoveACurrentRowThatIsSpoken) {
    Fixture f;
    CConvDlg& d = *f.dialog;
    d.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&d));
    for (QTableWidget* list : {d.inputList(), d.outputList()}) {
        SCOPED_TRACE(list->accessibleName().toStdString());
        // The first row is selected and current on opening.
        EXPECT_EQ(list->currentRow(), 0);
        list->setFocus();
        QTest::keyClick(list, Qt::Key_Down);
        QTest::keyClick(list, Qt::Key_Down);
        EXPECT_EQ(list->currentRow(), 2);
        EXPECT_EQ(selected(list), 2);
        // Said as the whole row: the unit and its factor.
        EXPECT_EQ(testing::readerSays(list),
                  cell(list, 2, 0) + QStringLiteral(", ") + cell(list, 2, 1));
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(d.resultBox()->text(), QStringLiteral("1"));  // row 2 to row 2

    f.clickMode("quickcheck");
    QTableWidget* items = d.itemList();
    items->setFocus();
    QTest::keyClick(items, Qt::Key_Down);
    ASSERT_GE(items->currentRow(), 0);
    EXPECT_EQ(selected(items), items->currentRow());
    EXPECT_EQ(testing::readerSays(items), cell(items, items->currentRow(), 0) +
                                              QStringLiteral(", ") +
                                              cell(items, items->currentRow(), 1));
    QTest::keyClick(items, Qt::Key_Return);
    EXPECT_TRUE(d.hasSelection());
    EXPECT_TRUE(f.prompter.messages.empty()) << f.prompter.only();
}

// The page a visible help window shows, or "" when none is open.
QString shownHelpPage() {
    for (QWidget* top : QApplication::topLevelWidgets()) {
        if (!top->isVisible()) continue;
        if (auto* browser = top->findChild<QTextBrowser*>()) {
            return browser->source().fileName() + QLatin1Char(' ') +
                   browser->document()->toPlainText().section(QLatin1Char('\n'), 0, 0);
        }
    }
    return {};
}

TEST(CConvDlg, HelpButtonAndF1OpenTheConverterPage) {
    Fixture f;
    for (int byKey = 0; byKey < 2; ++byKey) {
        SCOPED_TRACE(byKey);
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (top->findChild<QTextBrowser*>()) top->hide();
        }
        ASSERT_EQ(shownHelpPage(), QString());
        if (byKey) {
            f.dialog->activateWindow();
            f.dialog->valueBox()->setFocus();
            QTest::keyClick(f.dialog->valueBox(), Qt::Key_F1);
        } else {
            QTest::mouseClick(f.dialog->helpButton(), Qt::LeftButton);
        }
        EXPECT_EQ(shownHelpPage().toStdString(), "converter.html Unit converter");
    }
}

}  // namespace
}  // namespace quorvel

// The dialogs the program opens for its window: the style message, the settings dialog and
// every tool, driven through the real window's buttons with the modal dialogs answered from a
// timer.

#include "app/window_dialogs.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <fstream>
#include <functional>
#include <memory>

#include "data/sys_data_holder.h"
#include "dialogs/conv_dlg.h"
#include "dialogs/conv_float_edit.h"
#include "dialogs/formula_dlg.h"
#include "dialogs/func_dlg.h"
#include "dialogs/log_dlg.h"
#include "dialogs/resize_dlg.h"
#include "dialogs/robot_dlg.h"
#include "dialogs/set_dlg.h"
#include "dialogs/test_dlg.h"
#include "dialogs/vari_dlg.h"
#include "speech/word_player.h"
#include "support/file_text.h"
#include "support/recording_speaker.h"
#include "tools/style_code.h"
#include "tools/window_styles.h"
#include "ui/filter_edit.h"
#include "ui/float_edit.h"
#include "ui/hover_button.h"
#include "window/main_window.h"

namespace quorvel {
namespace {

class Owned {
public:
    explicit Owned(WindowStyle style, const std::function<void(CSysData&)>& prepare = {})
        : holder(std::filesystem::path(dir.path().toStdString())) {
        holder.data().talkKeys = 0;
        if (prepare) prepare(holder.data());
        EXPECT_TRUE(holder.Store().stored);
        window = std::make_unique<MainWindow>(style, holder, speaker,
                                              MainWindow::Options{false, false, false});
        ConnectWindowDialogs(*window, player);
        window->show();
        QApplication::setActiveWindow(window.get());
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    // Runs `command` and answers the modal dialog it opens with `answer`; false when none
    // of type D opened.
    template <typename D>
    bool answer(const std::function<void()>& command, const std::function<void(D&)>& answer) {
        bool seen = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<D*>(QApplication::activeModalWidget());
            if (dialog == nullptr) {
                if (QWidget* other = QApplication::activeModalWidget()) other->close();
                return;
            }
            seen = true;
            answer(*dialog);
            // A dialog the answer left open would hang the test.
            if (dialog->isVisible()) dialog->reject();
        });
        // Away from the input box, so that only the owner can have put it back.
        window->findChild<QAbstractButton*>()->setFocus();
        command();
        return seen;
    }

    QTemporaryDir dir;
    SysDataHolder holder;
    testing::RecordingSpeaker speaker;
    PlanRecorder player;
    std::unique_ptr<MainWindow> window;
};

// Answers the modal dialogs one command opens, one step per dialog in order. A dialog of
// another class than its step expects, one more than the steps, or one a step leaves open is
// closed and fails the test, so no test waits on a box.
class ModalScript {
public:
    template <typename D>
    ModalScript& then(std::function<void(D&)> step) {
        m_steps.push_back({D::staticMetaObject.className(),
                           [step](QWidget* widget) { step(*qobject_cast<D*>(widget)); }});
        return *this;
    }
    // A step that only checks the class and closes the dialog.
    ModalScript& thenClose(const char* className) {
        m_steps.push_back({className, [](QWidget*) {}});
        return *this;
    }

    // Runs `command`; the number of steps answered.
    std::size_t run(const std::function<void()>& command) {
        QTimer poll;
        poll.setInterval(10);
        QObject::connect(&poll, &QTimer::timeout, [this] { answerModal(); });
        poll.start();
        command();
        poll.stop();
        EXPECT_EQ(m_done, m_steps.size()) << "dialogs answered";
        return m_done;
    }

private:
    struct Step {
        std::string className;
        std::function<void(QWidget*)> answer;
    };

    void answerModal() {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || m_inStep) return;
        m_inStep = true;
        const QString name = QString::fromLatin1(modal->metaObject()->className());
        if (m_done < m_steps.size() && name == QString::fromStdString(m_steps[m_done].className)) {
            m_steps[m_done++].answer(modal);
        } else {
            ADD_FAILURE() << "unexpected modal " << name.toStdString();
        }
        if (modal->isVisible()) modal->close();
        m_inStep = false;
    }

    std::vector<Step> m_steps;
    std::size_t m_done = 0;
    bool m_inStep = false;
};

void click(QWidget* widget) {
    ASSERT_NE(widget, nullptr);
    QTest::mouseClick(widget, Qt::LeftButton);
}

void typeInto(QWidget* box, const char* keys) { QTest::keyClicks(box, QString::fromLatin1(keys)); }

// Types an expression into the window's box and presses Enter, the window's Equal shortcut,
// which needs the window active again once a tool has closed.
void calculate(MainWindow& window, const char* expression) {
    EXPECT_TRUE(QTest::qWaitFor([&window] { return window.isActiveWindow(); }, 2000));
    typeInto(window.input(), expression);
    QTest::keyClick(window.input(), Qt::Key_Return);
}

QString boxText(const MainWindow& window) { return window.input()->toPlainText(); }

bool inputHasFocus(const MainWindow& window) {
    return window.focusWidget() == static_cast<QWidget*>(window.input());
}

QString cell(const QAbstractItemModel* model, int row, int column) {
    return model->data(model->index(row, column), Qt::DisplayRole).toString();
}

int rowNamed(const QTableWidget* list, const QString& name) {
    for (int r = 0; r < list->rowCount(); ++r) {
        if (list->item(r, 0) && list->item(r, 0)->text() == name) return r;
    }
    ADD_FAILURE() << "no row " << name.toStdString();
    return 0;
}

void clickRow(QTableWidget* list, const QString& name) {
    const QTableWidgetItem* item = list->item(rowNamed(list, name), 0);
    list->scrollToItem(item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
    QCoreApplication::processEvents();
}

CSysData reread(const SysDataHolder& holder) {
    holder.WaitForStores();
    SysDataHolder again(holder.path().parent_path());
    EXPECT_EQ(again.Load().outcome, LoadOutcome::Read);
    return again.data();
}

TEST(WindowDialogs, StyleChoiceShowsItsMessageAndRecordsTheStyle) {
    Owned owned(WindowStyle::Detail);
    for (int code : {3, 1, 2, 4}) {
        SCOPED_TRACE(code);
        QString shown;
        EXPECT_TRUE(owned.answer<CResizeDlg>([&] { owned.window->controller().chooseStyle(code); },
                                             [&](CResizeDlg& dialog) {
                                                 shown = dialog.message();
                                                 QTest::mouseClick(dialog.okButton(),
                                                                   Qt::LeftButton);
                                             }));
        EXPECT_EQ(shown.trimmed(),
                  QString::fromStdString(std::string(styleMessage(code))).trimmed());
        SysDataHolder stored(owned.holder.path().parent_path());
        stored.Load();
        EXPECT_EQ(stored.data().windowStyle, code);
        EXPECT_EQ(owned.window->focusWidget(), static_cast<QWidget*>(owned.window->input()));
    }
}

TEST(WindowDialogs, SettingsOkAppliesAndStores) {
    Owned owned(WindowStyle::Standard);
    EXPECT_TRUE(owned.answer<CSetDlg>(
        [&] { owned.window->runCommand(Command::Settings); },
        [](CSetDlg& dialog) {
            dialog.findChild<QSpinBox*>(QStringLiteral("places"))->setValue(12);
            QTest::mouseClick(dialog.findChild<QAbstractButton*>(QStringLiteral("ok")),
                              Qt::LeftButton);
        }));
    EXPECT_EQ(owned.holder.data().decimalPlaces, 12);
    SysDataHolder stored(owned.holder.path().parent_path());
    stored.Load();
    EXPECT_EQ(stored.data().decimalPlaces, 12);
    EXPECT_EQ(owned.window->focusWidget(), static_cast<QWidget*>(owned.window->input()));
}

TEST(WindowDialogs, SettingsCancelLeavesTheFileAlone) {
    Owned owned(WindowStyle::Mini);
    const std::string before = testing::readFile(owned.holder.path());
    EXPECT_TRUE(owned.answer<CSetDlg>(
        [&] { owned.window->runCommand(Command::Settings); },
        [](CSetDlg& dialog) {
            dialog.findChild<QSpinBox*>(QStringLiteral("places"))->setValue(12);
            QTest::mouseClick(dialog.findChild<QAbstractButton*>(QStringLiteral("cancel")),
                              Qt::LeftButton);
        }));
    EXPECT_EQ(owned.holder.data().decimalPlaces, 30);
    EXPECT_EQ(testing::readFile(owned.holder.path()), before);
}

TEST(WindowTools, LogManagerShowsTheCalculationJustMade) {
    Owned owned(WindowStyle::Detail);
    calculate(*owned.window, "2*(3+4)");
    ASSERT_TRUE(boxText(*owned.window).endsWith(QStringLiteral("=14")));
    QString newest;
    ModalScript()
        .then<CLogDlg>([&](CLogDlg& dialog) {
            newest = cell(dialog.list()->model(), 0, 1);
            click(dialog.findChild<HoverButton*>(QStringLiteral("close")));
        })
        .run([&] { click(owned.window->button(Command::Log)); });
    EXPECT_TRUE(newest.endsWith(QStringLiteral("2*(3+4)=14"))) << newest.toStdString();
    EXPECT_TRUE(inputHasFocus(*owned.window));
}

TEST(WindowTools, FormulaManagerWorksOnTheWindowsData) {
    Owned owned(WindowStyle::Detail);
    int rows = 0;
    ModalScript()
        .then<CFormulaDlg>([&](CFormulaDlg& dialog) {
            rows = dialog.list()->model()->rowCount();
            click(dialog.findChild<HoverButton*>(QStringLiteral("exit")));
        })
        .run([&] { click(owned.window->button(Command::Formula)); });
    EXPECT_GT(rows, 0);
    // The demonstration formulas went into the window's own data.
    EXPECT_EQ(owned.holder.data().formulas.size(), 180u);
    EXPECT_TRUE(inputHasFocus(*owned.window));
}

TEST(WindowTools, ConverterSelectInsertsTheValue) {
    Owned owned(WindowStyle::Detail);
    typeInto(owned.window->input(), "1+");
    ModalScript()
        .then<CConvDlg>([](CConvDlg& dialog) {
            clickRow(dialog.inputList(), QStringLiteral("foot(UK and US)"));
            clickRow(dialog.outputList(), QStringLiteral("inch"));
            dialog.valueBox()->selectAll();
            typeInto(dialog.valueBox(), "2");
            QCoreApplication::processEvents();
            EXPECT_EQ(dialog.resultBox()->text(), QStringLiteral("24"));
            click(dialog.selectButton());
        })
        .run([&] { click(owned.window->button(Command::Converter)); });
    EXPECT_EQ(boxText(*owned.window), QStringLiteral("1+24"));
    EXPECT_EQ(owned.window->caret(), 4);
    EXPECT_EQ(owned.holder.data().conversions.size(), 1u);
    EXPECT_TRUE(inputHasFocus(*owned.window));

    // Closed without a choice: the box stays as it was.
    ModalScript().then<CConvDlg>([](CConvDlg& dialog) { click(dialog.closeButton()); }).run([&] {
        click(owned.window->button(Command::Converter));
    });
    EXPECT_EQ(boxText(*owned.window), QStringLiteral("1+24"));
}

TEST(WindowTools, FunctionCallGoesInAtTheCaretOfTheOpening) {
    Owned owned(WindowStyle::Detail);
    typeInto(owned.window->input(), "2*+1");
    QTest::keyClick(owned.window->input(), Qt::Key_Left);
    QTest::keyClick(owned.window->input(), Qt::Key_Left);
    ModalScript()
        .then<CFuncDlg>([](CFuncDlg& palette) { click(palette.button(QStringLiteral("sin"))); })
        .then<CFuncInputDlg>([](CFuncInputDlg& dialog) {
            typeInto(dialog.argumentBox(), "30");
            click(dialog.okButton());
        })
        .run([&] { click(owned.window->button(Command::Function)); });
    EXPECT_EQ(boxText(*owned.window), QStringLiteral("2*sin(30)+1"));
    EXPECT_EQ(owned.window->caret(), 9);
    EXPECT_TRUE(inputHasFocus(*owned.window));
    // The saved caret is used once: the next key goes where the caret is.
    typeInto(owned.window->input(), "5");
    EXPECT_EQ(boxText(*owned.window), QStringLiteral("2*sin(30)5+1"));
}

TEST(WindowTools, CancelledFunctionLeavesTheNextKeyAtTheCaret) {
    struct Case {
        const char* name;
        std::function<void(ModalScript&)> answers;
    };
    const Case cases[] = {
        {"palette closed",
         [](ModalScript& s) {
             s.then<CFuncDlg>([](CFuncDlg& palette) { click(palette.closeButton()); });
         }},
        {"argument cancelled",
         [](ModalScript& s) {
             s.then<CFuncDlg>([](CFuncDlg& palette) {
                  click(palette.button(QStringLiteral("cos")));
              }).then<CFuncInputDlg>([](CFuncInputDlg& dialog) { click(dialog.cancelButton()); });
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Owned owned(WindowStyle::Detail);
        typeInto(owned.window->input(), "7+8");
        QTest::keyClick(owned.window->input(), Qt::Key_Home);
        ModalScript script;
        c.answers(script);
        script.run([&] { click(owned.window->button(Command::Function)); });
        EXPECT_EQ(boxText(*owned.window), QStringLiteral("7+8"));
        QTest::keyClick(owned.window->input(), Qt::Key_End);
        typeInto(owned.window->input(), "9");
        EXPECT_EQ(boxText(*owned.window), QStringLiteral("7+89"));
    }
}

TEST(WindowTools, ParameterOkIsUsedAndSurvivesARestart) {
    Owned owned(WindowStyle::Detail);
    calculate(*owned.window, "1+1");
    ModalScript()
        .then<CVariDlg>([](CVariDlg& dialog) {
            dialog.box(0)->selectAll();
            typeInto(dialog.box(0), "2.5");
            click(dialog.okButton());
        })
        .run([&] { click(owned.window->button(Command::Parameters)); });
    // The shown result is gone, so the next expression starts afresh.
    EXPECT_EQ(boxText(*owned.window), QString());
    calculate(*owned.window, "2*f");
    EXPECT_TRUE(boxText(*owned.window).endsWith(QStringLiteral("\n=2*2.5\n=5")))
        << boxText(*owned.window).toStdString();
    EXPECT_EQ(owned.window->controller().recentResults()[0], "5");
    // The calculation stored the file again and kept the new value.
    EXPECT_EQ(reread(owned.holder).paramF, "2.5");
}

TEST(WindowTools, ParameterCancelChangesNothing) {
    Owned owned(WindowStyle::Detail);
    typeInto(owned.window->input(), "2*f");
    const std::string before = testing::readFile(owned.holder.path());
    ModalScript()
        .then<CVariDlg>([](CVariDlg& dialog) {
            dialog.box(0)->selectAll();
            typeInto(dialog.box(0), "7");
            click(dialog.cancelButton());
        })
        .run([&] { click(owned.window->button(Command::Parameters)); });
    EXPECT_EQ(boxText(*owned.window), QStringLiteral("2*F"));
    EXPECT_EQ(owned.holder.data().paramF, "1");
    EXPECT_EQ(testing::readFile(owned.holder.path()), before);
}

TEST(WindowTools, ParameterDialogKeepsWhatOnlyTheWindowHeld) {
    Owned owned(WindowStyle::Detail);
    // A converter record is not stored by itself; the parameter dialog reads the file again.
    owned.holder.data().conversions.push_back({"", "12", "1 foot ->  inch", 1});
    ModalScript().then<CVariDlg>([](CVariDlg& dialog) { click(dialog.okButton()); }).run([&] {
        click(owned.window->button(Command::Parameters));
    });
    EXPECT_EQ(owned.holder.data().conversions.size(), 1u);
    EXPECT_EQ(reread(owned.holder).conversions.size(), 1u);
}

TEST(WindowTools, AngleUnitChosenForAFunctionReachesTheNextCalculation) {
    Owned owned(WindowStyle::Detail);
    ModalScript()
        .then<CFuncDlg>([](CFuncDlg& palette) { click(palette.button(QStringLiteral("sin"))); })
        .then<CFuncInputDlg>([](CFuncInputDlg& dialog) {
            click(dialog.degreesButton());
            typeInto(dialog.argumentBox(), "30");
            click(dialog.okButton());
        })
        .run([&] { click(owned.window->button(Command::Function)); });
    calculate(*owned.window, "");
    EXPECT_EQ(owned.window->controller().recentResults()[0], "0.5");
    EXPECT_EQ(reread(owned.holder).angleUnit, 0);
}

TEST(WindowTools, ExerciseOpensAndCloseStores) {
    Owned owned(WindowStyle::Detail);
    ModalScript()
        .then<CTestDlg>([](CTestDlg& dialog) {
            dialog.testNumberBox()->selectAll();
            typeInto(dialog.testNumberBox(), "3");
            click(dialog.startButton());
            EXPECT_EQ(dialog.list()->rowCount(), 3);
            click(dialog.closeButton());
        })
        .run([&] { click(owned.window->button(Command::Exercise)); });
    EXPECT_EQ(reread(owned.holder).exerciseLimit1, 3);
    EXPECT_TRUE(inputHasFocus(*owned.window));
}

TEST(WindowTools, BatchWindowTalksAfterARunWhenTheWindowTalks) {
    struct Case {
        int talkResult;
        int talkInput;
        bool talkAfterRun;
    };
    constexpr Case cases[] = {{1, 0, true}, {0, 1, true}, {1, 1, true}, {0, 0, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.talkResult) + std::to_string(c.talkInput));
        Owned owned(WindowStyle::Detail, [&c](CSysData& data) {
            data.talkResult = c.talkResult;
            data.talkInput = c.talkInput;
        });
        bool shown = !c.talkAfterRun;
        ModalScript()
            .then<CRobotDlg>([&](CRobotDlg& dialog) {
                shown = dialog.talkAfterRunBox()->isChecked();
                click(dialog.closeButton());
            })
            .run([&] { click(owned.window->button(Command::Batch)); });
        EXPECT_EQ(shown, c.talkAfterRun);
    }
}

TEST(WindowTools, BatchPlacesReachTheNextCalculation) {
    Owned owned(WindowStyle::Detail);
    const std::filesystem::path source = owned.holder.path().parent_path() / "sums.txt";
    std::ofstream(source) << "1/3\n";
    ModalScript()
        .then<CRobotDlg>([&source](CRobotDlg& dialog) {
            dialog.sourceBox()->setText(QString::fromStdString(source.string()));
            dialog.placesBox()->setValue(3);
            QSignalSpy finished(&dialog, &CRobotDlg::runFinished);
            click(dialog.beginButton());
            EXPECT_TRUE(finished.wait(20000));
            click(dialog.closeButton());
        })
        .run([&] { click(owned.window->button(Command::Batch)); });
    ASSERT_EQ(owned.holder.data().decimalPlaces, 3);
    calculate(*owned.window, "1/3");
    EXPECT_EQ(owned.window->controller().recentResults()[0], "0.333");
}

// Every style reaches every tool, by its button or else through its style menu.
TEST(WindowTools, EveryStyleReachesEveryTool) {
    const std::pair<Command, const char*> tools[] = {
        {Command::Exercise, "quorvel::CTestDlg"},  {Command::Settings, "quorvel::CSetDlg"},
        {Command::Function, "quorvel::CFuncDlg"},  {Command::Parameters, "quorvel::CVariDlg"},
        {Command::Log, "quorvel::CLogDlg"},        {Command::Formula, "quorvel::CFormulaDlg"},
        {Command::Converter, "quorvel::CConvDlg"}, {Command::Batch, "quorvel::CRobotDlg"},
    };
    for (WindowStyle style :
         {WindowStyle::Standard, WindowStyle::Detail, WindowStyle::Cartoon, WindowStyle::Mini}) {
        Owned owned(style);
        for (const auto& [command, dialog] : tools) {
            SCOPED_TRACE(std::to_string(static_cast<int>(style)) + " " + dialog);
            HoverButton* button = owned.window->button(command);
            QAction* item = owned.window->menuAction(command);
            ASSERT_TRUE(button != nullptr || item != nullptr);
            ModalScript().thenClose(dialog).run([&] {
                if (button != nullptr) {
                    click(button);
                } else {
                    item->trigger();
                }
            });
            EXPECT_TRUE(inputHasFocus(*owned.window));
        }
    }
}

TEST(WindowTools, NoToolOpensWhileTheWindowIsBusy) {
    Owned owned(WindowStyle::Detail);
    owned.window->controller().setBusy(true);
    for (Command command :
         {Command::Exercise, Command::Settings, Command::Function, Command::Parameters,
          Command::Log, Command::Formula, Command::Converter, Command::Batch}) {
        SCOPED_TRACE(static_cast<int>(command));
        // No steps: any dialog that opens fails the test.
        ModalScript().run([&] { click(owned.window->button(command)); });
    }
    owned.window->controller().setBusy(false);
}

}  // namespace
}  // namespace quorvel

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

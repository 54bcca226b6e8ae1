// The dialogs the program opens for its window: the style message and the settings dialog,
// driven through the real window with the modal dialog answered from a timer.

#include "app/window_dialogs.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>

#include "data/sys_data_holder.h"
#include "dialogs/dialog_button.h"
#include "dialogs/resize_dlg.h"
#include "dialogs/set_dlg.h"
#include "support/recording_speaker.h"
#include "tools/window_style.h"
#include "tools/window_styles.h"
#include "ui/filter_edit.h"
#include "window/main_window.h"

namespace quorvel {
namespace {

std::string fileBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

class Owned {
public:
    explicit Owned(WindowStyle style) : holder(std::filesystem::path(dir.path().toStdString())) {
        holder.data().talkKeys = 0;
        EXPECT_TRUE(holder.Store().stored);
        window =
            std::make_unique<MainWindow>(style, holder, speaker, MainWindow::Options{false, false});
        ConnectWindowDialogs(*window);
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
    std::unique_ptr<MainWindow> window;
};

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
        [&] { owned.window->runCommand(window_id::kSettings); },
        [](CSetDlg& dialog) {
            qobject_cast<QLineEdit*>(dialog.control(1056))->setText(QStringLiteral("12"));
            QTest::mouseClick(qobject_cast<QAbstractButton*>(dialog.control(1)), Qt::LeftButton);
        }));
    EXPECT_EQ(owned.holder.data().decimalPlaces, 12);
    SysDataHolder stored(owned.holder.path().parent_path());
    stored.Load();
    EXPECT_EQ(stored.data().decimalPlaces, 12);
    EXPECT_EQ(owned.window->focusWidget(), static_cast<QWidget*>(owned.window->input()));
}

TEST(WindowDialogs, SettingsCancelLeavesTheFileAlone) {
    Owned owned(WindowStyle::Mini);
    const std::string before = fileBytes(owned.holder.path());
    EXPECT_TRUE(owned.answer<CSetDlg>(
        [&] { owned.window->runCommand(window_id::kSettings); },
        [](CSetDlg& dialog) {
            qobject_cast<QLineEdit*>(dialog.control(1056))->setText(QStringLiteral("12"));
            QTest::mouseClick(qobject_cast<QAbstractButton*>(dialog.control(2)), Qt::LeftButton);
        }));
    EXPECT_EQ(owned.holder.data().decimalPlaces, 30);
    EXPECT_EQ(fileBytes(owned.holder.path()), before);
}

}  // namespace
}  // namespace quorvel

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

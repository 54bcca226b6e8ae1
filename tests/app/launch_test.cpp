// The windowed program's start, driven with a plain widget for a window: the data folder and
// its lock, the style a data file opens, --style, the first-run flag and a damaged file.

#include "app/launch.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "data/data_folder.h"
#include "speech/word_player.h"

namespace quorvel {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

class LaunchTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = fs::temp_directory_path() /
                ("quorvel_launch_test_" + std::to_string(::getpid()) + "_" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    LaunchEnvironment environment() {
        LaunchEnvironment env;
        env.defaultFolder = m_dir / "default";
        env.uid = ::getuid();
        env.err = &m_err;
        env.wakePatience = 100ms;
        env.lockWait = 100ms;
        env.player = [] { return std::make_unique<PlanRecorder>(); };
        return env;
    }

    // A factory that notes each request and builds a bare widget.
    WindowFactory factory() {
        return [this](const WindowRequest& r) {
            m_requests.push_back({r.style, r.firstRun, r.data.data().windowStyle});
            return std::make_unique<QWidget>();
        };
    }

    void writeStyle(int code) {
        fs::create_directories(m_dir);
        SysDataHolder holder(m_dir);
        holder.data().windowStyle = code;
        ASSERT_TRUE(holder.Store().stored);
    }

    int storedStyle() {
        SysDataHolder holder(m_dir);
        EXPECT_EQ(holder.Load().outcome, LoadOutcome::Read);
        return holder.data().windowStyle;
    }

    struct Request {
        WindowStyle style;
        bool firstRun;
        int storedCode;
    };

    fs::path m_dir;
    std::ostringstream m_err;
    std::vector<Request> m_requests;
};

StartOptions withData(const fs::path& dir, std::optional<int> style = std::nullopt) {
    StartOptions o;
    o.data = dir;
    o.style = style;
    return o;
}

TEST_F(LaunchTest, StoredStyleChoosesTheWindow) {
    struct Case {
        int code;
        WindowStyle style;
    };
    const Case cases[] = {
        {1, WindowStyle::Standard}, {2, WindowStyle::Cartoon},   {3, WindowStyle::Mini},
        {4, WindowStyle::Detail},   {0, WindowStyle::Standard},  {6, WindowStyle::Contrast},
        {7, WindowStyle::Standard}, {-1, WindowStyle::Standard},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        writeStyle(c.code);
        m_requests.clear();
        Launch launch(withData(m_dir), environment());
        EXPECT_EQ(launch.open(factory()), std::nullopt) << m_err.str();
        ASSERT_EQ(m_requests.size(), 1u);
        EXPECT_EQ(m_requests[0].style, c.style);
        EXPECT_FALSE(m_requests[0].firstRun);
        EXPECT_NE(launch.window(), nullptr);
    }
}

TEST_F(LaunchTest, StyleFiveOpensNoWindowAndSaysHowToStartAgain) {
    writeStyle(5);
    Launch launch(withData(m_dir), environment());
    EXPECT_EQ(launch.open(factory()), 0);
    EXPECT_TRUE(m_requests.empty());
    EXPECT_EQ(launch.window(), nullptr);
    EXPECT_EQ(m_err.str(), NoWindowMessage(m_dir / "SysData.dat"));
}

TEST_F(LaunchTest, StyleOptionIsRecordedBeforeTheWindowOpens) {
    writeStyle(5);
    {
        Launch launch(withData(m_dir, 3), environment());
        EXPECT_EQ(launch.open(factory()), std::nullopt) << m_err.str();
        ASSERT_EQ(m_requests.size(), 1u);
        EXPECT_EQ(m_requests[0].style, WindowStyle::Mini);
        EXPECT_EQ(m_requests[0].storedCode, 3);
    }
    EXPECT_EQ(storedStyle(), 3);
    // The next start without the option keeps it.
    Launch next(withData(m_dir), environment());
    EXPECT_EQ(next.open(factory()), std::nullopt);
    EXPECT_EQ(m_requests.back().style, WindowStyle::Mini);
}

TEST_F(LaunchTest, ZoomOptionIsRecordedBeforeTheWindowOpens) {
    writeStyle(2);
    StartOptions o = withData(m_dir);
    o.zoom = 250;
    {
        Launch launch(o, environment());
        EXPECT_EQ(launch.open(factory()), std::nullopt) << m_err.str();
        EXPECT_EQ(launch.data()->data().zoomPercent, 250);
    }
    SysDataHolder holder(m_dir);
    holder.Load();
    EXPECT_EQ(holder.data().zoomPercent, 250);
    EXPECT_EQ(holder.data().windowStyle, 2);
}

// The high-contrast style is offered once, at a first start, when the desktop asks for high
// contrast and --style chose nothing; only a yes records it.
TEST_F(LaunchTest, FirstStartOffersTheContrastStyleWhenTheDesktopAsks) {
    struct Case {
        bool existingFile;
        std::optional<int> style;
        bool desktopAsks;
        bool answer;
        int asked;  // how often the question came
        WindowStyle opened;
    };
    const Case kCases[] = {
        {false, std::nullopt, true, true, 1, WindowStyle::Contrast},
        {false, std::nullopt, true, false, 1, WindowStyle::Standard},
        {false, std::nullopt, false, true, 0, WindowStyle::Standard},
        {false, 3, true, true, 0, WindowStyle::Mini},
        {true, std::nullopt, true, true, 0, WindowStyle::Standard},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(std::to_string(c.existingFile) + std::to_string(c.style.value_or(0)) +
                     std::to_string(c.desktopAsks) + std::to_string(c.answer));
        fs::remove_all(m_dir);
        if (c.existingFile) writeStyle(1);
        m_requests.clear();
        int asked = 0;
        LaunchEnvironment env = environment();
        env.desktopAsksHighContrast = [&c] { return c.desktopAsks; };
        env.acceptContrastStyle = [&c, &asked] {
            ++asked;
            return c.answer;
        };
        Launch launch(withData(m_dir, c.style), env);
        EXPECT_EQ(launch.open(factory()), std::nullopt) << m_err.str();
        EXPECT_EQ(asked, c.asked);
        ASSERT_EQ(m_requests.size(), 1u);
        EXPECT_EQ(m_requests[0].style, c.opened);
        EXPECT_EQ(m_requests[0].firstRun, !c.existingFile);
    }
}

TEST_F(LaunchTest, FirstRunMeansNoDataFileAtStart) {
    const fs::path nested = m_dir / "a" / "b";
    {
        Launch launch(withData(nested), environment());
        EXPECT_EQ(launch.open(factory()), std::nullopt) << m_err.str();
        EXPECT_TRUE(launch.firstRun());
        EXPECT_TRUE(fs::is_directory(nested));
        // The window stores on exit; here the data is stored as a window would.
        ASSERT_TRUE(launch.data()->Store().stored);
    }
    Launch again(withData(nested), environment());
    EXPECT_EQ(again.open(factory()), std::nullopt);
    EXPECT_FALSE(again.firstRun());
    ASSERT_EQ(m_requests.size(), 2u);
    EXPECT_TRUE(m_requests[0].firstRun);
    EXPECT_FALSE(m_requests[1].firstRun);
}

TEST_F(LaunchTest, WithoutDataOptionTheDefaultFolderIsUsed) {
    Launch launch(StartOptions{}, environment());
    EXPECT_EQ(launch.open(factory()), std::nullopt) << m_err.str();
    EXPECT_EQ(launch.folder(), m_dir / "default");
    EXPECT_EQ(launch.data()->path(), m_dir / "default" / "SysData.dat");
}

TEST_F(LaunchTest, NoFolderAtAllIsReported) {
    LaunchEnvironment env = environment();
    env.defaultFolder.clear();
    Launch launch(StartOptions{}, env);
    EXPECT_EQ(launch.open(factory()), 1);
    EXPECT_TRUE(m_requests.empty());
    EXPECT_NE(m_err.str().find("--data DIR"), std::string::npos) << m_err.str();
}

// quorvel-calc holds the folder and no window answers: the start waits, then gives up.
TEST_F(LaunchTest, FolderHeldWithoutWindowIsReportedAfterWaiting) {
    FolderLockResult held = OpenDataFolder(m_dir, 0ms);
    ASSERT_TRUE(held.lock);
    Launch launch(withData(m_dir, 4), environment());
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(launch.open(factory()), 1);
    EXPECT_GE(std::chrono::steady_clock::now() - start, 200ms);
    EXPECT_TRUE(m_requests.empty());
    EXPECT_EQ(launch.failure(),
              FolderInUseMessage(m_dir, ::getpid(), program_invocation_short_name));
    EXPECT_FALSE(fs::exists(m_dir / "SysData.dat"));
}

TEST_F(LaunchTest, DamagedFileIsShownInABoxNamingTheKeptCopy) {
    fs::create_directories(m_dir);
    std::ofstream(m_dir / "SysData.dat", std::ios::binary)
        << "\x1dSysData Manager - StoreObject\x01";
    Launch launch(withData(m_dir), environment());
    ASSERT_EQ(launch.open(factory()), std::nullopt);
    ASSERT_TRUE(launch.loaded().damaged());
    const fs::path kept = launch.loaded().damagedCopy;
    ASSERT_FALSE(kept.empty());
    EXPECT_TRUE(fs::exists(kept));
    EXPECT_FALSE(launch.firstRun());

    launch.show();
    QApplication::processEvents();
    auto* box = launch.window()->findChild<QMessageBox*>(QStringLiteral("damagedFileMessage"));
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->isVisible());
    EXPECT_TRUE(box->text().contains(QString::fromStdString(kept.string())))
        << box->text().toStdString();
    EXPECT_NE(m_err.str().find(kept.string()), std::string::npos);
    box->close();
}

// A file in the way that cannot be opened (here a link to itself) is no first run: the window
// opens and says so in a box, nothing is stored over the file, and --style is refused.
TEST_F(LaunchTest, UnreadableFileIsShownInABoxAndNeverStoredOver) {
    fs::create_directories(m_dir);
    fs::create_symlink("SysData.dat", m_dir / "SysData.dat");
    const std::string said =
        (m_dir / "SysData.dat").string() + " cannot be opened: Too many levels of symbolic links";
    {
        Launch styled(withData(m_dir, 3), environment());
        EXPECT_EQ(styled.open(factory()), 1);
        EXPECT_EQ(styled.failure(), "nothing is stored: " + said);
        EXPECT_TRUE(m_requests.empty());
    }
    m_err.str("");
    Launch launch(withData(m_dir), environment());
    ASSERT_EQ(launch.open(factory()), std::nullopt);
    EXPECT_FALSE(launch.firstRun());
    ASSERT_EQ(m_requests.size(), 1u);
    EXPECT_FALSE(m_requests[0].firstRun);
    EXPECT_EQ(m_err.str(),
              "quorvel: " + said + "; it is left as it is and nothing is stored over it\n");
    EXPECT_FALSE(launch.data()->Store().stored);

    launch.show();
    QApplication::processEvents();
    auto* box = launch.window()->findChild<QMessageBox*>(QStringLiteral("unreadableFileMessage"));
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->isVisible());
    EXPECT_EQ(box->text().toStdString(),
              said +
                  "; it is left as it is and nothing is stored over it.\n"
                  "Quorvel runs without storing: nothing you do now is kept.");
    box->close();
    EXPECT_TRUE(fs::is_symlink(m_dir / "SysData.dat"));
    EXPECT_EQ(fs::read_symlink(m_dir / "SysData.dat"), "SysData.dat");
}

TEST_F(LaunchTest, CleanFileShowsNoBox) {
    writeStyle(1);
    Launch launch(withData(m_dir), environment());
    ASSERT_EQ(launch.open(factory()), std::nullopt);
    launch.show();
    QApplication::processEvents();
    EXPECT_EQ(launch.window()->findChild<QMessageBox*>(), nullptr);
    EXPECT_TRUE(m_err.str().empty()) << m_err.str();
}

TEST_F(LaunchTest, BringToFrontRestoresAMinimisedOrHiddenWindow) {
    Launch launch(withData(m_dir), environment());
    ASSERT_EQ(launch.open(factory()), std::nullopt);
    QWidget* window = launch.window();
    window->showMinimized();
    QApplication::processEvents();
    launch.bringToFront();
    QApplication::processEvents();
    EXPECT_FALSE(window->isMinimized());
    EXPECT_TRUE(window->isVisible());

    window->hide();  // in the tray
    launch.bringToFront();
    EXPECT_TRUE(window->isVisible());
}

}  // namespace
}  // namespace quorvel

// A watchdog fails a test that blocks on an application-modal box; the damaged-file box is
// window-modal and opened without blocking, which is what the start must do.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    QTimer watchdog;
    QObject::connect(&watchdog, &QTimer::timeout, [] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal != nullptr && modal->windowModality() == Qt::ApplicationModal) {
            ADD_FAILURE() << "a modal box opened: " << modal->metaObject()->className();
            modal->close();
        }
    });
    watchdog.start(200);
    return RUN_ALL_TESTS();
}

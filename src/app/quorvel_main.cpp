// quorvel: the talking calculator's window. One window per data folder; a second start on the
// same folder brings the first to the front and ends.

#include <unistd.h>

#include <QApplication>
#include <QGuiApplication>
#include <QIcon>
#include <QMessageBox>
#include <QStringList>
#include <filesystem>
#include <iostream>
#include <string_view>
#include <vector>

#include "app/font_warm_up.h"
#include "app/heap_reuse.h"
#include "app/launch.h"
#include "app/quit_signals.h"
#include "app/single_instance.h"
#include "app/startup_probe.h"
#include "app/window_dialogs.h"
#include "data/data_folder.h"
#include "speech/audio_player.h"
#include "speech/sound_bank.h"
#include "tools/calculator_controller.h"
#include "tools/start_up.h"
#include "ui/skin_resources.h"
#include "window/desktop_contrast.h"
#include "window/main_window.h"

namespace fs = std::filesystem;

namespace quorvel {
namespace {

LaunchEnvironment environment() {
    LaunchEnvironment env;
    env.defaultFolder = DefaultDataFolder();
    env.uid = ::getuid();
    env.runtimeDir = qEnvironmentVariable("XDG_RUNTIME_DIR").toStdString();
    env.err = &std::cerr;
    env.lockWait = DataFolderWait();
    env.player = [] {
        return std::make_unique<AudioPlayer>(findSoundsDir(ProgramDirectory()), std::cerr);
    };
    env.desktopAsksHighContrast = [] { return desktopAsksHighContrast(DesktopContrastHints()); };
    env.acceptContrastStyle = [] {
        if (QGuiApplication::platformName() == QLatin1String("offscreen")) return false;
        return QMessageBox::question(
                   nullptr, QStringLiteral("Quorvel"),
                   QString::fromLatin1(kContrastOfferQuestion.data(),
                                       static_cast<qsizetype>(kContrastOfferQuestion.size())),
                   QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes) == QMessageBox::Yes;
    };
    return env;
}

// The installed icon's pictures, sharp at each size; the compiled-in one from a build tree.
// Read from the files directly: QIcon::fromTheme scans every installed theme, which took as
// long as building the whole window. Read as the PNG pictures they are: QIcon::addFile asks
// every image plugin whether it knows the file, and loads each one to ask.
QIcon windowIcon() {
    const std::vector<IconFile> files = InstalledIconFiles(ProgramDirectory(), QUORVEL_APP_ID);
    if (files.empty()) return skins::compiledWindowIcon();
    QStringList pictures;
    for (const IconFile& file : files) pictures.append(QString::fromStdString(file.file.string()));
    return skins::pngIcon(pictures);
}

// On a desktop the failure is also shown, since nobody may be reading standard error there.
void showFailure(const std::string& why) {
    if (QGuiApplication::platformName() == QLatin1String("offscreen")) return;
    QMessageBox::warning(nullptr, QStringLiteral("Quorvel"), QString::fromStdString(why));
}

// A request to end from outside (kill, logout, Ctrl+C in the terminal) ends the run as the
// Exit button does: the data is stored, and the socket goes with the window. The event loops
// are told to end first, so that no box the store might show can hold the end up; exit, not
// quit, which would ask the window to close and the window asks the user first.
void endOnRequest(Launch& launch) {
    QCoreApplication::exit(0);
    auto* window = static_cast<MainWindow*>(launch.window());
    CalculatorController& controller = window->controller();
    if (!controller.busy()) {
        controller.exit();
    } else if (const StoreResult stored = launch.data()->Store(); !stored.stored) {
        std::cerr << "quorvel: " << stored.reason << '\n';
    }
}

int run(const StartOptions& options, FontconfigWarmUp& fonts) {
    QuitSignals quitSignals;
    Launch launch(options, environment());
    const auto status = launch.open([&fonts](const WindowRequest& r) {
        fonts.wait();
        MainWindow::Options windowOptions;
        windowOptions.firstRun = r.firstRun;
        auto window = std::make_unique<MainWindow>(r.style, r.data, r.speaker, windowOptions);
        ConnectWindowDialogs(*window, r.player);
        return window;
    });
    if (status) {
        if (*status != 0) showFailure(launch.failure());
        return *status;
    }
    StartupProbe probe(qEnvironmentVariable("QUORVEL_STARTUP_PROBE"),
                       qEnvironmentVariable("QUORVEL_PROBE_QUIT") == QLatin1String("1"));
    probe.watch(launch.window());
    QObject::connect(launch.instance(), &SingleInstance::activationRequested, &probe,
                     [&probe] { probe.note(QStringLiteral("activated")); });
    QObject::connect(&quitSignals, &QuitSignals::received, launch.window(),
                     [&launch] { endOnRequest(launch); });
    launch.show();
    return QApplication::exec();
}

}  // namespace
}  // namespace quorvel

int main(int argc, char** argv) {
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    const quorvel::ParsedStartOptions parsed = quorvel::ParseStartOptions(args);
    if (!parsed.error.empty()) {
        std::cerr << "quorvel: " << parsed.error << "\nTry 'quorvel --help'.\n";
        return 2;
    }
    if (parsed.options.help) {
        std::cout << quorvel::StartUsage();
        return 0;
    }
    if (parsed.options.version) {
        std::cout << "quorvel " << QUORVEL_VERSION << '\n';
        return 0;
    }
    quorvel::KeepFreedBuffersForReuse();
    quorvel::FontconfigWarmUp fonts;
    // Qt reads --style itself (its widget style) and would complain; it sees none of ours.
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvel"));
    QApplication::setApplicationVersion(QStringLiteral(QUORVEL_VERSION));
    QApplication::setDesktopFileName(QStringLiteral(QUORVEL_APP_ID));
    QApplication::setWindowIcon(quorvel::windowIcon());
    return quorvel::run(parsed.options, fonts);
}

#include "app/launch.h"

#include <QMessageBox>
#include <QTimer>
#include <QWidget>
#include <ostream>
#include <system_error>
#include <utility>

#include "app/single_instance.h"
#include "data/data_folder.h"
#include "speech/deferred_player.h"
#include "speech/speech_worker.h"

namespace quorvel {
namespace {

// The same folder reached by another spelling must give the same socket name.
std::string canonicalText(const std::filesystem::path& folder) {
    std::error_code error;
    const std::filesystem::path canonical = std::filesystem::canonical(folder, error);
    return (error ? std::filesystem::absolute(folder) : canonical).string();
}

}  // namespace

QString DamagedFileText(const LoadResult& loaded) {
    if (loaded.unreadable()) {
        return QString::fromStdString(loaded.notice()) +
               QStringLiteral(".\nQuorvel runs without storing: nothing you do now is kept.");
    }
    return QString::fromStdString(loaded.notice()) +
           QStringLiteral(".\nQuorvel goes on with what it could read.");
}

Launch::Launch(StartOptions options, LaunchEnvironment environment)
    : m_options(std::move(options)), m_env(std::move(environment)) {}

Launch::~Launch() {
    // The window may still speak or store while it goes; the slot and the lock outlive it.
    m_window.reset();
    m_speaker.reset();
    m_player.reset();
}

std::optional<int> Launch::fail(std::string why) {
    m_failure = std::move(why);
    if (m_env.err != nullptr) *m_env.err << "quorvel: " << m_failure << '\n';
    return 1;
}

std::optional<int> Launch::open(const WindowFactory& makeWindow) {
    m_folder = m_options.data.value_or(m_env.defaultFolder);
    if (m_folder.empty()) {
        return fail("no data folder: HOME is not set; start with --data DIR");
    }
    FolderLockResult first = OpenDataFolder(m_folder, std::chrono::milliseconds(0));
    std::error_code noTemp;
    const SocketFolder sockets = InstanceSocketFolder(
        m_env.runtimeDir, m_env.uid,
        m_env.socketFallback.empty() ? std::filesystem::temp_directory_path(noTemp)
                                     : m_env.socketFallback);
    m_instance = std::make_unique<SingleInstance>(
        sockets.path.empty()
            ? QString()
            : QString::fromStdString(
                  (sockets.path / InstanceServerName(canonicalText(m_folder), m_env.uid))
                      .string()));
    if (!first.lock) {
        if (!first.inUse) return fail(first.error);
        if (m_instance->wakeRunning(m_env.wakePatience)) {
            if (m_env.err != nullptr) {
                *m_env.err << "quorvel: the window on " << m_folder.string()
                           << " is already open; it was brought to the front"
                           << (m_options.style ? ", and --style was not recorded" : "") << ".\n";
            }
            return 0;
        }
        // No window answers: quorvel-calc has the folder for a moment.
        first = OpenDataFolder(m_folder, m_env.lockWait);
        if (!first.lock) return fail(first.error);
    }
    m_lock = std::move(first.lock);
    QString listenError = QString::fromStdString(sockets.error);
    if ((!sockets.error.empty() || !m_instance->listen(&listenError)) && m_env.err != nullptr) {
        *m_env.err << "quorvel: a second start will open a second window: "
                   << listenError.toStdString() << '\n';
    }
    if (const auto status = loadData()) return status;

    const WindowStyle style = styleFromCode(m_holder->data().windowStyle);
    if (style == WindowStyle::None) {
        if (m_env.err != nullptr) *m_env.err << NoWindowMessage(m_holder->path());
        return 0;
    }
    auto makePlayer = m_env.player;
    // Opened by the first word spoken: a start that speaks nothing neither waits for the
    // audio libraries nor carries them.
    m_player = std::make_unique<DeferredPlayer>(std::move(makePlayer),
                                                DeferredPlayer::Opening::AtFirstWord);
    m_speaker = std::make_unique<SpeechWorker>(*m_player);
    m_window = makeWindow(WindowRequest{style, *m_holder, *m_speaker, m_firstRun, *m_player});
    if (!m_window) return fail("the window could not be built");
    QObject::connect(m_instance.get(), &SingleInstance::activationRequested, m_window.get(),
                     [this] { bringToFront(); });
    return std::nullopt;
}

std::optional<int> Launch::loadData() {
    m_holder.emplace(m_folder);
    m_loaded = m_holder->Load();
    // Only "no such file" is a first run: a file that cannot be read is no fresh start.
    m_firstRun = m_loaded.missing;
    if ((m_loaded.damaged() || m_loaded.unreadable()) && m_env.err != nullptr) {
        *m_env.err << "quorvel: " << m_loaded.notice() << '\n';
    }
    bool record = false;
    if (m_options.style) {
        m_holder->data().windowStyle = *m_options.style;
        record = true;
    } else if (m_firstRun && m_env.desktopAsksHighContrast && m_env.acceptContrastStyle &&
               offerContrastStyle(m_firstRun, false, m_env.desktopAsksHighContrast()) &&
               m_env.acceptContrastStyle()) {
        m_holder->data().windowStyle = static_cast<int>(WindowStyle::Contrast);
        record = true;
    }
    if (m_options.zoom) {
        m_holder->data().zoomPercent = *m_options.zoom;
        record = true;
    }
    if (record) {
        const StoreResult stored = m_holder->Store();
        if (!stored.stored) return fail(stored.reason);
    }
    return std::nullopt;
}

void Launch::show() {
    if (!m_window) return;
    m_window->show();
    if (!m_loaded.damaged() && !m_loaded.unreadable()) return;
    QTimer::singleShot(0, m_window.get(), [this] {
        auto* box = new QMessageBox(QMessageBox::Warning, QStringLiteral("Quorvel"),
                                    DamagedFileText(m_loaded), QMessageBox::Ok, m_window.get());
        box->setObjectName(m_loaded.unreadable() ? QStringLiteral("unreadableFileMessage")
                                                 : QStringLiteral("damagedFileMessage"));
        box->setAttribute(Qt::WA_DeleteOnClose);
        box->open();
    });
}

void Launch::bringToFront() {
    if (!m_window) return;
    if (m_window->isMinimized()) {
        m_window->showNormal();
    } else {
        m_window->show();
    }
    m_window->raise();
    m_window->activateWindow();
}

}  // namespace quorvel

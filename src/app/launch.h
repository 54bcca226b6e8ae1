#pragma once

// Everything the windowed program does before its event loop: the data folder and its lock,
// the wake-up of a window already running on that folder, the data file, the style the window
// opens in, and the window's speech slot. The window itself comes from a factory, so the start
// can be driven with any widget.

#include <sys/types.h>

#include <QString>
#include <chrono>
#include <filesystem>
#include <functional>
#include <iosfwd>
#include <memory>
#include <optional>
#include <string>

#include "data/folder_lock.h"
#include "data/sys_data_holder.h"
#include "tools/start_up.h"
#include "tools/style_code.h"

class QWidget;

namespace quorvel {

class DeferredPlayer;
class SingleInstance;
class Speaker;
class SpeechWorker;
class WordPlayer;

struct WindowRequest {
    WindowStyle style;
    SysDataHolder& data;
    Speaker& speaker;
    bool firstRun;  // no SysData.dat existed when the program started
    // What the window's slot plays on; the tool windows speak through slots of their own on it.
    WordPlayer& player;
};

using WindowFactory = std::function<std::unique_ptr<QWidget>(const WindowRequest&)>;

struct LaunchEnvironment {
    std::filesystem::path defaultFolder;  // used without --data
    uid_t uid = 0;
    // $XDG_RUNTIME_DIR, where the window's socket goes; without a private one, a folder of
    // the user's own in `socketFallback` (the temporary folder when empty).
    std::string runtimeDir;
    std::filesystem::path socketFallback;
    std::ostream* err = nullptr;  // what the user reads on standard error
    // How long a second start keeps trying to reach the first window, and how long it then
    // waits for a program without a window (quorvel-calc) to let go of the folder.
    std::chrono::milliseconds wakePatience{3000};
    std::chrono::milliseconds lockWait{5000};
    std::function<std::unique_ptr<WordPlayer>()> player;  // built off the window's thread
    // At a first start without --style: whether the desktop asks for high contrast, and the
    // question whether to open the high-contrast style then (true: yes). Either may be empty,
    // and nothing is asked.
    std::function<bool()> desktopAsksHighContrast;
    std::function<bool()> acceptContrastStyle;
};

class Launch {
public:
    Launch(StartOptions options, LaunchEnvironment environment);
    ~Launch();
    Launch(const Launch&) = delete;
    Launch& operator=(const Launch&) = delete;

    // Opens the window (not shown yet); nullopt then, and the caller runs the event loop.
    // Otherwise the program's exit status: 0 when another window was woken or the stored style
    // opens none, 1 when the folder could not be had (failure() says why).
    std::optional<int> open(const WindowFactory& makeWindow);

    // Shows the window, and after it any message about a damaged or unreadable data file, in a
    // box that does not block the start.
    void show();
    // Brings the window to the front, also out of the tray or the task bar.
    void bringToFront();

    QWidget* window() const { return m_window.get(); }
    SysDataHolder* data() { return m_holder ? &*m_holder : nullptr; }
    SingleInstance* instance() const { return m_instance.get(); }
    bool firstRun() const { return m_firstRun; }
    const std::filesystem::path& folder() const { return m_folder; }
    const std::string& failure() const { return m_failure; }
    const LoadResult& loaded() const { return m_loaded; }

private:
    std::optional<int> fail(std::string why);
    std::optional<int> loadData();

    StartOptions m_options;
    LaunchEnvironment m_env;
    std::filesystem::path m_folder;
    std::string m_failure;
    std::optional<FolderLock> m_lock;
    std::unique_ptr<SingleInstance> m_instance;
    std::optional<SysDataHolder> m_holder;
    LoadResult m_loaded;
    bool m_firstRun = false;
    // The window goes first, then its speech slot, then the player the slot plays on.
    std::unique_ptr<DeferredPlayer> m_player;
    std::unique_ptr<SpeechWorker> m_speaker;
    std::unique_ptr<QWidget> m_window;
};

// The text of the box about a damaged or unreadable data file.
QString DamagedFileText(const LoadResult& loaded);

}  // namespace quorvel

#include "tools/calculator_controller.h"

#include <algorithm>
#include <array>

#include "calc/messages.h"
#include "calc/text_util.h"
#include "data/settings_bridge.h"
#include "speech/speaker.h"
#include "tools/present.h"
#include "tools/unit_converter.h"

namespace quorvel {

namespace {

constexpr std::array<std::string_view, 5> kOrdinals = {"first", "second", "third", "forth",
                                                       "fifth"};

std::string withoutCarriageReturns(std::string text) {
    EraseCarriageReturns(text);
    return text;
}

// The data file keeps the system's "\r\n" line breaks.
std::string withCarriageReturns(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (c == '\n') out.push_back('\r');
        out.push_back(c);
    }
    return out;
}

// The unknown x, but not the x of "exp".
bool mentionsUnknown(std::string_view text) {
    std::string lower = ToLower(text);
    for (auto at = lower.find("exp"); at != std::string::npos; at = lower.find("exp", at)) {
        lower.erase(at, 3);
    }
    return lower.find('x') != std::string::npos;
}

// Names the wording has no word for: the recent results and the parameters.
bool mentionsUnspokenName(std::string_view line) {
    const std::string lower = ToLower(line);
    if (lower.find_first_of("mfkw") != std::string::npos) return true;
    for (std::string_view name : {"last1", "last2", "last3", "last4", "last5"}) {
        if (lower.find(name) != std::string::npos) return true;
    }
    return false;
}

std::string_view lineAt(std::string_view text, int index) {
    for (int i = 0; i < index; ++i) {
        const auto end = text.find('\n');
        if (end == std::string_view::npos) return {};
        text.remove_prefix(end + 1);
    }
    return text.substr(0, text.find('\n'));
}

}  // namespace

std::string RecentTooltip(int index, std::string_view value, bool afterCalculation) {
    const std::string_view ordinal = kOrdinals.at(static_cast<std::size_t>(index));
    const std::string name = "last" + std::to_string(index + 1) + "=";
    std::string tip = afterCalculation ? "the " : "The ";
    tip.append(ordinal);
    tip += afterCalculation ? " lastest result:" : " lastest result of calculation:";
    tip += name;
    tip.append(value);
    return tip;
}

std::string MinimizeTooltip(bool toTray) {
    return toTray ? "Minimize to the system tray" : "Minimize";
}

std::string ResultAnnouncement(std::string_view shown) {
    const std::string text(Trim(shown));
    const auto lf = text.rfind('\n');
    // A one-line answer (a parameter set) says everything itself.
    if (lf == std::string::npos) return text;
    const std::string last = text.substr(lf + 1);
    if (mentionsUnknown(lineAt(text, 0))) return last;
    const auto equals = last.rfind('=');
    return "equals " + (equals == std::string::npos ? last : last.substr(equals + 1));
}

CalculatorController::CalculatorController(SysDataHolder& data, CalculatorView& view,
                                           Speaker& speaker, Prompter& prompter, bool firstRun)
    : m_holder(data),
      m_view(view),
      m_speaker(speaker),
      m_prompter(prompter),
      m_firstRun(firstRun),
      m_session(ToCalcSettings(data.data()).settings, data.data().log,
                [this] { storeInBackground(); }),
      m_settings(ReadUserSettings(data.data())) {}

CalculatorController::~CalculatorController() { m_holder.WaitForStores(); }

void CalculatorController::startUp() {
    CSysData& d = m_holder.data();
    setBusy(false);
    renewRecentTooltips(false);
    m_view.setMinimizeTooltip(MinimizeTooltip(m_settings.minimizeToTray && m_view.trayAvailable()));

    if (std::string corrected = CorrectionMessage(ToCalcSettings(d).corrections);
        !corrected.empty()) {
        present({ToolMessageId::DataFileNotice, {std::move(corrected)}}, m_prompter);
    }

    if (m_firstRun || d.firstRun == 1) {
        d.firstRun = 0;
        d.greetingMark = 0;
        if (d.welcome == 1) m_speaker.say({SpeechKind::Message, "welcome"});
        if (d.tipsAtStart == 1 && m_view.showTips()) setBusy(true);
        d.savedInput.clear();
    } else if (!d.savedInput.empty()) {
        std::string text = withoutCarriageReturns(ToLower(Trim(d.savedInput)));
        if (d.savedStepFlag == 1) {
            // A shown calculation is done with; only unfinished input comes back.
            d.savedInput.clear();
            d.savedDisplay.clear();
            d.savedStepFlag = 0;
            d.savedPosition = -1;
            text.clear();
        }
        if (!text.empty()) {
            m_view.setText(text);
            m_view.setFreshInput(d.savedShownResult == 1);
            const int size = static_cast<int>(text.size());
            const bool inside = d.savedPosition >= 0 && d.savedPosition <= size;
            m_view.setCaret(inside ? d.savedPosition : size);
            m_view.resetTyping();
        }
    }
    m_view.focusInput();
}

void CalculatorController::freshInput() {
    if (busy()) return;
    clearInput();
}

void CalculatorController::clearInput() {
    m_view.setText("");
    m_view.setFreshInput(false);
    m_view.resetTyping();
}

void CalculatorController::saveCaret() {
    if (busy()) return;
    m_savedCaret = m_view.caret();
}

void CalculatorController::dropSavedCaret() { m_savedCaret.reset(); }

void CalculatorController::clearShownResult() {
    if (busy() || !m_view.freshInput()) return;
    clearInput();
}

void CalculatorController::insertConverted(std::size_t caret, std::string_view value) {
    if (busy()) return;
    clearShownResult();
    const InsertOutcome outcome = InsertConvertedValue(m_view.text(), caret, value);
    if (outcome.message != ToolMessageId::None) {
        present(outcome.message, m_prompter);
    } else {
        m_view.setText(outcome.text);
        m_view.setCaret(static_cast<int>(outcome.caret));
        m_view.resetTyping();
    }
    m_view.focusInput();
}

void CalculatorController::insertText(std::string_view text) {
    if (busy() || text.empty()) return;
    if (keyEchoOn())
        m_speaker.say({text.size() == 1 ? SpeechKind::Key : SpeechKind::Input, std::string(text)});

    std::string current = m_view.text();
    const int size = static_cast<int>(current.size());
    int at = 0;
    if (m_savedCaret) {
        at = *m_savedCaret;
        m_savedCaret.reset();
    } else {
        const auto [from, to] = m_view.selection();
        const int start = std::clamp(std::min(from, to), 0, size);
        const int end = std::clamp(std::max(from, to), 0, size);
        if (start != end) {
            current.erase(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start));
            at = start;
        } else {
            at = m_view.caret();
        }
    }
    if (at < 0 || at > static_cast<int>(current.size())) at = static_cast<int>(current.size());
    current.insert(static_cast<std::size_t>(at), text);
    m_view.setText(current);
    m_view.setCaret(at + static_cast<int>(text.size()));
    m_view.focusInput();
}

void CalculatorController::characterPlaced(char ch) {
    if (busy()) return;
    if (keyEchoOn()) m_speaker.say({SpeechKind::Key, std::string(1, ch)});
}

void CalculatorController::insertRecent(int index) {
    if (busy() || index < 0 || index >= static_cast<int>(m_session.recentResults().size())) {
        return;
    }
    // A copy: the text must outlive nothing but this call, yet insertText may speak it.
    const std::string value = m_session.recentResults()[static_cast<std::size_t>(index)];
    insertText(value);
}

void CalculatorController::equal() {
    if (busy()) return;
    if (m_view.freshInput()) clearInput();
    const std::string text = m_view.text();
    switch (DecideEqual(text)) {
        case EqualAction::Nothing:
            return;
        case EqualAction::AppendEquals:
            m_view.setText(text + "=");
            m_view.setCaret(static_cast<int>(text.size()) + 1);
            break;
        case EqualAction::ClearInput:
            clearInput();
            break;
        case EqualAction::Calculate: {
            const std::optional<Calculation> c = m_session.calculate(text);
            if (!c) {
                present(m_session.failure(), m_prompter);
                return;
            }
            afterCalculation(c->steps, c->result);
            showCalculation(ShownCalculation(text, c->steps));
            return;
        }
    }
    m_view.focusInput();
}

void CalculatorController::calculate() {
    if (busy()) return;
    if (m_view.freshInput()) clearInput();
    const std::string text = m_view.text();
    CommandOutcome o = m_session.calculateCommand(text);
    for (const CalcOutcome& failure : o.failures) present(failure, m_prompter);
    switch (o.kind) {
        case CommandKind::Nothing:
            return;
        case CommandKind::ClearInput:
            clearInput();
            break;
        case CommandKind::Calculated:
        case CommandKind::ParameterSet:
            // An assignment whose right side was calculated runs the whole post-calculation step.
            if (!o.steps.empty()) afterCalculation(o.steps, o.value);
            showCalculation(std::move(o.shown));
            return;
        case CommandKind::Solved:
            showCalculation(std::move(o.shown));
            return;
        case CommandKind::Failed:
            // A failed equation empties the box; a failed sum keeps what was typed.
            if (o.shown != text) clearInput();
            break;
    }
    m_view.focusInput();
}

void CalculatorController::afterCalculation(std::string_view steps, std::string_view result) {
    renewRecentTooltips(true);
    const std::string_view input = Trim(steps);
    if (m_settings.talkResult && m_settings.talkInput) {
        m_speaker.say({SpeechKind::InputResult, std::string(input), std::string(result)});
    } else if (m_settings.talkResult) {
        m_speaker.say({SpeechKind::Result, std::string(result)});
    } else if (m_settings.talkInput) {
        m_speaker.say({SpeechKind::Input, std::string(input)});
    }
}

void CalculatorController::showCalculation(std::string shown) {
    const std::string text = withoutCarriageReturns(std::move(shown));
    m_view.setText(text);
    m_view.setFreshInput(true);
    m_view.resetTyping();
    // Scrolled first: a box still showing its top would lay out every line between there and
    // the caret to place it, and a long line's working has hundreds of long lines.
    m_view.scrollToResult();
    m_view.setCaret(static_cast<int>(text.size()));
    m_view.focusInput();
    m_view.announce(ResultAnnouncement(text));
}

void CalculatorController::renewRecentTooltips(bool afterCalculation) {
    const RecentResults& recent = m_session.recentResults();
    for (std::size_t i = 0; i < recent.size(); ++i) {
        const int index = static_cast<int>(i);
        m_view.setRecent(index, RecentTooltip(index, recent[i], afterCalculation), recent[i]);
    }
}

std::string CalculatorController::talkedExpression() const {
    const std::string text = withoutCarriageReturns(std::string(Trim(m_view.text())));
    if (text.find('\n') == std::string::npos) return {};  // nothing calculated yet
    const std::string_view first = lineAt(text, 0);
    const std::string_view second = lineAt(text, 1);
    if (!mentionsUnspokenName(first)) return std::string(first);
    if (mentionsUnknown(first)) return std::string(second);
    return std::string(second.empty() ? second : second.substr(1));
}

std::string CalculatorController::talkedResult() const {
    const std::string text = withoutCarriageReturns(std::string(Trim(m_view.text())));
    if (mentionsUnknown(lineAt(text, 0))) {
        const auto lf = text.rfind('\n');
        return lf == std::string::npos ? text : text.substr(lf + 1);
    }
    const auto equals = text.rfind('=');
    return equals == std::string::npos ? text : text.substr(equals + 1);
}

void CalculatorController::talkInput() {
    if (busy()) return;
    if (Trim(m_view.text()).empty()) {
        present(ToolMessageId::InputEmpty, m_prompter);
        return;
    }
    const std::string expression = talkedExpression();
    if (!expression.empty()) m_speaker.say({SpeechKind::Input, expression});
}

void CalculatorController::talkResult() {
    if (busy()) return;
    m_speaker.say({SpeechKind::Result, talkedResult()});
}

void CalculatorController::talkInputResult() {
    if (busy()) return;
    m_speaker.say({SpeechKind::InputResult, talkedExpression(), talkedResult()});
}

void CalculatorController::stopTalk() {
    if (busy()) return;
    m_speaker.stop();
}

void CalculatorController::copy() {
    if (busy()) return;
    const int caret = m_view.caret();
    const std::string text = m_view.text();
    const int size = static_cast<int>(text.size());
    const auto [from, to] = m_view.selection();
    int start = std::clamp(std::min(from, to), 0, size);
    int end = std::clamp(std::max(from, to), 0, size);
    if (start == end) {
        start = 0;
        end = size;
    }
    if (end > start) {
        m_view.copyToClipboard(
            text.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start)));
    }
    m_view.setCaret(caret);
    m_view.focusInput();
}

void CalculatorController::paste() {
    if (busy()) return;
    m_view.setFreshInput(false);
    m_view.pasteClipboard();
    m_view.focusInput();
}

void CalculatorController::minimize() {
    if (busy()) return;
    // Without a tray there would be no way back to a hidden window.
    if (m_settings.minimizeToTray && m_view.trayAvailable()) {
        m_view.hideToTray();
    } else {
        m_view.minimizeWindow();
    }
}

void CalculatorController::help() {
    if (busy()) return;
    m_view.openHelp(std::string(kCalculatorHelpPage));
    m_view.focusInput();
}

void CalculatorController::chooseStyle(int code) {
    if (busy()) return;
    m_holder.data().windowStyle = code;
    store();
    m_view.showStyleMessage(code);
    m_view.focusInput();
}

int CalculatorController::zoom() const { return clampZoom(m_holder.data().zoomPercent); }

void CalculatorController::zoomKey(ZoomKey key) { setZoom(applyZoomKey(zoom(), key)); }

void CalculatorController::setZoom(int percent) {
    if (busy()) return;
    const int now = clampZoom(percent);
    if (now == m_holder.data().zoomPercent) return;
    m_holder.data().zoomPercent = now;
    m_view.applyZoom(now);
    storeInBackground();
}

SettingsValues CalculatorController::settingsValues() const {
    const CSysData& d = m_holder.data();
    const bool contrast = d.windowStyle == static_cast<int>(WindowStyle::Contrast);
    return ShowSettings(ReadUserSettings(d), {contrast, m_screenReader, m_keysWithScreenReader});
}

bool CalculatorController::applySettings(const SettingsValues& values) {
    const SettingsChoice choice = ReadSettings(values);
    if (!choice.settings) {
        present(choice.refusal, m_prompter);
        return false;
    }
    CSysData& d = m_holder.data();
    const bool zoomChanged = choice.settings->zoom != d.zoomPercent;
    WriteUserSettings(*choice.settings, d);
    m_settings = *choice.settings;
    m_keysWithScreenReader = choice.window.talkKeysWithScreenReader;
    m_view.setMinimizeTooltip(MinimizeTooltip(m_settings.minimizeToTray && m_view.trayAvailable()));
    // The next calculation already uses the new places, limit and angle unit.
    reloadSettings();
    if (zoomChanged) m_view.applyZoom(d.zoomPercent);
    store();
    const bool contrast = d.windowStyle == static_cast<int>(WindowStyle::Contrast);
    if (choice.window.contrastStyle != contrast) {
        // As from the style menu: recorded now, opened at the next start.
        chooseStyle(static_cast<int>(choice.window.contrastStyle ? WindowStyle::Contrast
                                                                 : WindowStyle::Standard));
        return true;
    }
    m_view.focusInput();
    return true;
}

void CalculatorController::reloadSettings() {
    m_session.settings() = ToCalcSettings(m_holder.data()).settings;
}

void CalculatorController::exit() {
    if (busy()) return;
    saveInputState();
    store();
    m_speaker.stop();
    m_view.closeWindow();
}

void CalculatorController::requestClose() {
    if (busy()) return;
    if (ask(ToolMessageId::ExitQuestion, m_prompter)) exit();
}

void CalculatorController::saveInputState() {
    CSysData& d = m_holder.data();
    const std::string text = m_view.text();
    const bool shown = m_view.freshInput();
    d.savedInput = withCarriageReturns(text);
    d.savedStepFlag = shown ? 1 : 0;
    const auto equals = text.rfind('=');
    d.savedDisplay = shown && equals != std::string::npos ? text.substr(equals + 1) : "";
    d.savedPosition = m_view.caret();
    d.savedShownResult = shown ? 1 : 0;
}

void CalculatorController::setScreenReaderRunning(bool running) { m_screenReader = running; }

bool CalculatorController::keyEchoOn() const {
    return m_settings.talkKeys && (!m_screenReader || m_keysWithScreenReader);
}

void CalculatorController::setBusy(bool busy) {
    m_busy = busy;
    // Recorded as the file has always had it.
    m_holder.data().tipWindowOpen = busy ? 1 : 0;
}

const RecentResults& CalculatorController::recentResults() const {
    return m_session.recentResults();
}

CalculatorSession& CalculatorController::session() { return m_session; }

void CalculatorController::store() {
    WriteBackSettings(m_session.settings(), m_holder.data());
    reportStore(m_holder.Store());
}

void CalculatorController::storeInBackground() {
    WriteBackSettings(m_session.settings(), m_holder.data());
    // A disk that takes its time (fsync) must not hold up the frame that shows the result.
    m_holder.StoreLater([this](const StoreResult& result) {
        m_view.post([this, result] { reportStore(result); });
    });
}

void CalculatorController::reportStore(const StoreResult& result) {
    // Told once per run of failures, not after every calculation.
    if (!result.stored && !m_storeFailed) {
        present({ToolMessageId::StoreFailed, {result.reason}}, m_prompter);
    }
    m_storeFailed = !result.stored;
}

}  // namespace quorvel

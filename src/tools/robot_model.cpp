#include "tools/robot_model.h"

#include <algorithm>
#include <filesystem>
#include <utility>

#include "calc/messages.h"
#include "calc/text_util.h"
#include "data/settings_bridge.h"
#include "data/sys_data.h"
#include "tools/present.h"

namespace fs = std::filesystem;

namespace quorvel {

std::string QtFileFilter(std::string_view pairs) {
    std::vector<std::string_view> parts;
    for (std::size_t start = 0; start <= pairs.size();) {
        const std::size_t bar = std::min(pairs.find('|', start), pairs.size());
        parts.push_back(pairs.substr(start, bar - start));
        start = bar + 1;
    }
    std::string filter;
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
        std::string_view label = parts[i];
        std::string pattern(parts[i + 1]);
        if (label.empty() || pattern.empty()) break;
        // Qt reads the patterns from the label's brackets, so the label's own are replaced.
        if (const std::size_t open = label.rfind(" (");
            open != std::string_view::npos && label.ends_with(')')) {
            label = label.substr(0, open);
        }
        if (pattern == "*.*") pattern = "*";
        if (!filter.empty()) filter += ";;";
        filter += std::string(label) + " (" + pattern + ")";
    }
    return filter;
}

std::string RobotProgressText(const BatchProgress& progress, std::chrono::milliseconds elapsed) {
    std::string text =
        std::to_string(progress.lines) + (progress.lines == 1 ? " line done" : " lines done");
    if (elapsed <= std::chrono::milliseconds(500) || progress.bytes == 0 ||
        progress.sourceBytes <= progress.bytes) {
        return text;
    }
    const double left = static_cast<double>(progress.sourceBytes - progress.bytes) /
                        static_cast<double>(progress.bytes) * static_cast<double>(elapsed.count());
    const auto seconds = static_cast<long long>((left + 999.0) / 1000.0);
    return text + ", about " + std::to_string(seconds) + " s left";
}

int RobotProgressPercent(const BatchProgress& progress) {
    if (progress.sourceBytes == 0) return 0;
    const std::uint64_t read = std::min(progress.bytes, progress.sourceBytes);
    return static_cast<int>(read * 100 / progress.sourceBytes);
}

void RobotFeed::push(const BatchEntry& entry) {
    std::lock_guard lock(m_mutex);
    m_items.push_back(Item{false, entry, {}});
}

void RobotFeed::pushNote(std::string_view line) {
    std::lock_guard lock(m_mutex);
    m_items.push_back(Item{true, {}, std::string(line)});
}

std::vector<RobotFeed::Item> RobotFeed::take(std::size_t most) {
    std::lock_guard lock(m_mutex);
    const std::size_t count = std::min(most, m_items.size() - m_first);
    const auto begin = m_items.begin() + static_cast<std::ptrdiff_t>(m_first);
    std::vector<Item> taken(std::make_move_iterator(begin),
                            std::make_move_iterator(begin + static_cast<std::ptrdiff_t>(count)));
    m_first += count;
    // Moved-from items are dropped in one go once the reader has caught up.
    if (m_first == m_items.size()) {
        m_items.clear();
        m_first = 0;
    }
    return taken;
}

std::size_t RobotFeed::size() const {
    std::lock_guard lock(m_mutex);
    return m_items.size() - m_first;
}

RobotModel::RobotModel(CSysData& data, bool talkAfterRun)
    : m_data(data), m_talkAfterRun(talkAfterRun) {
    const CalcSettings settings = ToCalcSettings(data).settings;
    m_places = settings.places;
    m_digitsLimit = settings.digitsLimit;
}

void RobotModel::setPlaces(int places) {
    m_places = std::clamp(places, kPlacesRange.low, kPlacesRange.high);
}

void RobotModel::setDigitsLimit(int digits) {
    m_digitsLimit = std::clamp(digits, kDigitsLimitRange.low, kDigitsLimitRange.high);
}

void RobotModel::sourceChosen(std::string path) {
    m_result = DeriveResultPath(path).string();
    m_source = std::move(path);
}

bool RobotModel::mayBrowseResultFolder(Prompter& prompter) const {
    if (!Trim(m_source).empty()) return true;
    present(ToolMessageId::SelectSourceFirst, prompter);
    return false;
}

void RobotModel::resultFolderChosen(std::string_view folder) {
    fs::path name = fs::path(std::string(Trim(m_source))).stem();
    name += ".rob";
    m_result = (fs::path(std::string(folder)) / name).string();
}

std::optional<BatchOptions> RobotModel::beginRun(Prompter& prompter) {
    const std::string source(Trim(m_source));
    if (source.empty()) {
        present(ToolMessageId::SelectSourceFirst, prompter);
        return std::nullopt;
    }
    m_result = std::string(Trim(m_result));
    if (m_result.empty()) m_result = DeriveResultPath(source).string();

    m_data.decimalPlaces = m_places;
    m_data.intDigitsLimit = m_digitsLimit;
    BatchOptions options;
    options.source = source;
    options.result = m_result;
    options.mode = m_mode;
    options.eNotation = m_eNotation;
    options.settings = ToCalcSettings(m_data).settings;
    options.clock = m_clock;
    m_log.beginRun();
    return options;
}

std::string RobotModel::takeFeed(RobotFeed& feed, std::size_t most) {
    std::string lines;
    for (const RobotFeed::Item& item : feed.take(most)) {
        if (!lines.empty()) lines += '\n';
        if (item.note) {
            m_log.addNote(item.text);
            lines += item.text;
        } else {
            m_log.add(item.entry);
            lines += item.entry.logLine;
        }
    }
    return lines;
}

void RobotModel::endRun(Speaker& speaker) const {
    if (m_talkAfterRun) talk(speaker);
}

void RobotModel::talk(Speaker& speaker) const {
    speaker.say({SpeechKind::ExprList, m_log.talkRequest()});
}

bool RobotModel::copyLog(std::string_view boxText, Prompter& prompter,
                         const std::function<void(const std::string&)>& put) const {
    const std::string_view trimmed = Trim(boxText);
    if (trimmed.empty()) {
        present(ToolMessageId::LogEmpty, prompter);
        return false;
    }
    std::string text;
    text.reserve(trimmed.size() + trimmed.size() / 16);
    for (std::size_t i = 0; i < trimmed.size(); ++i) {
        if (trimmed[i] == '\n' && (i == 0 || trimmed[i - 1] != '\r')) text += '\r';
        text += trimmed[i];
    }
    put(text);
    present(ToolMessageId::LogCopied, prompter);
    return true;
}

}  // namespace quorvel

#pragma once

// A data folder of its own for one test, removed afterwards, and a clipboard that remembers.

#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/file_text.h"
#include "tools/list_manager.h"

namespace quorvel::testing {

class TempDataFolder {
public:
    explicit TempDataFolder(const std::string& name)
        : m_path(std::filesystem::temp_directory_path() /
                 ("quorvel-" + name + "-" + std::to_string(::getpid()))) {
        std::filesystem::remove_all(m_path);
        std::filesystem::create_directories(m_path);
    }
    ~TempDataFolder() { std::filesystem::remove_all(m_path); }
    TempDataFolder(const TempDataFolder&) = delete;
    TempDataFolder& operator=(const TempDataFolder&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    // The bytes of a file in the folder; empty when there is none.
    std::string bytes(const std::string& file) const { return readFile(m_path / file); }

private:
    std::filesystem::path m_path;
};

class RecordingClipboard final : public Clipboard {
public:
    bool setText(std::string_view text) override {
        if (!available) return false;
        texts.emplace_back(text);
        return true;
    }
    std::vector<std::string> texts;
    bool available = true;
};

}  // namespace quorvel::testing

#pragma once

// Reading what a program on a pseudo-terminal shows, as a person waits for it.

#include <poll.h>
#include <unistd.h>

#include <chrono>
#include <string>

namespace quorvel::testing {

// How often `text` stands in `shown`, overlaps counted.
inline int CountShown(const std::string& shown, const std::string& text) {
    int n = 0;
    for (auto at = shown.find(text); at != std::string::npos; at = shown.find(text, at + 1)) ++n;
    return n;
}

// Reads from `master` into `shown` until `text` stands in it `times` times; false when
// `timeout` passes or the terminal closes first.
inline bool ReadUntilShown(int master, std::string& shown, const std::string& text, int times,
                           std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (CountShown(shown, text) < times) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            end - std::chrono::steady_clock::now());
        if (left.count() <= 0) return false;
        pollfd p{master, POLLIN, 0};
        if (::poll(&p, 1, static_cast<int>(left.count())) <= 0) return false;
        char buffer[4096];
        const ssize_t n = ::read(master, buffer, sizeof buffer);
        if (n <= 0) return false;
        shown.append(buffer, static_cast<std::size_t>(n));
    }
    return true;
}

}  // namespace quorvel::testing

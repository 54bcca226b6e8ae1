#pragma once

// Fontconfig reads its whole configuration (the XML of every file in /etc/fonts) when the first
// text is laid out: a quarter of a start's instructions, on the window's thread, before its
// first frame. Read on a thread of its own while the application and the data file are set up,
// it is ready when the window lays out its first line.

#include <thread>

namespace quorvel {

class FontconfigWarmUp {
public:
    FontconfigWarmUp();
    FontconfigWarmUp(const FontconfigWarmUp&) = delete;
    FontconfigWarmUp& operator=(const FontconfigWarmUp&) = delete;
    ~FontconfigWarmUp();

    // Until the configuration is read. Fontconfig does not wait for a reading in progress but
    // reads it a second time, so anything that lays out text waits here first.
    void wait();

private:
    std::thread m_reader;
};

}  // namespace quorvel

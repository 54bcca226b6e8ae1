#pragma once

// A shared library opened with dlopen and its names looked up one by one, for the libraries a
// program needs only on some runs (sound, line editing), so the others start without them.

#include <string>

namespace quorvel {

class SharedLibrary {
public:
    // Never closed: what it gave out may be used until the process ends.
    explicit SharedLibrary(const char* name);

    // Sets `target` to the named function or variable, or to nullptr when it is missing.
    template <typename T>
    void bind(T& target, const char* symbol) {
        target = reinterpret_cast<T>(find(symbol));
    }

    // True when the library opened and every name bound so far was found.
    bool ok() const { return m_handle != nullptr && m_error.empty(); }
    // The first reason it is not ok.
    const std::string& error() const { return m_error; }

private:
    void* find(const char* symbol);

    void* m_handle;
    std::string m_error;
};

}  // namespace quorvel

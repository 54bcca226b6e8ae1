#include "speech/shared_library.h"

#include <dlfcn.h>

namespace quorvel {

SharedLibrary::SharedLibrary(const char* name) : m_handle(dlopen(name, RTLD_NOW | RTLD_LOCAL)) {
    if (m_handle != nullptr) return;
    const char* reason = dlerror();
    m_error = reason != nullptr ? reason : name;
}

void* SharedLibrary::find(const char* symbol) {
    if (m_handle == nullptr) return nullptr;
    void* found = dlsym(m_handle, symbol);
    if (found == nullptr && m_error.empty()) m_error = std::string("no ") + symbol;
    return found;
}

}  // namespace quorvel

#pragma once

// The pid of a process that has ended, for tests of what a killed writer leaves behind.

#include <sys/wait.h>
#include <unistd.h>

namespace quorvel::testing {

inline long DeadPid() {
    const pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return child;
}

}  // namespace quorvel::testing

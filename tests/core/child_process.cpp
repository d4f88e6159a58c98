#include "core/child_process.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

namespace quillex::testing {

bool RunInChild(const std::function<void()>& setup, const std::function<bool()>& body) {
    pid_t pid = fork();
    if (pid == 0) {
        setup();
        std::_Exit(body() ? 0 : 1);
    }
    int status = 0;
    return pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

pid_t StartChild(const std::function<void()>& body) {
    pid_t pid = fork();
    if (pid == 0) {
        body();
        std::_Exit(0);
    }
    return pid;
}

bool RunUnprivileged(const std::function<bool()>& body) {
    if (geteuid() != 0) {
        return body();
    }
    constexpr gid_t kNobody = 65534;
    return RunInChild(
        [] {
            if (setgid(kNobody) != 0 || setuid(kNobody) != 0) {
                std::_Exit(2);
            }
        },
        body);
}

}  // namespace quillex::testing

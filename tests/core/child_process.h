#pragma once

#include <sys/types.h>

#include <functional>

namespace quillex::testing {

// Runs `body` in a child process and returns its result; `setup` runs in the child first.
// For what must not leak into the test process: lowered privileges, resource limits.
bool RunInChild(const std::function<void()>& setup, const std::function<bool()>& body);

// Starts `body` in a child process that ends when it returns; the caller waits for it.
pid_t StartChild(const std::function<void()>& body);

// Runs `body` without root's power to ignore file permissions (as user "nobody" when the
// suite runs as root), so that permission failures are real failures.
bool RunUnprivileged(const std::function<bool()>& body);

}  // namespace quillex::testing

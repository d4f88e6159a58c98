#include "core/write_faults.h"

#include <atomic>

namespace quillex {

namespace {
std::atomic<WriteFaultHook> g_hook{nullptr};
}  // namespace

void SetWriteFaultHook(WriteFaultHook hook) noexcept {
    g_hook.store(hook, std::memory_order_release);
}

int InjectedFault(WriteStep step) noexcept {
    const WriteFaultHook hook = g_hook.load(std::memory_order_acquire);
    return hook != nullptr ? hook(step) : 0;
}

}  // namespace quillex

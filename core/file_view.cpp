#include "core/file_view.h"

#if defined(__linux__)
#include <signal.h>
#include <sys/mman.h>
#include <unistd.h>

#include <atomic>
#endif

namespace quillex {

#if defined(__linux__)
namespace {

// The views out at once, for the handler to tell a file cut short from any other fault. A
// signal handler may only touch lock-free atomics.
constexpr int kSlots = 64;
struct Slot {
    std::atomic<bool> taken{false};
    std::atomic<std::uintptr_t> begin{0};
    std::atomic<std::uintptr_t> end{0};
    std::atomic<bool> cut{false};
};
Slot g_slots[kSlots];
struct sigaction g_previous {};
std::uintptr_t g_page = 4096;

void OnBusError(int signal, siginfo_t* info, void* context) {
    const auto at = reinterpret_cast<std::uintptr_t>(info->si_addr);
    for (Slot& slot : g_slots) {
        const std::uintptr_t end = slot.end.load(std::memory_order_acquire);
        if (slot.begin.load(std::memory_order_acquire) <= at && at < end) {
            // Zero pages from the fault to the view's end: the read goes on, and the caller
            // hears of the cut afterwards.
            const std::uintptr_t page = at & ~(g_page - 1);
            if (::mmap(reinterpret_cast<void*>(page), end - page, PROT_READ,
                       MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1, 0) != MAP_FAILED) {
                slot.cut.store(true, std::memory_order_release);
                return;
            }
            break;
        }
    }
    // Not a view's: the fault goes where it would have gone without the guard.
    if ((g_previous.sa_flags & SA_SIGINFO) != 0 && g_previous.sa_sigaction != nullptr) {
        g_previous.sa_sigaction(signal, info, context);
    } else if (g_previous.sa_handler != SIG_DFL && g_previous.sa_handler != SIG_IGN) {
        g_previous.sa_handler(signal);
    } else {
        // The faulting instruction runs again, and the default action ends the process.
        struct sigaction fallback {};
        fallback.sa_handler = SIG_DFL;
        ::sigaction(SIGBUS, &fallback, nullptr);
    }
}

bool InstallGuard() noexcept {
    const long page = ::sysconf(_SC_PAGESIZE);
    if (page > 0) {
        g_page = static_cast<std::uintptr_t>(page);
    }
    struct sigaction guard {};
    guard.sa_sigaction = OnBusError;
    guard.sa_flags = SA_SIGINFO;
    sigemptyset(&guard.sa_mask);
    return ::sigaction(SIGBUS, &guard, &g_previous) == 0;
}

}  // namespace

FileView::FileView(int fd, std::uint64_t from, std::uint64_t size) noexcept {
    static const bool guarded = InstallGuard();
    if (!guarded || size == 0) {
        return;
    }
    for (int k = 0; k < kSlots && slot_ < 0; ++k) {
        bool free = false;
        if (g_slots[k].taken.compare_exchange_strong(free, true)) {
            slot_ = k;
        }
    }
    if (slot_ < 0) {
        return;
    }
    start_ = from & ~static_cast<std::uint64_t>(g_page - 1);
    length_ = static_cast<std::size_t>(size + (from - start_));
    void* map = ::mmap(nullptr, length_, PROT_READ, MAP_SHARED, fd, static_cast<off_t>(start_));
    if (map == MAP_FAILED) {
        g_slots[slot_].taken.store(false, std::memory_order_release);
        slot_ = -1;
        return;
    }
    Slot& slot = g_slots[slot_];
    slot.cut.store(false, std::memory_order_relaxed);
    slot.end.store(reinterpret_cast<std::uintptr_t>(map) + length_, std::memory_order_relaxed);
    slot.begin.store(reinterpret_cast<std::uintptr_t>(map), std::memory_order_release);
    map_ = map;
}

FileView::~FileView() {
    if (map_ != nullptr) {
        Slot& slot = g_slots[slot_];
        slot.begin.store(0, std::memory_order_release);
        slot.end.store(0, std::memory_order_release);
        ::munmap(map_, length_);
    }
    if (slot_ >= 0) {
        g_slots[slot_].taken.store(false, std::memory_order_release);
    }
}

void FileView::Release(std::uint64_t to) noexcept {
    // Each release stops the other threads of the process to flush their address caches:
    // once for every few blocks, not for each.
    constexpr std::size_t kStep = std::size_t{16} << 20;
    if (map_ == nullptr) {
        return;
    }
    const std::size_t upTo = static_cast<std::size_t>(to - start_) & ~(g_page - 1);
    if (upTo >= released_ + kStep) {
        ::madvise(static_cast<char*>(map_) + released_, upTo - released_, MADV_DONTNEED);
        released_ = upTo;
    }
}

bool FileView::Cut() const noexcept {
    return slot_ >= 0 && g_slots[slot_].cut.load(std::memory_order_acquire);
}
#else
FileView::FileView(int, std::uint64_t, std::uint64_t) noexcept {}

void FileView::Release(std::uint64_t) noexcept {}

FileView::~FileView() = default;

bool FileView::Cut() const noexcept {
    return false;
}
#endif

}  // namespace quillex

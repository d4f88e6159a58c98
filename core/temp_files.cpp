#include "core/temp_files.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <mutex>
#include <random>
#include <string>

#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

#include "core/file_io.h"

namespace fs = std::filesystem;

namespace quillex {

namespace {

// The files being written, for the signal handler. A handler may touch nothing but
// lock-free atomics and fixed storage, so the paths are kept as C strings in fixed slots.
constexpr int kSlots = 16;
constexpr std::size_t kPathCapacity = 4096;
enum SlotState : int { kFree, kFilling, kInUse };
struct Slot {
    std::atomic<int> state{kFree};
    fs::path::value_type path[kPathCapacity];
};
Slot g_slots[kSlots];

long ProcessId() {
#ifdef _WIN32
    return ::_getpid();
#else
    return static_cast<long>(::getpid());
#endif
}

#ifndef _WIN32
extern "C" void RemoveTemporariesAndDie(int signal) {
    for (Slot& slot : g_slots) {
        if (slot.state.load(std::memory_order_acquire) == kInUse) {
            ::unlink(slot.path);
        }
    }
    // SA_RESETHAND has put the default action back: the raised signal, delivered once this
    // handler returns, ends the process as it would have without us.
    ::raise(signal);
}

// Only signals left at their default action are taken: one the program ignores (nohup's
// SIGHUP) or handles itself stays as it is.
void InstallHandlers() {
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
        struct sigaction old {};
        if (::sigaction(signal, nullptr, &old) != 0 || (old.sa_flags & SA_SIGINFO) != 0 ||
            old.sa_handler != SIG_DFL) {
            continue;
        }
        struct sigaction action {};
        action.sa_handler = RemoveTemporariesAndDie;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESETHAND;
        ::sigaction(signal, &action, nullptr);
    }
}
#endif

int Register(const fs::path& path) {
#ifndef _WIN32
    static std::once_flag installed;
    std::call_once(installed, InstallHandlers);
#endif
    const auto& text = path.native();
    if (text.size() >= kPathCapacity) {
        return -1;
    }
    for (int i = 0; i < kSlots; ++i) {
        int expected = kFree;
        if (g_slots[i].state.compare_exchange_strong(expected, kFilling)) {
            text.copy(g_slots[i].path, text.size());
            g_slots[i].path[text.size()] = 0;
            g_slots[i].state.store(kInUse, std::memory_order_release);
            return i;
        }
    }
    return -1;
}

void Unregister(int slot) {
    if (slot >= 0) {
        g_slots[slot].state.store(kFree, std::memory_order_release);
    }
}

fs::path TemporaryBeside(const fs::path& target, unsigned attempt) {
    static std::mt19937 random{std::random_device{}()};
    // Composed as a path, not as narrow text: on Windows a narrow string is in the ANSI code
    // page, which cannot hold every file name.
    fs::path name = ".";
    name += target.filename().native();
    std::string suffix = ".";  // appends, not operator+: GCC 12 -O3 misreads such chains
    suffix.append(std::to_string(ProcessId())).append("-").append(std::to_string(random()));
    suffix.append("-").append(std::to_string(attempt)).append(".tmp");
    name += suffix;
    return target.parent_path() / name;
}

// Reads the decimal digits at the front of `text` into `value`; false if there are none or
// too many for a process id.
bool TakeNumber(std::string_view& text, long& value) {
    std::size_t digits = 0;
    value = 0;
    while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9') {
        if (++digits > 10) {
            return false;
        }
        value = value * 10 + (text[digits - 1] - '0');
    }
    text.remove_prefix(digits);
    return digits > 0;
}

bool TakePrefix(std::string_view& text, std::string_view prefix) {
    if (text.substr(0, prefix.size()) != prefix) {
        return false;
    }
    text.remove_prefix(prefix.size());
    return true;
}

}  // namespace

bool IsTemporaryName(std::string_view name, std::string_view target_name, long& pid) {
    long number = 0;
    return TakePrefix(name, ".") && TakePrefix(name, target_name) && TakePrefix(name, ".") &&
           TakeNumber(name, pid) && pid > 0 && pid <= INT_MAX && TakePrefix(name, "-") &&
           TakeNumber(name, number) && TakePrefix(name, "-") && TakeNumber(name, number) &&
           name == ".tmp";
}

void RemoveStaleTemporaries([[maybe_unused]] const fs::path& target) {
#ifndef _WIN32
    const fs::path folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();
    const std::string target_name = target.filename().native();
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        long pid = 0;
        if (!IsTemporaryName(it->path().filename().native(), target_name, pid) ||
            pid == ProcessId() || it->symlink_status(ec).type() != fs::file_type::regular) {
            continue;
        }
        // A process that still runs may be writing it; only one that is gone left it behind.
        if (::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH) {
            std::error_code ignored;
            fs::remove(it->path(), ignored);
        }
    }
#endif
}

TemporaryFile::TemporaryFile(const fs::path& target) {
    RemoveStaleTemporaries(target);
    for (unsigned attempt = 0; attempt < 8; ++attempt) {
        fs::path candidate = TemporaryBeside(target, attempt);
        CFile created(candidate, "wbx");
        if (created) {
            path_ = std::move(candidate);
            slot_ = Register(path_);
            return;
        }
        if (errno != EEXIST) {
            return;
        }
    }
}

TemporaryFile::~TemporaryFile() {
    Remove();
}

void TemporaryFile::Remove() noexcept {
    if (Created()) {
        std::error_code ignored;
        fs::remove(path_, ignored);
    }
    Keep();
}

void TemporaryFile::Keep() noexcept {
    path_.clear();
    Unregister(slot_);
    slot_ = -1;
}

}  // namespace quillex

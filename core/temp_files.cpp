#include "core/temp_files.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <mutex>
#include <random>
#include <string>
#include <string_view>

#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

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

// A file name may have at most 255 units; the temporary name keeps as much of the target's
// name as fits beside `suffix`, so that a long but valid name can still be saved.
constexpr std::size_t kNameMax = 255;

fs::path TemporaryName(const fs::path& target, std::string_view suffix) {
    auto name = target.filename().native();
    const std::size_t room = kNameMax - 1 - suffix.size();
    if (name.size() > room) {
        name.resize(room);
#ifndef _WIN32
        while (!name.empty() && (static_cast<unsigned char>(name.back()) & 0xC0) == 0x80) {
            name.pop_back();  // never half a UTF-8 letter
        }
        if (!name.empty() && static_cast<unsigned char>(name.back()) >= 0xC0) {
            name.pop_back();
        }
#endif
    }
    // Composed as a path, not as narrow text: on Windows a narrow string is in the ANSI code
    // page, which cannot hold every file name.
    fs::path composed = ".";
    composed += name;
    composed += std::string(suffix);
    return target.parent_path() / composed;
}

fs::path TemporaryBeside(const fs::path& target, unsigned attempt) {
    static std::mt19937 random{std::random_device{}()};
    std::string suffix = ".";  // appends, not operator+: GCC 12 -O3 misreads such chains
    suffix.append(std::to_string(ProcessId())).append("-").append(std::to_string(random()));
    suffix.append("-").append(std::to_string(attempt)).append(".tmp");
    return TemporaryName(target, suffix);
}

// Takes the decimal digits at the end of `text` into `value`; false if there are none or more
// than a 32-bit number has.
bool TakeNumberBack(std::string_view& text, unsigned long long& value) {
    std::size_t digits = 0;
    while (digits < text.size() && digits <= 10 && text[text.size() - 1 - digits] >= '0' &&
           text[text.size() - 1 - digits] <= '9') {
        ++digits;
    }
    if (digits == 0 || digits > 10) {
        return false;
    }
    value = std::stoull(std::string(text.substr(text.size() - digits)));
    text.remove_suffix(digits);
    return true;
}

bool TakeBack(std::string_view& text, std::string_view end) {
    if (!text.ends_with(end)) {
        return false;
    }
    text.remove_suffix(end.size());
    return true;
}

}  // namespace

bool IsTemporaryName(std::string_view name, const fs::path& target, long& pid) {
    std::string_view rest = name;
    unsigned long long attempt = 0, random = 0, process = 0;
    if (!TakeBack(rest, ".tmp") || !TakeNumberBack(rest, attempt) || !TakeBack(rest, "-") ||
        !TakeNumberBack(rest, random) || !TakeBack(rest, "-") || !TakeNumberBack(rest, process) ||
        !TakeBack(rest, ".") || process == 0 || process > INT_MAX) {
        return false;
    }
    pid = static_cast<long>(process);
    // The rest must be the target's name as a temporary name with this suffix holds it.
    return fs::path(name) == TemporaryName(target, name.substr(rest.size())).filename();
}

void RemoveStaleTemporaries([[maybe_unused]] const fs::path& target) {
#ifndef _WIN32
    const fs::path folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        long pid = 0;
        if (!IsTemporaryName(it->path().filename().native(), target, pid) || pid == ProcessId() ||
            it->symlink_status(ec).type() != fs::file_type::regular) {
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

TemporaryFile::TemporaryFile(const fs::path& target, int permissions) {
    RemoveStaleTemporaries(target);
    for (unsigned attempt = 0; attempt < 8; ++attempt) {
        fs::path candidate = TemporaryBeside(target, attempt);
        auto file = std::make_unique<CFile>(candidate, permissions);
        if (*file) {
            path_ = std::move(candidate);
            file_ = std::move(file);
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
    file_.reset();  // closed first: some systems remove no file that is open
    if (Created()) {
        std::error_code ignored;
        fs::remove(path_, ignored);
    }
    Keep();
}

void TemporaryFile::Keep() noexcept {
    file_.reset();
    path_.clear();
    Unregister(slot_);
    slot_ = -1;
}

}  // namespace quillex

#include "core/temp_files.h"

#include <atomic>
#include <cerrno>
#include <climits>
#include <csignal>
#include <mutex>
#include <random>
#include <string>
#include <string_view>

#ifndef _WIN32
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "core/process_id.h"
#include "core/write_faults.h"

namespace fs = std::filesystem;

namespace quillex {

namespace {

#ifndef _WIN32
// The files being written, for the signal handler. A handler may touch nothing but
// lock-free atomics and fixed storage, so each file is kept as its open folder and its name
// (at most 255 bytes) in a fixed slot.
constexpr int kSlots = 16;
enum SlotState : int { kFree, kFilling, kInUse };
struct Slot {
    std::atomic<int> state{kFree};
    int dir = -1;
    char name[256];
};
Slot g_slots[kSlots];

extern "C" void RemoveTemporariesAndDie(int signal) {
    for (Slot& slot : g_slots) {
        if (slot.state.load(std::memory_order_acquire) == kInUse) {
            ::unlinkat(slot.dir, slot.name, 0);
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

int Register(int dir, const std::string& name) {
    static std::once_flag installed;
    std::call_once(installed, InstallHandlers);
    if (name.size() >= sizeof Slot::name) {
        return -1;
    }
    for (int i = 0; i < kSlots; ++i) {
        int expected = kFree;
        if (g_slots[i].state.compare_exchange_strong(expected, kFilling)) {
            g_slots[i].dir = dir;
            name.copy(g_slots[i].name, name.size());
            g_slots[i].name[name.size()] = 0;
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
#endif

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
    suffix.append(std::to_string(CurrentProcessId())).append("-").append(std::to_string(random()));
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

#ifndef _WIN32
namespace {

// The folder holding `target`, open for the *at calls.
int OpenFolder(const fs::path& folder) {
    return ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
}

void RemoveStaleIn(int dir, const fs::path& target) {
    const int listed = ::dup(dir);
    DIR* entries = listed >= 0 ? ::fdopendir(listed) : nullptr;
    if (entries == nullptr) {
        if (listed >= 0) {
            ::close(listed);
        }
        return;
    }
    ::rewinddir(entries);
    while (const dirent* entry = ::readdir(entries)) {
        long pid = 0;
        struct stat info {};
        if (!IsTemporaryName(entry->d_name, target, pid) || pid == CurrentProcessId() ||
            ::fstatat(dir, entry->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0 ||
            !S_ISREG(info.st_mode)) {
            continue;
        }
        // A process that still runs may be writing it; only one that is gone left it behind.
        if (ProcessIsGone(pid)) {
            ::unlinkat(dir, entry->d_name, 0);
        }
    }
    ::closedir(entries);
}

}  // namespace
#endif

void RemoveStaleTemporaries([[maybe_unused]] const fs::path& target) {
#ifndef _WIN32
    const fs::path folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();
    const int dir = OpenFolder(folder);
    if (dir >= 0) {
        RemoveStaleIn(dir, target);
        ::close(dir);
    }
#endif
}

TemporaryFile::TemporaryFile(const fs::path& target, int permissions)
    : target_(target),
      folder_(target.parent_path().empty() ? fs::path(".") : target.parent_path()) {
#ifndef _WIN32
    dir_ = OpenFolder(folder_);
    if (dir_ < 0) {
        error_ = errno;
        return;
    }
    RemoveStaleIn(dir_, target);
#else
    RemoveStaleTemporaries(target);
#endif
    for (unsigned attempt = 0; attempt < 8; ++attempt) {
        const fs::path candidate = TemporaryBeside(target, attempt);
        std::unique_ptr<CFile> file;
        if (int injected = InjectedFault(WriteStep::kCreate)) {
            errno = injected;
        } else {
#ifndef _WIN32
            // O_NOFOLLOW besides O_EXCL: a link planted under our name is never followed.
            const int fd = ::openat(dir_, candidate.filename().c_str(),
                                    O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                                    static_cast<mode_t>(permissions));
            if (fd >= 0) {
                std::FILE* stream = ::fdopen(fd, "wb");
                if (stream == nullptr) {
                    const int error = errno;
                    ::unlinkat(dir_, candidate.filename().c_str(), 0);
                    ::close(fd);
                    errno = error;
                } else {
                    file = std::make_unique<CFile>(stream);
                }
            }
#else
            file = std::make_unique<CFile>(candidate, permissions);
            if (!*file) {
                file.reset();
            }
#endif
        }
        if (file) {
            name_ = candidate.filename();
            path_ = folder_ / name_;
            file_ = std::move(file);
            made_ = true;
#ifndef _WIN32
            slot_ = Register(dir_, name_.native());
#endif
            return;
        }
        error_ = errno != 0 ? errno : EIO;
        if (error_ != EEXIST) {
            return;
        }
    }
}

TemporaryFile::~TemporaryFile() {
    Remove();
#ifndef _WIN32
    if (dir_ >= 0) {
        ::close(dir_);
    }
#endif
}

void TemporaryFile::TakeAttributesOf([[maybe_unused]] const fs::path& target) noexcept {
    if (!made_) {
        return;
    }
#ifndef _WIN32
    // Owner and group where we may give them (root may; anyone may keep a group they belong
    // to), then the permission bits, which a change of owner may have cleared. Set by name in
    // the folder, never following a link.
    struct stat info {};
    if (::stat(target.c_str(), &info) != 0) {
        return;
    }
    const char* name = name_.c_str();
    if (::fchownat(dir_, name, info.st_uid, info.st_gid, AT_SYMLINK_NOFOLLOW) != 0) {
        [[maybe_unused]] int ignored =
            ::fchownat(dir_, name, static_cast<uid_t>(-1), info.st_gid, AT_SYMLINK_NOFOLLOW);
    }
    ::fchmodat(dir_, name, info.st_mode & 07777, 0);
#else
    std::error_code ec;
    fs::permissions(path_, fs::status(target, ec).permissions(), ec);
#endif
}

std::error_code TemporaryFile::RenameOverTarget() noexcept {
    const auto failure = [](int error) {
        return std::error_code(error != 0 ? error : EIO, std::generic_category());
    };
    if (!made_) {
        return failure(error_);
    }
    file_.reset();  // closed first: some systems rename no file that is open
    if (int injected = InjectedFault(WriteStep::kRename)) {
        return failure(injected);
    }
    std::error_code ec;
#ifndef _WIN32
    if (::renameat(dir_, name_.c_str(), dir_, target_.filename().c_str()) != 0) {
        return failure(errno);
    }
#else
    fs::rename(path_, target_, ec);
    if (ec) {
        return ec;
    }
#endif
    Forget();
    return ec;
}

void TemporaryFile::Remove() noexcept {
    file_.reset();  // closed first: some systems remove no file that is open
    if (made_) {
#ifndef _WIN32
        ::unlinkat(dir_, name_.c_str(), 0);
#else
        std::error_code ignored;
        fs::remove(path_, ignored);
#endif
    }
    Forget();
}

void TemporaryFile::Forget() noexcept {
    file_.reset();
    made_ = false;
#ifndef _WIN32
    Unregister(slot_);
#endif
    slot_ = -1;
}

}  // namespace quillex

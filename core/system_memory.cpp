#include "core/system_memory.h"

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#else
#include <unistd.h>
#endif

#include <algorithm>
#include <fstream>
#include <string>

namespace quillex {

std::uint64_t PhysicalMemoryBytes() noexcept {
#ifdef _WIN32
    MEMORYSTATUSEX status{};
    status.dwLength = sizeof status;
    return ::GlobalMemoryStatusEx(&status) ? status.ullTotalPhys : 0;
#else
    const long pages = ::sysconf(_SC_PHYS_PAGES);
    const long pageSize = ::sysconf(_SC_PAGESIZE);
    if (pages <= 0 || pageSize <= 0) {
        return 0;
    }
    return static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(pageSize);
#endif
}

#ifdef __linux__
namespace {

// The least limit in `file` of `group` under `root` and of each group above it: a group's limit
// binds every group below it.
std::uint64_t LeastLimitUp(const std::string& root, std::string group, const char* file) {
    std::uint64_t least = 0;
    for (;;) {
        std::ifstream max(root + group + "/" + file);
        std::uint64_t value = 0;
        if (max >> value && value > 0) {
            least = least == 0 ? value : std::min(least, value);
        }
        if (group == "/") {
            return least;
        }
        const std::size_t slash = group.rfind('/');
        group = slash == 0 ? "/" : group.substr(0, slash);
    }
}

}  // namespace
#endif

std::uint64_t CgroupMemoryLimit() noexcept {
#ifdef __linux__
    try {
        // cgroup v2 ("0::/path") and the v1 memory controller ("N:memory:/path"), whichever
        // the system mounts; where both name a limit, the less binds.
        std::ifstream groups("/proc/self/cgroup");
        std::uint64_t least = 0;
        auto take = [&least](std::uint64_t limit) {
            if (limit != 0) {
                least = least == 0 ? limit : std::min(least, limit);
            }
        };
        for (std::string line; std::getline(groups, line);) {
            const std::size_t first = line.find(':');
            const std::size_t second = line.find(':', first + 1);
            if (first == std::string::npos || second == std::string::npos ||
                line.compare(second + 1, 1, "/") != 0) {
                continue;
            }
            const std::string controllers = line.substr(first + 1, second - first - 1);
            const std::string group = line.substr(second + 1);
            if (line.starts_with("0::")) {
                take(LeastLimitUp("/sys/fs/cgroup", group, "memory.max"));
            } else if (controllers == "memory") {
                take(LeastLimitUp("/sys/fs/cgroup/memory", group, "memory.limit_in_bytes"));
            }
        }
        return least;
    } catch (...) {
        return 0;
    }
#else
    return 0;
#endif
}

std::uint64_t DefaultMemoryBound() noexcept {
    std::uint64_t memory = PhysicalMemoryBytes();
    if (const std::uint64_t limit = CgroupMemoryLimit(); limit != 0) {
        memory = memory == 0 ? limit : std::min(memory, limit);
    }
    return memory != 0 ? memory / 2 : std::uint64_t{1} << 30;
}

}  // namespace quillex

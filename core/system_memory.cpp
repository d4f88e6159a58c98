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

std::uint64_t CgroupMemoryLimit() noexcept {
#ifdef __linux__
    try {
        std::ifstream groups("/proc/self/cgroup");
        std::string line;
        std::string group;
        while (std::getline(groups, line)) {
            if (line.starts_with("0::")) {
                group = line.substr(3);
            }
        }
        if (group.empty() || group[0] != '/') {
            return 0;
        }
        std::uint64_t least = 0;
        // A group's limit binds every group below it: each one up to the root is asked.
        for (;;) {
            std::ifstream max("/sys/fs/cgroup" + group + "/memory.max");
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

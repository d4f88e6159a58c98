#pragma once

#include <cstdint>

namespace quillex {

// The machine's physical memory in bytes; 0 where the system does not say.
std::uint64_t PhysicalMemoryBytes() noexcept;

// The cgroup v2 memory limit the process runs under: the least memory.max of its group and of
// the groups above it. 0 where none is set or the system has none.
std::uint64_t CgroupMemoryLimit() noexcept;

// The bound for work that goes to temporary files past it: half the physical memory, or half
// the cgroup's limit where that is less; 1 GiB where the system says neither.
std::uint64_t DefaultMemoryBound() noexcept;

}  // namespace quillex

#pragma once

#include <cstdint>

namespace quillex {

// The machine's physical memory in bytes; 0 where the system does not say.
std::uint64_t PhysicalMemoryBytes() noexcept;

}  // namespace quillex

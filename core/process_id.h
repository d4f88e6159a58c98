#pragma once

namespace quillex {

// This process's id.
long CurrentProcessId() noexcept;

// Whether no process with this id runs any more: only then may what it left be removed.
// False where the system cannot tell.
bool ProcessIsGone(long pid) noexcept;

}  // namespace quillex

#pragma once

namespace quillex {

// The steps of a save that can fail on their own, in the order a save takes them.
enum class WriteStep { kCreate, kWrite, kFlush, kSync, kClose, kRename };

// Tests and fuzzers make a save fail at a chosen step: the hook is asked before each step is
// taken and returns 0 to let it run or an errno to make it fail with. No hook is set in the
// programs; a set hook applies to every thread.
using WriteFaultHook = int (*)(WriteStep step);
void SetWriteFaultHook(WriteFaultHook hook) noexcept;

// 0, or the errno the hook chose for this step.
int InjectedFault(WriteStep step) noexcept;

}  // namespace quillex

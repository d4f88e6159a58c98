#include "core/process_id.h"

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <process.h>
#include <windows.h>
#else
#include <sys/types.h>

#include <unistd.h>
#include <cerrno>
#include <csignal>
#endif

namespace quillex {

long CurrentProcessId() noexcept {
#ifdef _WIN32
    return ::_getpid();
#else
    return static_cast<long>(::getpid());
#endif
}

bool ProcessIsGone(long pid) noexcept {
#ifdef _WIN32
    HANDLE process = ::OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(pid));
    if (process == nullptr) {
        return ::GetLastError() == ERROR_INVALID_PARAMETER;
    }
    const bool gone = ::WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
    ::CloseHandle(process);
    return gone;
#else
    return pid > 0 && ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH;
#endif
}

}  // namespace quillex

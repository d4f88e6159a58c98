#include "platform/stop_signals.h"

#include <QSocketNotifier>

#ifndef Q_OS_WIN
#include <sys/socket.h>
#include <unistd.h>

#include <csignal>
#endif

namespace quillex {

#ifndef Q_OS_WIN
namespace {

int g_sockets[2] = {-1, -1};  // the handler writes to [0], the notifier reads [1]
constexpr int kSignals[] = {SIGTERM, SIGHUP};

extern "C" void WriteSignal(int signal) {
    const unsigned char byte = static_cast<unsigned char>(signal);
    [[maybe_unused]] const ssize_t written = ::write(g_sockets[0], &byte, 1);
}

void SetHandler(void (*handler)(int)) {
    for (int signal : kSignals) {
        struct sigaction action {};
        action.sa_handler = handler;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        ::sigaction(signal, &action, nullptr);
    }
}

}  // namespace
#endif

StopSignals::StopSignals(QObject* parent) : QObject(parent) {
#ifndef Q_OS_WIN
    if (g_sockets[0] >= 0 || ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_sockets) != 0) {
        return;
    }
    notifier_ = new QSocketNotifier(g_sockets[1], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] {
        unsigned char byte = 0;
        if (::read(g_sockets[1], &byte, 1) == 1) {
            emit Received(byte);
        }
    });
    SetHandler(WriteSignal);
#endif
}

StopSignals::~StopSignals() {
#ifndef Q_OS_WIN
    if (notifier_ == nullptr) {
        return;
    }
    SetHandler(SIG_DFL);
    delete notifier_;
    for (int& socket : g_sockets) {
        ::close(socket);
        socket = -1;
    }
#endif
}

}  // namespace quillex

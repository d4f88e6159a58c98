#include "platform/stop_signals.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

#include <csignal>

namespace quillex {
namespace {

#ifndef Q_OS_WIN
TEST(StopSignals, TermAndHangUpReachTheEventLoopInsteadOfEndingTheProcess) {
    StopSignals stops;
    QSignalSpy received(&stops, &StopSignals::Received);
    for (int signal : {SIGTERM, SIGHUP}) {
        ASSERT_EQ(std::raise(signal), 0);
        ASSERT_TRUE(received.wait(10000));
        EXPECT_EQ(received.takeFirst().at(0).toInt(), signal);
    }
}
#endif

}  // namespace
}  // namespace quillex

#pragma once

#include <QObject>

class QSocketNotifier;

namespace quillex {

// SIGTERM and SIGHUP (a logout, a system shutdown, `kill`) as a Qt signal on the window's
// thread, so that the program ends as Exit ends it: work stopped, undo copies removed,
// settings written. The handler only writes a byte to a socket; the rest runs in the event
// loop. One at a time; POSIX only (elsewhere it never fires).
class StopSignals : public QObject {
    Q_OBJECT

  public:
    explicit StopSignals(QObject* parent = nullptr);
    ~StopSignals() override;

  signals:
    void Received(int signal);

  private:
    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace quillex

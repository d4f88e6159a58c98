#pragma once

#include <QFutureWatcher>
#include <QObject>
#include <QTimer>

#include <exception>
#include <functional>
#include <memory>

#include "core/progress.h"

namespace quillex {

class ErrorReport;

// Runs the window's long work (a load, a save, a line function) one piece at a time on a
// worker thread from Qt's pool, so that the window keeps painting and answering meanwhile, and
// hands each piece's end back to the window's thread. Tests run the work at once, on their own
// thread, through the same steps.
class WorkRunner : public QObject {
    Q_OBJECT

  public:
    enum class Where { Worker, Inline };

    // The work, on the worker: tells `meter` how far it is, which may stop it (WorkCancelled).
    using Work = std::function<void(WorkMeter& meter)>;
    // Its end, on the window's thread: what the work threw, or null when it got through. A
    // failure it lets pass goes to the general error report.
    using Done = std::function<void(std::exception_ptr failure)>;

    // Work that lasts longer than this shows its share done.
    static constexpr int kShareDelayMs = 300;
    static constexpr int kShareRange = 1000;

    WorkRunner(Where where, ErrorReport& report, QObject* parent = nullptr);
    // Work still running is stopped and waited for; its end is not delivered.
    ~WorkRunner() override;

    // From the start of a piece of work to the end of the last one it starts from its end.
    bool Busy() const noexcept { return busy_; }
    // Whether Start would take new work: nothing running and no cancel under way (true in a
    // piece's end, which may start the next).
    bool CanStart() const noexcept { return !running_ && !cancelled_; }
    // Starts `work`; refused (false) while other work runs. `done` may start the next piece:
    // the runner stays busy from one to the next.
    bool Start(Work work, Done done);
    // Asks the running work to stop at its next report; its end then sees WorkCancelled, and
    // no piece it would start next runs. Work not yet begun never runs and ends the same way.
    // Work that has passed its last report finishes, and the chain goes on, as if no one had
    // asked.
    void Cancel();
    // Stops running work and waits for it; its end is not delivered (the window closes).
    void StopAndWait();

    // What the window's thread and the worker share of one piece of work.
    struct Handover;

    // Tests: runs at every report of inline work, to cancel there or to look at the window.
    void SetInlineWatch(std::function<void()> watch) { inlineWatch_ = std::move(watch); }

  signals:
    void BusyChanged(bool busy);
    // The share bar is to be shown (the work has lasted a while) or hidden (it ended).
    void ShareShown(bool shown);
    // The running piece's share done, 0 to kShareRange.
    void ShareChanged(int share);

  private:
    class InlineMeter;

    void RunInline(const Work& work);
    void Deliver(std::exception_ptr failure);
    void SetBusy(bool busy);

    Where where_;
    ErrorReport& report_;
    bool busy_ = false;
    bool running_ = false;  // a piece has started and its end is not delivered yet
    bool cancelled_ = false;
    bool shareShown_ = false;
    Done done_;
    std::shared_ptr<Handover> handover_;  // the running piece's, shared with the worker
    QFutureWatcher<void> watcher_;
    QTimer shareDelay_;
    std::function<void()> inlineWatch_;
};

// Whether a piece of work ended because it was asked to stop.
bool WasCancelled(const std::exception_ptr& failure);

}  // namespace quillex

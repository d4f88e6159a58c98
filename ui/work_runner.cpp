#include "ui/work_runner.h"

#include <QPromise>
#include <QRunnable>
#include <QThreadPool>

#include <algorithm>
#include <atomic>
#include <utility>

#include "ui/guarded.h"

namespace quillex {

namespace {

int ShareOf(std::uint64_t done, std::uint64_t total) {
    return static_cast<int>(std::min(done, total) * WorkRunner::kShareRange / total);
}

// The meter of work on a worker: the share goes to the promise, whose watcher passes it to
// the window's thread; a cancelled future stops the work.
class PromiseMeter final : public WorkMeter {
  public:
    explicit PromiseMeter(QPromise<void>& promise) : promise_(promise) {}

    bool Reached(std::uint64_t done, std::uint64_t total) override {
        if (total > 0) {
            promise_.setProgressValue(ShareOf(done, total));
        }
        return !promise_.isCanceled();
    }

  private:
    QPromise<void>& promise_;
};

}  // namespace

// What the window's thread and the worker share of one piece of work.
struct WorkRunner::Handover {
    Work work;
    QPromise<void> promise;
    // Work cancelled before a pool thread takes it up is dropped unrun: it ends as cancelled.
    std::exception_ptr failure = std::make_exception_ptr(WorkCancelled());
};

namespace {

// Counts hand-overs between the window's thread and the pool. Qt's queue and signals already
// order them; these atomics show that order to ThreadSanitizer, which does not see inside
// Qt's own locks. Global, so that a task reads it before it touches anything of its own.
std::atomic<unsigned> g_handovers{0};

void HandOver() {
    g_handovers.fetch_add(1, std::memory_order_acq_rel);
}

// One piece of work as the pool runs it.
class PoolTask final : public QRunnable {
  public:
    explicit PoolTask(std::shared_ptr<WorkRunner::Handover> handover)
        : handover_(std::move(handover)) {}

    void run() override {
        HandOver();
        QPromise<void>& promise = handover_->promise;
        promise.start();
        if (!promise.isCanceled()) {
            handover_->failure = nullptr;
            PromiseMeter meter(promise);
            try {
                handover_->work(meter);
            } catch (...) {
                handover_->failure = std::current_exception();
            }
        }
        HandOver();
        promise.finish();
    }

  private:
    std::shared_ptr<WorkRunner::Handover> handover_;
};

}  // namespace

class WorkRunner::InlineMeter final : public WorkMeter {
  public:
    explicit InlineMeter(WorkRunner& runner) : runner_(runner) {}

    bool Reached(std::uint64_t done, std::uint64_t total) override {
        if (runner_.inlineWatch_) {
            runner_.inlineWatch_();
        }
        if (total > 0) {
            emit runner_.ShareChanged(ShareOf(done, total));
        }
        return !runner_.cancelled_;
    }

  private:
    WorkRunner& runner_;
};

WorkRunner::WorkRunner(Where where, ErrorReport& report, QObject* parent)
    : QObject(parent), where_(where), report_(report) {
    connect(&watcher_, &QFutureWatcher<void>::finished, this, [this] {
        std::exception_ptr failure;
        if (handover_) {
            HandOver();
            // Taken, not copied: the failure then goes on this thread, whichever thread drops
            // the hand-over last.
            failure = std::move(handover_->failure);
            handover_.reset();
        }
        Deliver(std::move(failure));
    });
    connect(&watcher_, &QFutureWatcher<void>::progressValueChanged, this,
            &WorkRunner::ShareChanged);
    shareDelay_.setSingleShot(true);
    shareDelay_.setInterval(kShareDelayMs);
    connect(&shareDelay_, &QTimer::timeout, this, [this] {
        if (busy_) {
            shareShown_ = true;
            emit ShareShown(true);
        }
    });
}

WorkRunner::~WorkRunner() {
    StopAndWait();
}

void WorkRunner::StopAndWait() {
    if (!running_) {
        return;
    }
    cancelled_ = true;
    running_ = false;
    done_ = nullptr;
    if (where_ == Where::Worker) {
        watcher_.future().cancel();
        watcher_.waitForFinished();
    }
}

bool WorkRunner::Start(Work work, Done done) {
    // After a cancel nothing new starts until the running chain has ended.
    if (!CanStart()) {
        return false;
    }
    running_ = true;
    done_ = std::move(done);
    SetBusy(true);
    emit ShareChanged(0);
    if (where_ == Where::Inline) {
        RunInline(work);
        return true;
    }
    handover_ = std::make_shared<Handover>();
    handover_->work = std::move(work);
    handover_->promise.setProgressRange(0, kShareRange);
    watcher_.setFuture(handover_->promise.future());
    auto* task = new PoolTask(handover_);
    HandOver();
    QThreadPool::globalInstance()->start(task);
    return true;
}

void WorkRunner::RunInline(const Work& work) {
    InlineMeter meter(*this);
    std::exception_ptr failure;
    try {
        work(meter);
    } catch (...) {
        failure = std::current_exception();
    }
    Deliver(std::move(failure));
}

void WorkRunner::Cancel() {
    if (!running_) {
        return;
    }
    cancelled_ = true;
    if (where_ == Where::Worker) {
        watcher_.future().cancel();
    }
}

void WorkRunner::Deliver(std::exception_ptr failure) {
    if (!running_) {
        return;
    }
    running_ = false;
    if (!failure) {
        // The work got past its last report before the cancel reached it: it is done, and
        // what it starts next runs as if no one had asked, so that a cancel is all or nothing.
        cancelled_ = false;
    }
    Done done = std::move(done_);
    done_ = nullptr;
    if (done) {
        ReportingFailures(report_, [&] { done(std::move(failure)); });
    }
    if (!running_) {
        SetBusy(false);
    }
}

void WorkRunner::SetBusy(bool busy) {
    if (busy == busy_) {
        return;
    }
    busy_ = busy;
    if (busy) {
        if (where_ == Where::Worker) {
            shareDelay_.start();
        }
    } else {
        cancelled_ = false;
        shareDelay_.stop();
        if (shareShown_) {
            shareShown_ = false;
            emit ShareShown(false);
        }
    }
    emit BusyChanged(busy);
}

bool WasCancelled(const std::exception_ptr& failure) {
    if (!failure) {
        return false;
    }
    try {
        std::rethrow_exception(failure);
    } catch (const WorkCancelled&) {
        return true;
    } catch (...) {
        return false;
    }
}

}  // namespace quillex

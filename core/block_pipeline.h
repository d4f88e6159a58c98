#pragma once

// Blocks of a stream worked on by several threads and taken in the order they came, so that
// the result is the same for any number of threads.

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <exception>
#include <map>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

namespace quillex {

// The cores this process may run on (its affinity where the system tells it), at least 1.
unsigned AvailableCores() noexcept;

// The size of the blocks a pipeline of `threads` threads reads within `memory`: two blocks a
// thread are out at once, each with its index and its result beside it, so that all of them
// take an eighth of the bound; no less than 64 KiB and no more than 2 MiB: handing a block
// between threads costs little more past that, and a block of that size fills a huge page.
std::size_t BlockBytesWithin(std::uint64_t memory, unsigned threads) noexcept;

// The threads work that can use several takes: AvailableCores(), unless SetWorkThreads said
// otherwise (the batch runner's --threads; 0 goes back to the cores).
unsigned WorkThreads() noexcept;
void SetWorkThreads(unsigned threads) noexcept;

// Runs `work(t)` for t from 0 to threads - 1 at once, 0 on the calling thread, and returns
// once all have ended; then throws what the first of them to fail threw.
template <class Work>
void RunTogether(unsigned threads, Work work) {
    std::vector<std::exception_ptr> failures(threads);
    auto guarded = [&](unsigned t) {
        try {
            work(t);
        } catch (...) {
            failures[t] = std::current_exception();
        }
    };
    std::vector<std::thread> others;
    for (unsigned t = 1; t < threads; ++t) {
        others.emplace_back(guarded, t);
    }
    guarded(0);
    for (std::thread& other : others) {
        other.join();
    }
    for (const std::exception_ptr& failure : failures) {
        if (failure) {
            std::rethrow_exception(failure);
        }
    }
}

// `read(block)` gives the blocks one after another (false at the end) and `take(result,
// index)` hears each block's result in order, both on the calling thread; `work(block,
// index)` runs on `threads` threads, the calling one among them (all of it there for 1).
// No more than two blocks a thread are read ahead of the one taken next, so the memory held
// stays a few blocks however long the stream. What any of them throws stops the rest and goes
// out of Run, once every thread has ended; what `work` throws for a block goes out when that
// block's turn to be taken comes, so an earlier block's failure always wins.
template <class Block, class Result>
class BlockPipeline {
  public:
    template <class Read, class Work, class Take>
    static void Run(unsigned threads, Read read, Work work, Take take) {
        if (threads <= 1) {
            Block block;
            for (std::size_t index = 0; read(block); ++index) {
                Result result = work(std::move(block), index);
                take(std::move(result), index);
                block = Block();
            }
            return;
        }
        BlockPipeline pipeline;
        pipeline.Start(threads, work);
        try {
            pipeline.Feed(threads, read, work, take);
        } catch (...) {
            pipeline.Stop();
            throw;
        }
        pipeline.Stop();
    }

  private:
    struct Done {
        std::optional<Result> result;
        std::exception_ptr failure;
    };

    // The calling thread is one of the `threads`: it works on blocks too while it waits for the
    // next one's result, so that no more threads run than were asked for. A thread of its own
    // for the reading and the taking woke for every block, often on a core a worker was using.
    template <class Work>
    void Start(unsigned threads, Work& work) {
        for (unsigned k = 1; k < threads; ++k) {
            workers_.emplace_back([this, &work] { Serve(work); });
        }
    }

    template <class Work>
    static Done WorkOn(Work& work, std::pair<std::size_t, Block>& next) {
        Done done;
        try {
            done.result.emplace(work(std::move(next.second), next.first));
        } catch (...) {
            done.failure = std::current_exception();
        }
        return done;
    }

    template <class Work>
    void Serve(Work& work) {
        for (;;) {
            std::pair<std::size_t, Block> next;
            {
                std::unique_lock lock(mutex_);
                ready_.wait(lock, [this] { return stop_ || !queued_.empty(); });
                if (queued_.empty()) {
                    return;
                }
                next = std::move(queued_.front());
                queued_.pop_front();
            }
            Done done = WorkOn(work, next);
            std::lock_guard lock(mutex_);
            finished_.emplace(next.first, std::move(done));
            taken_.notify_one();
        }
    }

    template <class Read, class Work, class Take>
    void Feed(unsigned threads, Read& read, Work& work, Take& take) {
        const std::size_t ahead = 2 * std::size_t{threads};
        std::size_t readCount = 0;
        bool ended = false;
        for (std::size_t index = 0;;) {
            // Read until enough blocks are out; then take the next one's result, or work on the
            // earliest block not yet taken up, or else wait.
            while (!ended && readCount - index < ahead) {
                Block block;
                if (!read(block)) {
                    ended = true;
                    break;
                }
                std::lock_guard lock(mutex_);
                queued_.emplace_back(readCount++, std::move(block));
                ready_.notify_one();
            }
            if (index == readCount) {
                return;
            }
            std::unique_lock lock(mutex_);
            if (auto at = finished_.find(index); at != finished_.end()) {
                Done done = std::move(at->second);
                finished_.erase(at);
                lock.unlock();
                if (done.failure) {
                    std::rethrow_exception(done.failure);
                }
                take(std::move(*done.result), index);
                ++index;
            } else if (!queued_.empty()) {
                std::pair<std::size_t, Block> next = std::move(queued_.front());
                queued_.pop_front();
                lock.unlock();
                Done done = WorkOn(work, next);
                lock.lock();
                finished_.emplace(next.first, std::move(done));
            } else {
                taken_.wait(lock, [&] { return finished_.count(index) != 0; });
            }
        }
    }

    void Stop() noexcept {
        {
            std::lock_guard lock(mutex_);
            stop_ = true;
            queued_.clear();
        }
        ready_.notify_all();
        for (std::thread& worker : workers_) {
            worker.join();
        }
    }

    std::mutex mutex_;
    std::condition_variable ready_;  // a block is queued, or the work stops
    std::condition_variable taken_;  // a block's result is in
    std::deque<std::pair<std::size_t, Block>> queued_;
    std::map<std::size_t, Done> finished_;
    bool stop_ = false;
    std::vector<std::thread> workers_;
};

}  // namespace quillex

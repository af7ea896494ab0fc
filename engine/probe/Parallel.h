// Runs independent probes at once while keeping the run's output deterministic: results are
// handed to the caller, and the lines each work item said are printed, in the order of the
// items, whatever order the threads finish in.
#pragma once

#include <algorithm>
#include <condition_variable>
#include <cstddef>
#include <exception>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "engine/core/Reporter.h"

// Calls work(i) for every i in [0, count) on up to `jobs` threads, and done(i, result) on the
// calling thread in ascending order of i; what work(i) says to `report` is printed just before
// done(i). With one job everything runs on the calling
// thread, one item after the other. The first exception of a work item stops the handing
// out of further items and is rethrown once the running ones have ended.
template <typename Work, typename Done>
void ParallelInOrder(Reporter& report, unsigned jobs, std::size_t count, Work&& work, Done&& done)
{
    using Result = decltype(work(std::size_t{0}));
    if (jobs <= 1 || count <= 1) {
        for (std::size_t i = 0; i < count; ++i)
            done(i, work(i));
        return;
    }

    struct Slot {
        std::optional<Result> Value;
        std::vector<std::string> Said;
        bool Finished = false;
    };
    std::vector<Slot> slots(count);
    std::mutex lock;
    std::condition_variable changed;
    std::size_t next = 0;
    bool stop = false;
    std::exception_ptr failure;

    auto worker = [&] {
        for (;;) {
            std::size_t i;
            {
                std::lock_guard<std::mutex> guard(lock);
                if (stop || next >= count)
                    return;
                i = next++;
            }
            try {
                Reporter::Held captured(report);
                Result value = work(i);
                std::vector<std::string> said = captured.Take();
                std::lock_guard<std::mutex> guard(lock);
                slots[i].Value.emplace(std::move(value));
                slots[i].Said = std::move(said);
                slots[i].Finished = true;
            } catch (...) {
                std::lock_guard<std::mutex> guard(lock);
                if (!failure)
                    failure = std::current_exception();
                stop = true;
            }
            changed.notify_all();
        }
    };

    std::vector<std::thread> threads;
    const std::size_t threadCount = std::min<std::size_t>(jobs, count);
    for (std::size_t t = 0; t < threadCount; ++t)
        threads.emplace_back(worker);
    auto joinAll = [&] {
        {
            std::lock_guard<std::mutex> guard(lock);
            stop = true;
        }
        for (std::thread& thread : threads)
            thread.join();
    };

    try {
        for (std::size_t i = 0; i < count; ++i) {
            std::unique_lock<std::mutex> guard(lock);
            changed.wait(guard, [&] { return slots[i].Finished || failure; });
            if (!slots[i].Finished)
                break;
            Result value = std::move(*slots[i].Value);
            std::vector<std::string> said = std::move(slots[i].Said);
            slots[i].Value.reset();
            guard.unlock();
            report.SayAll(said);
            done(i, std::move(value));
        }
    } catch (...) {
        joinAll();
        throw;
    }
    joinAll();
    if (failure)
        std::rethrow_exception(failure);
}

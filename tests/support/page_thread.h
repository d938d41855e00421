#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

// Shows a page on a thread of its own while the test's thread plays the person, so that a
// failed expectation on the person's side stops the test, not the page. The thread lives as
// long as the test program and serves one page after the other.
class PageThread {
public:
    explicit PageThread(std::function<void()> part)
    {
        Worker& worker = TheWorker();
        std::lock_guard<std::mutex> hold(worker.lock);
        worker.part = std::move(part);
        worker.done = false;
        worker.changed.notify_all();
    }
    ~PageThread()
    {
        Worker& worker = TheWorker();
        std::unique_lock<std::mutex> hold(worker.lock);
        worker.changed.wait(hold, [&] { return worker.done; });
    }

private:
    struct Worker {
        std::mutex lock;
        std::condition_variable changed;
        std::function<void()> part;
        bool done = true;
    };

    static Worker& TheWorker()
    {
        static Worker* worker = [] {
            auto* created = new Worker;
            std::thread([created] {
                for (;;) {
                    std::unique_lock<std::mutex> hold(created->lock);
                    created->changed.wait(hold, [&] { return static_cast<bool>(created->part); });
                    auto part = std::move(created->part);
                    created->part = nullptr;
                    hold.unlock();
                    part();
                    hold.lock();
                    created->done = true;
                    created->changed.notify_all();
                }
            }).detach();
            return created;
        }();
        return *worker;
    }
};

#include "render/paintworkers.h"

#include <algorithm>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace {
constexpr int maxParts = 4;
constexpr std::int64_t minPartPixels = 64 * 1024;

int processors() {
    static const int n = int(std::max(1u, std::thread::hardware_concurrency()));
    return n;
}

// Workers wait for a job; a job is a count of parts that the caller and the workers take one
// at a time, so a part nobody else has taken yet is the caller's to run.
class Pool {
public:
    Pool() {
        for (int k = 1; k < std::min(processors(), maxParts); ++k) {
            try {
                threads_.emplace_back([this] { serve(); });
            } catch (const std::system_error&) {
                break; // fewer workers: the caller takes their parts
            }
        }
    }
    ~Pool() {
        {
            const std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        wake_.notify_all();
        for (std::thread& t : threads_)
            t.join();
    }

    void run(int parts, const std::function<void(int)>& work) {
        const std::lock_guard turn(turn_);
        std::unique_lock lock(mutex_);
        work_ = &work;
        parts_ = parts;
        next_ = 0;
        running_ = 0;
        ++job_;
        lock.unlock();
        wake_.notify_all();
        lock.lock();
        takeParts(lock);
        done_.wait(lock, [this] { return running_ == 0; });
        work_ = nullptr;
    }

private:
    // Runs parts of the current job until none is left. Called with the lock held.
    void takeParts(std::unique_lock<std::mutex>& lock) {
        while (work_ && next_ < parts_) {
            const int k = next_++;
            ++running_;
            lock.unlock();
            (*work_)(k);
            lock.lock();
            --running_;
        }
        if (running_ == 0)
            done_.notify_all();
    }

    void serve() {
        std::unique_lock lock(mutex_);
        std::uint64_t seen = job_;
        for (;;) {
            wake_.wait(lock, [&] { return stopping_ || job_ != seen; });
            if (stopping_)
                return;
            seen = job_;
            takeParts(lock);
        }
    }

    std::mutex turn_; // one job at a time
    std::mutex mutex_;
    std::condition_variable wake_, done_;
    std::vector<std::thread> threads_;
    const std::function<void(int)>* work_ = nullptr;
    int parts_ = 0, next_ = 0, running_ = 0;
    std::uint64_t job_ = 0;
    bool stopping_ = false;
};
} // namespace

namespace PaintWorkers {

int partsFor(std::int64_t pixels) {
    const std::int64_t bySize = std::max<std::int64_t>(1, pixels / minPartPixels);
    return int(std::min<std::int64_t>({bySize, processors(), maxParts}));
}

void run(int parts, const std::function<void(int)>& work) {
    if (parts <= 1) {
        if (parts == 1)
            work(0);
        return;
    }
    static Pool pool;
    pool.run(parts, work);
}

} // namespace PaintWorkers

// Handing a paint's parts to the worker threads: every part runs exactly once before run()
// returns, also when several threads ask at the same time.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "render/paintworkers.h"

TEST(PaintWorkers, EveryPartRunsOnceBeforeRunReturns) {
    constexpr int callers = 3, rounds = 300;
    std::vector<std::thread> threads;
    std::atomic<int> faults{0};
    for (int c = 0; c < callers; ++c)
        threads.emplace_back([&, c] {
            for (int round = 0; round < rounds; ++round) {
                const int parts = 1 + (round + c) % 9;
                std::vector<std::atomic<int>> calls(static_cast<std::size_t>(parts));
                PaintWorkers::run(parts, [&](int k) {
                    // Each part takes a while, so that the parts overlap and a caller that
                    // returned early would find one not yet counted.
                    const auto until =
                        std::chrono::steady_clock::now() + std::chrono::microseconds(20);
                    while (std::chrono::steady_clock::now() < until) {
                    }
                    calls[std::size_t(k)].fetch_add(1);
                });
                for (const std::atomic<int>& n : calls)
                    if (n.load() != 1)
                        faults.fetch_add(1);
            }
        });
    for (std::thread& t : threads)
        t.join();
    EXPECT_EQ(faults.load(), 0);
}

TEST(PaintWorkers, SmallPaintsStayWhole) {
    EXPECT_EQ(PaintWorkers::partsFor(0), 1);
    EXPECT_EQ(PaintWorkers::partsFor(64 * 1024 - 1), 1);
    const int most = PaintWorkers::partsFor(std::int64_t(1) << 40);
    EXPECT_GE(most, 1);
    EXPECT_LE(most, 4);
    EXPECT_LE(PaintWorkers::partsFor(2 * 64 * 1024), 2);
}

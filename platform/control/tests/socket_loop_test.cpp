// The loop under the board network's receiver and the configuration watcher: it sleeps with no
// deadline (or a far one) while nothing arrives, and a stop must wake it rather than wait for a
// timeout that never comes. A loop that ended only at a timeout hangs here until the test's own.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <chrono>
#include <optional>

#include "platform/control/socket_loop.h"
#include "platform/control/unique_fd.h"

namespace control {
namespace {

TEST(SocketLoop, AStopWakesTheSleepingThreadAtOnce) {
    struct Case {
        const char* what;
        std::optional<std::chrono::hours> due;
    };
    for (const Case& c :
         {Case{"no deadline", std::nullopt}, Case{"one an hour away", std::chrono::hours(1)}}) {
        SCOPED_TRACE(c.what);
        std::array<int, 2> ends{};
        ASSERT_EQ(::pipe2(ends.data(), O_CLOEXEC), 0);
        const UniqueFd readEnd(ends[0]);
        const UniqueFd writeEnd(ends[1]);
        const auto due = c.due ? std::optional(SocketLoop::Clock::now() + *c.due) : std::nullopt;
        std::atomic<int> handled{0};
        std::atomic<int> asked{0};
        SocketLoop loop(readEnd.Get(), SocketLoop::Handlers{[&](std::size_t) { ++handled; },
                                                            [&] {
                                                                ++asked;
                                                                asked.notify_all();
                                                                return due;
                                                            },
                                                            [&] { ++handled; }});
        // Asked for its deadline, the thread goes to sleep on it: only the stop can wake it.
        asked.wait(0);
        loop.Stop();
        EXPECT_EQ(handled, 0) << "nothing arrived and nothing was due";
    }
}

}  // namespace
}  // namespace control

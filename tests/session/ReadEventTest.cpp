// The cycle event: one Wait per Set, and Cancel frees a waiter for good.

#include "session/ReadEvent.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

TEST(ReadEventTest, EachSetAdmitsOneWait)
{
    CReadEvent event(true);
    ASSERT_TRUE(event.Wait()) << "created signalled";
    std::atomic<int> passed{0};
    std::thread waiter([&] {
        while (event.Wait())
            ++passed;
    });
    event.Set();
    while (passed.load() < 1)
        std::this_thread::yield();
    // A second pass would need a second Set; give a wrong one time to show.
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(passed.load(), 1);
    event.Set();
    while (passed.load() < 2)
        std::this_thread::yield();
    event.Cancel();
    waiter.join();
    EXPECT_EQ(passed.load(), 2);
}

TEST(ReadEventTest, CancelFreesABlockedWaiter)
{
    CReadEvent event(false);
    std::atomic<bool> result{true};
    std::thread waiter([&] { result = event.Wait(); });
    event.Cancel();
    waiter.join();
    EXPECT_FALSE(result.load());
    event.Set();
    EXPECT_FALSE(event.Wait()) << "a cancelled event stays open for nobody";
}

} // namespace

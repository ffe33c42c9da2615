// The picture runner without a window: a queue stands for the event loop. Commands given
// while a job computes wait for its next hand-over; a command that ends the job cancels it at
// once; a job's end runs what was kept, then the one job asked for next.
#include "app/picture_runner.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <future>
#include <mutex>
#include <new>
#include <string>
#include <tuple>
#include <vector>

namespace vorla {
namespace {

// The owner's thread: the functions the runner posts, run when the test says; and the log of
// what happened, in order, on either thread.
class Loop {
  public:
    PictureRunner::Post Post() {
        return [this](std::function<void()> fn) {
            const std::lock_guard lock(m_);
            q_.push_back(std::move(fn));
            cv_.notify_all();
        };
    }
    // Runs posted functions until `done` holds, false after 20 s without one; without `done`,
    // those posted so far.
    bool RunUntil(const std::function<bool()>& done = {}) {
        while (!done || !done()) {
            std::unique_lock lock(m_);
            if (!cv_.wait_for(lock, std::chrono::seconds(done ? 20 : 0),
                              [&] { return !q_.empty(); }))
                return !done;
            std::function<void()> fn = std::move(q_.front());
            q_.pop_front();
            lock.unlock();
            fn();
        }
        return true;
    }
    void Add(const std::string& s) {
        const std::lock_guard lock(m_);
        lines_.push_back(s);
    }
    std::vector<std::string> Lines() {
        const std::lock_guard lock(m_);
        return lines_;
    }

  private:
    std::mutex m_;
    std::condition_variable cv_;
    std::deque<std::function<void()>> q_;
    std::vector<std::string> lines_;
};

// A job of three bands that waits, after the first, until the test lets it compute on.
struct ThreeBands {
    Loop& log;
    std::shared_future<void> goOn;
    Status operator()(PictureRunner::Job& job) const {
        for (int row : {0, 16, 32}) {
            if (job.Band(row)) {
                log.Add("ended at " + std::to_string(row));
                return {};
            }
            if (row == 0) goOn.wait();
            log.Add("computed " + std::to_string(row));
        }
        return {};
    }
};

// A ThreeBands job that goes on past its first band once goOn is set.
struct Runner : ::testing::Test {
    Loop loop;
    bool done = false;
    std::promise<void> goOn;
    PictureRunner::Events Recording() {
        PictureRunner::Events e;
        e.band = [this](int row, bool commandsRan) {
            loop.Add("band " + std::to_string(row) + (commandsRan ? " after commands" : ""));
            return false;
        };
        e.done = [this](const Status& s, bool cancelled) {
            loop.Add(std::string("done") + (cancelled ? " cancelled" : "") + (s ? "" : " failed"));
            done = true;
        };
        return e;
    }
    Status StartThreeBands(PictureRunner& runner) {
        return runner.Start(ThreeBands{loop, goOn.get_future().share()}, Recording());
    }
};

TEST_F(Runner, ACommandWaitsForTheNextHandOverOnlyWhileAJobRuns) {
    PictureRunner runner(loop.Post(), PictureRunner::HandOver::Wait);
    ASSERT_TRUE(StartThreeBands(runner));
    ASSERT_TRUE(loop.RunUntil([&] { return loop.Lines().size() == 1; }));  // band 0 shown
    runner.Run([&] { loop.Add("command"); });                              // the job computes: kept
    EXPECT_TRUE(runner.Running());
    goOn.set_value();
    ASSERT_TRUE(loop.RunUntil([&] { return done; }));
    EXPECT_FALSE(runner.Running());
    EXPECT_EQ(loop.Lines(),
              (std::vector<std::string>{"band 0", "computed 0", "command", "band 16 after commands",
                                        "computed 16", "band 32", "computed 32", "done"}));
    runner.Run([&] { loop.Add("at once"); });  // no job: the command runs now
    EXPECT_EQ(loop.Lines().back(), "at once");
}

TEST_F(Runner, ACommandThatEndsTheJobCancelsItAndRunsAfterItsEnd) {
    PictureRunner runner(loop.Post(), PictureRunner::HandOver::Wait);
    ASSERT_TRUE(StartThreeBands(runner));
    ASSERT_TRUE(loop.RunUntil([&] { return loop.Lines().size() == 1; }));
    runner.Run([&] { loop.Add("stop"); }, true);
    runner.Then([&] { loop.Add("first next"); });
    runner.Then([&] { loop.Add("next"); });  // the last one asked for
    goOn.set_value();
    ASSERT_TRUE(loop.RunUntil([&] { return loop.Lines().back() == "next"; }));
    // The job ends where it sees the cancel: at its first band still, or at the next one.
    std::vector<std::string> lines = loop.Lines();
    lines.erase(std::remove(lines.begin(), lines.end(), "computed 0"), lines.end());
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_TRUE(lines[1] == "ended at 0" || lines[1] == "ended at 16") << lines[1];
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 2, lines.end()),
              (std::vector<std::string>{"done cancelled", "stop", "next"}));
}

TEST_F(Runner, AJobsExceptionIsAFailureAndNoSecondJobStartsBeforeItsEnd) {
    PictureRunner runner(loop.Post(), PictureRunner::HandOver::Wait);
    ASSERT_TRUE(
        runner.Start([](PictureRunner::Job&) -> Status { throw std::bad_alloc(); }, Recording()));
    EXPECT_FALSE(runner.Start([](PictureRunner::Job&) { return Status(); }, {}));
    ASSERT_TRUE(loop.RunUntil([&] { return done; }));
    EXPECT_EQ(loop.Lines(), std::vector<std::string>{"done failed"});
}

TEST_F(Runner, AReportingJobGoesOnAndACancelEndsItAtItsNextBand) {
    PictureRunner runner(loop.Post(), PictureRunner::HandOver::Report);
    ASSERT_TRUE(StartThreeBands(runner));
    // It does not wait for the band's answer: it computes before the owner sees band 0.
    ASSERT_TRUE(loop.RunUntil([&] { return !loop.Lines().empty(); }));
    runner.Cancel();
    goOn.set_value();
    ASSERT_TRUE(loop.RunUntil([&] { return done; }));
    const std::vector<std::string> lines = loop.Lines();
    EXPECT_EQ(lines.back(), "done cancelled");
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& l) { return l.starts_with("ended at"); }),
              1);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "computed 16"), 0);
}

TEST_F(Runner, ARunnerGoneEndsItsJobAndDropsWhatItPosted) {
    {
        PictureRunner runner(loop.Post(), PictureRunner::HandOver::Wait);
        ASSERT_TRUE(StartThreeBands(runner));
        // Gone while the job waits for its first hand-over (goOn never set): it ends there.
    }
    EXPECT_EQ(loop.Lines(), std::vector<std::string>{"ended at 0"});
    loop.RunUntil();
    EXPECT_FALSE(done);
}

TEST(ProgressText, ThePercentDoneAndFromTwoSecondsOnTheTimeLeft) {
    const std::tuple<long long, long long, double, const char*> cases[] = {
        {0, 100, 0, "0 %"},
        {37, 100, 1.9, "37 %"},
        {25, 100, 4, "25 %, 12 s left"},
        {0, 100, 30, "0 %"},
        {100, 100, 30, "100 %"},
        {5, 0, 3, "0 %"},
        {10, 100, 10, "10 %, 1 min 30 s left"}};
    for (const auto& [done, total, seconds, text] : cases)
        EXPECT_EQ(ProgressText(done, total, seconds), text);
}

}  // namespace
}  // namespace vorla

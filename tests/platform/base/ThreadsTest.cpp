// Threads and the calls they hand to the main thread.
#include "platform/base/Threads.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <vector>

namespace {

// A thread that runs a function.
class TFunctionThread : public TThread {
public:
  explicit TFunctionThread(std::function<void(TFunctionThread&)> body) : FBody(std::move(body)) {}
  ~TFunctionThread() override {
    Terminate();
    WaitFor();
  }

protected:
  void Execute() override { FBody(*this); }

private:
  std::function<void(TFunctionThread&)> FBody;
};

TEST(ThreadsTest, ExecuteRunsOnItsOwnThreadOnceStarted) {
  std::atomic<bool> ran{false};
  std::atomic<bool> onMain{true};
  TFunctionThread thread([&](TFunctionThread&) {
    onMain = TThread::IsMainThread();
    ran = true;
  });
  EXPECT_FALSE(ran.load());
  thread.Start();
  thread.WaitFor();
  EXPECT_TRUE(ran.load());
  EXPECT_TRUE(thread.Finished());
  EXPECT_FALSE(onMain.load());
  EXPECT_TRUE(TThread::IsMainThread());
}

TEST(ThreadsTest, TerminateAsksTheLoopToEndAndTheDestructorJoins) {
  std::atomic<int> rounds{0};
  {
    TFunctionThread thread([&](TFunctionThread& self) {
      while (!self.Terminated()) ++rounds;
    });
    thread.Start();
    while (rounds.load() == 0) std::this_thread::yield();
  }
  EXPECT_GT(rounds.load(), 0);
}

TEST(ThreadsTest, SynchronizeWaitsUntilTheMainThreadRunsTheCall) {
  std::vector<int> order;  // touched on the main thread only
  std::atomic<bool> returned{false};
  TFunctionThread thread([&](TFunctionThread&) {
    TThread::Synchronize([&] { order.push_back(1); });
    returned = true;
    SignalMainThread();
  });
  thread.Start();
  // The call waits for the main thread: run it once it is there.
  SynchronizeUntil([&] { return returned.load(); });
  thread.WaitFor();
  EXPECT_EQ(order, std::vector<int>{1});
}

TEST(ThreadsTest, AnExceptionOfASynchronizedCallReachesTheThread) {
  std::atomic<bool> caught{false};
  TFunctionThread thread([&](TFunctionThread&) {
    try {
      TThread::Synchronize([] { throw std::runtime_error("refused"); });
    } catch (const std::runtime_error& e) {
      caught = std::string(e.what()) == "refused";
    }
  });
  thread.Start();
  SynchronizeUntil([&] { return thread.Finished(); });
  thread.WaitFor();
  EXPECT_TRUE(caught.load());
}

TEST(ThreadsTest, QueuedCallsRunInOrderWhenTheMainThreadChecks) {
  std::vector<int> order;
  TFunctionThread thread([&](TFunctionThread&) {
    for (int i = 1; i <= 3; ++i) TThread::Queue([&order, i] { order.push_back(i); });
  });
  thread.Start();
  thread.WaitFor();
  EXPECT_TRUE(order.empty());
  EXPECT_TRUE(CheckSynchronize());
  EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
  EXPECT_FALSE(CheckSynchronize());
}

TEST(ThreadsTest, SynchronizeOnTheMainThreadRunsAtOnce) {
  bool ran = false;
  TThread::Synchronize([&] { ran = true; });
  EXPECT_TRUE(ran);
}

TEST(ThreadsTest, TheWakeUpIsToldOfEveryCallHandedOver) {
  std::atomic<int> wakeUps{0};
  SetMainThreadWakeUp([&] { ++wakeUps; });
  TFunctionThread thread([&](TFunctionThread&) { TThread::Queue([] {}); });
  thread.Start();
  thread.WaitFor();
  SetMainThreadWakeUp({});
  EXPECT_EQ(wakeUps.load(), 1);
  CheckSynchronize();
}

TEST(ThreadsTest, SynchronizeUntilWakesOnASignal) {
  std::atomic<bool> flag{false};
  TFunctionThread thread([&](TFunctionThread&) {
    flag = true;
    SignalMainThread();
  });
  thread.Start();
  SynchronizeUntil([&] { return flag.load(); });
  thread.WaitFor();
  EXPECT_TRUE(flag.load());
}

TEST(ThreadsTest, PriorityIsKeptBeforeTheStartAndAppliedAfter) {
  std::atomic<bool> go{false};
  TFunctionThread thread([&](TFunctionThread& self) {
    while (!go.load() && !self.Terminated()) std::this_thread::yield();
  });
  thread.SetPriority(tpLowest);
  EXPECT_EQ(thread.Priority(), tpLowest);
  thread.Start();
  thread.SetPriority(tpNormal);
  EXPECT_EQ(thread.Priority(), tpNormal);
  go = true;
}

}  // namespace

#include "platform/base/Threads.h"

#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <condition_variable>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>

namespace {

// Static initialisation runs on the thread that started the process.
const std::thread::id MainThreadId = std::this_thread::get_id();

// A call for the main thread; Waiting: a thread waits for it (Synchronize).
struct TMainThreadCall {
  std::function<void()> Call;
  bool Waiting = false;
  bool Done = false;
  std::exception_ptr Error;
};

// The process-wide queue of calls for the main thread. Signal wakes both the main thread
// (a call arrived, SignalMainThread) and the threads waiting for their calls.
struct TMainThreadQueue {
  std::mutex Lock;
  std::condition_variable Signal;
  std::deque<std::shared_ptr<TMainThreadCall>> Calls;
  uint64_t Signals = 0;
  std::function<void()> WakeUp;
};

TMainThreadQueue& MainQueue() {
  static TMainThreadQueue queue;
  return queue;
}

void Hand(std::shared_ptr<TMainThreadCall> call) {
  TMainThreadQueue& queue = MainQueue();
  std::function<void()> wakeUp;
  {
    const std::lock_guard lock(queue.Lock);
    queue.Calls.push_back(std::move(call));
    ++queue.Signals;
    wakeUp = queue.WakeUp;
  }
  queue.Signal.notify_all();
  if (wakeUp) wakeUp();
}

int32_t CurrentTid() { return static_cast<int32_t>(syscall(SYS_gettid)); }

}  // namespace

TThread::TThread() = default;

TThread::~TThread() {
  Terminate();
  WaitFor();
}

void TThread::Start() {
  if (FThread.joinable() || FFinished.load()) return;
  FThread = std::thread([this] {
    FTid.store(CurrentTid());
    ApplyPriority();
    Execute();
    FFinished.store(true);
    SignalMainThread();
  });
}

void TThread::WaitFor() {
  if (FThread.joinable() && FThread.get_id() != std::this_thread::get_id()) FThread.join();
}

void TThread::SetPriority(TThreadPriority priority) {
  FPriority.store(priority);
  ApplyPriority();
}

void TThread::ApplyPriority() {
  const int32_t tid = FTid.load();
  if (tid == 0 || FFinished.load()) return;
  // On Linux a thread id names one thread to setpriority; a refused raise leaves the
  // thread as it was.
  setpriority(PRIO_PROCESS, static_cast<id_t>(tid), FPriority.load() == tpLowest ? 19 : 0);
}

bool TThread::IsMainThread() { return std::this_thread::get_id() == MainThreadId; }

void TThread::Synchronize(const std::function<void()>& call) {
  if (IsMainThread()) {
    call();
    return;
  }
  auto record = std::make_shared<TMainThreadCall>();
  record->Call = call;
  record->Waiting = true;
  Hand(record);
  TMainThreadQueue& queue = MainQueue();
  std::unique_lock lock(queue.Lock);
  queue.Signal.wait(lock, [&] { return record->Done; });
  if (record->Error) std::rethrow_exception(record->Error);
}

void TThread::Queue(std::function<void()> call) {
  auto record = std::make_shared<TMainThreadCall>();
  record->Call = std::move(call);
  Hand(std::move(record));
}

bool CheckSynchronize() {
  TMainThreadQueue& queue = MainQueue();
  std::deque<std::shared_ptr<TMainThreadCall>> calls;
  {
    const std::lock_guard lock(queue.Lock);
    calls.swap(queue.Calls);
  }
  if (calls.empty()) return false;
  std::exception_ptr queuedError;
  for (auto& record : calls) {
    try {
      record->Call();
    } catch (...) {
      if (record->Waiting)
        record->Error = std::current_exception();
      else if (!queuedError)
        queuedError = std::current_exception();
    }
    if (record->Waiting) {
      {
        const std::lock_guard lock(queue.Lock);
        record->Done = true;
        // The waiting thread keeps the last reference: the call and its exception end
        // there, after it has looked at them.
        record.reset();
      }
      queue.Signal.notify_all();
    }
  }
  if (queuedError) std::rethrow_exception(queuedError);
  return true;
}

void SynchronizeUntil(const std::function<bool()>& done) {
  TMainThreadQueue& queue = MainQueue();
  for (;;) {
    CheckSynchronize();
    uint64_t seen = 0;
    {
      const std::lock_guard lock(queue.Lock);
      seen = queue.Signals;
    }
    // Asked without the queue's lock: done may take locks of its own. A signal given
    // after `seen` was read ends the wait below, so none is lost.
    if (done()) return;
    std::unique_lock lock(queue.Lock);
    queue.Signal.wait(lock, [&] { return queue.Signals != seen || !queue.Calls.empty(); });
  }
}

void SignalMainThread() {
  TMainThreadQueue& queue = MainQueue();
  {
    const std::lock_guard lock(queue.Lock);
    ++queue.Signals;
  }
  queue.Signal.notify_all();
}

void SetMainThreadWakeUp(std::function<void()> wakeUp) {
  TMainThreadQueue& queue = MainQueue();
  const std::lock_guard lock(queue.Lock);
  queue.WakeUp = std::move(wakeUp);
}

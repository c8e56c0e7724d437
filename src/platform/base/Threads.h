// Threads of the class library's kind, over std::thread: a thread object whose Execute
// runs on a thread of its own once started, with a termination request, a priority and a
// join; and calls that other threads hand to the main (GUI) thread.
//
// The main thread is the one that started the process. Calls handed to it wait in one
// process-wide queue until the main thread runs them (CheckSynchronize); the GUI layer
// installs a wake-up (SetMainThreadWakeUp) that makes its event loop do so whenever a
// call arrives, and a program without an event loop calls CheckSynchronize itself.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <thread>

enum TThreadPriority : uint8_t { tpLowest, tpNormal };

class TThread {
public:
  TThread();
  // A thread still running is asked to terminate and joined. A derived class whose
  // Execute uses its own members must end the thread in its own destructor (Terminate,
  // WaitFor), before those members go.
  virtual ~TThread();
  TThread(const TThread&) = delete;
  TThread& operator=(const TThread&) = delete;

  // Runs Execute on a new thread; the first call only.
  void Start();
  // Asks Execute to end; Execute looks at Terminated.
  void Terminate() { FTerminated.store(true); }
  bool Terminated() const { return FTerminated.load(); }
  // Waits until Execute has returned; at once when the thread never started or was
  // joined before. Never from the thread itself.
  void WaitFor();
  // Execute has returned (the main thread's SynchronizeUntil hears of it).
  bool Finished() const { return FFinished.load(); }

  // The scheduling priority of the thread (its nice value: 19 lowest, 0 normal). Best
  // effort: raising it back needs a privilege that an ordinary process lacks, and then
  // the thread keeps the lower one. Kept for a thread not started yet and applied when
  // it starts.
  TThreadPriority Priority() const { return FPriority.load(); }
  void SetPriority(TThreadPriority priority);

  // Runs call on the main thread and waits until it has run (on the main thread itself:
  // at once). An exception of call is raised here.
  static void Synchronize(const std::function<void()>& call);
  // Hands call to the main thread without waiting.
  static void Queue(std::function<void()> call);
  // Whether the calling thread is the main thread.
  static bool IsMainThread();

protected:
  virtual void Execute() = 0;

private:
  void ApplyPriority();
  std::thread FThread;
  std::atomic<bool> FTerminated{false};
  std::atomic<bool> FFinished{false};
  std::atomic<TThreadPriority> FPriority{tpNormal};
  // The thread's kernel id once it runs (0 before).
  std::atomic<int32_t> FTid{0};
};

// On the main thread: runs the calls handed to it so far, in the order they came; true
// when it ran any. An exception of a synchronized call goes back to the thread that
// waits for it; one of a queued call is raised here after the other calls ran.
bool CheckSynchronize();
// On the main thread: waits until done answers true, running the calls that threads hand
// to it meanwhile, so that a thread waiting for the main thread cannot block the wait.
// done is asked again after every call run and whenever SignalMainThread is called.
void SynchronizeUntil(const std::function<bool()>& done);
// Wakes SynchronizeUntil to ask its condition again (after the state it waits for
// changed).
void SignalMainThread();
// Called (on the thread that hands a call over) whenever a call arrives for the main
// thread; empty: nobody is told, the main thread checks by itself.
void SetMainThreadWakeUp(std::function<void()> wakeUp);

// A second thread of the run: it carries out one task beside the main thread
// and is waited for before the task's results are used.
#pragma once

#ifndef _WIN32
#include <pthread.h>
#endif

#include <new>
#include <type_traits>

#include "platform/thread_scratch.h"

namespace platform {

class CWorker {
 public:
  using Task = void (*)(void* context);

  CWorker() = default;
  ~CWorker();
  CWorker(const CWorker&) = delete;
  CWorker& operator=(const CWorker&) = delete;

  /// Starts `task` with `context` on a thread of its own; false when no
  /// thread can be had (the caller then does the work itself).
  bool Start(Task task, void* context);

  /// Waits until the task has ended; does nothing when none was started.
  void Join();

 private:
#ifdef _WIN32
  void* handle_ = nullptr;
#else
  pthread_t thread_{};
  bool started_ = false;
  // The processors the thread may run on once it has started, when it was
  // started on others than its maker's (as many bytes as the system's set).
  unsigned char allowed_[128] = {};
  bool apart_ = false;
#endif
  Task task_ = nullptr;
  void* context_ = nullptr;

  // What the thread runs: the task, with its context, then the objects the
  // task kept for the thread are destroyed. Memory running out in the task
  // ends the task, never the process: what it left undone stays undone, for
  // its caller to find so once it has waited for it.
  static void RunTask(CWorker* worker) {
    try {
      worker->task_(worker->context_);
    } catch (const std::bad_alloc&) {
    }
    FreeThisThreadsScratch();
  }
  friend struct WorkerEntry;
};

/// Runs `there` on a second thread, when one can be had (else here, first),
/// while `here` runs on this one, and waits for both. True when `there` ran
/// to its end: memory running out on the second thread ends it early, and
/// the caller then does or reports what it left undone.
template <typename There, typename Here>
bool RunBeside(There&& there, Here&& here) {
  struct Task {
    std::remove_reference_t<There>& there;
    bool done = false;
  } task{there};
  const CWorker::Task run = [](void* context) {
    Task& t = *static_cast<Task*>(context);
    t.there();
    t.done = true;
  };
  // Declared after `task`, so that leaving early waits for the thread first.
  CWorker worker;
  if (!worker.Start(run, &task)) run(&task);
  here();
  worker.Join();
  return task.done;
}

}  // namespace platform

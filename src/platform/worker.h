// A second thread of the run: it carries out one task beside the main thread
// and is waited for before the task's results are used.
#pragma once

#ifndef _WIN32
#include <pthread.h>
#endif

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
#endif
  Task task_ = nullptr;
  void* context_ = nullptr;

  // What the thread runs: the task, with its context.
  static void RunTask(CWorker* worker) {
    worker->task_(worker->context_);
  }
  friend struct WorkerEntry;
};

}  // namespace platform

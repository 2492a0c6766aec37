#include <pthread.h>

#include "platform/worker.h"

namespace platform {

// The thread's entry point, in the form the system calls it.
struct WorkerEntry {
  static void* Run(void* self) {
    CWorker::RunTask(static_cast<CWorker*>(self));
    return nullptr;
  }
};

CWorker::~CWorker() {
  Join();
}

bool CWorker::Start(Task task, void* context) {
  if (started_) return false;
  task_ = task;
  context_ = context;
  if (pthread_create(&thread_, nullptr, WorkerEntry::Run, this) != 0) return false;
  started_ = true;
  return true;
}

void CWorker::Join() {
  if (!started_) return;
  pthread_join(thread_, nullptr);
  started_ = false;
}

}  // namespace platform

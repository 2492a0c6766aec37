#include <pthread.h>
#include <sched.h>

#include <cstring>

#include "platform/worker.h"

namespace platform {

// The thread's entry point, in the form the system calls it.
struct WorkerEntry {
  static void* Run(void* self) {
    auto* worker = static_cast<CWorker*>(self);
#ifdef __linux__
    // Started away from its maker, the thread may now go wherever the
    // system puts it.
    if (worker->apart_) {
      cpu_set_t allowed;
      std::memcpy(&allowed, worker->allowed_, sizeof allowed);
      pthread_setaffinity_np(pthread_self(), sizeof allowed, &allowed);
    }
#endif
    CWorker::RunTask(worker);
    return nullptr;
  }
};

#ifdef __linux__
namespace {

// The processors the calling thread may use but its own, in `others`, and
// all it may use, in `allowed`; false when there are no others.
bool OtherProcessors(cpu_set_t& allowed, cpu_set_t& others) {
  if (sched_getaffinity(0, sizeof allowed, &allowed) != 0 || CPU_COUNT(&allowed) < 2) {
    return false;
  }
  const int here = sched_getcpu();
  if (here < 0 || here >= CPU_SETSIZE || !CPU_ISSET(here, &allowed)) return false;
  others = allowed;
  CPU_CLR(here, &others);
  return true;
}

}  // namespace
#endif

CWorker::~CWorker() {
  Join();
}

bool CWorker::Start(Task task, void* context) {
  if (started_) return false;
  task_ = task;
  context_ = context;
#ifdef __linux__
  // The system starts a new thread beside its maker and can leave both on
  // one processor for milliseconds while another idles; the thread is
  // started on another processor, where there is one, so that the two
  // work side by side from the first.
  cpu_set_t allowed;
  cpu_set_t others;
  static_assert(sizeof allowed <= sizeof allowed_);
  pthread_attr_t attributes;
  if (OtherProcessors(allowed, others) && pthread_attr_init(&attributes) == 0) {
    std::memcpy(allowed_, &allowed, sizeof allowed);
    apart_ = true;
    started_ = pthread_attr_setaffinity_np(&attributes, sizeof others, &others) == 0 &&
               pthread_create(&thread_, &attributes, WorkerEntry::Run, this) == 0;
    pthread_attr_destroy(&attributes);
    if (started_) return true;
    apart_ = false;
  }
#endif
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

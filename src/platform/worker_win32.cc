#include <windows.h>

#include "platform/worker.h"

namespace platform {

// The thread's entry point, in the form the system calls it.
struct WorkerEntry {
  static DWORD WINAPI Run(LPVOID self) {
    CWorker::RunTask(static_cast<CWorker*>(self));
    return 0;
  }
};

CWorker::~CWorker() {
  Join();
}

bool CWorker::Start(Task task, void* context) {
  if (handle_) return false;
  task_ = task;
  context_ = context;
  handle_ = ::CreateThread(nullptr, 0, WorkerEntry::Run, this, 0, nullptr);
  return handle_ != nullptr;
}

void CWorker::Join() {
  if (!handle_) return;
  ::WaitForSingleObject(handle_, INFINITE);
  ::CloseHandle(handle_);
  handle_ = nullptr;
}

}  // namespace platform

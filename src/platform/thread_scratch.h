// Objects a thread keeps from call to call for its own reuse (readers,
// buffers, tables): made on the thread's first use and destroyed when its
// task ends. A thread_local object with a destructor would do the same, but
// the runtime registers its destructor on first use, and where memory has
// run out that registration ends the process; here nothing is registered,
// and running out of memory while making the object is told like any other.
#pragma once

#include <utility>

namespace platform {

// What every thread's objects have in common: the list of the thread's
// objects, newest first, and how to destroy one.
struct ScratchNode {
  ScratchNode* next = nullptr;
  void (*destroy)(ScratchNode* node) = nullptr;
};

/// Adds `node` to the calling thread's objects.
void KeepForThisThread(ScratchNode* node);

/// Destroys the calling thread's objects, newest first. A thread that runs
/// a task calls it when the task ends; the main thread, before it returns.
void FreeThisThreadsScratch();

namespace scratch_detail {

template <typename T>
struct Held : ScratchNode {
  template <typename... Args>
  explicit Held(Args&&... args) : object(std::forward<Args>(args)...) {}
  T object;

  static thread_local Held* mine;  // a plain pointer: nothing to register

  static void Destroy(ScratchNode* node) {
    mine = nullptr;
    delete static_cast<Held*>(node);
  }
};

template <typename T>
thread_local Held<T>* Held<T>::mine = nullptr;

}  // namespace scratch_detail

/// The calling thread's T, made from `args` on the thread's first call.
/// Each type names one object per thread.
template <typename T, typename... Args>
T& ThreadScratch(Args&&... args) {
  using Held = scratch_detail::Held<T>;
  if (!Held::mine) {
    Held* made = new Held(std::forward<Args>(args)...);
    made->destroy = &Held::Destroy;
    KeepForThisThread(made);
    Held::mine = made;
  }
  return Held::mine->object;
}

}  // namespace platform

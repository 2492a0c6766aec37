#include "driver/read_ahead.h"

#include <chrono>
#include <new>
#include <thread>

#include "driver/messages.h"
#include "platform/console.h"

CReadAhead::~CReadAhead() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
    changes_.fetch_add(1, std::memory_order_release);
  }
  work_.notify_all();
  worker_.Join();
}

void CReadAhead::Queue(const platform::CDirectory& dir, const std::string& relative,
                       const platform::DirEntry& entry) {
  Slot& slot = SlotOf(queued_);
  slot.relative = relative;
  slot.name = entry.name;
  slot.rewind = false;
  State state = State::kQueued;
  // Only regular files are opened: a FIFO or device could block or never end.
  if (entry.kind != platform::EntryKind::kFile) {
    state = State::kNotOpened;
  } else if (!slot.file.Open(dir, entry.name)) {
    // The descriptors of the scripts in flight may be what was missing: the
    // file is tried again with none held, as when each script is read in turn.
    if (!Empty()) {
      FinishAll();
      if (!slot.file.Open(dir, entry.name)) state = State::kNotOpened;
    } else {
      state = State::kNotOpened;
    }
  }
  slot.size = state == State::kQueued ? slot.file.Size() : 0;
  bytesInFlight_ += slot.size;
  size_t unclaimed = 0;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    slot.state = state;
    ++queued_;
    changes_.fetch_add(1, std::memory_order_release);
    unclaimed = queued_ - claimed_;
  }
  if (state != State::kQueued) return;
  if (!tried_worker_) {
    tried_worker_ = true;
    // Without a second thread the scanning thread reads every script itself.
    worker_.Start([](void* self) { static_cast<CReadAhead*>(self)->Work(); }, this);
  }
  // The second thread is woken for a few scripts at once: waking it for each
  // would cost about as much as reading one. The scanning thread reads any
  // script it would wait for itself.
  if (unclaimed >= kWakeBatch) work_.notify_all();
}

CReadAhead::State CReadAhead::ReadSlot(Slot& slot) {
  // Memory running out is a script that cannot be read, never an abort.
  try {
    if (!slot.reader) slot.reader = MakeScriptReader(kind_);
    if (slot.rewind) {
      slot.rewind = false;
      if (!slot.file.Rewind()) return State::kLoadFailed;
    }
    if (!slot.buffer.Load(slot.file)) return State::kLoadFailed;
    if (slot.reader && slot.reader->Read(slot.buffer)) return State::kRead;
  } catch (const std::bad_alloc&) {
  }
  return State::kReadFailed;
}

// The next queued script not yet claimed, now claimed; null when there is
// none or claiming is held. Called with mutex_ held.
CReadAhead::Slot* CReadAhead::Claim() {
  if (held_) return nullptr;
  while (claimed_ < queued_) {
    Slot& slot = SlotOf(claimed_++);
    if (slot.state == State::kQueued) {
      slot.state = State::kReading;
      ++busy_;
      return &slot;
    }
  }
  return nullptr;
}

// Reads the claimed `slot` with mutex_ let go, and says it is read; by the
// second thread (`bySecond`) or the scanning thread.
void CReadAhead::ReadClaimed(std::unique_lock<std::mutex>& lock, Slot& slot, bool bySecond) {
  lock.unlock();
  const State state = ReadSlot(slot);
  lock.lock();
  slot.state = state;
  --busy_;
  changes_.fetch_add(1, std::memory_order_release);
  // The scanning thread may wait for a script the second thread read; the
  // second thread, for more to claim after one the scanning thread read.
  if (bySecond) {
    read_.notify_all();
  } else if (claimed_ < queued_) {
    work_.notify_all();
  }
}

void CReadAhead::Work() {
  std::unique_lock<std::mutex> lock(mutex_);
  while (!stopping_) {
    if (Slot* slot = Claim()) {
      ReadClaimed(lock, *slot, true);
    } else {
      Await(lock, work_);
    }
  }
}

// Each thread waits for the other often, for a few microseconds: a thread
// that sleeps costs the one that wakes it as much as reading a script, and
// the system tends to wake it on the waker's processor, where the two then
// take turns for milliseconds while the other processor idles. So a thread
// watches for a change a short while, and sleeps only after that.
void CReadAhead::Await(std::unique_lock<std::mutex>& lock, std::condition_variable& wake) {
  const uint64_t seen = changes_.load(std::memory_order_relaxed);
  lock.unlock();
  const auto until = std::chrono::steady_clock::now() + kWatch;
  while (changes_.load(std::memory_order_acquire) == seen &&
         std::chrono::steady_clock::now() < until) {
    std::this_thread::yield();
  }
  lock.lock();
  if (changes_.load(std::memory_order_relaxed) == seen) wake.wait(lock);
}

// Waits until `slot` is read, reading the scripts next in turn meanwhile.
void CReadAhead::WaitUntilRead(const Slot& slot) {
  std::unique_lock<std::mutex> lock(mutex_);
  while (slot.state == State::kQueued || slot.state == State::kReading) {
    if (Slot* claimed = Claim()) {
      ReadClaimed(lock, *claimed, false);
    } else {
      Await(lock, read_);
    }
  }
}

// Reads the oldest script `slot` again, or only gives it the chance to be kept
// again (`kept_only`), with nothing else read meanwhile and the room of every
// other script given back: what it failed for may have been only the memory
// the scripts read ahead held. Later scripts are then read anew.
CReadAhead::State CReadAhead::ReadAgainAlone(Slot& slot, bool kept_only) {
  {
    std::unique_lock<std::mutex> lock(mutex_);
    held_ = true;
    read_.wait(lock, [this] { return busy_ == 0; });
    for (size_t later = finished_ + 1; later < claimed_; ++later) {
      Slot& other = SlotOf(later);
      if (other.state == State::kNotOpened) continue;
      other.state = State::kQueued;
      other.rewind = true;
    }
    claimed_ = finished_ + 1;
  }
  for (Slot& other : slots_) {
    if (&other == &slot) continue;
    other.buffer.Release();
    other.reader.reset();
  }
  State state = State::kRead;
  if (!kept_only) {
    slot.buffer.Release();
    slot.reader.reset();
    slot.rewind = true;
    state = ReadSlot(slot);
  }
  {
    std::lock_guard<std::mutex> lock(mutex_);
    held_ = false;
    changes_.fetch_add(1, std::memory_order_release);
  }
  work_.notify_all();
  return state;
}

void CReadAhead::FinishOldest() {
  Slot& slot = SlotOf(finished_);
  WaitUntilRead(slot);
  console::Print(messages::kParsing, slot.name.c_str());
  State state = slot.state;
  const ScriptPath script{slot.relative, slot.name, slot.buffer.Fingerprint()};
  bool kept = state == State::kRead && slot.reader->Keep(list_, script);
  if (!kept && state != State::kNotOpened) {
    state = ReadAgainAlone(slot, state == State::kRead);
    kept = state == State::kRead && slot.reader->Keep(list_, script);
  }
  if (kept) {
    console::Print("%s", messages::kParsedOk);
  } else if (state == State::kNotOpened || state == State::kLoadFailed) {
    console::Problem("%s", messages::kCouldNotOpen);
  } else {
    console::Problem("%s", messages::kUnableToParse);
  }
  slot.file.Close();
  bytesInFlight_ -= slot.size;
  // The room of a large script is not kept for the scripts to come.
  if (slot.size > kBytesInFlight) {
    slot.buffer.Release();
    slot.reader.reset();
  }
  ++finished_;
}

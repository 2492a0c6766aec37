// The scripts of a scan read ahead on a second thread: the scanning thread
// opens each script in scan order and queues it; the second thread loads,
// condenses and parses the queued scripts, and the scanning thread helps when
// it would wait. The scanning thread alone prints and keeps records, script by
// script in the order they were queued, so the console and the records are
// those of one thread reading every script in turn, whatever the timing.
#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "model/class_list.h"
#include "platform/directory.h"
#include "platform/worker.h"
#include "reader/script_reader.h"
#include "reader/source_buffer.h"

class CReadAhead {
 public:
  /// Scripts are read by readers of `kind`, of which `reader` is the first.
  CReadAhead(CClassList& list, ReaderKind kind, std::unique_ptr<CScriptReader> reader)
      : list_(list), kind_(kind) {
    slots_[0].reader = std::move(reader);
  }
  ~CReadAhead();
  CReadAhead(const CReadAhead&) = delete;
  CReadAhead& operator=(const CReadAhead&) = delete;

  /// True when another script may be queued: few enough scripts, and few
  /// enough of their bytes, are in flight.
  bool HasRoom() const { return queued_ - finished_ < kSlots && bytesInFlight_ < kBytesInFlight; }
  bool Empty() const { return queued_ == finished_; }

  /// Queues the script `entry` of `dir`, whose path below the scanned
  /// directory is `relative`; it is opened here, unless it is no regular file.
  /// There must be room.
  void Queue(const platform::CDirectory& dir, const std::string& relative,
             const platform::DirEntry& entry);

  /// Finishes the oldest queued script: prints its lines and keeps its
  /// records.
  void FinishOldest();

  /// Finishes every queued script, closing their files.
  void FinishAll() {
    while (!Empty()) FinishOldest();
  }

 private:
  // At most this many scripts, and from the one that reaches it on no more
  // than this many bytes, are queued and not yet finished.
  static constexpr size_t kSlots = 8;
  static constexpr uint64_t kBytesInFlight = uint64_t{4} << 20;
  // The second thread is woken once this many scripts wait to be read.
  static constexpr size_t kWakeBatch = 4;
  // How long a thread watches for a change before it sleeps.
  static constexpr std::chrono::microseconds kWatch{2000};

  // How reading a queued script went.
  enum class State { kQueued, kReading, kRead, kNotOpened, kLoadFailed, kReadFailed };

  // A queued script and the room it is read in; reused for the script queued
  // kSlots later.
  struct Slot {
    std::string relative;
    std::string name;
    platform::CInputFile file;
    uint64_t size = 0;
    State state = State::kQueued;  // guarded by mutex_ while queued
    bool rewind = false;           // read before: the file is read again from its start
    CSourceBuffer buffer;
    std::unique_ptr<CScriptReader> reader;
  };

  Slot& SlotOf(size_t script) { return slots_[script % kSlots]; }
  State ReadSlot(Slot& slot);
  Slot* Claim();
  void ReadClaimed(std::unique_lock<std::mutex>& lock, Slot& slot, bool bySecond);
  void WaitUntilRead(const Slot& slot);
  State ReadAgainAlone(Slot& slot, bool kept_only);
  void Work();
  void Await(std::unique_lock<std::mutex>& lock, std::condition_variable& wake);

  CClassList& list_;
  const ReaderKind kind_;
  Slot slots_[kSlots];
  // Scripts are numbered in the order queued: those below finished_ are
  // finished, those below claimed_ are read or being read, and those below
  // queued_ are queued. busy_ counts the scripts being read.
  size_t finished_ = 0;
  size_t claimed_ = 0;
  size_t queued_ = 0;
  size_t busy_ = 0;
  uint64_t bytesInFlight_ = 0;
  // While set, no script is claimed: the scanning thread reads one alone.
  bool held_ = false;
  bool stopping_ = false;
  bool tried_worker_ = false;
  // Counts the changes either thread may wait for (a script queued or read,
  // claiming let go again, the end); written under mutex_, watched without
  // it.
  std::atomic<uint64_t> changes_{0};
  std::mutex mutex_;
  // The second thread waits on work_ for scripts to claim (or for the end);
  // the scanning thread waits on read_ for a script to be read. Kept apart
  // so that a script the scanning thread reads itself wakes the second
  // thread only when more wait to be claimed.
  std::condition_variable work_;
  std::condition_variable read_;
  platform::CWorker worker_;
};

// The record pages of a reference, written by two threads: the pages go in
// the order the index finishes its entries, shared out in runs, and any
// problem is reported once all are written, in that same order, exactly as
// one thread writing them in turn would have reported it.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "model/class_list.h"
#include "platform/worker.h"

class CPageWriters {
 public:
  /// Pages of the records in the subtree list starting at `top`, linked by
  /// `first_child`, into `destDir`; all must outlive the writers.
  CPageWriters(const CClassList& list, const std::vector<uint32_t>& first_child, uint32_t top,
               const std::string& destDir)
      : list_(list), first_child_(first_child), top_(top), destDir_(destDir) {}

  /// Starts writing pages on a second thread, if one can be had.
  void Start();

  /// Writes pages on this thread too until none are left, waits for the
  /// second thread, and reports the pages that could not be written.
  void Finish();

 private:
  struct Problem {
    size_t order;  // the page's place in the order of writing
    uint32_t record;
    PageStatus status;
  };

  // Walks the pages, writing the runs this thread claims; notes problems in
  // `problems`.
  void WriteClaimed(std::vector<Problem>& problems);

  const CClassList& list_;
  const std::vector<uint32_t>& first_child_;
  const uint32_t top_;
  const std::string& destDir_;
  std::atomic<size_t> next_run_{0};
  bool started_ = false;
  std::vector<Problem> problems_[2];  // [0] this thread's, [1] the second's
  // Declared last, so that it is destroyed first: leaving early (memory ran
  // out on this thread) waits for the second thread before what it uses goes.
  platform::CWorker worker_;
};

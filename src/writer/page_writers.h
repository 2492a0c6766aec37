// The record pages of a reference, written by two threads: the pages go in
// the order the index finishes its entries, shared out in runs, and any
// problem is reported once all are written, in that same order, exactly as
// one thread writing them in turn would have reported it. What the writing
// keeps about each page is had before the first page is written, so running
// short of memory on either thread costs at most the pages it happens on,
// which are then reported.
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
  /// Writers given up before Finish (the index failed) claim no more pages.
  ~CPageWriters();
  CPageWriters(const CPageWriters&) = delete;
  CPageWriters& operator=(const CPageWriters&) = delete;

  /// Takes the room for what is kept about each page (std::bad_alloc when it
  /// cannot be had; nothing is written then) and starts writing pages on a
  /// second thread, if one can be had.
  void Start();

  /// Writes pages on this thread too until none are left, waits for the
  /// second thread, and reports the pages that could not be written.
  void Finish();

 private:
  // Walks the pages, writing the runs this thread claims.
  void WriteClaimed();
  PageStatus WritePage(uint32_t record) const;
  // The path of the page of `record`, in `path`.
  void PagePath(std::string& path, uint32_t record) const;

  const CClassList& list_;
  const std::vector<uint32_t>& first_child_;
  const uint32_t top_;
  const std::string& destDir_;
  std::atomic<size_t> next_run_{0};
  std::atomic<bool> stopped_{false};
  bool started_ = false;
  // How each record's page went, by record; a page no thread wrote reads as
  // not written. Each page is written by one thread, so each entry has one
  // writer, and it is read once both threads are done.
  std::vector<PageStatus> status_;
  // Room for the path of a page reported.
  std::string report_path_;
  // Declared last, so that it is destroyed first: leaving early (memory ran
  // out on this thread) waits for the second thread before what it uses goes.
  platform::CWorker worker_;
};

// The one writer of a reference's pages, whatever their kind: two threads
// claim runs of pages in the order of writing, each page is built into a
// buffer of the thread's and written to its file, and the pages that could
// not be written are reported once all are done, in that order, exactly as
// one thread writing them in turn would have reported them. What is kept
// about each page is had before the first is written, so memory running
// short on either thread costs at most the pages it happens on, which are
// then reported.
#pragma once

#include <atomic>
#include <cstddef>
#include <new>
#include <string>
#include <string_view>
#include <vector>

#include "model/class_record.h"
#include "platform/worker.h"
#include "writer/common/page_builder.h"
#include "writer/common/record_page.h"

/// Writes the built `page` (`whole`: lacking nothing it shows) to the path
/// `name` appends to `path`. Memory for the path running out is a page that
/// could not be written.
template <typename Name>
PageStatus WriteBuiltPage(std::string_view page, bool whole, std::string& path, Name name) {
  try {
    path.clear();
    name();
    const PageStatus status = WritePageText(path, page);
    return status == PageStatus::kWritten && !whole ? PageStatus::kIncomplete : status;
  } catch (const std::bad_alloc&) {
    return PageStatus::kCannotWrite;
  }
}

/// Builds the page in `slot` with `builder` into `page` and writes it to its
/// path, built in `path`. Memory for the page running out is a page that
/// could not be written, on whichever thread it happens.
PageStatus BuildAndWritePage(const CPageBuilder& builder, size_t slot, std::string& page,
                             std::string& path);

class CPageWriter {
 public:
  /// Writes the pages `builder` builds; it must outlive the writer.
  explicit CPageWriter(const CPageBuilder& builder) : builder_(builder) {}
  /// A writer given up before Finish (the index failed) claims no more pages.
  ~CPageWriter();
  CPageWriter(const CPageWriter&) = delete;
  CPageWriter& operator=(const CPageWriter&) = delete;

  /// Takes the room for what is kept about each page (std::bad_alloc when it
  /// cannot be had; nothing is written then) and starts writing pages on a
  /// second thread, if one can be had.
  void Start();

  /// Writes pages on this thread too until none are left, waits for the
  /// second thread, and reports the pages that could not be written.
  void Finish();

 private:
  class CClaims;
  class CReports;

  // Walks the pages, writing the runs this thread claims.
  void WriteClaimed();
  // Builds and writes the page in `slot`, with the thread's `page` and
  // `path` buffers.
  PageStatus Write(size_t slot, std::string& page, std::string& path) const;

  const CPageBuilder& builder_;
  std::atomic<size_t> next_run_{0};
  std::atomic<bool> stopped_{false};
  bool started_ = false;
  // How each page went, by slot; a page no thread wrote reads as not
  // written. Each page is written by one thread, so each entry has one
  // writer, and it is read once both threads are done.
  std::vector<PageStatus> status_;
  // Room for the path of a page reported.
  std::string report_path_;
  // Declared last, so that it is destroyed first: leaving early (memory ran
  // out on this thread) waits for the second thread before what it uses goes.
  platform::CWorker worker_;
};

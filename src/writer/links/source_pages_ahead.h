// The source pages written ahead of the other pages, by the pass that finds
// who refers to what as it links each script: what builds each page, given
// to the pass by the writer of the reference (the pass comes before the
// page writers), and how each went, kept by record until the page writer
// reports it in its turn.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "model/class_record.h"

class CClassList;
class CSourceBuffer;
class CSourceLinker;

/// Appends the source page of class record `record` of `list` whose script,
/// read again, is `script` (null when it could not be), its names linked by
/// `linker` (null: nothing is linked); false when the page lacks what it
/// would show.
using SourcePageBuilder = bool (*)(std::string& page, const CClassList& list, size_t record,
                                   const CSourceBuffer* script, CSourceLinker* linker);

class CSourcePagesAhead {
 public:
  /// Room for `records` records, none written yet; `build` builds each page.
  CSourcePagesAhead(size_t records, SourcePageBuilder build) : build_(build), status_(records, 0) {}

  /// Appends the source page of `record`, as `build` given above does.
  bool Build(std::string& page, const CClassList& list, size_t record, const CSourceBuffer* script,
             CSourceLinker* linker) const {
    return build_(page, list, record, script, linker);
  }

  /// The source page of record `record` was written ahead, as `status` says.
  /// Each record's is set by one thread at a time.
  void Set(size_t record, PageStatus status) {
    status_[record] = static_cast<uint8_t>(static_cast<uint8_t>(status) + 1);
  }

  /// Whether the source page of record `record` was written ahead, and how.
  bool Written(size_t record, PageStatus& status) const {
    if (status_[record] == 0) return false;
    status = static_cast<PageStatus>(status_[record] - 1);
    return true;
  }

 private:
  SourcePageBuilder build_;
  std::vector<uint8_t> status_;  // 0: not written ahead; else the status plus one
};

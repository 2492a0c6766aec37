// How pages written ahead of their turn went, one page kind's worth kept by
// record, until the page writer reports each page in its turn.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "model/class_record.h"

class CPagesWrittenAhead {
 public:
  /// Room for `records` records, none written yet.
  explicit CPagesWrittenAhead(size_t records = 0) : status_(records, 0) {}

  /// The page of record `record` was written ahead, as `status` says. Each
  /// record's is set by one thread at a time.
  void Set(size_t record, PageStatus status) {
    status_[record] = static_cast<uint8_t>(static_cast<uint8_t>(status) + 1);
  }

  /// Whether the page of record `record` was written ahead, and how.
  bool Written(size_t record, PageStatus& status) const {
    if (status_[record] == 0) return false;
    status = static_cast<PageStatus>(status_[record] - 1);
    return true;
  }

 private:
  std::vector<uint8_t> status_;  // 0: not written ahead; else the status plus one
};

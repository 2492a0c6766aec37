// The unpacked models of the records a writing thread's pages read, kept
// from page to page: each in one of the few slots its record number picks,
// until a model read since takes it. The classes near the root are read by
// many pages, and a record's rich, source and use pages, written one after
// another, read the same models; one cache per thread serves them all.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "model/record_model.h"

class CPageContext;

class CModelCache {
 public:
  /// The cache of the calling thread.
  static CModelCache& OfThread();

  /// The model of record `record` of `pages`' list, which must have one.
  /// Valid until the next call for a record of the same slot.
  const model::RecordModel& Get(const CPageContext& pages, size_t record);

  /// Puts the model of `record` into `model`: the one kept, taken out of
  /// its slot, else unpacked there.
  void Lend(const CPageContext& pages, size_t record, model::RecordModel& model);

  /// Keeps `model`, the model of `record` lent before, in its slot; `model`
  /// gets the room of the one it replaces.
  void Return(const CPageContext& pages, size_t record, model::RecordModel& model);

 private:
  // A record's model goes into one of the kWays slots of its set, the one
  // read longest ago.
  static constexpr size_t kSets = 32;
  static constexpr size_t kWays = 4;
  struct Slot {
    uint64_t run = 0;  // of the pages the record belongs to
    size_t record = SIZE_MAX;
    uint64_t read = 0;  // when last read, by the count of reads
    model::RecordModel model;
  };
  // The slot holding the model of `record`, else the one it is to go in.
  Slot& SlotOf(const CPageContext& pages, size_t record);
  static bool Holds(const Slot& slot, const CPageContext& pages, size_t record);

  std::vector<Slot> slots_ = std::vector<Slot>(kSets * kWays);
  uint64_t reads_ = 0;
};

#include "writer/links/model_cache.h"

#include "model/class_list.h"
#include "model/model_codec.h"
#include "platform/thread_scratch.h"
#include "writer/links/page_context.h"

CModelCache& CModelCache::OfThread() {
  // Made on the thread's first use, destroyed when its task ends.
  return platform::ThreadScratch<CModelCache>();
}

bool CModelCache::Holds(const Slot& slot, const CPageContext& pages, size_t record) {
  return slot.record == record && slot.run == pages.run();
}

CModelCache::Slot& CModelCache::SlotOf(const CPageContext& pages, size_t record) {
  Slot* const set = &slots_[(record % kSets) * kWays];
  Slot* oldest = set;
  for (size_t way = 0; way < kWays; ++way) {
    if (Holds(set[way], pages, record)) {
      oldest = &set[way];
      break;
    }
    if (set[way].read < oldest->read) oldest = &set[way];
  }
  oldest->read = ++reads_;
  return *oldest;
}

const model::RecordModel& CModelCache::Get(const CPageContext& pages, size_t record) {
  Slot& slot = SlotOf(pages, record);
  if (!Holds(slot, pages, record)) {
    model::UnpackModel(pages.list().At(record).packedModel(), slot.model);
    slot.record = record;
    slot.run = pages.run();
  }
  return slot.model;
}

void CModelCache::Lend(const CPageContext& pages, size_t record, model::RecordModel& model) {
  Slot& slot = SlotOf(pages, record);
  // The slot, emptied or not taken, is the first to be taken again.
  slot.read = 0;
  if (!Holds(slot, pages, record)) {
    model::UnpackModel(pages.list().At(record).packedModel(), model);
    return;
  }
  std::swap(slot.model, model);
  slot.record = SIZE_MAX;
}

void CModelCache::Return(const CPageContext& pages, size_t record, model::RecordModel& model) {
  Slot& slot = SlotOf(pages, record);
  std::swap(slot.model, model);
  slot.record = record;
  slot.run = pages.run();
}

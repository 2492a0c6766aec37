#include "model/class_list.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>
#include <numeric>
#include <utility>

#include "model/names.h"

namespace {
// Records are made this many at a time.
constexpr size_t kRecordsPerBlock = 4096;
}  // namespace

CClassList::~CClassList() = default;

CClassRecord* CClassList::CreateRecord() {
  if (blocks_.empty() || block_used_ == kRecordsPerBlock) {
    std::unique_ptr<CClassRecord[]> block(new (std::nothrow) CClassRecord[kRecordsPerBlock]);
    if (!block) return nullptr;
    blocks_.push_back(std::move(block));
    block_used_ = 0;
  }
  CClassRecord* record = &blocks_.back()[block_used_];
  order_.push_back(record);
  ++block_used_;
  record->position_ = static_cast<uint32_t>(order_.size() - 1);
  return record;
}

namespace {

size_t PackedSize(std::string_view text) {
  return packed::LengthSize(text.size()) + text.size();
}

size_t PackedSize(std::span<const std::string_view> texts) {
  size_t size = 0;
  for (std::string_view text : texts) size += PackedSize(text);
  return size;
}

char* Put(char* out, std::string_view text) {
  out = packed::PutLength(out, text.size());
  if (!text.empty()) std::memcpy(out, text.data(), text.size());
  return out + text.size();
}

char* Put(char* out, std::span<const std::string_view> texts) {
  for (std::string_view text : texts) out = Put(out, text);
  return out;
}

}  // namespace

bool CClassList::SetTexts(CClassRecord& record, const RecordTexts& texts) {
  const size_t size =
      packed::LengthSize(texts.vars.size()) + packed::LengthSize(texts.events.size()) +
      packed::LengthSize(texts.functions.size()) + PackedSize(texts.name) +
      PackedSize(texts.superName) + PackedSize(texts.scriptPath) + PackedSize(texts.vars) +
      PackedSize(texts.events) + PackedSize(texts.functions);
  char* block = texts_.Allocate(size);
  if (!block) return false;
  char* out = packed::PutLength(block, texts.vars.size());
  out = packed::PutLength(out, texts.events.size());
  out = packed::PutLength(out, texts.functions.size());
  out = Put(out, texts.name);
  out = Put(out, texts.superName);
  out = Put(out, texts.scriptPath);
  out = Put(out, texts.vars);
  out = Put(out, texts.events);
  Put(out, texts.functions);
  record.texts_ = block;
  return true;
}

namespace {

// Disjoint sets over list positions: two records are in one set when one is
// reachable from the other through parent links.
class DisjointSets {
 public:
  explicit DisjointSets(size_t count) : up_(count) { std::iota(up_.begin(), up_.end(), 0); }
  uint32_t Find(uint32_t x) {
    while (up_[x] != x) {
      up_[x] = up_[up_[x]];
      x = up_[x];
    }
    return x;
  }
  void Join(uint32_t a, uint32_t b) { up_[Find(a)] = Find(b); }

 private:
  std::vector<uint32_t> up_;
};

}  // namespace

void CClassList::ResolveParents() {
  const size_t count = order_.size();
  // The class records ordered by name but for case, and in list order among
  // equal names: the first of equal names is the one a superclass name finds.
  std::vector<uint32_t> classes;
  for (size_t i = 0; i < count; ++i) {
    if (order_[i]->isState == 0) classes.push_back(static_cast<uint32_t>(i));
  }
  auto name_of = [this](uint32_t position) { return order_[position]->name(); };
  std::stable_sort(classes.begin(), classes.end(), [&name_of](uint32_t a, uint32_t b) {
    return CompareNoCase(name_of(a), name_of(b)) < 0;
  });

  // Before any link is made the parent links form a forest, and each link
  // joins a root to some record. It closes a cycle exactly when that record
  // already lies in the root's own tree.
  DisjointSets trees(count);
  for (size_t i = 0; i < count; ++i) {
    CClassRecord& record = *order_[i];
    if (record.parent) continue;
    const std::string_view super_name = record.superName();
    if (super_name.empty()) continue;
    auto found = std::lower_bound(classes.begin(), classes.end(), super_name,
                                  [&name_of](uint32_t k, std::string_view name) {
                                    return CompareNoCase(name_of(k), name) < 0;
                                  });
    if (found == classes.end() || !EqualsNoCase(name_of(*found), super_name)) continue;
    const uint32_t p = *found;
    const uint32_t self = static_cast<uint32_t>(i);
    if (trees.Find(p) == trees.Find(self)) continue;
    record.parent = order_[p];
    trees.Join(self, p);
  }
}

void CClassList::SortByName() {
  const size_t count = order_.size();
  if (count >= 2) {
    // Names are read from the records themselves, which move with their
    // positions: no copy of a name is made.
    const std::vector<CClassRecord*>& keys = order_;
    // A tournament tree over positions whose root names the first position
    // of the smallest name among the positions not yet placed. Each pass of
    // the selection sort reads the root, exchanges, and updates two leaves.
    // Leaves sit at count .. 2 * count - 1; picking the smaller name, and the
    // smaller position among equal names, is the same in any grouping.
    constexpr uint32_t kNone = UINT32_MAX;
    std::vector<uint32_t> tree(2 * count, kNone);
    auto better = [&keys](uint32_t a, uint32_t b) {
      if (a == kNone) return b;
      if (b == kNone) return a;
      int order = CompareNoCase(keys[a]->name(), keys[b]->name());
      if (order != 0) return order < 0 ? a : b;
      return a < b ? a : b;
    };
    auto update = [&](size_t position, uint32_t value) {
      size_t node = count + position;
      tree[node] = value;
      for (node /= 2; node >= 1; node /= 2) tree[node] = better(tree[2 * node], tree[2 * node + 1]);
    };
    for (size_t p = 0; p < count; ++p) tree[count + p] = static_cast<uint32_t>(p);
    for (size_t node = count - 1; node >= 1; --node) {
      tree[node] = better(tree[2 * node], tree[2 * node + 1]);
    }

    for (size_t i = 0; i + 1 < count; ++i) {
      const uint32_t m = tree[1];
      std::swap(order_[i], order_[m]);
      update(i, kNone);
      if (m != i) update(m, m);
    }
  }
  for (size_t i = 0; i < count; ++i) order_[i]->position_ = static_cast<uint32_t>(i);
}

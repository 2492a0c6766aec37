#include "model/class_list.h"

#include <new>
#include <numeric>
#include <unordered_map>
#include <utility>

#include "model/names.h"

CClassList::~CClassList() {
  while (!records_.empty()) records_.pop_back();
}

CClassRecord* CClassList::CreateRecord() {
  std::unique_ptr<CClassRecord> record(new (std::nothrow) CClassRecord);
  if (!record) return nullptr;
  records_.push_back(std::move(record));
  return records_.back().get();
}

void CClassList::RemoveRecordsFrom(size_t position) {
  while (records_.size() > position) records_.pop_back();
}

namespace {

// Disjoint sets over list positions: two records are in one set when one is
// reachable from the other through parent links.
class DisjointSets {
 public:
  explicit DisjointSets(size_t count) : up_(count) { std::iota(up_.begin(), up_.end(), 0); }
  size_t Find(size_t x) {
    while (up_[x] != x) {
      up_[x] = up_[up_[x]];
      x = up_[x];
    }
    return x;
  }
  void Join(size_t a, size_t b) { up_[Find(a)] = Find(b); }

 private:
  std::vector<size_t> up_;
};

}  // namespace

void CClassList::ResolveParents() {
  const size_t count = records_.size();
  // The first class record of each folded name, in list order.
  std::unordered_map<std::string, size_t> first_class;
  first_class.reserve(count);
  for (size_t i = 0; i < count; ++i) {
    if (records_[i]->isState == 0) first_class.try_emplace(FoldCase(records_[i]->name), i);
  }
  // Before any link is made the parent links form a forest, and each link
  // joins a root to some record. It closes a cycle exactly when that record
  // already lies in the root's own tree.
  DisjointSets trees(count);
  for (size_t i = 0; i < count; ++i) {
    CClassRecord& record = *records_[i];
    if (record.parent || record.superName.empty()) continue;
    auto found = first_class.find(FoldCase(record.superName));
    if (found == first_class.end()) continue;
    size_t p = found->second;
    if (trees.Find(p) == trees.Find(i)) continue;
    record.parent = records_[p].get();
    trees.Join(i, p);
  }
}

void CClassList::SortByName() {
  const size_t count = records_.size();
  if (count < 2) return;
  std::vector<std::string> keys(count);
  for (size_t i = 0; i < count; ++i) keys[i] = FoldCase(records_[i]->name);

  // A tournament tree over positions whose root names the first position of
  // the smallest key among the positions not yet placed. Each pass of the
  // selection sort reads the root, exchanges, and updates two leaves.
  constexpr size_t kNone = static_cast<size_t>(-1);
  size_t leaves = 1;
  while (leaves < count) leaves *= 2;
  std::vector<size_t> tree(2 * leaves, kNone);
  auto better = [&keys](size_t a, size_t b) {
    if (a == kNone) return b;
    if (b == kNone) return a;
    int order = keys[a].compare(keys[b]);
    if (order != 0) return order < 0 ? a : b;
    return a < b ? a : b;
  };
  auto update = [&](size_t position, size_t value) {
    size_t node = leaves + position;
    tree[node] = value;
    for (node /= 2; node >= 1; node /= 2) tree[node] = better(tree[2 * node], tree[2 * node + 1]);
  };
  for (size_t p = 0; p < count; ++p) tree[leaves + p] = p;
  for (size_t node = leaves - 1; node >= 1; --node) {
    tree[node] = better(tree[2 * node], tree[2 * node + 1]);
  }

  for (size_t i = 0; i + 1 < count; ++i) {
    size_t m = tree[1];
    std::swap(records_[i], records_[m]);
    std::swap(keys[i], keys[m]);
    update(i, kNone);
    if (m != i) update(m, m);
  }
}

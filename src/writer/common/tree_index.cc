#include "writer/common/tree_index.h"

#include "model/class_list.h"

TreeIndex BuildTreeIndex(const CClassList& list, const CClassRecord* key) {
  const size_t count = list.Count();
  TreeIndex tree;
  tree.first_child.assign(count + 1, 0);
  // Counted first, each child at its parent's position plus one, then summed
  // into starts and filled.
  for (size_t i = 0; i < count; ++i) {
    const CClassRecord& record = list.At(i);
    if (record.parent == key) tree.top.push_back(static_cast<uint32_t>(i));
    if (record.parent) ++tree.first_child[list.PositionOf(*record.parent) + 1];
  }
  for (size_t i = 0; i < count; ++i) tree.first_child[i + 1] += tree.first_child[i];
  tree.child.resize(tree.first_child[count]);
  std::vector<uint32_t> fill(tree.first_child.begin(), tree.first_child.end() - 1);
  for (size_t i = 0; i < count; ++i) {
    const CClassRecord* parent = list.At(i).parent;
    if (parent) tree.child[fill[list.PositionOf(*parent)]++] = static_cast<uint32_t>(i);
  }
  return tree;
}

std::vector<bool> ReachableRecords(const TreeIndex& tree) {
  std::vector<bool> reachable(tree.first_child.size() - 1, false);
  std::vector<uint32_t> pending(tree.top.begin(), tree.top.end());
  while (!pending.empty()) {
    uint32_t i = pending.back();
    pending.pop_back();
    reachable[i] = true;
    pending.insert(pending.end(), tree.child.begin() + tree.first_child[i],
                   tree.child.begin() + tree.first_child[i + 1]);
  }
  return reachable;
}

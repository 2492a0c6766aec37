#include "writer/tree_index.h"

#include <algorithm>
#include <functional>
#include <utility>

#include "model/class_list.h"

TreeIndex BuildTreeIndex(const CClassList& list, const CClassRecord* key) {
  const size_t count = list.Count();
  // Positions by record address, in one flat array searched by halving: far
  // less memory and allocation than a node per record.
  std::vector<std::pair<const CClassRecord*, size_t>> position(count);
  for (size_t i = 0; i < count; ++i) position[i] = {&list.At(i), i};
  auto by_address = [](const std::pair<const CClassRecord*, size_t>& a,
                       const std::pair<const CClassRecord*, size_t>& b) {
    return std::less<const CClassRecord*>()(a.first, b.first);
  };
  std::sort(position.begin(), position.end(), by_address);

  TreeIndex tree;
  tree.subclasses.assign(count, 0);
  tree.states.assign(count, 0);
  tree.first_child.assign(count + 1, 0);
  tree.parent.assign(count, TreeIndex::kNone);
  for (size_t i = 0; i < count; ++i) {
    const CClassRecord& record = list.At(i);
    if (record.parent == key) tree.top.push_back(i);
    if (!record.parent) continue;
    auto found =
        std::lower_bound(position.begin(), position.end(),
                         std::pair<const CClassRecord*, size_t>(record.parent, 0), by_address);
    if (found == position.end() || found->first != record.parent) continue;
    size_t p = found->second;
    tree.parent[i] = p;
    ++(record.isState == 0 ? tree.subclasses[p] : tree.states[p]);
    ++tree.first_child[p + 1];
  }
  for (size_t i = 0; i < count; ++i) tree.first_child[i + 1] += tree.first_child[i];
  tree.child.resize(tree.first_child[count]);
  std::vector<size_t> fill(tree.first_child.begin(), tree.first_child.end() - 1);
  for (size_t i = 0; i < count; ++i) {
    if (tree.parent[i] != TreeIndex::kNone) tree.child[fill[tree.parent[i]]++] = i;
  }
  return tree;
}

std::vector<bool> ReachableRecords(const TreeIndex& tree) {
  std::vector<bool> reachable(tree.parent.size(), false);
  std::vector<size_t> pending(tree.top.begin(), tree.top.end());
  while (!pending.empty()) {
    size_t i = pending.back();
    pending.pop_back();
    reachable[i] = true;
    pending.insert(pending.end(), tree.child.begin() + tree.first_child[i],
                   tree.child.begin() + tree.first_child[i + 1]);
  }
  return reachable;
}

// The walk over the class tree that the index and the pages share: depth
// first in list order. It climbs back up by the records' parent links, so it
// needs neither the call stack nor memory of its own, however deep the class
// tree: a walk can run out of neither.
#pragma once

#include <cstdint>
#include <vector>

#include "model/class_list.h"

/// Calls `enter(i)` for each record in the subtree list starting at `top`
/// (a first child, as CClassList::LinkChildren gives), before its children,
/// and `leave(i)` once its whole subtree is done.
template <typename Enter, typename Leave>
void WalkTree(const CClassList& list, const std::vector<uint32_t>& first_child, uint32_t top,
              Enter enter, Leave leave) {
  for (uint32_t root = top; root != CClassList::kNoRecord;
       root = CClassList::NextSibling(list.At(root))) {
    uint32_t i = root;
    enter(i);
    for (;;) {
      if (first_child[i] != CClassList::kNoRecord) {
        i = first_child[i];
        enter(i);
        continue;
      }
      // The subtree of i is done, and so is that of each ancestor of which
      // it closes the last child.
      while (i != root && CClassList::NextSibling(list.At(i)) == CClassList::kNoRecord) {
        leave(i);
        i = static_cast<uint32_t>(list.PositionOf(*list.At(i).parent));
      }
      leave(i);
      if (i == root) break;
      i = CClassList::NextSibling(list.At(i));
      enter(i);
    }
  }
}

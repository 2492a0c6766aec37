// The walk over the class tree that the index and the pages share: depth
// first in list order, with a stack of its own so that a deep class tree
// cannot exhaust the call stack.
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
  struct Open {
    uint32_t record;
    uint32_t next_child;
  };
  std::vector<Open> stack;
  auto open = [&](uint32_t i) {
    enter(i);
    stack.push_back({i, first_child[i]});
  };
  for (uint32_t root = top; root != CClassList::kNoRecord;
       root = CClassList::NextSibling(list.At(root))) {
    open(root);
    while (!stack.empty()) {
      Open& last = stack.back();
      if (last.next_child != CClassList::kNoRecord) {
        const uint32_t child = last.next_child;
        last.next_child = CClassList::NextSibling(list.At(child));
        open(child);
        continue;
      }
      const uint32_t i = last.record;
      stack.pop_back();
      leave(i);
    }
  }
}

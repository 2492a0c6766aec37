// The class tree of the sorted record list, built once per output run: each
// record's children in list order, its parent's position, and its numbers of
// subclasses and states. The index writers and the linked record pages read
// the tree through it.
#pragma once

#include <cstddef>
#include <vector>

class CClassList;
class CClassRecord;

struct TreeIndex {
  // Stands for "no record" in `parent`.
  static constexpr size_t kNone = static_cast<size_t>(-1);

  /// The children of record i: child[first_child[i] .. first_child[i + 1]).
  std::vector<size_t> first_child;
  std::vector<size_t> child;
  std::vector<size_t> parent;  // position of record i's parent, or kNone
  std::vector<size_t> subclasses;
  std::vector<size_t> states;
  std::vector<size_t> top;  // records whose parent is the key, in list order

  size_t ChildCount(size_t i) const { return first_child[i + 1] - first_child[i]; }
};

/// Builds the tree of `list`, with `key` as the parent of its top records
/// (null: the roots).
TreeIndex BuildTreeIndex(const CClassList& list, const CClassRecord* key);

/// Marks every record reachable from the top records, walking down the tree.
std::vector<bool> ReachableRecords(const TreeIndex& tree);

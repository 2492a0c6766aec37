// The class tree of the sorted record list, built once per output run: each
// record's children in list order, and the records at the top. The index
// writers and the linked record pages read the tree through it.
#pragma once

#include <cstdint>
#include <vector>

class CClassList;
class CClassRecord;

struct TreeIndex {
  // Children of record i: child[first_child[i] .. first_child[i + 1]).
  std::vector<uint32_t> first_child;
  std::vector<uint32_t> child;
  std::vector<uint32_t> top;  // records whose parent is the key
};

/// Builds the tree of `list`, with `key` as the parent of its top records
/// (null: the roots).
TreeIndex BuildTreeIndex(const CClassList& list, const CClassRecord* key);

/// Marks every record reachable from the top records, walking down the tree.
std::vector<bool> ReachableRecords(const TreeIndex& tree);

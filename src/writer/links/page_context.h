// What every page of a reference with rich pages reads besides its own
// record, and what the passes that link the pages before they are written
// read: the record list, the class tree, the types, who declares each
// function again, the states of each class and a number for the run. The
// rich pages add what those passes find (pages/rich_page.h).
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <vector>

class CClassList;
class COverriders;
class CTypeTable;
struct TreeIndex;

/// Made once before the pages are written; then only read, by any number of
/// threads at once.
class CPageContext {
 public:
  /// With `overriders`, each class's functions say who declares them again.
  CPageContext(const CClassList& list, const TreeIndex& tree, const CTypeTable& types,
               const COverriders* overriders);

  const CClassList& list() const { return list_; }
  const TreeIndex& tree() const { return tree_; }
  /// What the type names of the records' declarations name.
  const CTypeTable& types() const { return types_; }
  /// Who declares each function again; null when the pages do not say.
  const COverriders* overriders() const { return overriders_; }
  /// The states of record `i` are State(k) for FirstState(i) <= k < EndState(i),
  /// in list order, which is name order.
  size_t FirstState(size_t i) const { return first_state_[i]; }
  size_t EndState(size_t i) const { return first_state_[i + 1]; }
  size_t State(size_t k) const { return state_[k]; }
  /// A number of its own for each set of pages made in this process.
  uint64_t run() const { return run_; }

 private:
  const CClassList& list_;
  const TreeIndex& tree_;
  const CTypeTable& types_;
  const COverriders* overriders_;
  // The states of record i: state_[first_state_[i] .. first_state_[i + 1]),
  // in list order.
  std::vector<uint32_t> first_state_;
  std::vector<uint32_t> state_;
  uint64_t run_;
  static std::atomic<uint64_t> last_run_;
};

// The record pages of a reference made with --navigation and --complete:
// besides the links of the navigable pages, each shows its record's
// declaration and doc comment, every member with its declaration rebuilt
// from its parts, its doc comment, its line in the source page and what it
// overrides, and what the class inherits from each ancestor. Every member
// has a stable anchor (see anchors.h); the look is the shared stylesheet's.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "writer/links/references.h"
#include "writer/links/users.h"

class CChangeMarks;
class CClassList;
class COverriders;
class CTypeTable;
struct TreeIndex;

/// What every rich page reads besides its own record: the record list, the
/// class tree and the states of each class. Made once before the pages are
/// written; then only read, by any number of threads at once.
class CRichPages {
 public:
  /// With `overriders`, each class's functions say who declares them again;
  /// with `marks`, the pages mark what is new or changed.
  CRichPages(const CClassList& list, const TreeIndex& tree, const CTypeTable& types,
             const COverriders* overriders = nullptr, const CChangeMarks* marks = nullptr);

  /// Appends the whole page of record `i`, a record read with its model.
  void AppendPage(std::string& page, size_t i) const;

  const CClassList& list() const { return list_; }
  const TreeIndex& tree() const { return tree_; }
  /// What the type names of the records' declarations name.
  const CTypeTable& types() const { return types_; }
  /// Finds the users of every class, enumeration and structure among the
  /// records that have pages, before the pages are written.
  void FindUsers(const std::vector<bool>& reachable) { users_.Build(*this, reachable); }
  const CUsers& users() const { return users_; }
  /// Finds who refers to every class and member into `references`, which
  /// must outlive the pages, linking the scripts read from `sourceDir`,
  /// before the other pages are written; the source pages are written as
  /// they are linked, how each went kept in `ahead`.
  void FindReferences(CReferences& references, const std::vector<bool>& reachable,
                      const platform::CDirectory* sourceDir, CSourcePagesAhead& ahead) {
    references.Build(*this, reachable, sourceDir, ahead);
    references_ = &references;
  }
  /// Who refers to what; nothing before FindReferences.
  const CReferences& references() const { return *references_; }
  /// Who declares each function again; null when the pages do not say.
  const COverriders* overriders() const { return overriders_; }
  /// What is new or changed; null when the pages do not say.
  const CChangeMarks* marks() const { return marks_; }
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
  const CChangeMarks* marks_;
  // The states of record i: state_[first_state_[i] .. first_state_[i + 1]),
  // in list order.
  std::vector<uint32_t> first_state_;
  std::vector<uint32_t> state_;
  CUsers users_;
  const CReferences* references_;
  uint64_t run_;
  static std::atomic<uint64_t> last_run_;
};

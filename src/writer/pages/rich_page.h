// The record pages of a reference made with --navigation and --complete:
// besides the links of the navigable pages, each shows its record's
// declaration and doc comment, every member with its declaration rebuilt
// from its parts, its doc comment, its line in the source page and what it
// overrides, and what the class inherits from each ancestor. Every member
// has a stable anchor (see anchors.h); the look is the shared stylesheet's.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "writer/links/page_context.h"
#include "writer/links/references.h"
#include "writer/links/users.h"

class CChangeMarks;

/// What every rich page reads besides its own record: the context of the
/// pages, who uses and who refers to each class and member, and what is new
/// or changed. Made once before the pages are written; then only read, by
/// any number of threads at once.
class CRichPages : public CPageContext {
 public:
  /// With `overriders`, each class's functions say who declares them again;
  /// with `marks`, the pages mark what is new or changed.
  CRichPages(const CClassList& list, const TreeIndex& tree, const CTypeTable& types,
             const COverriders* overriders = nullptr, const CChangeMarks* marks = nullptr);

  /// Appends the whole page of record `i`, a record read with its model.
  void AppendPage(std::string& page, size_t i) const;

  /// Finds the users of every class, enumeration and structure among the
  /// records that have pages, before the pages are written.
  void FindUsers(const std::vector<bool>& reachable) { users_.Build(*this, reachable); }
  const CUsers& users() const { return users_; }
  /// Finds who refers to every class and member into `references`, which
  /// must outlive the pages, linking the scripts read from `sourceDir`,
  /// before the other pages are written; the source pages are written as
  /// they are linked, by `ahead`, which keeps how each went; `alongside` is
  /// work that needs no references, done by both threads as they are put in
  /// order.
  void FindReferences(CReferences& references, const std::vector<bool>& reachable,
                      const platform::CDirectory* sourceDir, CSourcePagesAhead& ahead,
                      const std::function<void()>& alongside) {
    references.Build(*this, reachable, sourceDir, ahead, alongside);
    references_ = &references;
  }
  /// Who refers to what; nothing before FindReferences.
  const CReferences& references() const { return *references_; }
  /// What is new or changed; null when the pages do not say.
  const CChangeMarks* marks() const { return marks_; }

 private:
  const CChangeMarks* marks_;
  CUsers users_;
  const CReferences* references_;
};

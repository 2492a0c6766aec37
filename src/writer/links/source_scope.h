// The members a source page's names are looked up among: what a class and
// its ancestors declare, nearest first, and what the class's states declare
// themselves. Names compare without case, as the language compares them;
// the first declaration of a name is the one a name links to. Used by the
// linker of source pages (source_links.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

#include "model/record_model.h"
#include "writer/common/anchors.h"
#include "writer/links/model_cache.h"
#include "writer/names/name_table.h"

class CPageContext;

/// A member a name may link to: its record's page and its anchor there.
struct SourceTarget {
  uint32_t record = 0;
  anchors::MemberKind kind = anchors::MemberKind::kVariable;
  std::string_view name;  // as declared, which its anchor holds
  std::string_view what;  // "function", "variable", ...: for the link's title
  std::string_view type;  // a variable's declared type; empty for the others
};

class CSourceScope {
 public:
  /// Reads the members of the class at `record`, and with `ancestors` of
  /// its ancestors too; with `states`, the functions the class's states
  /// declare.
  void Fill(const CPageContext& pages, size_t record, bool ancestors, bool states,
            CModelCache& models);

  /// The member `name` names, or null. Inside the state `state` (empty:
  /// none) its own functions come first. A call looks for functions before
  /// the other kinds, any other name the other way round; each kind here
  /// first, then in `above` (the scope of the superclass, when this one
  /// holds the class's own members only).
  const SourceTarget* Find(std::string_view name, std::string_view state, bool call,
                           const CSourceScope* above = nullptr) const;

  /// The record of the class's state `name` (filled with `states`); SIZE_MAX
  /// when the class has none of that name.
  size_t StateRecord(std::string_view name) const;

  /// The record the scope was filled for; SIZE_MAX before.
  size_t record() const { return record_; }

  /// Makes the scope one filled for no record, as the pages of another run
  /// need.
  void Forget() { record_ = SIZE_MAX; }

 private:
  void Add(uint8_t key, std::string_view owner, std::string_view name, const SourceTarget& target);
  const SourceTarget* At(uint8_t key, std::string_view owner, std::string_view name,
                         uint64_t nameHash) const;

  CNameTable table_{true};
  std::vector<SourceTarget> targets_;
  size_t record_ = SIZE_MAX;
};

// The builder of one rich page, shared by rich_page.cc (the page, its head
// and what the ancestors give it) and rich_members.cc (the sections of the
// record's own members), with the small pieces both write. Used by the rich
// pages alone.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/declaration_text.h"
#include "model/model_declarations.h"
#include "model/record_model.h"
#include "writer/common/anchors.h"
#include "writer/links/model_cache.h"
#include "writer/links/overriders.h"
#include "writer/names/name_table.h"
#include "writer/pages/rich_page.h"

class CClassRecord;

namespace rich_page {

// A key of the case-folding table beside the members' kinds: a variable
// category (its value the category's group).
constexpr uint8_t kCategory = 6;
// Keys of what default properties set (see model/default_key.h): a
// variable or an array's entry (its index as the owner), an object group.
constexpr uint8_t kDefaultEntry = 7;
constexpr uint8_t kDefaultGroup = 8;

constexpr uint8_t Key(anchors::MemberKind kind) {
  return static_cast<uint8_t>(kind);
}

/// Opens a link to `record`'s page, to the member `name` of `kind` on it
/// when `kind` is given, with `text` as the link's text; the caller closes it.
void AppendMemberLink(std::string& out, size_t record, const anchors::MemberKind* kind,
                      std::string_view name, std::string_view text);

/// Appends a doc comment as text, its line ends kept as line breaks; nothing
/// for none.
void AppendDoc(std::string& page, const model::OptionalText& doc);

/// Appends `words`, escaped, each followed by a space.
void AppendWords(std::string& out, const model::RecordModel& model, model::Words words);

/// Opens a section with `heading`.
void OpenSection(std::string& page, const char* heading);

// Builds one rich page. Each writing thread has one, and keeps its models,
// tables and lists from page to page so that their room is reused.
class CPageBuilder {
 public:
  void Build(std::string& page, const CRichPages& pages, size_t i);

 private:
  const CClassRecord& Record(size_t i) const { return pages_->list().At(i); }

  void CollectAncestors(const CClassRecord& record);
  // A function of an ancestor that the page names: its record and name.
  struct Target {
    size_t record;
    std::string_view name;
  };
  // Values of the page's own functions in folded_: kUnresolved until an
  // ancestor's function of that name is met, then its index in targets_;
  // kInherited for a name the page lists as inherited.
  static constexpr uint32_t kUnresolved = UINT32_MAX;
  static constexpr uint32_t kInherited = UINT32_MAX - 1;

  void NoteOwnNames(size_t i);
  void NoteWantedNames();
  void ReadAncestors(bool listInherited);
  void Resolve(CNameTable::Entry& entry, size_t a, std::string_view name);
  const Target* Resolved(std::string_view name) const;
  void ListInherited(size_t a, const model::RecordModel& ancestor);
  size_t FindExtendedState(size_t i, std::string_view name) const;
  uint32_t Occurrence(anchors::MemberKind kind, std::string_view owner, std::string_view name);

  void AppendHead(std::string& page, size_t i);
  void AppendIgnores(std::string& page);
  void OpenMember(std::string& page, anchors::MemberKind kind, std::string_view name,
                  size_t occurrence, uint32_t line);
  void AppendDeclarationText(std::string& page);
  void EndMember(std::string& page, const model::OptionalText& doc, anchors::MemberKind kind,
                 std::string_view name, size_t occurrence);
  void AppendReferenced(std::string& page, anchors::MemberKind kind, std::string_view name,
                        size_t occurrence);
  void AppendChangeMark(std::string& page, model::DeclarationKind kind, std::string_view owner,
                        std::string_view name);
  void AppendOperatorChangeMark(std::string& page, const model::Function& f);
  void AppendConstants(std::string& page);
  void AppendEnumerations(std::string& page);
  void AppendStructures(std::string& page);
  void AppendVariable(std::string& page, const model::Variable& variable, size_t index);
  void AppendVariables(std::string& page);
  void AppendFunctions(std::string& page, bool events);
  void AppendStates(std::string& page, size_t i);
  void AppendDefaults(std::string& page);

  void NoteOwnDefaults(size_t i);
  void NoteInheritedDefaults(uint32_t depth, size_t a, const model::RecordModel& ancestor);
  CNameTable::Entry* DefaultSlot(const model::DefaultProperty& property, bool& made);
  void AppendDefaultKey(std::string& page, const model::DefaultProperty& property);

  static constexpr size_t kNone = SIZE_MAX;
  // One row of the effective default properties: the property, the record
  // that sets it, what it replaces when the class sets it over an
  // ancestor's value, and where the row goes (see rich_defaults.cc).
  struct DefaultRow {
    model::DefaultProperty property;
    size_t setter = kNone;
    bool inherited = false;
    size_t replaced = kNone;  // the nearest ancestor that set it before the class
    std::string_view replacedValue;
    uint32_t depth = 0;     // of the farthest record that sets it: 0 the class, 1 its parent...
    uint32_t position = 0;  // of that record's first property that sets it
  };

  const CRichPages* pages_ = nullptr;
  CModelCache& models_ = CModelCache::OfThread();  // the ancestors', the states'
  size_t record_ = 0;  // the page's own, whose declarations' types it links
  size_t source_ = 0;  // the record whose script the page's lines are in
  model::RecordModel own_;
  CNameTable exact_{false};                    // occurrences of anchors' names on this page
  CNameTable folded_{true};                    // names as the language compares them
  std::vector<size_t> ancestors_;              // nearest first
  std::vector<Target> targets_;                // what the own functions override
  uint64_t wanted_lengths_ = 0;                // bit n: a wanted name's length is n mod 64
  std::vector<uint32_t> variable_occurrence_;  // of each variable's anchor
  std::vector<uint32_t> function_occurrence_;  // of each function's anchor
  std::vector<uint32_t> order_;                // variables by structure or category
  std::vector<uint32_t> starts_;               // where each one's run starts in order_
  std::vector<std::string_view> categories_;   // as first written
  std::vector<DefaultRow> defaults_;           // the class's effective default properties
  std::string declaration_;
  std::string utf8_;                         // a member's name in UTF-8, to find its change
  std::vector<model::TypeSpan> type_spans_;  // where declaration_'s type names sit
  std::string inherited_;
  std::vector<COverriders::Declaration> overriders_;  // of one function
  std::vector<COverriders::Section> sections_;        // of the page's long lists
};

}  // namespace rich_page

#include "writer/index/member_data.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "model/class_list.h"
#include "model/model_codec.h"
#include "model/record_model.h"
#include "platform/output_file.h"
#include "writer/common/anchors.h"
#include "writer/common/file_path_text.h"
#include "writer/common/navigation_templates.h"
#include "writer/common/script_text.h"
#include "writer/common/tree_index.h"
#include "writer/links/overriders.h"
#include "writer/names/name_table.h"
#include "writer/pages/packages.h"

namespace nt = navigation_templates;

namespace {

using anchors::MemberKind;

// The kinds of members in the order of their letters: four of their own,
// then one per function-like kind.
constexpr size_t kFirstFunctionKind = 4;
constexpr size_t kKindCount = kFirstFunctionKind + 6;

std::string_view KindWord(size_t kind) {
  static constexpr std::string_view kOwnWords[] = {"const", "enum", "struct", "var"};
  return kind < kFirstFunctionKind
             ? kOwnWords[kind]
             : model::KindName(static_cast<model::FunctionKind>(kind - kFirstFunctionKind));
}

MemberKind AnchorKind(size_t kind) {
  static constexpr MemberKind kOwnKinds[] = {MemberKind::kConstant, MemberKind::kEnumeration,
                                             MemberKind::kStructure, MemberKind::kVariable};
  return kind < kFirstFunctionKind ? kOwnKinds[kind] : MemberKind::kFunction;
}

// Calls `add(kind, owner, name)` for each member of `model` in the data's
// order; `owner` is the structure a structure's member belongs to (its name
// in the data is "Struct.Member"), else empty.
template <typename Add>
void ForEachMember(const model::RecordModel& model, Add add) {
  for (const model::Constant& c : model.constants) add(0, std::string_view(), c.name, nullptr);
  for (const model::Enumeration& e : model.enums) add(1, std::string_view(), e.name, nullptr);
  for (const model::Structure& s : model.structs) add(2, std::string_view(), s.name, nullptr);
  for (const model::Variable& v : model.variables) {
    const std::string_view owner =
        v.structure == 0 ? std::string_view() : model.structs[v.structure - 1].name;
    add(3, owner, v.name, nullptr);
  }
  for (const model::Function& f : model.functions) {
    add(kFirstFunctionKind + static_cast<size_t>(f.kind), std::string_view(), f.name, &f);
  }
}

// The sections of the data but the members' names, each put together apart
// and written in turn; the names, by far the largest, are written by a
// second reading of the records straight into the file (`WriteNames`).
class CMemberTexts {
 public:
  explicit CMemberTexts(const COverriders* overriders) : overriders_(overriders) {
    for (size_t k = 0; k < kKindCount; ++k) prefixes_[k] = Prefix(AnchorKind(k));
  }

  /// Adds the members of one record (none when `model` is null).
  void AddRecord(size_t record, const model::RecordModel* model, bool state) {
    const size_t before = members_;
    seen_.Clear();
    if (model) {
      ForEachMember(*model, [&](size_t kind, std::string_view owner, std::string_view name,
                                const model::Function* f) {
        Add(kind, owner, name);
        if (f && overriders_ && !model::IsOperator(f->kind)) NoteOverriding(record, name, state);
      });
    }
    counts_.append(std::to_string(members_ - before));
    counts_.append(nt::kNumberEnd);
  }

  /// Writes the data; `writeNames` writes the members' names.
  template <typename WriteNames>
  void Write(platform::COutputFile& out, WriteNames writeNames) const {
    std::string table;
    for (size_t k = 0; k < kKindCount; ++k) {
      table.append(KindWord(k));
      table.append(nt::kNameEnd);
    }
    out.Write(nt::kMemberKindNamesOpen);
    out.Write(table);
    table.clear();
    for (const std::string& prefix : prefixes_) {
      table.append(prefix);
      table.append(nt::kNameEnd);
    }
    out.Write(nt::kMemberPrefixesOpen);
    out.Write(table);
    out.Write(nt::kMemberKindsOpen);
    out.Write(kinds_);
    out.Write(nt::kMemberCountsOpen);
    out.Write(counts_);
    out.Write(nt::kMemberNamesOpen);
    writeNames();
    out.Write(nt::kMemberAnchorsOpen);
    out.Write(anchors_);
    out.Write(nt::kMemberOverriddenOpen);
    out.Write(overridden_);
    out.Write(nt::kMemberDataEnd);
  }

 private:
  // The part of an anchor before the member's name: the anchor of a
  // one-letter name, less the letter.
  static std::string Prefix(MemberKind kind) {
    std::string anchor;
    anchors::AppendMemberAnchor(anchor, kind, "a");
    anchor.pop_back();
    return anchor;
  }

  // Marks the function just added as overriding, where it declares again
  // a function of a record above, by its kind letter in capitals; and notes
  // how many declarations override it, where any do, as the distance from
  // the last member so noted and the count.
  void NoteOverriding(size_t record, std::string_view name, bool state) {
    const size_t member = members_ - 1;
    const COverriders::Facts facts = overriders_->FactsOf(record, name);
    if (facts.overridden != COverriders::kNone) {
      kinds_.back() = static_cast<char>(kinds_.back() - 'a' + 'A');
    }
    // A state's functions are declared again by nothing.
    const size_t count = state ? 0 : facts.count;
    if (count == 0) return;
    overridden_.append(std::to_string(member - last_overridden_));
    overridden_.append(nt::kNumberEnd);
    overridden_.append(std::to_string(count));
    overridden_.append(nt::kNumberEnd);
    last_overridden_ = member;
  }

  void Add(size_t kind, std::string_view owner, std::string_view member) {
    const MemberKind anchor_kind = AnchorKind(kind);
    const size_t occurrence = seen_.Count(static_cast<uint8_t>(anchor_kind), owner, member);
    std::string_view name = member;
    if (!owner.empty()) {
      qualified_.assign(owner);
      qualified_.push_back('.');
      qualified_.append(member);
      name = qualified_;
    }
    kinds_.push_back(static_cast<char>('a' + kind));
    // The anchor is written only where it is not its kind's prefix and the
    // name, as for a name that is not plain or for a second of one name.
    anchor_.clear();
    anchors::AppendMemberAnchor(anchor_, anchor_kind, name, occurrence);
    const std::string& prefix = prefixes_[kind];
    if (anchor_.size() != prefix.size() + name.size() ||
        anchor_.compare(0, prefix.size(), prefix) != 0 ||
        anchor_.compare(prefix.size(), name.size(), name) != 0) {
      anchors_.append(std::to_string(members_));
      anchors_.append(nt::kMemberAnchorSeparator);
      AppendScriptString(anchors_, anchor_);
      anchors_.append(nt::kNameEnd);
    }
    ++members_;
  }

  const COverriders* overriders_;
  std::array<std::string, kKindCount> prefixes_;
  // The names seen in this record so far, by kind of anchor, and how often;
  // their names exactly, as anchors tell them apart.
  CNameTable seen_{false};
  std::string qualified_;
  size_t members_ = 0;
  std::string kinds_;
  std::string counts_;
  std::string anchors_;
  std::string anchor_;
  std::string overridden_;
  size_t last_overridden_ = 0;
};

// The packages' names and each record's package, for the search to find a
// package by name and list its classes.
void WritePackageData(platform::COutputFile& out, const PackageList& packages) {
  std::string text;
  std::string anchors;
  for (const PackageList::Package& package : packages.packages) {
    if (package.name.empty()) continue;
    AppendPathScriptString(text, package.name);
    text.append(nt::kNameEnd);
    anchors::AppendPackageAnchor(anchors, package.name);
    anchors.append(nt::kNameEnd);
  }
  out.Write(nt::kPackageNamesOpen);
  out.Write(text);
  out.Write(nt::kPackageAnchorsOpen);
  out.Write(anchors);
  text.clear();
  for (uint32_t p : packages.ofRecord) {
    const bool named = p != PackageList::kOutside && !packages.packages[p].name.empty();
    text.append(named ? std::to_string(p + 1) : "0");
    text.append(nt::kNumberEnd);
  }
  out.Write(nt::kRecordPackagesOpen);
  out.Write(text);
  out.Write(nt::kPackagesEnd);
}

}  // namespace

void WriteMemberData(platform::COutputFile& out, const CClassList& list,
                     const COverriders* overriders) {
  const TreeIndex tree = BuildTreeIndex(list, nullptr);
  const std::vector<bool> reachable = ReachableRecords(tree);
  CMemberTexts texts(overriders);
  model::RecordModel model;
  for (size_t i = 0; i < list.Count(); ++i) {
    const std::string_view packed = list.At(i).packedModel();
    if (reachable[i] && !packed.empty()) {
      model::UnpackModel(packed, model, model::UnpackPart::kMembers);
    }
    texts.AddRecord(i, reachable[i] && !packed.empty() ? &model : nullptr, list.At(i).isState != 0);
  }
  // The names are read again rather than kept: on a large tree they would
  // hold as much memory as a tenth of the scripts.
  texts.Write(out, [&] {
    constexpr size_t kFlushAt = size_t{1} << 16;
    std::string names;
    for (size_t i = 0; i < list.Count(); ++i) {
      const std::string_view packed = list.At(i).packedModel();
      if (!reachable[i] || packed.empty()) continue;
      model::UnpackModel(packed, model, model::UnpackPart::kMembers);
      ForEachMember(model, [&names](size_t, std::string_view owner, std::string_view name,
                                    const model::Function*) {
        if (!owner.empty()) {
          AppendScriptString(names, owner);
          names.push_back('.');
        }
        AppendScriptString(names, name);
        names.append(nt::kNameEnd);
      });
      if (names.size() >= kFlushAt) {
        out.Write(names);
        names.clear();
      }
    }
    out.Write(names);
  });
  WritePackageData(out, CollectPackages(list, reachable));
}

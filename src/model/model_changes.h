// What changed between two models: records and members added, removed or
// changed, found by matching paths without case and comparing declarations
// without case and with runs of blanks as one. The old model is read whole;
// the new one is given record by record, in its order.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/model_declarations.h"
#include "model/model_file_index.h"

namespace model {

enum class ChangeKind : uint8_t { kAdded, kRemoved, kChanged };

/// "added", "removed" or "changed".
std::string_view ChangeKindName(ChangeKind change);

struct Change {
  ChangeKind change = ChangeKind::kAdded;
  DeclarationKind kind = DeclarationKind::kClass;
  std::string path;    // "Creature.Hurt", "Creature.Idle.Tick", "Creature.Skins(0)"
  std::string before;  // empty when added
  std::string after;   // empty when removed
  std::string package;
  std::string member;  // the member's name ("Wound.Depth"), empty for a record or a default
  uint32_t record = kNoRecord;  // the new record, none when removed

  static constexpr uint32_t kNoRecord = UINT32_MAX;
};

struct ChangeCounts {
  size_t classesAdded = 0;
  size_t classesRemoved = 0;
  size_t membersChanged = 0;
  size_t membersAdded = 0;
  size_t membersRemoved = 0;
};

/// True when `a` and `b` are equal but for ASCII case and the length of
/// runs of blanks.
bool LooselyEqual(std::string_view a, std::string_view b);

class CModelChanges {
 public:
  /// Compares with `old`, which must outlive this; the new records' paths
  /// ("Class", "Class.State") and, for a state, the number of its class.
  CModelChanges(const CModelFileIndex& old, std::vector<std::string> newPaths,
                std::vector<uint32_t> newParents);

  /// Compares new record `number` (numbers given in order from 0), whose
  /// declarations `now` holds, in `package`.
  void Compare(uint32_t number, const CModelDeclarations& now, std::string_view package);

  /// The number of an old record whose object could not be read as a
  /// record, or kNoRecord: the changes are then not whole.
  uint32_t UnreadRecord() const { return unread_; }

  /// The changes of all records given so far, to be taken.
  std::vector<Change>& Changes() { return changes_; }

  ChangeCounts Counts() const;

 private:
  // Reads the declarations of old record `old`; false when they cannot be.
  bool ReadOld(size_t old);
  void RemoveRecord(size_t old);
  // Removes the old records from `old` on that no new record matched.
  void RemoveUnmatchedFrom(size_t old);
  void CompareMembers(uint32_t number, const CModelDeclarations& now, std::string_view package);
  void Add(ChangeKind change, DeclarationKind kind, std::string_view path, std::string_view before,
           std::string_view after, std::string_view package, std::string_view member,
           uint32_t record);

  const CModelFileIndex& old_;
  CModelDeclarations was_;  // the declarations of the old record compared
  uint32_t unread_ = Change::kNoRecord;
  std::vector<std::string> newPaths_;
  std::vector<uint32_t> newParents_;
  std::vector<uint32_t> newMatch_;  // the old record of each new one, or kNoRecord
  std::vector<uint32_t> oldMatch_;  // the new record of each old one, or kNoRecord
  std::vector<Change> changes_;
};

}  // namespace model

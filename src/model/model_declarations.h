// A model file read back for comparing: each record with its own statement
// and every member's declaration rebuilt from the file's fields, as UTF-8
// texts, each member known by a path within its record ("Hurt",
// "Wound.Depth", "==(vector,vector)", "Skins(0)"). Fields it does not know
// are skipped, so files of later releases of format 1 read as well.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace model {

class CJsonCursor;

/// What a declaration declares, in the order a record lists them.
enum class DeclarationKind : uint8_t {
  kClass,
  kState,
  kConstant,
  kEnum,
  kStruct,
  kVariable,
  kFunction,  // every function-like kind
  kDefault,
};

/// The name the changes give a kind: "class", ..., "function", "default".
std::string_view DeclarationKindName(DeclarationKind kind);

struct Declaration {
  DeclarationKind kind = DeclarationKind::kClass;
  // Offsets into the list's texts: the path within the record, of which the
  // first `nameLength` bytes are the member's name; and the declaration.
  size_t key = 0;
  uint32_t keyLength = 0;
  uint32_t nameLength = 0;
  size_t text = 0;
  uint32_t textLength = 0;
};

struct DeclaredRecord {
  bool isState = false;
  std::string_view name;
  std::string_view package;  // empty without a package
  uint32_t parent = kNoParent;
  // The record's declarations: its own statement first, then its members
  // by kind, each kind in the file's order.
  size_t first = 0;
  size_t count = 0;

  static constexpr uint32_t kNoParent = UINT32_MAX;
};

class CModelDeclarations {
 public:
  /// Reads a whole model file of format 1 from `text`, which it keeps views
  /// into and changes; false with `problem` said when it is not one.
  bool ReadFile(std::string& text, std::string& problem);

  /// Reads one record object, as the model file writes it, from `text`,
  /// replacing what the list held.
  bool ReadRecord(std::string& text);

  size_t Count() const { return records_.size(); }
  const DeclaredRecord& Record(size_t i) const { return records_[i]; }
  std::span<const Declaration> Members(const DeclaredRecord& record) const {
    return {declarations_.data() + record.first, record.count};
  }
  std::string_view Key(const Declaration& d) const { return {texts_.data() + d.key, d.keyLength}; }
  std::string_view Name(const Declaration& d) const {
    return {texts_.data() + d.key, d.nameLength};
  }
  std::string_view Text(const Declaration& d) const {
    return {texts_.data() + d.text, d.textLength};
  }

  /// Appends the path of record `i`: "Class", or "Class.State" for a state.
  void AppendPath(std::string& out, size_t i) const;

 private:
  bool ReadRecords(CJsonCursor& json);
  bool ReadRecordObject(CJsonCursor& json);
  bool ReadWords(CJsonCursor& json, std::vector<std::string_view>& words);
  bool ReadVariable(CJsonCursor& json, std::string_view structure);
  bool ReadFunction(CJsonCursor& json);
  bool ReadConstant(CJsonCursor& json);
  bool ReadEnum(CJsonCursor& json);
  bool ReadStruct(CJsonCursor& json);
  bool ReadDefault(CJsonCursor& json);
  // Adds a declaration whose key and text are the last `keyLength` and
  // `textLength` bytes of the texts.
  void Add(DeclarationKind kind, size_t key, size_t nameLength, size_t text);

  std::vector<DeclaredRecord> records_;
  std::vector<Declaration> declarations_;
  std::string texts_;
  std::vector<std::string_view> words_;
  std::vector<std::string_view> parameterTypes_;
};

}  // namespace model

// The declarations of one record as the comparing of models sees them: the
// record's own statement and every member's declaration rebuilt from its
// parts, as UTF-8 texts, each member known by a path within its record
// ("Hurt", "Wound.Depth", "==(vector,vector)", "Skins(0)"). Built from a
// record object of the model file or from a record's model, alike.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/record_model.h"

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
  // Offsets into the texts: the path within the record, of which the first
  // `nameLength` bytes are the member's name; and the declaration.
  uint32_t key = 0;
  uint32_t keyLength = 0;
  uint32_t nameLength = 0;
  uint32_t text = 0;
  uint32_t textLength = 0;
};

using WordList = std::span<const std::string_view>;

class CModelDeclarations {
 public:
  /// Empties the list for the next record.
  void Clear();

  /// Reads one record object, as the model file writes it, from `json`;
  /// fields it does not know are skipped. False when it is not one.
  bool ReadRecord(std::string_view json);

  // The parts of a record, each member in its record's order: a structure
  // after its members, the record's own statement last.
  void AddConstant(std::string_view name, std::string_view value);
  void AddEnum(std::string_view name, WordList values);
  /// The structure whose members were added from declaration `firstMember`
  /// on; it is put before them.
  void AddStruct(std::string_view name, OptionalText extends, WordList modifiers,
                 size_t firstMember);
  void AddVariable(std::string_view structure, std::string_view name, std::string_view type,
                   OptionalText category, WordList modifiers, OptionalText size);
  /// A function whose parameters `parameters` holds as AppendParameter wrote
  /// them, their types in `types`.
  void AddFunction(std::string_view name, std::string_view kind, OptionalText returns,
                   WordList modifiers, std::string_view parameters, WordList types);
  void AddDefault(std::string_view key, std::string_view value);
  /// The record's own statement; its declarations are then put in order.
  void EndRecord(bool isState, std::string_view name, OptionalText extends, OptionalText within);

  /// Appends one parameter, "optional float Rate = 1.0", to `out`, with a
  /// comma before all but the first.
  static void AppendParameter(std::string& out, std::string_view name, std::string_view type,
                              WordList modifiers, OptionalText value);

  size_t Size() const { return declarations_.size(); }
  std::span<const Declaration> All() const { return declarations_; }
  std::string_view Key(const Declaration& d) const { return {texts_.data() + d.key, d.keyLength}; }
  std::string_view Name(const Declaration& d) const {
    return {texts_.data() + d.key, d.nameLength};
  }
  std::string_view Text(const Declaration& d) const {
    return {texts_.data() + d.text, d.textLength};
  }

 private:
  bool ReadVariable(CJsonCursor& json, std::string_view structure);
  bool ReadFunction(CJsonCursor& json);
  bool ReadStruct(CJsonCursor& json);
  // Appends a key `name` and the start of its declaration: `keyword` and
  // `name`; returns where the key starts, the declaration following it.
  size_t StartNamed(std::string_view keyword, std::string_view name);
  // Adds a declaration whose key starts at `key` in the texts and whose text
  // runs from `text` to their end.
  void Add(DeclarationKind kind, size_t key, size_t nameLength, size_t text);

  std::vector<Declaration> declarations_;
  std::string texts_;
  std::deque<std::string> decoded_;
  // Room kept from record to record for the lists of words read.
  std::vector<std::string_view> words_;
  std::vector<std::string_view> modifiers_;
  std::vector<std::string_view> structModifiers_;
  std::vector<std::string_view> types_;
  std::string parameters_;
};

}  // namespace model

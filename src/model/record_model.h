// The whole of one class or state as the complete reader finds it: names,
// modifiers, documentation and every member with its parts. Texts are views:
// into the script while it is read, into the record list's store once kept.
// The record pages, the model file and the counts of the index all read it.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace model {

/// A text that may be absent (no category, no default, no comment), as
/// distinct from one that is present and empty.
using OptionalText = std::optional<std::string_view>;

/// Consecutive entries of RecordModel::words: modifiers, enumeration values,
/// ignored functions.
struct Words {
  uint32_t first = 0;
  uint32_t count = 0;
};

enum class FunctionKind : uint8_t {
  kFunction,
  kEvent,
  kDelegate,
  kOperator,
  kPreOperator,
  kPostOperator,
};

/// The keyword of a function-like kind, in lower case.
std::string_view KindName(FunctionKind kind);

/// True for the operators, which are told apart from their namesakes by
/// their parameters: they override nothing by name alone.
constexpr bool IsOperator(FunctionKind kind) {
  return kind == FunctionKind::kOperator || kind == FunctionKind::kPreOperator ||
         kind == FunctionKind::kPostOperator;
}

struct Variable {
  std::string_view name;
  std::string_view type;
  OptionalText category;  // from "var(Category)"; absent for plain "var"
  Words modifiers;
  OptionalText size;  // the text inside "[...]" after the name
  uint32_t line = 0;
  OptionalText doc;
  uint32_t structure = 0;  // 0: a member of the record; s + 1: of structure s
};

struct Parameter {
  std::string_view name;
  std::string_view type;
  Words modifiers;
  OptionalText value;  // the default after "="
};

struct Function {
  std::string_view name;
  FunctionKind kind = FunctionKind::kFunction;
  OptionalText precedence;  // an operator's "(24)", as written
  OptionalText returns;
  Words modifiers;
  uint32_t firstParameter = 0;
  uint32_t parameterCount = 0;
  bool body = false;  // false: declared only, or native
  uint32_t line = 0;
  OptionalText doc;
};

struct Constant {
  std::string_view name;
  std::string_view value;
  uint32_t line = 0;
  OptionalText doc;
};

struct Enumeration {
  std::string_view name;
  Words values;
  uint32_t line = 0;
  OptionalText doc;
};

struct Structure {
  std::string_view name;
  OptionalText extends;
  Words modifiers;
  uint32_t line = 0;
  OptionalText doc;
};

struct DefaultProperty {
  std::string_view key;
  std::string_view value;
  uint32_t line = 0;
};

/// One class or one state. A state has no constants, enumerations,
/// structures or default properties; only a state has ignored functions.
struct RecordModel {
  bool isState = false;
  std::string_view name;
  OptionalText extends;  // a class's superclass as written; a state's extended state
  OptionalText within;
  Words modifiers;
  uint32_t line = 0;  // of the class or state statement
  OptionalText doc;
  Words ignores;

  std::vector<std::string_view> words;
  std::vector<Constant> constants;
  std::vector<Enumeration> enums;
  std::vector<Structure> structs;
  std::vector<Variable> variables;  // the record's own and its structures' members
  std::vector<Function> functions;
  std::vector<Parameter> parameters;
  std::vector<DefaultProperty> defaults;

  /// Empties the model, keeping the room its lists have.
  void Clear();

  /// The words of `span`.
  std::span<const std::string_view> Span(Words span) const {
    return {words.data() + span.first, span.count};
  }

  /// What the index counts: variables of the record itself (one per name),
  /// events, and every other function-like kind.
  size_t VariableCount() const;
  size_t EventCount() const;
  size_t FunctionCount() const;
};

}  // namespace model

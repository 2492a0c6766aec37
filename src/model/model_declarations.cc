#include "model/model_declarations.h"

#include <algorithm>

#include "model/json_cursor.h"

namespace model {

namespace {

using namespace std::string_view_literals;

void AppendWords(std::string& out, WordList words) {
  for (std::string_view word : words) {
    out.append(word);
    out.push_back(' ');
  }
}

bool IsOperatorKind(std::string_view kind) {
  return kind == "operator"sv || kind == "preoperator"sv || kind == "postoperator"sv;
}

// Reads an object, each field by `read(key)`.
template <typename Read>
bool ReadObject(CJsonCursor& json, Read read) {
  bool first = true;
  std::string_view key;
  if (!json.Open('{')) return false;
  while (json.NextKey(first, key)) {
    if (!read(key)) return false;
  }
  return json.ok();
}

// Reads an array, each element by `read()`.
template <typename Read>
bool ReadArray(CJsonCursor& json, Read read) {
  bool first = true;
  if (!json.Open('[')) return false;
  while (json.NextElement(first)) {
    if (!read()) return false;
  }
  return json.ok();
}

bool ReadOptional(CJsonCursor& json, OptionalText& text) {
  std::string_view value;
  bool present = false;
  if (!json.OptionalString(value, present)) return false;
  text = present ? OptionalText(value) : std::nullopt;
  return true;
}

bool ReadWords(CJsonCursor& json, std::vector<std::string_view>& words) {
  words.clear();
  return ReadArray(json, [&] {
    std::string_view word;
    if (!json.String(word)) return false;
    words.push_back(word);
    return true;
  });
}

}  // namespace

std::string_view DeclarationKindName(DeclarationKind kind) {
  static constexpr std::string_view kNames[] = {"class",  "state",    "constant", "enum",
                                                "struct", "variable", "function", "default"};
  return kNames[static_cast<size_t>(kind)];
}

void CModelDeclarations::Clear() {
  declarations_.clear();
  texts_.clear();
  decoded_.clear();
}

void CModelDeclarations::Add(DeclarationKind kind, size_t key, size_t nameLength, size_t text) {
  Declaration d;
  d.kind = kind;
  d.key = static_cast<uint32_t>(key);
  d.keyLength = static_cast<uint32_t>(text - key);
  d.nameLength = static_cast<uint32_t>(nameLength);
  d.text = static_cast<uint32_t>(text);
  d.textLength = static_cast<uint32_t>(texts_.size() - text);
  declarations_.push_back(d);
}

size_t CModelDeclarations::StartNamed(std::string_view keyword, std::string_view name) {
  const size_t at = texts_.size();
  texts_.append(name);
  texts_.append(keyword);
  texts_.append(name);
  return at;
}

// "const MaxLegs = 8".
void CModelDeclarations::AddConstant(std::string_view name, std::string_view value) {
  const size_t at = StartNamed("const "sv, name);
  const size_t text = at + name.size();
  texts_.append(" = "sv);
  texts_.append(value);
  Add(DeclarationKind::kConstant, at, name.size(), text);
}

// "enum EMood {MOOD_Calm, MOOD_Angry}".
void CModelDeclarations::AddEnum(std::string_view name, WordList values) {
  const size_t at = StartNamed("enum "sv, name);
  const size_t text = at + name.size();
  texts_.append(" {"sv);
  for (size_t i = 0; i < values.size(); ++i) {
    if (i > 0) texts_.append(", "sv);
    texts_.append(values[i]);
  }
  texts_.push_back('}');
  Add(DeclarationKind::kEnum, at, name.size(), text);
}

// "struct native Pair extends Mark".
void CModelDeclarations::AddStruct(std::string_view name, OptionalText extends, WordList modifiers,
                                   size_t firstMember) {
  const size_t at = texts_.size();
  texts_.append(name);
  const size_t text = texts_.size();
  texts_.append("struct "sv);
  AppendWords(texts_, modifiers);
  texts_.append(name);
  if (extends) {
    texts_.append(" extends "sv);
    texts_.append(*extends);
  }
  Add(DeclarationKind::kStruct, at, name.size(), text);
  std::rotate(declarations_.begin() + static_cast<std::ptrdiff_t>(firstMember),
              declarations_.end() - 1, declarations_.end());
}

// "var(Movement) float Speed", known as "Speed", or as "Wound.Depth" in a
// structure.
void CModelDeclarations::AddVariable(std::string_view structure, std::string_view name,
                                     std::string_view type, OptionalText category,
                                     WordList modifiers, OptionalText size) {
  const size_t at = texts_.size();
  if (!structure.empty()) {
    texts_.append(structure);
    texts_.push_back('.');
  }
  texts_.append(name);
  const size_t text = texts_.size();
  texts_.append("var"sv);
  if (category) {
    texts_.push_back('(');
    texts_.append(*category);
    texts_.push_back(')');
  }
  texts_.push_back(' ');
  AppendWords(texts_, modifiers);
  if (!type.empty()) {
    texts_.append(type);
    texts_.push_back(' ');
  }
  texts_.append(name);
  if (size) {
    texts_.push_back('[');
    texts_.append(*size);
    texts_.push_back(']');
  }
  Add(DeclarationKind::kVariable, at, text - at, text);
}

void CModelDeclarations::AppendParameter(std::string& out, std::string_view name,
                                         std::string_view type, WordList modifiers,
                                         OptionalText value) {
  if (!out.empty()) out.append(", "sv);
  AppendWords(out, modifiers);
  out.append(type);
  if (!name.empty()) {
    if (!type.empty()) out.push_back(' ');
    out.append(name);
  }
  if (value) {
    out.append(" = "sv);
    out.append(*value);
  }
}

// "final function bool Walk(vector To, optional float Rate)", known by its
// name; an operator by its name and parameter types: "==(vector,vector)".
void CModelDeclarations::AddFunction(std::string_view name, std::string_view kind,
                                     OptionalText returns, WordList modifiers,
                                     std::string_view parameters, WordList types) {
  const size_t at = texts_.size();
  texts_.append(name);
  if (IsOperatorKind(kind)) {
    texts_.push_back('(');
    for (size_t i = 0; i < types.size(); ++i) {
      if (i > 0) texts_.push_back(',');
      texts_.append(types[i]);
    }
    texts_.push_back(')');
  }
  const size_t text = texts_.size();
  AppendWords(texts_, modifiers);
  texts_.append(kind);
  texts_.push_back(' ');
  if (returns) {
    texts_.append(*returns);
    texts_.push_back(' ');
  }
  texts_.append(name);
  texts_.push_back('(');
  texts_.append(parameters);
  texts_.push_back(')');
  Add(DeclarationKind::kFunction, at, name.size(), text);
}

// "Skins(0)=Wood", known by its key.
void CModelDeclarations::AddDefault(std::string_view key, std::string_view value) {
  const size_t at = texts_.size();
  texts_.append(key);
  const size_t text = texts_.size();
  texts_.append(key);
  texts_.push_back('=');
  texts_.append(value);
  Add(DeclarationKind::kDefault, at, 0, text);
}

// "class Bat extends Creature within World", "state Idle extends Resting".
void CModelDeclarations::EndRecord(bool isState, std::string_view name, OptionalText extends,
                                   OptionalText within) {
  const size_t at = StartNamed(isState ? "state "sv : "class "sv, name);
  const size_t text = at + name.size();
  if (extends) {
    texts_.append(" extends "sv);
    texts_.append(*extends);
  }
  if (within) {
    texts_.append(" within "sv);
    texts_.append(*within);
  }
  Add(isState ? DeclarationKind::kState : DeclarationKind::kClass, at, 0, text);
  // The own statement first, then the members by kind, each kind in the
  // order it was given in.
  std::rotate(declarations_.begin(), declarations_.end() - 1, declarations_.end());
  std::stable_sort(declarations_.begin() + 1, declarations_.end(),
                   [](const Declaration& a, const Declaration& b) { return a.kind < b.kind; });
}

bool CModelDeclarations::ReadVariable(CJsonCursor& json, std::string_view structure) {
  std::string_view name, type;
  OptionalText category, size;
  if (!ReadObject(json, [&](std::string_view key) {
        if (key == "name"sv) return json.String(name);
        if (key == "type"sv) return json.String(type);
        if (key == "category"sv) return ReadOptional(json, category);
        if (key == "size"sv) return ReadOptional(json, size);
        if (key == "modifiers"sv) return ReadWords(json, words_);
        return json.Skip();
      })) {
    return false;
  }
  AddVariable(structure, name, type, category, words_, size);
  words_.clear();
  return true;
}

bool CModelDeclarations::ReadFunction(CJsonCursor& json) {
  std::string_view name, kind = "function"sv;
  OptionalText returns;
  std::vector<std::string_view>& modifiers = modifiers_;
  modifiers.clear();
  parameters_.clear();
  types_.clear();
  if (!ReadObject(json, [&](std::string_view key) {
        if (key == "name"sv) return json.String(name);
        if (key == "kind"sv) return json.String(kind);
        if (key == "returns"sv) return ReadOptional(json, returns);
        if (key == "modifiers"sv) return ReadWords(json, modifiers);
        if (key == "parameters"sv) {
          return ReadArray(json, [&] {
            std::string_view pName, pType;
            OptionalText value;
            if (!ReadObject(json, [&](std::string_view field) {
                  if (field == "name"sv) return json.String(pName);
                  if (field == "type"sv) return json.String(pType);
                  if (field == "default"sv) return ReadOptional(json, value);
                  if (field == "modifiers"sv) return ReadWords(json, words_);
                  return json.Skip();
                })) {
              return false;
            }
            AppendParameter(parameters_, pName, pType, words_, value);
            words_.clear();
            types_.push_back(pType);
            return true;
          });
        }
        return json.Skip();
      })) {
    return false;
  }
  AddFunction(name, kind, returns, modifiers, parameters_, types_);
  return true;
}

// The name comes before the members in the file, as their paths need it.
bool CModelDeclarations::ReadStruct(CJsonCursor& json) {
  std::string_view name;
  OptionalText extends;
  std::vector<std::string_view>& modifiers = structModifiers_;
  modifiers.clear();
  const size_t firstMember = declarations_.size();
  if (!ReadObject(json, [&](std::string_view key) {
        if (key == "name"sv) return json.String(name);
        if (key == "extends"sv) return ReadOptional(json, extends);
        if (key == "modifiers"sv) return ReadWords(json, modifiers);
        if (key == "members"sv) return ReadArray(json, [&] { return ReadVariable(json, name); });
        return json.Skip();
      })) {
    return false;
  }
  AddStruct(name, extends, modifiers, firstMember);
  return true;
}

bool CModelDeclarations::ReadRecord(std::string_view text) {
  Clear();
  CJsonCursor json(text, decoded_);
  std::string_view kind, name;
  OptionalText extends, within;
  auto pair = [&json](auto add) {
    std::string_view first, second;
    if (!ReadObject(json, [&](std::string_view key) {
          if (key == "name"sv || key == "key"sv) return json.String(first);
          if (key == "value"sv) return json.String(second);
          return json.Skip();
        })) {
      return false;
    }
    add(first, second);
    return true;
  };
  const bool read = ReadObject(json, [&](std::string_view key) {
    if (key == "kind"sv) return json.String(kind);
    if (key == "name"sv) return json.String(name);
    if (key == "extends"sv) return ReadOptional(json, extends);
    if (key == "within"sv) return ReadOptional(json, within);
    if (key == "constants"sv) {
      return ReadArray(json, [&] {
        return pair([this](std::string_view n, std::string_view v) { AddConstant(n, v); });
      });
    }
    if (key == "enums"sv) {
      return ReadArray(json, [&] {
        std::string_view enumName;
        std::vector<std::string_view>& values = words_;
        if (!ReadObject(json, [&](std::string_view field) {
              if (field == "name"sv) return json.String(enumName);
              if (field == "values"sv) return ReadWords(json, values);
              return json.Skip();
            })) {
          return false;
        }
        AddEnum(enumName, values);
        return true;
      });
    }
    if (key == "structs"sv) return ReadArray(json, [&] { return ReadStruct(json); });
    if (key == "variables"sv) return ReadArray(json, [&] { return ReadVariable(json, {}); });
    if (key == "functions"sv) return ReadArray(json, [&] { return ReadFunction(json); });
    if (key == "defaults"sv) {
      return ReadArray(json, [&] {
        return pair([this](std::string_view k, std::string_view v) { AddDefault(k, v); });
      });
    }
    return json.Skip();
  });
  if (read) EndRecord(kind == "state"sv, name, extends, within);
  return read;
}

}  // namespace model

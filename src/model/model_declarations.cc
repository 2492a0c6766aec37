#include "model/model_declarations.h"

#include <algorithm>

#include "model/json_cursor.h"

namespace model {

namespace {

using namespace std::string_view_literals;

void AppendWords(std::string& out, std::span<const std::string_view> words) {
  for (std::string_view word : words) {
    out.append(word);
    out.push_back(' ');
  }
}

bool IsOperatorKind(std::string_view kind) {
  return kind == "operator"sv || kind == "preoperator"sv || kind == "postoperator"sv;
}

}  // namespace

std::string_view DeclarationKindName(DeclarationKind kind) {
  static constexpr std::string_view kNames[] = {"class",  "state",    "constant", "enum",
                                                "struct", "variable", "function", "default"};
  return kNames[static_cast<size_t>(kind)];
}

void CModelDeclarations::Add(DeclarationKind kind, size_t key, size_t nameLength, size_t text) {
  Declaration d;
  d.kind = kind;
  d.key = key;
  d.keyLength = static_cast<uint32_t>(text - key);
  d.nameLength = static_cast<uint32_t>(nameLength);
  d.text = text;
  d.textLength = static_cast<uint32_t>(texts_.size() - text);
  declarations_.push_back(d);
}

void CModelDeclarations::AppendPath(std::string& out, size_t i) const {
  const DeclaredRecord& record = records_[i];
  if (record.isState && record.parent < records_.size()) {
    out.append(records_[record.parent].name);
    out.push_back('.');
  }
  out.append(record.name);
}

bool CModelDeclarations::ReadWords(CJsonCursor& json, std::vector<std::string_view>& words) {
  words.clear();
  bool first = true;
  if (!json.Open('[')) return false;
  while (json.NextElement(first)) {
    std::string_view word;
    if (!json.String(word)) return false;
    words.push_back(word);
  }
  return json.ok();
}

// "var(Movement) float Speed", known as "Speed", or as "Wound.Depth" in a
// structure.
bool CModelDeclarations::ReadVariable(CJsonCursor& json, std::string_view structure) {
  std::string_view name, type, category, size;
  bool hasCategory = false, hasSize = false;
  words_.clear();
  bool first = true;
  std::string_view key;
  if (!json.Open('{')) return false;
  while (json.NextKey(first, key)) {
    bool read = true;
    if (key == "name"sv) {
      read = json.String(name);
    } else if (key == "type"sv) {
      read = json.String(type);
    } else if (key == "category"sv) {
      read = json.OptionalString(category, hasCategory);
    } else if (key == "size"sv) {
      read = json.OptionalString(size, hasSize);
    } else if (key == "modifiers"sv) {
      read = ReadWords(json, words_);
    } else {
      read = json.Skip();
    }
    if (!read) return false;
  }
  if (!json.ok()) return false;
  const size_t at = texts_.size();
  if (!structure.empty()) {
    texts_.append(structure);
    texts_.push_back('.');
  }
  texts_.append(name);
  const size_t text = texts_.size();
  texts_.append("var"sv);
  if (hasCategory) {
    texts_.push_back('(');
    texts_.append(category);
    texts_.push_back(')');
  }
  texts_.push_back(' ');
  AppendWords(texts_, words_);
  if (!type.empty()) {
    texts_.append(type);
    texts_.push_back(' ');
  }
  texts_.append(name);
  if (hasSize) {
    texts_.push_back('[');
    texts_.append(size);
    texts_.push_back(']');
  }
  Add(DeclarationKind::kVariable, at, text - at, text);
  return true;
}

// "final function bool Walk(vector To, optional float Rate)", known by its
// name; an operator by its name and parameter types: "==(vector,vector)".
bool CModelDeclarations::ReadFunction(CJsonCursor& json) {
  std::string_view name, kind = "function"sv, returns;
  bool hasReturns = false;
  words_.clear();
  parameterTypes_.clear();
  std::string parameters;
  bool first = true;
  std::string_view key;
  if (!json.Open('{')) return false;
  while (json.NextKey(first, key)) {
    bool read = true;
    if (key == "name"sv) {
      read = json.String(name);
    } else if (key == "kind"sv) {
      read = json.String(kind);
    } else if (key == "returns"sv) {
      read = json.OptionalString(returns, hasReturns);
    } else if (key == "modifiers"sv) {
      read = ReadWords(json, words_);
    } else if (key == "parameters"sv) {
      bool firstParameter = true;
      read = json.Open('[');
      while (read && json.NextElement(firstParameter)) {
        std::string_view pName, pType, pDefault, pKey;
        bool hasDefault = false, firstKey = true;
        std::vector<std::string_view> modifiers;
        if (!json.Open('{')) return false;
        while (json.NextKey(firstKey, pKey)) {
          bool ok = true;
          if (pKey == "name"sv) {
            ok = json.String(pName);
          } else if (pKey == "type"sv) {
            ok = json.String(pType);
          } else if (pKey == "default"sv) {
            ok = json.OptionalString(pDefault, hasDefault);
          } else if (pKey == "modifiers"sv) {
            ok = ReadWords(json, modifiers);
          } else {
            ok = json.Skip();
          }
          if (!ok) return false;
        }
        if (!json.ok()) return false;
        if (!parameterTypes_.empty()) parameters.append(", "sv);
        AppendWords(parameters, modifiers);
        parameters.append(pType);
        if (!pName.empty()) {
          if (!pType.empty()) parameters.push_back(' ');
          parameters.append(pName);
        }
        if (hasDefault) {
          parameters.append(" = "sv);
          parameters.append(pDefault);
        }
        parameterTypes_.push_back(pType);
      }
      read = json.ok();
    } else {
      read = json.Skip();
    }
    if (!read) return false;
  }
  if (!json.ok()) return false;
  const size_t at = texts_.size();
  texts_.append(name);
  if (IsOperatorKind(kind)) {
    texts_.push_back('(');
    for (size_t i = 0; i < parameterTypes_.size(); ++i) {
      if (i > 0) texts_.push_back(',');
      texts_.append(parameterTypes_[i]);
    }
    texts_.push_back(')');
  }
  const size_t text = texts_.size();
  AppendWords(texts_, words_);
  texts_.append(kind);
  texts_.push_back(' ');
  if (hasReturns) {
    texts_.append(returns);
    texts_.push_back(' ');
  }
  texts_.append(name);
  texts_.push_back('(');
  texts_.append(parameters);
  texts_.push_back(')');
  Add(DeclarationKind::kFunction, at, name.size(), text);
  return true;
}

// Reads an object of `fields`, each read by `read(key)`, the others skipped.
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

// "const MaxLegs = 8".
bool CModelDeclarations::ReadConstant(CJsonCursor& json) {
  std::string_view name, value;
  if (!ReadObject(json, [&](std::string_view key) {
        if (key == "name"sv) return json.String(name);
        if (key == "value"sv) return json.String(value);
        return json.Skip();
      })) {
    return false;
  }
  const size_t at = texts_.size();
  texts_.append(name);
  const size_t text = texts_.size();
  texts_.append("const "sv);
  texts_.append(name);
  texts_.append(" = "sv);
  texts_.append(value);
  Add(DeclarationKind::kConstant, at, name.size(), text);
  return true;
}

// "enum EMood {MOOD_Calm, MOOD_Angry}".
bool CModelDeclarations::ReadEnum(CJsonCursor& json) {
  std::string_view name;
  words_.clear();
  if (!ReadObject(json, [&](std::string_view key) {
        if (key == "name"sv) return json.String(name);
        if (key == "values"sv) return ReadWords(json, words_);
        return json.Skip();
      })) {
    return false;
  }
  const size_t at = texts_.size();
  texts_.append(name);
  const size_t text = texts_.size();
  texts_.append("enum "sv);
  texts_.append(name);
  texts_.append(" {"sv);
  for (size_t i = 0; i < words_.size(); ++i) {
    if (i > 0) texts_.append(", "sv);
    texts_.append(words_[i]);
  }
  texts_.push_back('}');
  Add(DeclarationKind::kEnum, at, name.size(), text);
  return true;
}

// "struct native Pair extends Mark", then its members. The name comes
// before the members in the file, as the members' paths need it.
bool CModelDeclarations::ReadStruct(CJsonCursor& json) {
  std::string_view name, extends;
  bool hasExtends = false;
  std::vector<std::string_view> modifiers;
  const size_t firstMember = declarations_.size();
  if (!ReadObject(json, [&](std::string_view key) {
        if (key == "name"sv) return json.String(name);
        if (key == "extends"sv) return json.OptionalString(extends, hasExtends);
        if (key == "modifiers"sv) return ReadWords(json, modifiers);
        if (key == "members"sv) {
          bool first = true;
          if (!json.Open('[')) return false;
          while (json.NextElement(first)) {
            if (!ReadVariable(json, name)) return false;
          }
          return json.ok();
        }
        return json.Skip();
      })) {
    return false;
  }
  const size_t at = texts_.size();
  texts_.append(name);
  const size_t text = texts_.size();
  texts_.append("struct "sv);
  AppendWords(texts_, modifiers);
  texts_.append(name);
  if (hasExtends) {
    texts_.append(" extends "sv);
    texts_.append(extends);
  }
  Add(DeclarationKind::kStruct, at, name.size(), text);
  // The structure stands before its members.
  std::rotate(declarations_.begin() + static_cast<std::ptrdiff_t>(firstMember),
              declarations_.end() - 1, declarations_.end());
  return true;
}

// "Skins(0)=Wood", known by its key.
bool CModelDeclarations::ReadDefault(CJsonCursor& json) {
  std::string_view name, value;
  if (!ReadObject(json, [&](std::string_view key) {
        if (key == "key"sv) return json.String(name);
        if (key == "value"sv) return json.String(value);
        return json.Skip();
      })) {
    return false;
  }
  const size_t at = texts_.size();
  texts_.append(name);
  const size_t text = texts_.size();
  texts_.append(name);
  texts_.push_back('=');
  texts_.append(value);
  Add(DeclarationKind::kDefault, at, 0, text);
  return true;
}

bool CModelDeclarations::ReadRecordObject(CJsonCursor& json) {
  DeclaredRecord record;
  std::string_view kind, extends, within;
  bool hasExtends = false, hasWithin = false, hasParent = false;
  const size_t first = declarations_.size();
  // Reads a list of members, each by `read`.
  auto list = [&json](auto read) {
    bool firstElement = true;
    if (!json.Open('[')) return false;
    while (json.NextElement(firstElement)) {
      if (!read()) return false;
    }
    return json.ok();
  };
  if (!ReadObject(json, [&](std::string_view key) {
        if (key == "kind"sv) return json.String(kind);
        if (key == "name"sv) return json.String(record.name);
        if (key == "extends"sv) return json.OptionalString(extends, hasExtends);
        if (key == "within"sv) return json.OptionalString(within, hasWithin);
        if (key == "parent"sv) return json.OptionalNumber(record.parent, hasParent);
        if (key == "package"sv) {
          bool present = false;
          return json.OptionalString(record.package, present);
        }
        if (key == "constants"sv) return list([&] { return ReadConstant(json); });
        if (key == "enums"sv) return list([&] { return ReadEnum(json); });
        if (key == "structs"sv) return list([&] { return ReadStruct(json); });
        if (key == "variables"sv) return list([&] { return ReadVariable(json, {}); });
        if (key == "functions"sv) return list([&] { return ReadFunction(json); });
        if (key == "defaults"sv) return list([&] { return ReadDefault(json); });
        return json.Skip();
      })) {
    return false;
  }
  if (!hasParent) record.parent = DeclaredRecord::kNoParent;
  record.isState = kind == "state"sv;
  // The record's own statement: "class Bat extends Creature within World".
  const size_t at = texts_.size();
  texts_.append(record.name);
  const size_t text = texts_.size();
  texts_.append(record.isState ? "state "sv : "class "sv);
  texts_.append(record.name);
  if (hasExtends) {
    texts_.append(" extends "sv);
    texts_.append(extends);
  }
  if (hasWithin) {
    texts_.append(" within "sv);
    texts_.append(within);
  }
  Add(record.isState ? DeclarationKind::kState : DeclarationKind::kClass, at, 0, text);
  const auto begin = declarations_.begin() + static_cast<std::ptrdiff_t>(first);
  std::rotate(begin, declarations_.end() - 1, declarations_.end());
  // Members by kind, each kind in the file's order, whatever order the
  // file's fields come in.
  std::stable_sort(begin, declarations_.end(),
                   [](const Declaration& a, const Declaration& b) { return a.kind < b.kind; });
  record.first = first;
  record.count = declarations_.size() - first;
  records_.push_back(record);
  return true;
}

bool CModelDeclarations::ReadRecords(CJsonCursor& json) {
  bool first = true;
  if (!json.Open('[')) return false;
  while (json.NextElement(first)) {
    if (!ReadRecordObject(json)) return false;
  }
  return json.ok();
}

bool CModelDeclarations::ReadFile(std::string& text, std::string& problem) {
  records_.clear();
  declarations_.clear();
  texts_.clear();
  CJsonCursor json(text);
  uint32_t format = 0;
  bool hasFormat = false, hasRecords = false;
  const bool read = ReadObject(json, [&](std::string_view key) {
    if (key == "format"sv) {
      hasFormat = true;
      if (!json.Number(format)) return false;
      return format == 1;
    }
    if (key == "records"sv) {
      hasRecords = true;
      return ReadRecords(json);
    }
    return json.Skip();
  });
  if (read && json.AtEnd() && hasFormat && hasRecords) return true;
  if (hasFormat && format != 1 && json.ok()) {
    problem = "its format is " + std::to_string(format) + ", not 1";
  } else if (!json.ok()) {
    problem =
        json.Problem() == "cut off" ? "it is cut off" : "it is not JSON (" + json.Problem() + ")";
  } else {
    problem = "it is not a model file";
  }
  return false;
}

bool CModelDeclarations::ReadRecord(std::string& text) {
  records_.clear();
  declarations_.clear();
  texts_.clear();
  CJsonCursor json(text);
  return ReadRecordObject(json);
}

}  // namespace model

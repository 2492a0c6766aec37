// A strict reader of JSON text for the fuzz checks: the grammar exactly, the
// text valid UTF-8, no unpaired surrogate escape and no key twice in an
// object; what it reads is kept as a tree of values, strings decoded.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct JsonValue {
  enum class Type { kNull, kFalse, kTrue, kNumber, kString, kArray, kObject };
  Type type = Type::kNull;
  std::string text;               // a string decoded to UTF-8, or a number as written
  std::vector<JsonValue> items;   // the elements of an array, the values of an object
  std::vector<std::string> keys;  // the keys of an object, one per item

  /// The value of `key` in an object; null when there is none.
  const JsonValue* Find(std::string_view key) const;
};

/// Reads `text` as one JSON value into `out`. False, with the reason and
/// its byte offset in `error`, when the text is not valid JSON in UTF-8.
bool ReadJson(std::string_view text, JsonValue& out, std::string& error);

/// True when `text` is valid UTF-8: shortest forms, no surrogates, nothing
/// beyond U+10FFFF.
bool IsValidUtf8(std::string_view text);

/// Appends the character `code` (at most U+10FFFF) in UTF-8.
void AppendUtf8(std::string& out, uint32_t code);

#include "model/default_key.h"

#include "model/names.h"

namespace model {

namespace {

constexpr std::string_view kGroupKey = "Begin Object";
constexpr std::string_view kNameWord = "Name=";

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// The object name among the words of a group's first line ("Class=Light
// Name=Glow0"), without quotes; empty when no word is "Name=...".
std::string_view GroupName(std::string_view value) {
  size_t at = 0;
  while (at < value.size() && value[at] != '\n') {
    while (at < value.size() && IsBlank(value[at]) && value[at] != '\n') ++at;
    size_t end = at;
    while (end < value.size() && !IsBlank(value[end])) ++end;
    const std::string_view word = value.substr(at, end - at);
    if (word.size() > kNameWord.size() &&
        EqualsNoCase(word.substr(0, kNameWord.size()), kNameWord)) {
      std::string_view name = word.substr(kNameWord.size());
      if (name.size() >= 2 && name.front() == '"' && name.back() == '"')
        name = name.substr(1, name.size() - 2);
      return name;
    }
    at = end;
  }
  return {};
}

}  // namespace

DefaultKey ReadDefaultKey(const DefaultProperty& property) {
  DefaultKey key;
  if (property.key == kGroupKey) {
    key.group = true;
    key.name = GroupName(property.value);
    return key;
  }
  const std::string_view text = property.key;
  const size_t open = text.find_first_of("([");
  if (open == std::string_view::npos) {
    key.name = text;
    return key;
  }
  key.name = text.substr(0, open);
  const char close = text[open] == '(' ? ')' : ']';
  size_t end = text.size();
  if (end > open + 1 && text[end - 1] == close) --end;
  key.index = text.substr(open + 1, end - open - 1);
  return key;
}

}  // namespace model

#include "reader/tokens.h"

#include "model/names.h"

void SplitTokens(std::string_view statement, std::vector<std::string_view>& tokens) {
  tokens.clear();
  size_t i = 0;
  const size_t end = statement.size();
  while (i < end) {
    while (i < end && statement[i] == ' ') ++i;
    if (i < end && statement[i] == '(') {
      size_t close = statement.find(')', i + 1);
      if (close == std::string_view::npos) return;
      tokens.push_back(statement.substr(i, close + 1 - i));
      i = close + 1;
      continue;
    }
    size_t stop = statement.find(' ', i);
    if (stop == std::string_view::npos) stop = end;
    tokens.push_back(statement.substr(i, stop - i));
    i = stop;
  }
}

int FindToken(std::string_view word, const std::vector<std::string_view>& tokens) {
  for (size_t i = 0; i < tokens.size(); ++i) {
    if (EqualsNoCase(word, tokens[i])) return static_cast<int>(i);
  }
  return -1;
}

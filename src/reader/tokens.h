// Splitting a statement into the words the parser classifies it by.
#pragma once

#include <string_view>
#include <vector>

/// Splits `statement` at single spaces; a "(" starts a token that runs
/// through the first ")" after it (no nesting), and a "(" without any ")"
/// ends the splitting. Trailing spaces give one last, empty token. The tokens
/// point into `statement`.
void SplitTokens(std::string_view statement, std::vector<std::string_view>& tokens);

/// Position of the first token equal to `word` but for case, or -1.
int FindToken(std::string_view word, const std::vector<std::string_view>& tokens);

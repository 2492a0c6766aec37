// Splitting statements into tokens, and finding a token whatever its case.
#include "reader/tokens.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> Split(std::string_view statement) {
  std::vector<std::string_view> tokens;
  SplitTokens(statement, tokens);
  return {tokens.begin(), tokens.end()};
}

using Tokens = std::vector<std::string>;

TEST(SplitTokens, WordsAndTrailingEmptyToken) {
  EXPECT_EQ(Split("class Foo expands Bar"), (Tokens{"class", "Foo", "expands", "Bar"}));
  EXPECT_EQ(Split("state Idle "), (Tokens{"state", "Idle", ""}));
  EXPECT_EQ(Split("   "), (Tokens{""}));
  EXPECT_EQ(Split(""), Tokens{});
}

TEST(SplitTokens, ParenthesesMakeOneTokenWithoutNesting) {
  EXPECT_EQ(Split("function Foo (int a, int b) "),
            (Tokens{"function", "Foo", "(int a, int b)", ""}));
  EXPECT_EQ(Split("(a (b) c)"), (Tokens{"(a (b)", "c)"}));
  EXPECT_EQ(Split("var () int X"), (Tokens{"var", "()", "int", "X"}));
  // A "(" with no ")" after it ends the splitting.
  EXPECT_EQ(Split("function F (int a"), (Tokens{"function", "F"}));
  EXPECT_EQ(Split("x(y) z"), (Tokens{"x(y)", "z"}));
}

TEST(SplitTokens, ReusedListIsRebuilt) {
  std::vector<std::string_view> tokens;
  SplitTokens("a b c", tokens);
  SplitTokens("d", tokens);
  ASSERT_EQ(tokens.size(), 1u);
  EXPECT_EQ(tokens[0], "d");
}

TEST(FindToken, FirstMatchIgnoringCase) {
  std::vector<std::string_view> tokens = {"simulated", "Function", "function", "State"};
  EXPECT_EQ(FindToken("function", tokens), 1);
  EXPECT_EQ(FindToken("state", tokens), 3);
  EXPECT_EQ(FindToken("event", tokens), -1);
  EXPECT_EQ(FindToken("func", tokens), -1);
}

}  // namespace

// The condenser: comments, white space, quotes, and the spacing of
// parentheses and braces.
#include "reader/condenser.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "fuzz/reference_condenser.h"
#include "reader/source_buffer.h"

namespace {

std::string Condensed(const std::string& text) {
  CSourceBuffer buffer;
  EXPECT_TRUE(buffer.SetText(text));
  EXPECT_TRUE(buffer.Condense());
  std::string out(buffer.Text());
  EXPECT_EQ(buffer.Length(), out.size() + 1);
  return out;
}

TEST(Condenser, BracesAndParenthesesGetSpaces) {
  EXPECT_EQ(Condensed("a{b}c"), "a { b } c");
  EXPECT_EQ(Condensed("(a)(b)"), "(a) (b) ");
  EXPECT_EQ(Condensed("{{}}"), "{ { } } ");
  EXPECT_EQ(Condensed("foo(int a)"), "foo (int a) ");
  EXPECT_EQ(Condensed("var() int X;"), "var () int X;");
  EXPECT_EQ(Condensed("f( a , b )"), "f ( a , b) ");  // only the space before ")" goes
}

TEST(Condenser, ClosingParenthesisAtTheStartIsWritten) {
  EXPECT_EQ(Condensed(")x"), ") x");
  // With SEP set after a lone slash, the slash itself is what gets replaced.
  EXPECT_EQ(Condensed("a / )"), "a ) ");
}

TEST(Condenser, WhiteSpaceRunsBecomeOneSpace) {
  EXPECT_EQ(Condensed("  \t\r\n class \t X ;\r\n"), "class X ; ");
  EXPECT_EQ(Condensed("a / b"), "a /b");
  EXPECT_EQ(Condensed(""), "");
}

TEST(Condenser, CommentsAndHashLinesAreDropped) {
  EXPECT_EQ(Condensed("x /* never closed"), "x ");
  // The close is searched from the opening "*", so "/*/" is a whole comment.
  EXPECT_EQ(Condensed("a/*/b"), "ab");
  EXPECT_EQ(Condensed("a/*/*/b"), "a*/b");
  EXPECT_EQ(Condensed("a/* x */ b"), "a b");
  EXPECT_EQ(Condensed("a // rest\nb"), "a b");
  EXPECT_EQ(Condensed("a // no newline"), "a ");
  EXPECT_EQ(Condensed("#only a hash line"), "");
  EXPECT_EQ(Condensed("X; // c\n#x\n\tY"), "X;  Y");
  EXPECT_EQ(Condensed("\"# not a comment\" # but this is\nz"), "\"# not a comment\" z");
}

TEST(Condenser, QuotesKeepTheirContent) {
  EXPECT_EQ(Condensed("'a\"b' \"c'd\""), "'a\"b' \"c'd\"");
  EXPECT_EQ(Condensed("s = \"a  {b}\t// (c)\";"), "s = \"a  {b}\t// (c)\";");
  // A backslash does not escape: the second quote ends the quotation.
  EXPECT_EQ(Condensed("\"a\\\" {b}"), "\"a\\\" { b } ");
  // An unclosed quotation runs to the end.
  EXPECT_EQ(Condensed("'open  /* x */"), "'open  /* x */");
}

TEST(Condenser, StopsAtTheFirstNul) {
  CSourceBuffer buffer;
  ASSERT_TRUE(buffer.SetText(std::string("class A;\0class B;", 17)));
  EXPECT_EQ(buffer.Length(), 17u);
  ASSERT_TRUE(buffer.Condense());
  EXPECT_EQ(std::string(buffer.Text()), "class A;");
  EXPECT_EQ(buffer.Length(), 9u);
}

TEST(Condenser, NeverWritesMoreThanThreeBytesPerInputByteAndMatchesTheReference) {
  // Braces after words are the worst case: "a{" -> "a { ". Random texts of
  // the bytes that matter must also condense exactly as the plain reference
  // condenser, which reads a byte at a time, condenses them.
  std::vector<std::string> worst = {"{", "{{{{", "}}}}", "a{a{a{", "(((((", "x)x)x)"};
  std::mt19937 random(99);
  const std::string alphabet = "{}()/*#'\" \n\r\tab;,\xe9";
  for (int i = 0; i < 20000; ++i) {
    std::string text;
    size_t n = random() % 80;
    for (size_t j = 0; j < n; ++j) text.push_back(alphabet[random() % alphabet.size()]);
    worst.push_back(text);
  }
  for (const std::string& text : worst) {
    // Guard bytes after the room the bound allows catch any overrun.
    std::vector<char> out(kCondenseGrowth * text.size() + 16, '\x7f');
    size_t written = CondenseText(text.c_str(), out.data());
    EXPECT_LE(written, kCondenseGrowth * text.size()) << text;
    for (size_t k = kCondenseGrowth * text.size(); k < out.size(); ++k) {
      ASSERT_EQ(out[k], '\x7f') << text;
    }
    std::vector<char> expected(kCondenseGrowth * text.size() + 1);
    const size_t expected_size = reference::CondenseText(text.c_str(), expected.data());
    ASSERT_EQ(std::string(out.data(), written), std::string(expected.data(), expected_size))
        << text;
  }
  std::vector<char> out(kCondenseGrowth * 4);
  ASSERT_EQ(CondenseText("a{b{", out.data()), 8u);
  EXPECT_EQ(std::string(out.data(), 8), "a { b { ");
}

}  // namespace

// Name comparison: ASCII letters folded, bytes unsigned.
#include "model/names.h"

#include <gtest/gtest.h>

namespace {

TEST(Names, CompareFoldsOnlyAsciiLetters) {
  EXPECT_EQ(CompareNoCase("Actor", "aCTOR"), 0);
  EXPECT_LT(CompareNoCase("_x", "a"), 0);  // "_" is below every lower-case letter
  EXPECT_GT(CompareNoCase("Z", "_"), 0);   // "Z" folds to "z", above "_"
  EXPECT_LT(CompareNoCase("[", "a"), 0);
  EXPECT_GT(CompareNoCase("\xc3\x89", "z"), 0);  // bytes above 127 are large, and not folded
  EXPECT_NE(CompareNoCase("\xc3\x89", "\xc3\xa9"), 0);
}

TEST(Names, ShorterPrefixOrdersFirst) {
  EXPECT_LT(CompareNoCase("Pawn", "pawnx"), 0);
  EXPECT_GT(CompareNoCase("pawnx", "PAWN"), 0);
  EXPECT_EQ(CompareNoCase("", ""), 0);
  EXPECT_LT(CompareNoCase("", "a"), 0);
}

TEST(Names, EqualityAndFolding) {
  EXPECT_TRUE(EqualsNoCase("STATE", "state"));
  EXPECT_FALSE(EqualsNoCase("state", "states"));
  EXPECT_FALSE(EqualsNoCase("@", "`"));  // differ by 32 but are not letters
  EXPECT_EQ(FoldCase("Mixed_Case-09"), "mixed_case-09");
}

TEST(Names, PrefixesOrderAsTheNamesOrEqual) {
  const std::string_view names[] = {"",
                                    "a",
                                    "A_",
                                    "ab",
                                    "Abcdefgh",
                                    "abcdefgh_",
                                    "ABCDEFGHI",
                                    "abcdefghijklmnop",
                                    "abcdefghijklmnoP1",
                                    "abcdefghijklmnoq",
                                    "abc\xc3\x89",
                                    std::string_view("ab\0c", 4)};
  for (std::string_view a : names) {
    for (std::string_view b : names) {
      const int order = CompareNoCase(a, b);
      const int prefixes = ComparePrefixes(PrefixNoCase(a), PrefixNoCase(b));
      if (prefixes != 0) {
        EXPECT_EQ(prefixes < 0, order < 0) << a << " / " << b;
      }
      // Names that fit in the prefix are told apart by it, but for a zero byte.
      if (a.size() <= 16 && b.size() <= 16 && order != 0 && a.find('\0') == a.npos &&
          b.find('\0') == b.npos) {
        EXPECT_NE(prefixes, 0) << a << " / " << b;
      }
    }
  }
}

}  // namespace

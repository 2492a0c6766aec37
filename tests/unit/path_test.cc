// The destination directory as typed: one trailing separator of the platform
// dropped, and file names joined on with that separator.
#include <gtest/gtest.h>

#include "platform/path.h"
#include "support/platform_text.h"

namespace {

using platform::JoinPath;
using platform::StripOneTrailingSeparator;
using testing_support::Native;

#ifdef _WIN32
constexpr const char* kOtherSlash = "/";
#else
constexpr const char* kOtherSlash = "\\";
#endif

TEST(Path, OneTrailingSeparatorIsDropped) {
  EXPECT_EQ(StripOneTrailingSeparator(Native("out/")), "out");
  EXPECT_EQ(StripOneTrailingSeparator(Native("out//")), Native("out/"));
  EXPECT_EQ(StripOneTrailingSeparator(Native("a/b/")), Native("a/b"));
  EXPECT_EQ(StripOneTrailingSeparator("out"), "out");
  EXPECT_EQ(StripOneTrailingSeparator(Native("/")), "");
  EXPECT_EQ(StripOneTrailingSeparator(""), "");
}

TEST(Path, TheOtherSlashIsLeftAlone) {
  const std::string typed = std::string("out") + kOtherSlash;
  EXPECT_EQ(StripOneTrailingSeparator(typed), typed);
}

TEST(Path, NamesAreJoinedWithTheSeparator) {
  EXPECT_EQ(JoinPath("out", "index.html"), Native("out/index.html"));
  EXPECT_EQ(JoinPath("", "index.html"), Native("/index.html"));
  const std::string other = std::string("out") + kOtherSlash;
  EXPECT_EQ(JoinPath(other, "00000.html"), other + Native("/00000.html"));
}

}  // namespace

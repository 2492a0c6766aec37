// The source tree scan end to end: which files are read, in which order,
// and what is reported about files and directories that cannot be used.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <filesystem>
#include <string>

#include "support/expected_pages.h"
#include "support/platform_text.h"
#include "support/temp_tree.h"
#include "support/tool_run.h"

namespace {

namespace fs = std::filesystem;
using testing_support::Native;
using testing_support::ReadFile;
using testing_support::RunTool;
using testing_support::TempDir;
using testing_support::Text;
using testing_support::WriteFile;

const std::string kDone = "Generating output... Complete.\n";

// A tree with an existing "out" directory for the reference.
struct Tree {
  Tree() { fs::create_directory(dir / "out"); }
  TempDir dir;
};

TEST(Scan, ScriptNamesEndInKcInAnyCase) {
  Tree tree;
  for (const char* name : {"Foo.KC", "bar.kC", ".kc", "Foo.kcx", "kc", "notes.txt", "x.kc.bak"}) {
    WriteFile(tree.dir / ("src/" + std::string(name)), "class C;");
  }
  WriteFile(tree.dir / "src/x.kc/Inner.kc", "class Inner;");
  auto run = RunTool(tree.dir.path(), {"out", "src"});
  EXPECT_EQ(run.out, Text("Parsing .kc...OK.\n"
                          "Parsing bar.kC...OK.\n"
                          "Parsing Foo.KC...OK.\n"
                          "Parsing Inner.kc...OK.\n" +
                          kDone));
  EXPECT_EQ(run.status, 0);
}

TEST(Scan, DepthFirstInNameOrder) {
  Tree tree;
  WriteFile(tree.dir / "src/b.kc", "class B;");
  WriteFile(tree.dir / "src/A.kc", "class A1;");
  WriteFile(tree.dir / "src/a.kc", "class A2;");
  WriteFile(tree.dir / "src/_z.kc", "class Z;");
  WriteFile(tree.dir / "src/Ab/Deep.kc", "class Deep;");
  WriteFile(tree.dir / "src/Ab/deeper/Deepest.kc", "class Deepest;");
  WriteFile(tree.dir / "src/Ab/Aa.kc", "class Aa;");
  WriteFile(tree.dir / "src/c/C.kc", "class C;");
  // Where file names ignore case (Windows) "a.kc" is the file "A.kc".
  const bool one_file = fs::equivalent(tree.dir / "src/A.kc", tree.dir / "src/a.kc");
  auto run = RunTool(tree.dir.path(), {"out", "src"});
  EXPECT_EQ(run.out, Text("Parsing _z.kc...OK.\n"
                          "Parsing A.kc...OK.\n" +
                          std::string(one_file ? "" : "Parsing a.kc...OK.\n") +
                          "Parsing Aa.kc...OK.\n"
                          "Parsing Deep.kc...OK.\n"
                          "Parsing Deepest.kc...OK.\n"
                          "Parsing b.kc...OK.\n"
                          "Parsing C.kc...OK.\n" +
                          kDone));
  EXPECT_EQ(run.status, 0);
}

TEST(Scan, MissingSourceDirectory) {
  Tree tree;
  auto run = RunTool(tree.dir.path(), {"out", "missing"});
  EXPECT_EQ(run.out, Text("Unable to read directory missing\n"));
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(run.written.empty());
}

TEST(Scan, SourceThatIsAPlainFile) {
  Tree tree;
  WriteFile(tree.dir / "file.txt", "class NotScanned;");
  auto run = RunTool(tree.dir.path(), {"out", "file.txt"});
  EXPECT_EQ(run.out, Text("file.txt is not a directory\n"));
  EXPECT_EQ(run.status, 1);
}

TEST(Scan, RelativeDestinationIsTakenFromTheStartingDirectory) {
  Tree tree;
  WriteFile(tree.dir / "src/deep/er/A.kc", "class A;");
  fs::create_directories(tree.dir / "src/deep/er/out");  // a decoy the scan passes through
  auto run = RunTool(tree.dir.path(), {"out", "src/deep"});
  EXPECT_EQ(run.out, Text("Parsing A.kc...OK.\n" + kDone));
  EXPECT_TRUE(run.written.count("out/index.html"));
  EXPECT_TRUE(run.written.count("out/00000.html"));
  EXPECT_FALSE(fs::exists(tree.dir / "src/deep/er/out/index.html"));
}

TEST(Scan, AbsoluteSourceDirectory) {
  Tree tree;
  WriteFile(tree.dir / "src/A.kc", "class A;");
  auto run = RunTool(tree.dir.path(), {"out", (tree.dir / "src").string()});
  EXPECT_EQ(run.out, Text("Parsing A.kc...OK.\n" + kDone));
  EXPECT_EQ(run.status, 0);
}

TEST(Scan, TreeThreeHundredLevelsDeep) {
#ifdef _WIN32
  GTEST_SKIP() << "Wine cannot reach paths this long";
#else
  Tree tree;
  std::vector<std::string> names = {"src"};
  std::vector<std::pair<std::string, std::string>> files = {{"", ""}};
  std::string expected;
  size_t path_length = tree.dir.path().string().size() + 4;
  for (int level = 0; level < 300; ++level) {
    names.push_back("level-" + std::to_string(level) + "-with-a-rather-long-directory-name");
    path_length += names.back().size() + 1;
    if (level % 50 == 49) {
      std::string name = "L" + std::to_string(level) + ".kc";
      files.emplace_back(name, "class L" + std::to_string(level) + ";");
      expected += "Parsing " + name + "...OK.\n";
    } else {
      files.emplace_back("", "");
    }
  }
  ASSERT_GT(path_length, 4096u * 2);
  ASSERT_TRUE(testing_support::MakeDeepTree(tree.dir.path(), names, files));
  auto run = RunTool(tree.dir.path(), {"out", "src"});
  EXPECT_EQ(run.out, Text(expected + kDone));
  EXPECT_EQ(run.status, 0);
  EXPECT_TRUE(run.written.count("out/00005.html"));
#endif
}

TEST(Scan, LinkLoopIsScannedOnce) {
#ifdef _WIN32
  GTEST_SKIP() << "symbolic links cannot be made here";
#else
  Tree tree;
  WriteFile(tree.dir / "src/A.kc", "class A;");
  WriteFile(tree.dir / "src/sub/B.kc", "class B expands A;");
  fs::create_directory_symlink("..", tree.dir / "src/sub/up");
  fs::create_directory_symlink(tree.dir / "src", tree.dir / "src/sub/again");
  // A link to a directory off the descent path is followed.
  WriteFile(tree.dir / "elsewhere/E.kc", "class E;");
  fs::create_directory_symlink(tree.dir / "elsewhere", tree.dir / "src/sub/link");
  // A link to a file is followed too.
  fs::create_symlink(tree.dir / "elsewhere/E.kc", tree.dir / "src/F.kc");
  auto run = RunTool(tree.dir.path(), {"out", "src"});
  EXPECT_EQ(run.out, Text("Parsing A.kc...OK.\n"
                          "Parsing F.kc...OK.\n"
                          "Parsing B.kc...OK.\n"
                          "Parsing E.kc...OK.\n" +
                          kDone));
  EXPECT_EQ(run.status, 0);
#endif
}

TEST(Scan, SpecialFilesAreNotRead) {
#ifdef _WIN32
  GTEST_SKIP() << "FIFOs and symbolic links cannot be made here";
#else
  Tree tree;
  WriteFile(tree.dir / "src/A.kc", "class A;");
  ASSERT_EQ(mkfifo((tree.dir / "src/Fifo.kc").c_str(), 0644), 0);
  fs::create_symlink(tree.dir / "nowhere.kc", tree.dir / "src/Dangling.kc");
  fs::create_symlink("Loop.kc", tree.dir / "src/Loop.kc");
  WriteFile(tree.dir / "src/Z.kc", "class Z;");
  auto run = RunTool(tree.dir.path(), {"out", "src"});
  EXPECT_EQ(run.out, Text("Parsing A.kc...OK.\n"
                          "Parsing Dangling.kc...Couldn't Open!\n"
                          "Parsing Fifo.kc...Couldn't Open!\n"
                          "Parsing Loop.kc...Couldn't Open!\n"
                          "Parsing Z.kc...OK.\n" +
                          kDone));
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(run.written.count("out/00001.html"));
  EXPECT_FALSE(run.written.count("out/00002.html"));
#endif
}

#ifndef _WIN32
// A file of `size` zero bytes that takes no room on disk.
void MakeSparseFile(const fs::path& path, off_t size) {
  WriteFile(path, "");
  ASSERT_EQ(truncate(path.c_str(), size), 0);
}
#endif

TEST(Scan, FilesTooLargeForMemoryAreReportedAndTheScanGoesOn) {
#ifdef _WIN32
  GTEST_SKIP() << "the address-space cap is POSIX only";
#else
  if (testing_support::kUnderSanitizer) {
    GTEST_SKIP() << "an address-space cap leaves no room for the sanitizer's shadow memory";
  }
  Tree tree;
  // Under a 160 MB cap a 200 MB file cannot be held at all, and a 48 MB one
  // can be read but leaves no room for condensing (three bytes per byte).
  const size_t cap = size_t{160} << 20;
  MakeSparseFile(tree.dir / "src/A_Huge.kc", off_t{200} << 20);
  MakeSparseFile(tree.dir / "src/B_Big.kc", off_t{48} << 20);
  WriteFile(tree.dir / "src/C_Small.kc", "class Small;");
  auto run = RunTool(tree.dir.path(), {"out", "src"}, cap);
  EXPECT_EQ(run.out, Text("Parsing A_Huge.kc...Couldn't Open!\n"
                          "Parsing B_Big.kc...Unable to parse.\n"
                          "Parsing C_Small.kc...OK.\n" +
                          kDone));
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(run.written.count("out/00000.html"));
  EXPECT_FALSE(run.written.count("out/00001.html"));
#endif
}

TEST(Scan, SourceThatIsADanglingLink) {
#ifdef _WIN32
  GTEST_SKIP() << "symbolic links cannot be made here";
#else
  Tree tree;
  fs::create_symlink(tree.dir / "nowhere", tree.dir / "gone");
  auto run = RunTool(tree.dir.path(), {"out", "gone"});
  EXPECT_EQ(run.out, Text("Unable to read directory gone\n"));
  EXPECT_EQ(run.status, 1);
#endif
}

TEST(Scan, EmptyAndCommentOnlyFilesStillGiveARecord) {
  Tree tree;
  WriteFile(tree.dir / "src/Empty.kc", "");
  WriteFile(tree.dir / "src/Note.kc", "// nothing here\n/* at all */");
  auto run = RunTool(tree.dir.path(), {"out", "src"});
  EXPECT_EQ(run.out, Text("Parsing Empty.kc...OK.\nParsing Note.kc...OK.\n" + kDone));
  EXPECT_EQ(run.status, 0);
  EXPECT_TRUE(run.written.count("out/00001.html"));
}

}  // namespace

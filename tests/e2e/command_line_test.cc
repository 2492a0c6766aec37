// The command line end to end: usage, help and version, the destination
// directory as typed, and the exit status of each kind of run.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/wait.h>
#endif

#include <cstdlib>

#include "support/expected_pages.h"
#include "support/held_file.h"
#include "support/platform_text.h"
#include "support/temp_tree.h"
#include "support/tool_run.h"

namespace {

using testing_support::Native;
using testing_support::ReadFile;
using testing_support::RunTool;
using testing_support::TempDir;
using testing_support::Text;
using testing_support::WriteFile;

const std::string kUsage = Text("Usage: KorvanRef Destdir SourceDir\n");
const std::string kEmptyIndex = Text(expected::kIndexHeader + expected::kIndexFooter);

TEST(CommandLine, NoArgumentsPrintsUsageAndTouchesNothing) {
  TempDir dir;
  WriteFile(dir / "A.kc", "class A;");
  auto run = RunTool(dir.path(), {});
  EXPECT_EQ(run.out, kUsage);
  EXPECT_EQ(run.status, 2);
  EXPECT_TRUE(run.written.empty());
}

TEST(CommandLine, EmptyDestinationIsRefused) {
  TempDir dir;
  auto run = RunTool(dir.path(), {"", "."});
  EXPECT_EQ(run.out, kUsage);
  EXPECT_EQ(run.status, 2);
  EXPECT_TRUE(run.written.empty());
}

TEST(CommandLine, HelpAndVersionDoNoWork) {
  TempDir dir;
  std::filesystem::create_directory(dir / "out");
  WriteFile(dir / "A.kc", "class A;");
  for (const char* flag : {"-h", "--help"}) {
    auto run = RunTool(dir.path(), {flag, "out"});
    EXPECT_EQ(run.out.rfind(kUsage, 0), 0u) << run.out;
    EXPECT_NE(run.out.find("index.html"), std::string::npos);
    EXPECT_EQ(run.status, 0);
    EXPECT_TRUE(run.written.empty());
  }
  auto run = RunTool(dir.path(), {"--version"});
  EXPECT_EQ(run.out, Text("KorvanRef " KORVANREF_VERSION_TEXT "\n"));
  EXPECT_EQ(run.status, 0);
  EXPECT_TRUE(run.written.empty());
}

// Options come before Destdir and "--" ends them; any other argument there
// that starts with "-" is refused.
TEST(CommandLine, OptionsBeforeTheDestination) {
  TempDir dir;
  std::filesystem::create_directory(dir / "out");
  std::filesystem::create_directory(dir / "-out");
  const std::string plain_run = Text("Generating output... Complete.\n");
  const struct {
    std::vector<std::string> args;
    std::string out;
    int status;
    std::string index;  // the index written, by its first line; empty for none
  } cases[] = {
      {{"--navigaton", "out"}, Text("Unknown option '--navigaton'.\n") + kUsage, 2, ""},
      {{"-", "out"}, Text("Unknown option '-'.\n") + kUsage, 2, ""},
      {{"--navigation"}, kUsage, 2, ""},
      {{"--navigation", "out", "."}, plain_run, 0, "out/index.html <!DOCTYPE html>"},
      {{"--navigation", "--", "out"}, plain_run, 0, "out/index.html <!DOCTYPE html>"},
      {{"--", "-out"}, plain_run, 0, "-out/index.html <html><body>"},
      {{"--complete", "out"}, plain_run, 0, "out/index.html <html><body>"},
      // After Destdir nothing is an option: this SourceDir does not exist.
      {{"out", "--navigation"}, Text("Unable to read directory --navigation\n"), 1, ""},
  };
  for (const auto& c : cases) {
    std::filesystem::remove(dir / "out/index.html");
    std::filesystem::remove(dir / "-out/index.html");
    auto run = RunTool(dir.path(), c.args);
    EXPECT_EQ(run.out, c.out) << c.args[0];
    EXPECT_EQ(run.status, c.status) << c.args[0];
    std::string index;
    for (const auto& [path, bytes] : run.written) {
      index = path + " " + bytes.substr(0, bytes.find_first_of("\r\n"));
    }
    EXPECT_EQ(index, c.index) << c.args[0];
    EXPECT_EQ(run.written.size(), c.index.empty() ? 0u : 1u) << c.args[0];
  }
  auto help = RunTool(dir.path(), {"--navigation", "--help"});
  for (const char* option : {"--navigation", "--complete", "--json"}) {
    EXPECT_NE(help.out.find(option), std::string::npos) << option;
  }
  EXPECT_EQ(help.status, 0);
}

TEST(CommandLine, OneArgumentScansTheCurrentDirectory) {
  TempDir dir;
  std::filesystem::create_directory(dir / "out");
  auto run = RunTool(dir.path(), {"out"});
  EXPECT_EQ(run.out, Text("Generating output... Complete.\n"));
  EXPECT_EQ(run.status, 0);
  ASSERT_EQ(run.written.size(), 1u);
  EXPECT_EQ(run.written["out/index.html"], kEmptyIndex);
}

TEST(CommandLine, ArgumentsAfterTheSecondAreIgnored) {
  TempDir dir;
  std::filesystem::create_directory(dir / "out");
  std::filesystem::create_directory(dir / "src");
  auto run = RunTool(dir.path(), {"out", "src", "missing", "more"});
  EXPECT_EQ(run.out, Text("Generating output... Complete.\n"));
  EXPECT_EQ(run.status, 0);
}

TEST(CommandLine, OneTrailingSeparatorIsDropped) {
  TempDir dir;
  std::filesystem::create_directories(dir / "out");
  auto plain = RunTool(dir.path(), {"out", "."});
  auto trailing = RunTool(dir.path(), {"out/", "."});
  EXPECT_EQ(trailing.out, plain.out);
  EXPECT_EQ(trailing.status, 0);
  EXPECT_EQ(ReadFile(dir / "out/index.html"), kEmptyIndex);

  // Only one is dropped; "out//index.html" still names the same file.
  auto doubled = RunTool(dir.path(), {"out//", "."});
  EXPECT_EQ(doubled.out, Text("Generating output... Complete.\n"));

#ifdef _WIN32
  // A forward slash is not the separator that is dropped, though it still
  // divides the path, and only one backslash goes.
  auto slash = RunTool(dir.path(), {"missing/", "."});
  EXPECT_EQ(slash.out, Text("Unable to open 'missing/\\index.html' for writing!\n"));
  EXPECT_EQ(slash.status, 1);
  auto backslashes = RunTool(dir.path(), {"missing\\\\", "."});
  EXPECT_EQ(backslashes.out, Text("Unable to open 'missing\\\\index.html' for writing!\n"));
  EXPECT_EQ(backslashes.status, 1);
#else
  // A backslash is an ordinary character in a name here.
  auto backslash = RunTool(dir.path(), {"out\\", "."});
  EXPECT_EQ(backslash.out, "Unable to open 'out\\/index.html' for writing!\n");
  EXPECT_EQ(backslash.status, 1);
#endif
}

TEST(CommandLine, MissingDestinationIsReportedAfterTheScan) {
  TempDir dir;
  WriteFile(dir / "src/A.kc", "class A;");
  auto run = RunTool(dir.path(), {"missing", "src"});
  EXPECT_EQ(run.out, Text("Parsing A.kc...OK.\nUnable to open '" + Native("missing/index.html") +
                          "' for writing!\n"));
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(run.written.empty());
}

TEST(CommandLine, IndexThatCannotBeOpenedStopsTheOutput) {
  TempDir dir;
  WriteFile(dir / "src/A.kc", "class A;");
  // A directory standing at the index's path cannot be opened for writing,
  // not even by root.
  std::filesystem::create_directories(dir / "out/index.html");
  auto run = RunTool(dir.path(), {"out", "src"});
  EXPECT_EQ(run.out, Text("Parsing A.kc...OK.\nUnable to open '" + Native("out/index.html") +
                          "' for writing!\n"));
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(run.written.empty());
}

TEST(CommandLine, IndexHeldByAnotherProcessIsLeftIntact) {
  TempDir dir;
  std::filesystem::create_directory(dir / "out");
  WriteFile(dir / "out/index.html", "someone else's");
  testing_support::ToolRun run;
  {
    testing_support::HeldFile held(dir / "out/index.html");
    ASSERT_TRUE(held.held());
    run = RunTool(dir.path(), {"out", "."});
  }
  EXPECT_EQ(run.out, Text("Unable to open '" + Native("out/index.html") + "' for writing!\n"));
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(ReadFile(dir / "out/index.html"), "someone else's");
}

TEST(CommandLine, LostConsoleOutputIsAFailure) {
#ifdef _WIN32
  GTEST_SKIP() << "needs a device that is always full";
#else
  TempDir dir;
  std::filesystem::create_directory(dir / "out");
  WriteFile(dir / "A.kc", "class A;");
  // The shell sends the console to a device that is always full.
  std::string command =
      "cd '" + dir.path().string() + "' && '" KORVANREF_BINARY "' out . >/dev/full";
  int status = std::system(command.c_str());
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 1);
  EXPECT_EQ(ReadFile(dir / "out/index.html").rfind(expected::kIndexHeader, 0), 0u);
#endif
}

}  // namespace

// Directories of the source tree and the files in them: why one cannot be
// opened, what a listing holds, identities that stay the same however a
// directory is reached, and which files can be read.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "driver/scanner.h"
#include "model/class_list.h"
#include "platform/directory.h"
#include "platform/path.h"
#include "support/temp_tree.h"

#ifndef _WIN32
#include <sys/stat.h>
#endif

namespace {

using platform::CDirectory;
using platform::CInputFile;
using platform::DirEntry;
using platform::EntryKind;
using platform::OpenStatus;
using testing_support::TempDir;
using testing_support::WriteFile;

std::vector<std::string> Names(const std::vector<DirEntry>& entries, EntryKind kind) {
  std::vector<std::string> names;
  for (const DirEntry& entry : entries) {
    if (entry.kind == kind) names.push_back(entry.name);
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::string ReadWhole(const CDirectory& dir, const std::string& name) {
  CInputFile file;
  if (!file.Open(dir, name)) return "<unopened>";
  std::string bytes(file.Size(), '\0');
  int64_t n = file.Read(bytes.data(), bytes.size());
  if (n < 0) return "<unread>";
  bytes.resize(static_cast<size_t>(n));
  return bytes;
}

TEST(Directory, TellsWhyItCannotBeOpened) {
  TempDir dir;
  WriteFile(dir / "file.txt", "x");
  CDirectory root;
  EXPECT_EQ(root.Open(nullptr, (dir / "missing").string()), OpenStatus::kMissing);
  EXPECT_EQ(root.Open(nullptr, (dir / "file.txt").string()), OpenStatus::kNotDirectory);
  ASSERT_EQ(root.Open(nullptr, dir.path().string()), OpenStatus::kOk);
  CDirectory child;
  EXPECT_EQ(child.Open(&root, "missing"), OpenStatus::kMissing);
  EXPECT_EQ(child.Open(&root, "file.txt"), OpenStatus::kNotDirectory);
  EXPECT_EQ(child.Open(&root, "*"), OpenStatus::kMissing);
}

TEST(Directory, ListsEveryEntryWithItsKind) {
  TempDir dir;
  WriteFile(dir / "B.kc", "class B;");
  WriteFile(dir / "a.txt", "");
  WriteFile(dir / ".kc", "");
  WriteFile(dir / "sub/x.kc", "");
  std::filesystem::create_directory(dir / "dir.kc");
  CDirectory root;
  ASSERT_EQ(root.Open(nullptr, dir.path().string()), OpenStatus::kOk);
  std::vector<DirEntry> entries;
  ASSERT_TRUE(root.List(&entries));
  EXPECT_EQ(entries.size(), 5u);
  EXPECT_EQ(Names(entries, EntryKind::kFile), (std::vector<std::string>{".kc", "B.kc", "a.txt"}));
  EXPECT_EQ(Names(entries, EntryKind::kDirectory), (std::vector<std::string>{"dir.kc", "sub"}));
  EXPECT_TRUE(Names(entries, EntryKind::kOther).empty());
}

TEST(Scan, EachRecordKnowsItsScriptBelowTheScannedDirectory) {
  TempDir dir;
  WriteFile(dir / "Top.kc", "class Top;");
  WriteFile(dir / "creatures/deep/Bat.kc", "class Bat; state Flying { }");
  CClassList list;
  ScanDirectory(list, dir.path().string());
  ASSERT_EQ(list.Count(), 3u);
  const std::string sep(1, platform::kPathSeparator);
  // "creatures" is scanned before "Top.kc"; the state shares its class's path.
  EXPECT_EQ(list.At(0).scriptPath(), "creatures" + sep + "deep" + sep + "Bat.kc");
  EXPECT_EQ(list.At(1).scriptPath(), list.At(0).scriptPath());
  EXPECT_EQ(list.At(2).scriptPath(), "Top.kc");
}

TEST(Directory, AnEmptyDirectoryListsNothing) {
  TempDir dir;
  CDirectory root;
  ASSERT_EQ(root.Open(nullptr, dir.path().string()), OpenStatus::kOk);
  std::vector<DirEntry> entries;
  EXPECT_TRUE(root.List(&entries));
  EXPECT_TRUE(entries.empty());
}

TEST(Directory, IdentityDoesNotDependOnTheRoute) {
  TempDir dir;
  std::filesystem::create_directories(dir / "a/b");
  std::filesystem::create_directories(dir / "c");
  CDirectory root, a, b_from_a, b_direct, c;
  ASSERT_EQ(root.Open(nullptr, dir.path().string()), OpenStatus::kOk);
  ASSERT_EQ(a.Open(&root, "a"), OpenStatus::kOk);
  ASSERT_EQ(b_from_a.Open(&a, "b"), OpenStatus::kOk);
  ASSERT_EQ(b_direct.Open(nullptr, (dir / "a" / "b").string()), OpenStatus::kOk);
  ASSERT_EQ(c.Open(&root, "c"), OpenStatus::kOk);
  EXPECT_EQ(b_from_a.Identity(), b_direct.Identity());
  EXPECT_FALSE(a.Identity() == b_from_a.Identity());
  EXPECT_FALSE(a.Identity() == c.Identity());
  EXPECT_FALSE(root.Identity() == a.Identity());
}

TEST(Directory, ALinkToAnAncestorHasTheAncestorsIdentity) {
#ifdef _WIN32
  GTEST_SKIP() << "symbolic links cannot be made here";
#else
  TempDir dir;
  std::filesystem::create_directories(dir / "a");
  std::filesystem::create_directory_symlink("..", dir / "a/up");
  CDirectory root, a, up;
  ASSERT_EQ(root.Open(nullptr, dir.path().string()), OpenStatus::kOk);
  ASSERT_EQ(a.Open(&root, "a"), OpenStatus::kOk);
  ASSERT_EQ(up.Open(&a, "up"), OpenStatus::kOk);
  EXPECT_EQ(up.Identity(), root.Identity());
  std::vector<DirEntry> entries;
  ASSERT_TRUE(a.List(&entries));
  EXPECT_EQ(Names(entries, EntryKind::kDirectory), std::vector<std::string>{"up"});
#endif
}

TEST(InputFile, ReadsARegularFileWhole) {
  TempDir dir;
  std::string bytes = "class A;\r\nvar int X;\n";
  bytes.push_back('\0');
  bytes += "after NUL";
  WriteFile(dir / "A.kc", bytes);
  WriteFile(dir / "empty.kc", "");
  CDirectory root;
  ASSERT_EQ(root.Open(nullptr, dir.path().string()), OpenStatus::kOk);
  EXPECT_EQ(ReadWhole(root, "A.kc"), bytes);
  EXPECT_EQ(ReadWhole(root, "empty.kc"), "");
}

TEST(InputFile, OnlyRegularFilesAreOpened) {
  TempDir dir;
  std::filesystem::create_directory(dir / "dir.kc");
  CDirectory root;
  ASSERT_EQ(root.Open(nullptr, dir.path().string()), OpenStatus::kOk);
  CInputFile file;
  EXPECT_FALSE(file.Open(root, "dir.kc"));
  EXPECT_FALSE(file.Open(root, "missing.kc"));
  EXPECT_FALSE(file.Open(root, "*.kc"));
}

TEST(InputFile, AFifoIsRefusedWithoutWaiting) {
#ifdef _WIN32
  GTEST_SKIP() << "there are no FIFOs in a Windows directory";
#else
  TempDir dir;
  ASSERT_EQ(::mkfifo((dir / "pipe.kc").c_str(), 0600), 0);
  CDirectory root;
  ASSERT_EQ(root.Open(nullptr, dir.path().string()), OpenStatus::kOk);
  std::vector<DirEntry> entries;
  ASSERT_TRUE(root.List(&entries));
  EXPECT_EQ(Names(entries, EntryKind::kOther), std::vector<std::string>{"pipe.kc"});
  CInputFile file;
  EXPECT_FALSE(file.Open(root, "pipe.kc"));
#endif
}

}  // namespace

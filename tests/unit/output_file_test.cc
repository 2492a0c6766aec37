// Files the tool writes: line ends of the platform, truncation only once the
// file is held, and no second writer while it is. And the second thread the
// tool writes them on, with what each thread keeps for itself.
#include <gtest/gtest.h>

#include <new>
#include <string>

#include "platform/output_file.h"
#include "platform/worker.h"
#include "support/held_file.h"
#include "support/platform_text.h"
#include "support/temp_tree.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

using platform::COutputFile;
using testing_support::ReadFile;
using testing_support::TempDir;
using testing_support::Text;
using testing_support::WriteFile;

struct Counted {
  static inline int alive = 0;
  int value = 0;
  Counted() { ++alive; }
  ~Counted() { --alive; }
  Counted(const Counted&) = delete;
  Counted& operator=(const Counted&) = delete;
};

// Each thread's object is its own and is destroyed when the second
// thread's task ends, whether the task ended or ran out of memory.
TEST(Worker, WhatAThreadKeepsIsItsOwnAndEndsWithItsTask) {
  Counted& mine = platform::ThreadScratch<Counted>();
  mine.value = 1;
  const Counted* there = nullptr;
  int alive_there = 0;
  EXPECT_TRUE(platform::RunBeside(
      [&] {
        there = &platform::ThreadScratch<Counted>();
        alive_there = Counted::alive;
      },
      [] {}));
  EXPECT_NE(there, &mine);
  EXPECT_EQ(alive_there, 2);
  EXPECT_EQ(Counted::alive, 1);
  EXPECT_EQ(&platform::ThreadScratch<Counted>(), &mine);
  EXPECT_EQ(mine.value, 1);
  bool here_ran = false;
  EXPECT_FALSE(platform::RunBeside(
      [] {
        platform::ThreadScratch<Counted>();
        throw std::bad_alloc();
      },
      [&] { here_ran = true; }));
  EXPECT_TRUE(here_ran);
  EXPECT_EQ(Counted::alive, 1);
  platform::FreeThisThreadsScratch();
  EXPECT_EQ(Counted::alive, 0);
  EXPECT_EQ(platform::ThreadScratch<Counted>().value, 0);
  platform::FreeThisThreadsScratch();
}

TEST(OutputFile, LinesEndTheWayThePlatformEndsThem) {
  TempDir dir;
  const std::string path = (dir / "page.html").string();
  COutputFile file;
  ASSERT_TRUE(file.Open(path));
  file.Write("<p>\n");
  file.Write("a\n\nb");
  file.Write("\n");
  file.Write("");
  // The last text, given as the file is closed, follows what is buffered.
  ASSERT_TRUE(file.CloseWith("no newline"));
  EXPECT_EQ(ReadFile(path), Text("<p>\na\n\nb\nno newline"));
}

TEST(OutputFile, LargeTextIsWrittenWhole) {
  TempDir dir;
  const std::string path = (dir / "big.html").string();
  std::string line = "<li>var int Health</li>\n";
  std::string text;
  while (text.size() < (size_t{3} << 20)) text += line;
  COutputFile file;
  ASSERT_TRUE(file.Open(path));
  // In pieces of all sizes, some larger than what is collected before a write.
  file.Write(std::string_view(text).substr(0, 7));
  file.Write(std::string_view(text).substr(7, (size_t{1} << 20) + 5));
  file.Write(std::string_view(text).substr(7 + (size_t{1} << 20) + 5, 9));
  ASSERT_TRUE(file.CloseWith(std::string_view(text).substr(7 + (size_t{1} << 20) + 5 + 9)));
  // Compared without printing megabytes when they differ.
  const std::string written = ReadFile(path);
  EXPECT_EQ(written.size(), Text(text).size());
  EXPECT_TRUE(written == Text(text));
}

TEST(OutputFile, AnExistingFileIsTruncated) {
  TempDir dir;
  const std::string path = (dir / "index.html").string();
  WriteFile(path, std::string(5000, 'x'));
  COutputFile file;
  ASSERT_TRUE(file.Open(path));
  file.Write("new\n");
  ASSERT_TRUE(file.Close());
  EXPECT_EQ(ReadFile(path), Text("new\n"));
}

TEST(OutputFile, AFileHeldElsewhereIsNotOpenedNorTouched) {
  TempDir dir;
  const std::string path = (dir / "index.html").string();
  WriteFile(path, "someone else's");
  {
    testing_support::HeldFile held(path);
    ASSERT_TRUE(held.held());
    COutputFile file;
    EXPECT_FALSE(file.Open(path));
    EXPECT_FALSE(file.Close());
  }
  EXPECT_EQ(ReadFile(path), "someone else's");
  COutputFile file;
  EXPECT_TRUE(file.Open(path));
  EXPECT_TRUE(file.Close());
  EXPECT_EQ(ReadFile(path), "");
}

TEST(OutputFile, IsHeldExclusivelyWhileOpen) {
  TempDir dir;
  const std::string path = (dir / "index.html").string();
  COutputFile first;
  ASSERT_TRUE(first.Open(path));
  first.Write("first\n");
  COutputFile second;
  EXPECT_FALSE(second.Open(path));
  EXPECT_FALSE(testing_support::HeldFile(path).held());
  ASSERT_TRUE(first.Close());
  EXPECT_EQ(ReadFile(path), Text("first\n"));
  EXPECT_TRUE(testing_support::HeldFile(path).held());
}

// On Windows the open shares nothing: neither does it admit a reader that
// would share everything, nor does it succeed while such a reader is there.
TEST(OutputFile, SharesNothingOnWindows) {
#ifndef _WIN32
  GTEST_SKIP() << "POSIX has no share modes; the lock is tested above";
#else
  TempDir dir;
  const std::wstring path = (dir / "index.html").wstring();
  const DWORD share_all = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;
  auto open_reader = [&] {
    return ::CreateFileW(path.c_str(), GENERIC_READ, share_all, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  };
  COutputFile file;
  ASSERT_TRUE(file.Open((dir / "index.html").string()));
  HANDLE reader = open_reader();
  EXPECT_EQ(reader, INVALID_HANDLE_VALUE);
  if (reader != INVALID_HANDLE_VALUE) ::CloseHandle(reader);
  ASSERT_TRUE(file.Close());

  reader = open_reader();
  ASSERT_NE(reader, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(file.Open((dir / "index.html").string()));
  ::CloseHandle(reader);
#endif
}

TEST(OutputFile, ADirectoryOrAMissingDirectoryCannotBeOpened) {
  TempDir dir;
  std::filesystem::create_directory(dir / "index.html");
  COutputFile file;
  EXPECT_FALSE(file.Open((dir / "index.html").string()));
  EXPECT_FALSE(file.Open((dir / "missing" / "index.html").string()));
  EXPECT_FALSE(file.Open(""));
  EXPECT_FALSE(file.Close());
}

}  // namespace

// The reference writer on lists built here: the index tree with its counts,
// escaping, numbering, and the record pages.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include <thread>

#include "driver/scanner.h"
#include "model/class_list.h"
#include "platform/console.h"
#include "platform/path.h"
#include "reader/source_buffer.h"
#include "support/expected_pages.h"
#include "support/platform_text.h"
#include "support/temp_tree.h"
#include "writer/common/write_line.h"
#include "writer/data/model_json.h"
#include "writer/links/overriders.h"
#include "writer/names/type_table.h"

#ifdef __linux__
#include <unistd.h>
#endif

namespace {

using expected::EntryLine;
using expected::kSubListEnd;
using expected::Page;
using expected::SubList;
using testing_support::ReadFile;
using testing_support::ReadTree;
using testing_support::TempDir;
using testing_support::Text;

struct Declarations {
  std::vector<std::string_view> vars, events, functions;
};

CClassRecord* Add(CClassList& list, const std::string& name, const std::string& super = "",
                  CClassRecord* owner = nullptr, const Declarations& declarations = {}) {
  CClassRecord* record = list.CreateRecord();
  list.SetTexts(*record, {.name = name,
                          .superName = super,
                          .vars = declarations.vars,
                          .events = declarations.events,
                          .functions = declarations.functions});
  if (owner) {
    record->isState = 1;
    record->parent = owner;
  }
  return record;
}

std::string Index(const std::string& entries) {
  return Text(expected::kIndexHeader + entries + expected::kIndexFooter);
}

TEST(IndexPage, EmptyListGivesHeaderAndFooter) {
  TempDir out;
  CClassList list;
  list.WriteReference(out.path().string());
  auto files = ReadTree(out.path());
  ASSERT_EQ(files.size(), 1u);
  EXPECT_EQ(files["index.html"], Index(""));
}

TEST(IndexPage, CountsAndTheirSingularAndPluralWords) {
  TempDir out;
  CClassList list;
  CClassRecord* one =
      Add(list, "One", "", nullptr, {{"var int A"}, {"event E () "}, {"function F () "}});
  Add(list, "Sub", "One");
  Add(list, "Idle", "", one);
  CClassRecord* two = Add(list, "Two", "", nullptr,
                          {{"var int A", "var int B"},
                           {"event E () ", "event E () "},
                           {"function F () ", "function G () "}});
  Add(list, "SubA", "Two");
  Add(list, "SubB", "two");
  Add(list, "S1", "", two);
  Add(list, "S2", "", two);
  list.WriteReference(out.path().string());
  // Sorted: Idle, One, S1, S2, Sub, SubA, SubB, Two.
  const std::string none = "0 subclasses, 0 states, 0 vars, 0 events, 0 functions";
  EXPECT_EQ(
      ReadFile(out / "index.html"),
      Index(EntryLine(1, "class", "One", "", "1 subclass, 1 state, 1 var, 1 event, 1 function") +
            SubList(1) +                                               //
            EntryLine(0, "state", "Idle", "One", none) + SubList(0) +  //
            kSubListEnd +                                              //
            EntryLine(4, "class", "Sub", "One", none) + SubList(4) +   //
            kSubListEnd + kSubListEnd +                                //
            EntryLine(7, "class", "Two", "",
                      "2 subclasses, 2 states, 2 vars, 2 events, 2 functions") +
            SubList(7) +                                               //
            EntryLine(2, "state", "S1", "Two", none) + SubList(2) +    //
            kSubListEnd +                                              //
            EntryLine(3, "state", "S2", "Two", none) + SubList(3) +    //
            kSubListEnd +                                              //
            EntryLine(5, "class", "SubA", "Two", none) + SubList(5) +  //
            kSubListEnd +                                              //
            EntryLine(6, "class", "SubB", "Two", none) + SubList(6) +  //
            kSubListEnd + kSubListEnd));
  EXPECT_EQ(ReadTree(out.path()).size(), 9u);
}

TEST(IndexPage, DeepChainNestsEveryEntryInItsSuperclass) {
  TempDir out;
  CClassList list;
  const int depth = 2000;
  for (int i = depth - 1; i >= 0; --i) {  // created deepest first
    char name[16], super[16];
    std::snprintf(name, sizeof name, "C%05d", i);
    std::snprintf(super, sizeof super, "C%05d", i - 1);
    Add(list, name, i ? super : "");
  }
  list.WriteReference(out.path().string());
  std::string entries;
  for (int i = 0; i < depth; ++i) {
    char name[16], super[16];
    std::snprintf(name, sizeof name, "C%05d", i);
    std::snprintf(super, sizeof super, "C%05d", i - 1);
    entries += EntryLine(i, "class", name, i ? super : "",
                         i + 1 < depth ? "1 subclass, 0 states, 0 vars, 0 events, 0 functions"
                                       : "0 subclasses, 0 states, 0 vars, 0 events, 0 functions") +
               SubList(i);
  }
  for (int i = 0; i < depth; ++i) entries += kSubListEnd;
  EXPECT_EQ(ReadFile(out / "index.html"), Index(entries));
  EXPECT_EQ(ReadTree(out.path()).size(), static_cast<size_t>(depth) + 1);
}

TEST(IndexPage, TextFromScriptsIsEscaped) {
  TempDir out;
  CClassList list;
  Add(list, "A<b>&\"c\"", "", nullptr, {{"var class<Actor> C", "var string S \"x&y\""}, {}, {}});
  Add(list, "B'q", "a<B>&\"C\"");
  list.WriteReference(out.path().string());
  const std::string none = "0 subclasses, 0 states, 0 vars, 0 events, 0 functions";
  EXPECT_EQ(ReadFile(out / "index.html"),
            Index(EntryLine(0, "class", "A&lt;b&gt;&amp;&quot;c&quot;", "",
                            "1 subclass, 0 states, 2 vars, 0 events, 0 functions") +
                  SubList(0) + EntryLine(1, "class", "B'q", "A&lt;b&gt;&amp;&quot;c&quot;", none) +
                  SubList(1) + kSubListEnd + kSubListEnd));
  EXPECT_EQ(
      ReadFile(out / "00000.html"),
      Text(Page("A&lt;b&gt;&amp;&quot;c&quot;",
                "<li>var class&lt;Actor&gt; C</li>\n<li>var string S &quot;x&amp;y&quot;</li>\n",
                "", "")));
}

TEST(IndexPage, LongNamesAreWrittenWhole) {
  TempDir out;
  CClassList list;
  std::string long_name(10000, 'n');
  const std::string long_function = "function " + std::string(9000, 'f') + " () ";
  Add(list, long_name, "", nullptr, {{}, {}, {long_function}});
  list.WriteReference(out.path().string());
  EXPECT_EQ(ReadFile(out / "index.html"),
            Index(EntryLine(0, "class", long_name, "",
                            "0 subclasses, 0 states, 0 vars, 0 events, 1 function") +
                  SubList(0) + kSubListEnd));
  EXPECT_EQ(
      ReadFile(out / "00000.html"),
      Text(Page(long_name, "", "", "<li>function " + std::string(9000, 'f') + " () </li>\n")));
}

TEST(RecordPage, SectionsInOrderAndNoFinalNewline) {
  TempDir out;
  CClassList list;
  CClassRecord* r =
      Add(list, "Pawn", "", nullptr,
          {{"var int Health", "var int Health"}, {"event Landed () "}, {"function Died () "}});
  CClassRecord* s = Add(list, "Dying", "", r);
  list.WriteReference(out.path().string());
  // Dying sorts before Pawn.
  EXPECT_EQ(ReadFile(out / "00001.html"),
            Text(Page("Pawn", "<li>var int Health</li>\n<li>var int Health</li>\n",
                      "<li>event Landed () </li>\n", "<li>function Died () </li>\n")));
  EXPECT_EQ(ReadFile(out / "00000.html"), Text(Page("Dying", "", "", "")));
  EXPECT_EQ(s->parent, r);
}

// A script gone or changed since the scan when its source page is written:
// the page says so and the run reports it, after the index is written. Only
// the script as it was read is shown.
TEST(SourcePage, ScriptGoneOrChangedSinceTheScanIsReported) {
  const std::string read = "class Gone;\nvar int A;\n";
  struct Case {
    const char* what;
    bool exists;
    std::string now;
  };
  const Case cases[] = {
      {"gone", false, ""},
      {"shorter", true, "class Gone;\n"},
      {"of the same size", true, "class Gone;\nvar int B;\n"},
      {"as it was", true, read},
  };
  CSourceBuffer scanned;
  ASSERT_TRUE(scanned.SetText(read));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempDir out;
    TempDir src;
    if (c.exists) testing_support::WriteFile(src / "Gone.kc", c.now);
    CClassList list;
    list.SetTexts(*list.CreateRecord(),
                  {.name = "Gone", .script = {"", "Gone.kc", scanned.Fingerprint()}});
    list.sourceDir = src.path().string();
    testing::internal::CaptureStdout();
    list.WriteReference(out.path().string(), {.navigation = true, .complete = true});
    console::Flush();
    const std::string script = platform::JoinPath(list.sourceDir, "Gone.kc");
    const bool same = c.exists && c.now == read;
    // The console is captured as the program writes it, before any line end
    // is translated.
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Generating output... " +
                  (same ? std::string() : "Unable to read '" + script + "'!\n") + "Complete.\n");
    auto files = ReadTree(out.path());
    // index, record page, source page, stylesheet, members, packages, and the
    // search's records, index script, field script and summaries
    EXPECT_EQ(files.size(), 10u);
    EXPECT_EQ(
        files["source-00000.html"].find("<p>The script could not be read") == std::string::npos,
        same);
    EXPECT_EQ(files["source-00000.html"].find("<a id=\"L2\"") != std::string::npos, same);
    EXPECT_NE(files["00000.html"].find("<a href=\"source-00000.html\">"), std::string::npos);
  }
}

// The model file is the same byte for byte when a second thread makes runs
// of its records ahead of the thread that writes it, whoever takes which.
TEST(ModelFile, RecordsMadeAheadOnASecondThreadAreWrittenInOrder) {
  TempDir src;
  TempDir out;
  for (int i = 0; i < 300; ++i) {
    testing_support::WriteFile(src / ("C" + std::to_string(i) + ".kc"),
                               "class C" + std::to_string(i) +
                                   (i ? " extends C" + std::to_string(i / 3) : "") +
                                   ";\nvar int V" + std::to_string(i) + ";\nfunction F() {}\n");
  }
  CClassList list;
  testing::internal::CaptureStdout();
  ASSERT_TRUE(ScanDirectory(list, src.path().string(), ReaderKind::kComplete));
  testing::internal::GetCapturedStdout();
  list.ResolveParents();
  list.SortByName(true);
  CTypeTable types;
  types.Build(list);
  COverriders overriders;
  overriders.Build(list);
  const auto write = [&](const char* name, bool helped) {
    platform::COutputFile file;
    EXPECT_TRUE(file.Open((out / name).string()));
    CModelJsonWriter writer(list, types, overriders, nullptr);
    std::thread helper;
    if (helped) helper = std::thread([&writer] { writer.Help(); });
    writer.Write(file);
    if (helped) helper.join();
    EXPECT_TRUE(file.Close());
    return ReadFile(out / name);
  };
  const std::string alone = write("alone.json", false);
  EXPECT_NE(alone.find("\"name\": \"C299\""), std::string::npos);
  for (int k = 0; k < 20; ++k) EXPECT_EQ(write("helped.json", true), alone);
}

#ifdef __linux__
// The bytes of memory this process holds resident.
size_t ResidentBytes() {
  unsigned long total = 0, resident = 0;
  FILE* statm = std::fopen("/proc/self/statm", "r");
  if (statm) {
    if (std::fscanf(statm, "%lu %lu", &total, &resident) != 2) resident = 0;
    std::fclose(statm);
  }
  return resident * static_cast<size_t>(sysconf(_SC_PAGESIZE));
}

TEST(WriteLine, CostsWhatItWritesWhateverTheRoomBehind) {
  // A gigabyte of room that was never touched stays untouched when a short
  // piece is formatted into it.
  std::string out;
  out.reserve(size_t{1} << 30);
  const size_t before = ResidentBytes();
  AppendFormat(out, "%05ld.html %s", 7L, "&");
  EXPECT_EQ(out, "00007.html &");
  EXPECT_LT(ResidentBytes() - before, size_t{64} << 20);
}
#endif

}  // namespace

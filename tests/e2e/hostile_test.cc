// Source trees and destinations built to break the tool: binary bytes, a huge
// one-line script, a crowded directory, awkward names, unbalanced texts,
// links that fan out, trees deeper than a call stack, scripts too large for
// memory, destinations that overlap the sources, refuse some pages, hold
// links or see a run stopped midway, and a console closed early. Every run
// must end, list every readable class, report every problem, write nothing
// outside Destdir, and give the exit status that matches.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#endif

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

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
using testing_support::ToolRun;
using testing_support::WriteFile;

const std::string kComplete = "Generating output... Complete.\n";

size_t CountOf(std::string_view text, std::string_view piece) {
  size_t count = 0;
  for (size_t at = text.find(piece); at != std::string_view::npos;
       at = text.find(piece, at + piece.size())) {
    ++count;
  }
  return count;
}

std::string Parsed(const std::string& file) {
  return "Parsing " + file + "...OK.\n";
}

std::string Number(size_t number) {
  char text[32];
  std::snprintf(text, sizeof text, "%05zu", number);
  return text;
}

// Everything the run wrote lies inside `dest` (relative to the working
// directory, "/" separated).
void ExpectWrittenOnlyIn(const ToolRun& run, const std::string& dest) {
  for (const auto& [path, bytes] : run.written) {
    EXPECT_EQ(path.rfind(dest + "/", 0), 0u) << path << " lies outside " << dest;
  }
}

// The index in `dest` lists `records` entries of which `classes` are
// classes, and each entry has its page.
void ExpectCompleteReference(const ToolRun& run, const std::string& dest, size_t records,
                             size_t classes) {
  auto index = run.written.find(dest + "/index.html");
  ASSERT_NE(index, run.written.end());
  EXPECT_EQ(index->second.rfind(Text(expected::kIndexHeader), 0), 0u);
  EXPECT_EQ(CountOf(index->second, "<li id='idHeader"), records);
  EXPECT_EQ(CountOf(index->second, "class='clsHeader'>class <a"), classes);
  for (size_t i = 0; i < records; ++i) {
    EXPECT_EQ(run.written.count(dest + "/" + Number(i) + ".html"), 1u) << i;
  }
  EXPECT_EQ(run.written.count(dest + "/" + Number(records) + ".html"), 0u);
}

// `count` pseudo-random bytes, the same in every run.
std::string NoiseBytes(size_t count, unsigned seed) {
  std::mt19937 random(seed);
  std::string bytes(count, '\0');
  for (char& c : bytes) c = static_cast<char>(random() & 0xff);
  return bytes;
}

#ifndef _WIN32
// The `size` bytes of the file at `path` from `offset` on.
std::string ReadPart(const fs::path& path, uint64_t offset, size_t size) {
  std::ifstream in(path, std::ios::binary);
  in.seekg(static_cast<std::streamoff>(offset));
  std::string bytes(size, '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(size));
  bytes.resize(static_cast<size_t>(in.gcount()));
  return bytes;
}
#endif

TEST(HostileTree, BinaryFilesAndNulBytes) {
  TempDir dir;
  fs::create_directory(dir / "out");
  // Only what stands before the first NUL is read.
  WriteFile(dir / "src/Cut.kc",
            std::string("class Cut expands Base;\nvar int Seen;\n\0var int Hidden;\n", 52) +
                NoiseBytes(4096, 1));
  WriteFile(dir / "src/Noise.kc", NoiseBytes(65536, 2));
  WriteFile(dir / "src/Zeros.kc", std::string(4096, '\0'));
  WriteFile(dir / "src/Empty.kc", "");
  WriteFile(dir / "src/picture.bin", NoiseBytes(4096, 3));

  auto run = RunTool(dir.path(), {"out", "src"});
  EXPECT_EQ(run.out, Text(Parsed("Cut.kc") + Parsed("Empty.kc") + Parsed("Noise.kc") +
                          Parsed("Zeros.kc") + kComplete));
  EXPECT_EQ(run.status, 0);
  ExpectWrittenOnlyIn(run, "out");
  // One class per script; the noise may hold states of its own.
  const std::string& index = run.written["out/index.html"];
  const size_t records = CountOf(index, "<li id='idHeader");
  ExpectCompleteReference(run, "out", records, 4);
  EXPECT_NE(index.find("<b>Cut</b></font></a> (), <font size=1> 0 subclasses, 0 states, 1 var,"),
            std::string::npos);
  EXPECT_EQ(index.find("Hidden"), std::string::npos);
}

TEST(HostileTree, HundredMegabyteOneLineScript) {
  TempDir dir;
  fs::create_directory(dir / "out");
  // One line: a function whose body, with nested blocks and braces inside
  // strings, runs to a hundred megabytes, and declarations after it.
  const std::string head = "class Huge expands Base; var int A; function Spin() { ";
  const std::string step = "if (a) { s = \"}\"; t = '{'; } ";
  const std::string tail = "} var int B; event Done() { }";
  std::string script = head;
  script.reserve(100u << 20);
  while (script.size() + step.size() + tail.size() <= (100u << 20)) script += step;
  script += tail;
  ASSERT_GE(script.size(), (100u << 20) - step.size());
  WriteFile(dir / "src/Huge.kc", script);
  script = std::string();

  auto run = RunTool(dir.path(), {"out", "src"});
  EXPECT_EQ(run.out, Text(Parsed("Huge.kc") + kComplete));
  EXPECT_EQ(run.status, 0);
  ExpectWrittenOnlyIn(run, "out");
  ExpectCompleteReference(run, "out", 1, 1);
  EXPECT_NE(run.written["out/index.html"].find(Text(expected::EntryLine(
                0, "class", "Huge", "", "0 subclasses, 0 states, 2 vars, 1 event, 1 function"))),
            std::string::npos);
  EXPECT_EQ(run.written["out/00000.html"],
            Text(expected::Page("Huge", "<li>var int A</li>\n<li>var int B</li>\n",
                                "<li>event Done () </li>\n", "<li>function Spin () </li>\n")));
}

// The whole-language reader keeps the comments between two declarations as
// one range, not one record each, so fifteen megabytes of comment lines, a
// huge enumeration, a huge default block and thousands of states are read
// in memory in proportion to what the model keeps. Before, the comments
// alone needed some 200 MiB of address space.
TEST(HostileTree, WholeLanguageReadsHugeScriptsInLittleMemory) {
#ifdef _WIN32
  GTEST_SKIP() << "the address-space cap is POSIX only";
#else
  if (testing_support::kUnderSanitizer) {
    GTEST_SKIP() << "an address-space cap leaves no room for the sanitizer's shadow memory";
  }
  TempDir dir;
  fs::create_directory(dir / "out");
  const auto write_script = [&](const std::string& name, std::string head, size_t size,
                                const std::function<std::string(size_t)>& line,
                                const std::string& tail) {
    for (size_t i = 0; head.size() < size; ++i) head += line(i);
    WriteFile(dir / "src" / (name + ".kc"), head + tail);
  };
  write_script(
      "Notes", "class Notes;\nvar int A;\n", size_t{15} << 20, [](size_t) { return "// note\n"; },
      "var int B;\n");
  write_script(
      "Values", "class Values;\nenum E {\n", size_t{4} << 20,
      [](size_t i) { return "V" + std::to_string(i) + ",\n"; }, "};\nvar E Last;\n");
  write_script(
      "Defaults", "class Defaults;\ndefaultproperties\n{\n", size_t{4} << 20,
      [](size_t i) { return "K" + std::to_string(i) + "=" + std::to_string(i) + "\n"; },
      "}\nvar int After;\n");
  constexpr size_t kStates = 5000;
  std::string states = "class States;\n";
  for (size_t i = 0; i < kStates; ++i)
    states += "state S" + std::to_string(i) + " extends Missing { }\n";
  WriteFile(dir / "src/States.kc", states);

  auto run = RunTool(dir.path(), {"--complete", "out", "src"}, size_t{160} << 20, 0, 60);
  EXPECT_EQ(run.out, Text(Parsed("Defaults.kc") + Parsed("Notes.kc") + Parsed("States.kc") +
                          Parsed("Values.kc") + kComplete));
  EXPECT_EQ(run.status, 0);
  ExpectCompleteReference(run, "out", 4 + kStates, 4);
  const std::string& index = run.written["out/index.html"];
  for (const char* counts :
       {"<b>Defaults</b></font></a> (), <font size=1> 0 subclasses, 0 states, 1 var,",
        "<b>Notes</b></font></a> (), <font size=1> 0 subclasses, 0 states, 2 vars,",
        "<b>Values</b></font></a> (), <font size=1> 0 subclasses, 0 states, 1 var,"}) {
    EXPECT_NE(index.find(counts), std::string::npos) << counts;
  }
#endif
}

TEST(HostileTree, TenThousandScriptsInOneDirectory) {
  constexpr size_t kScripts = 10000;
  TempDir dir;
  fs::create_directory(dir / "out");
  // Class i expands class (i-1)/2: a balanced tree fourteen levels deep.
  std::string console;
  for (size_t i = 0; i < kScripts; ++i) {
    std::string name = "C";
    name += Number(i);
    std::string script = "class " + name;
    if (i > 0) script.append(" expands C").append(Number((i - 1) / 2));
    script.append("; var int V").append(Number(i)).append(";\n");
    WriteFile(dir / ("src/" + name + ".kc"), script);
    console += Parsed(name + ".kc");
  }

  auto run = RunTool(dir.path(), {"out", "src"});
  EXPECT_EQ(run.out, Text(console + kComplete));
  EXPECT_EQ(run.status, 0);
  ExpectWrittenOnlyIn(run, "out");
  ExpectCompleteReference(run, "out", kScripts, kScripts);
  EXPECT_EQ(run.written.size(), kScripts + 1);
  const std::string& index = run.written["out/index.html"];
  EXPECT_NE(index.find(Text(expected::EntryLine(
                0, "class", "C00000", "", "2 subclasses, 0 states, 1 var, 0 events, 0 functions"))),
            std::string::npos);
  EXPECT_NE(
      index.find(Text(expected::EntryLine(4999, "class", "C04999", "C02499",
                                          "1 subclass, 0 states, 1 var, 0 events, 0 functions"))),
      std::string::npos);
  EXPECT_NE(
      index.find(Text(expected::EntryLine(9999, "class", "C09999", "C04999",
                                          "0 subclasses, 0 states, 1 var, 0 events, 0 functions"))),
      std::string::npos);
  EXPECT_EQ(run.written["out/09999.html"],
            Text(expected::Page("C09999", "<li>var int V09999</li>\n", "", "")));
}

TEST(HostileTree, AwkwardNames) {
  TempDir dir;
  fs::create_directory(dir / "out");
  struct Script {
    std::string file;
    std::string name;     // as written in the class statement
    std::string escaped;  // as it reads in the pages
  };
  std::vector<Script> scripts = {
      {"with space.kc", "Spaced", "Spaced"},
      {"\xc3\xa9t\xc3\xa9.kc", "\xc3\x89t\xc3\xa9", "\xc3\x89t\xc3\xa9"},
      {"it's & more.kc", "A<B>&C", "A&lt;B&gt;&amp;C"},
      {"quote.kc", "Say\"Hi\"", "Say&quot;Hi&quot;"},
  };
#ifndef _WIN32
  // Characters no Windows file name may hold.
  scripts.push_back({"<tag> \"q\".kc", "Tag", "Tag"});
#endif
  for (const Script& script : scripts) {
    WriteFile(dir / ("src/" + script.file), "class " + script.name + " expands Base;");
  }

  auto run = RunTool(dir.path(), {"out", "src"});
  EXPECT_EQ(run.status, 0);
  ExpectWrittenOnlyIn(run, "out");
  ExpectCompleteReference(run, "out", scripts.size(), scripts.size());
  for (const Script& script : scripts) {
    EXPECT_NE(run.out.find(Text(Parsed(script.file))), std::string::npos) << script.file;
    EXPECT_NE(run.written["out/index.html"].find("<b>" + script.escaped + "</b>"),
              std::string::npos)
        << script.escaped;
  }
  EXPECT_EQ(CountOf(run.out, "...OK."), scripts.size());

  // With every option, a script's path that is valid UTF-8 is named as UTF-8
  // in the model file and shown by character references in the pages, any
  // other read as windows-1252; each script's page is linked from its class's.
  struct Path {
    std::string file;   // as the file system holds it
    std::string json;   // in model.json
    std::string shown;  // in the pages
  };
  std::vector<Path> paths = {
      {"\xc3\xa9t\xc3\xa9.kc", "\xc3\xa9t\xc3\xa9.kc", "&#xE9;t&#xE9;.kc"},
      // In octal: a hex escape would take the "b" in. Lower case, so that no
      // byte lies in 0x80-0x9F, which Windows' code page and the test's own
      // conversion of file names read differently.
      {"d\303\257r/\303\274ber.kc", "d\303\257r/\303\274ber.kc", "d&#xEF;r/&#xFC;ber.kc"},
  };
  WriteFile(dir / ("src/" + paths[1].file), "class Uber;");
#ifndef _WIN32
  // No Windows file name holds bytes that are no character.
  paths.push_back({"\xe9l\xe8ve.kc", "\xc3\xa9l\xc3\xa8ve.kc", "\xe9l\xe8ve.kc"});
  WriteFile(dir / ("src/" + paths[2].file), "class Eleve;");
#endif
#ifndef _WIN32
  // Folders that name packages: markup and quotes, bytes that are no UTF-8.
  WriteFile(dir / "src/<p&\"q\">/Classes/Tagged.kc", "class Tagged;");
  WriteFile(dir / "src/\xe9t\xe9/Summer.kc", "class Summer;");
#endif
  // Classes extend Base, whose operators "<" and "&" take Base: its use page
  // names them as text, bytes from 0x80 up as they are.
  WriteFile(dir / "src/Base.kc",
            "class Base;\nstatic final operator(24) bool < (Base A, Base B);\n"
            "static final operator(28) Base & (Base A, int B);\n");
  // A function declared again in a state and a subclass, names with bytes
  // from 0x80 up.
  WriteFile(dir / "src/Over.kc",
            "class R\xe9\x80q;\nfunction H\xe9rt();\n"
            "state D\xff { function h\xe9rt(); }\n");
  WriteFile(dir / "src/Under.kc", "class S\x9c expands R\xe9\x80q;\nfunction H\xe9RT();\n");
  fs::create_directory(dir / "rich");
  auto rich = RunTool(dir.path(), {"--navigation", "--json", "rich", "src"});
  EXPECT_EQ(rich.status, 0);
  std::string base_users;
  for (const auto& [written, bytes] : rich.written) {
    if (bytes.find("<h1>Users of class Base</h1>") != std::string::npos) base_users = bytes;
  }
  for (const char* use :
       {"\xc3\x89t\xc3\xa9</a></dt>", "parameter A of <a href=\"", "#fn--3c\">&lt;</a></dd>",
        "<dd>return of <a href=\"", "#fn--26\">&amp;</a></dd>"}) {
    EXPECT_NE(base_users.find(use), std::string::npos) << use << "\n" << base_users;
  }
  for (const Path& path : paths) {
    const std::string shown = Native(path.shown);
    EXPECT_NE(rich.written["rich/model.json"].find("\"script\": \"" + path.json + "\""),
              std::string::npos)
        << path.json;
    std::string source_page;
    for (const auto& [written, bytes] : rich.written) {
      if (bytes.find("<h1>Script <code>" + shown + "</code></h1>") != std::string::npos)
        source_page = written.substr(std::string("rich/").size());
    }
    ASSERT_NE(source_page, "") << shown;
    size_t linking = 0;
    for (const auto& [written, bytes] : rich.written) {
      linking += bytes.find("href=\"" + source_page) != std::string::npos &&
                 bytes.find(shown) != std::string::npos;
    }
    EXPECT_EQ(linking, 1u) << shown;
  }
  // A package's name is text on the packages page and on its classes' pages,
  // and a path's step in the model file.
  const std::string& packages = rich.written["rich/packages.html"];
  EXPECT_NE(packages.find("<h2>d&#xEF;r</h2>"), std::string::npos) << packages;
  EXPECT_NE(rich.written["rich/model.json"].find("\"package\": \"d\303\257r\""), std::string::npos);
  // The search reads it in the index's 8-bit character set: as escapes.
  EXPECT_NE(rich.written["rich/members.js"].find("d\\u00EFr\\n"), std::string::npos);
  // The list under it names each declaration as text, its anchor in hex.
  size_t overridden = 0;
  for (const auto& [written, bytes] : rich.written) {
    overridden +=
        bytes.find("#fn--68e97274\">R\xe9\x80q.D\xff</a>, <a href=\"") != std::string::npos &&
        bytes.find("#fn--48e95254\">S\x9c</a></p>") != std::string::npos;
  }
  EXPECT_EQ(overridden, 1u);
#ifndef _WIN32
  EXPECT_NE(packages.find("<h2>&lt;p&amp;&quot;q&quot;&gt;</h2>"), std::string::npos) << packages;
  EXPECT_NE(packages.find("<h2>\xe9t\xe9</h2>"), std::string::npos) << packages;
  EXPECT_NE(rich.written["rich/model.json"].find("\"package\": \"\xc3\xa9t\xc3\xa9\""),
            std::string::npos);
  size_t naming = 0;
  for (const auto& [written, bytes] : rich.written)
    naming += bytes.find("\">&lt;p&amp;&quot;q&quot;&gt;</a></p>") != std::string::npos;
  EXPECT_EQ(naming, 1u);
#endif
}

TEST(HostileTree, UnbalancedBracesQuotesAndComments) {
  TempDir dir;
  fs::create_directory(dir / "out");
  WriteFile(dir / "src/OpenBody.kc", "class OpenBody; var int A; function F() { { { if (");
  WriteFile(dir / "src/ExtraClose.kc", "class ExtraClose; } } var int A; } function G() { } }");
  WriteFile(dir / "src/OpenQuote.kc",
            "class OpenQuote; var string S; function F() { s = \"never closed; } var int Lost;");
  WriteFile(dir / "src/OpenComment.kc", "class OpenComment; var int A; /* var int B; { {");
  WriteFile(dir / "src/OpenState.kc", "class OpenState; state Waiting { function W() { ");
  WriteFile(dir / "src/LineComment.kc", "class LineComment; var int A; // no newline at the end");

  auto run = RunTool(dir.path(), {"out", "src"});
  EXPECT_EQ(run.out, Text(Parsed("ExtraClose.kc") + Parsed("LineComment.kc") +
                          Parsed("OpenBody.kc") + Parsed("OpenComment.kc") +
                          Parsed("OpenQuote.kc") + Parsed("OpenState.kc") + kComplete));
  EXPECT_EQ(run.status, 0);
  ExpectWrittenOnlyIn(run, "out");
  ExpectCompleteReference(run, "out", 7, 6);
  const std::string& index = run.written["out/index.html"];
  const std::string none = "0 subclasses, 0 states, ";
  EXPECT_NE(index.find(Text(expected::EntryLine(0, "class", "ExtraClose", "",
                                                none + "1 var, 0 events, 1 function"))),
            std::string::npos);
  EXPECT_NE(index.find(Text(expected::EntryLine(1, "class", "LineComment", "",
                                                none + "1 var, 0 events, 0 functions"))),
            std::string::npos);
  EXPECT_NE(index.find(Text(expected::EntryLine(2, "class", "OpenBody", "",
                                                none + "1 var, 0 events, 1 function"))),
            std::string::npos);
  EXPECT_NE(index.find(Text(expected::EntryLine(3, "class", "OpenComment", "",
                                                none + "1 var, 0 events, 0 functions"))),
            std::string::npos);
  EXPECT_NE(index.find(Text(expected::EntryLine(4, "class", "OpenQuote", "",
                                                none + "1 var, 0 events, 1 function"))),
            std::string::npos);
  EXPECT_NE(
      index.find(Text(expected::EntryLine(5, "class", "OpenState", "",
                                          "0 subclasses, 1 state, 0 vars, 0 events, 0 functions"))),
      std::string::npos);
  EXPECT_NE(index.find(Text(expected::EntryLine(6, "state", "Waiting", "OpenState",
                                                none + "0 vars, 0 events, 1 function"))),
            std::string::npos);
}

// A source page shows every byte of its script as text: markup and entities,
// control bytes as the signs that picture them, block comments nested, and a
// string or comment left open kept to its line or to the end.
TEST(HostileTree, SourcePageShowsEveryByteAsText) {
  TempDir dir;
  fs::create_directory(dir / "out");
  WriteFile(dir / "src/Evil.kc", std::string("class Evil;\r\n"
                                             "#exec </script> \"x\" & y\n"
                                             "var string S; // </script><script>x</script>\n"
                                             "S = \"a<b&c\\\"d\" $ 'n&m';\n") +
                                     std::string("\0\x01\t\x1b\x7f\x0c|\rX\n", 10) +
                                     "/* a /* b */ still */ var\n"
                                     "/* 1 /* 2\n"
                                     "*/ 3 */ int\n"
                                     "S = \"unclosed <&\n"
                                     "/* unclosed </pre>\n"
                                     "& <comment> \"q\"");

  auto run = RunTool(dir.path(), {"--navigation", "--complete", "out", "src"});
  EXPECT_EQ(run.out, Text(Parsed("Evil.kc") + kComplete));
  EXPECT_EQ(run.status, 0);
  // Line by line; the tab on line 5 stays a tab.
  const std::string lines[] = {
      R"(<span class="k">class</span> Evil;)",
      R"(<span class="d">#exec &lt;/script&gt; &quot;x&quot; &amp; y</span>)",
      R"(<span class="k">var</span> <span class="k">string</span> S; )"
      R"(<span class="c">// &lt;/script&gt;&lt;script&gt;x&lt;/script&gt;</span>)",
      R"(<a href="00000.html#var-S" title="variable Evil.S">S</a> = )"
      R"(<span class="s">&quot;a&lt;b&amp;c\&quot;d&quot;</span> $ )"
      R"(<span class="n">'n&amp;m'</span>;)",
      "&#x2400;&#x2401;\t&#x241B;&#x2421;&#x240C;|&#x240D;X",
      // Block comments nest, over lines too.
      R"(<span class="c">/* a /* b */ still */</span> <span class="k">var</span>)",
      R"(<span class="c">/* 1 /* 2</span>)",
      R"(<span class="c">*/ 3 */</span> <span class="k">int</span>)",
      R"(S = <span class="s">&quot;unclosed &lt;&amp;</span>)",
      R"(<span class="c">/* unclosed &lt;/pre&gt;</span>)",
      R"(<span class="c">&amp; &lt;comment&gt; &quot;q&quot;</span>)",
  };
  std::string page =
      "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"windows-1252\">"
      "<title>Script Evil.kc</title>\n<link rel=\"stylesheet\" href=\"reference.css\"></head><body "
      "class=\"source\">\n<div id=\"idFind\"><input type=\"search\" id=\"idSearch\" "
      "aria-label=\"Search the reference\" placeholder=\"Search (/)\"></div>\n"
      "<script src=\"find.js\"></script>\n"
      "<h1>Script <code>Evil.kc</code></h1>\n<p>Class <a href=\"00000.html\">Evil</a></p>\n"
      "<pre style=\"--digits:2\">";
  for (size_t n = 1; n <= std::size(lines); ++n) {
    const std::string number = std::to_string(n);
    if (n > 1) page += "\n";
    page += "<a id=\"L" + number + "\" href=\"#L" + number + "\">" + number + "</a>" + lines[n - 1];
  }
  page += "</pre>\n</body></html>\n";
  EXPECT_EQ(run.written["out/source-00000.html"], Text(page));
}

#ifndef _WIN32
// Runs --navigation --complete on one script, Many.kc, into `dest`, which
// lies outside the run's directory, under a cap of processor time: each run
// needs a second or two of user time; creating its files takes the system a
// few seconds more on a busy machine, and the sanitizers slow it some times
// over. True when the run ended with status 0.
bool RunManyUnderCap(const std::string& script, const TempDir& dest) {
  TempDir sources;
  WriteFile(sources / "Many.kc", script);
  TempDir dir;
  const size_t seconds = testing_support::kUnderSanitizer ? 36 : 12;
  auto run = RunTool(dir.path(),
                     {"--navigation", "--complete", dest.path().string(), sources.path().string()},
                     0, 0, seconds);
  EXPECT_EQ(run.out, Parsed("Many.kc") + kComplete);
  return run.status == 0;
}
#endif

// A state's page links the state it extends, looked up among its class's
// states: four thousand states whose names share a long beginning, each but
// one extending a state nobody declares. Looking at every state of the class
// for each page took some thirty seconds of processor time.
TEST(HostileTree, StatesExtendingMissingStatesAreLookedUpQuickly) {
#ifdef _WIN32
  GTEST_SKIP() << "the processor time cap is POSIX only";
#else
  constexpr size_t kStates = 4000;
  const std::string shared(1500, 'P');
  std::string script = "class Many;\n";
  for (size_t i = 0; i < kStates; ++i) {
    // The first extends the last, named in another case; the others a name
    // as long as theirs, told from each only after the shared beginning.
    const std::string target =
        i == 0 ? std::string(1500, 'p') + Number(kStates - 1) : shared + "Missi";
    script += "state " + shared + Number(i) + " extends " + target + " { }\n";
  }
  // The test reads only two pages.
  TempDir dest;
  ASSERT_TRUE(RunManyUnderCap(script, dest));
  // The class first, then its states in order.
  EXPECT_TRUE(fs::exists(dest / (Number(kStates) + ".html")));
  const std::string first = ReadFile(dest / "00001.html");
  EXPECT_NE(first.find(" extends <a href=\"" + Number(kStates) + ".html\">p"), std::string::npos)
      << first;
  const std::string second = ReadFile(dest / "00002.html");
  EXPECT_NE(second.find(" extends " + shared + "Missi</pre>"), std::string::npos) << second;
#endif
}

// A function of very many locals, each used: the source page finds each
// name's local by one table lookup, not by a walk over those before it.
TEST(HostileTree, SourcePageOfManyLocalsIsLinkedQuickly) {
#ifdef _WIN32
  GTEST_SKIP() << "the processor time cap is POSIX only";
#else
  constexpr size_t kLocals = 200000;
  std::string script = "class Many;\nfunction F()\n{\n";
  for (size_t i = 0; i < kLocals; ++i) script += "    local int L" + std::to_string(i) + ";\n";
  for (size_t i = 0; i < kLocals; ++i) script += "    L" + std::to_string(i) + " = 1;\n";
  script += "}\n";
  TempDir dest;
  ASSERT_TRUE(RunManyUnderCap(script, dest));
  const std::string last = "L" + std::to_string(kLocals - 1);
  EXPECT_NE(ReadFile(dest / "source-00000.html")
                .find("<a href=\"#L" + std::to_string(kLocals + 3) + "\" title=\"local " + last +
                      "\">" + last + "</a> = 1;"),
            std::string::npos);
#endif
}

// Type names that lead round in circles: classes within each other, a class
// extending itself, two extending each other, a structure holding itself and
// types nested a thousand deep. Every run ends, each type with what it names,
// in the model file and as a link on the pages.
TEST(HostileTree, TypeNamesInCirclesAreResolvedOnce) {
  TempDir dir;
  WriteFile(dir / "src/Outer.kc",
            "class Outer within Inner;\nenum EOuter { O_A };\nvar Inner In;\n");
  WriteFile(dir / "src/Inner.kc", "class Inner within Outer;\nvar Outer.EOuter Kind;\n");
  WriteFile(dir / "src/Self.kc",
            "class Self extends Self;\nstruct Link { var Link Next; };\n"
            "var Self Me;\nvar Self.Self Again;\n");
  WriteFile(dir / "src/Ping.kc", "class Ping extends Pong;\nenum EPing { P_A };\nvar EPong B;\n");
  WriteFile(dir / "src/Pong.kc", "class Pong extends Ping;\nenum EPong { P_B };\nvar EPing A;\n");
  std::string deep;
  for (int i = 0; i < 1000; ++i) deep += i % 2 ? "class<" : "array<";
  deep += "Link";
  deep.append(1000, '>');
  WriteFile(dir / "src/Deep.kc", "class Deep;\nvar " + deep + " Chain;\n");
  fs::create_directory(dir / "out");
  auto run = RunTool(dir.path(), {"--navigation", "--json", "out", "src"}, 0, 0, 10);
  ASSERT_EQ(run.status, 0) << run.out;
  const std::string model = ReadFile(dir / "out/model.json");
  // Records: Deep 0, Inner 1, Outer 2, Ping 3, Pong 4, Self 5.
  for (const char* resolved :
       {"\"name\": \"In\", \"type\": \"Inner\", \"type_ref\": {\"record\": 1, \"anchor\": null}",
        "\"type\": \"Outer.EOuter\", \"type_ref\": {\"record\": 2, \"anchor\": \"enum-EOuter\"}",
        "\"type\": \"Link\", \"type_ref\": {\"record\": 5, \"anchor\": \"struct-Link\"}",
        "\"type\": \"Self\", \"type_ref\": {\"record\": 5, \"anchor\": null}",
        "\"type\": \"Self.Self\", \"type_ref\": null",
        "\"type\": \"EPong\", \"type_ref\": {\"record\": 4, \"anchor\": \"enum-EPong\"}",
        "\"type\": \"EPing\", \"type_ref\": {\"record\": 3, \"anchor\": \"enum-EPing\"}",
        ">>\", \"type_ref\": {\"record\": 5, \"anchor\": \"struct-Link\"}"}) {
    EXPECT_NE(model.find(resolved), std::string::npos) << resolved << "\n" << model;
  }
  // The pages link what each names, the name alone of a nesting.
  const std::pair<const char*, std::string> linked[] = {
      {"00000.html", "class&lt;<a href=\"00005.html#struct-Link\">Link</a>&gt;&gt;&gt;"},
      {"00001.html", "class Inner within <a href=\"00002.html\">Outer</a></pre>"},
      {"00002.html", "class Outer within <a href=\"00001.html\">Inner</a></pre>"},
      {"00005.html", "<code>var <a href=\"00005.html#struct-Link\">Link</a> Next</code>"},
      {"00005.html", "<code>var <a href=\"00005.html\">Self</a> Me</code>"},
      {"00005.html", "<code>var Self.Self Again</code>"}};
  for (const auto& [page, link] : linked) {
    EXPECT_NE(run.written[std::string("out/") + page].find(link), std::string::npos)
        << page << ": " << link;
  }
}

// A class used by tens of thousands of declarations: its use page lists
// them up to a size and counts the rest, staying under 500 KB.
TEST(HostileTree, UsePageOfAClassUsedEverywhereStaysSmall) {
  constexpr size_t kUses = 30000;
  TempDir dir;
  std::string many = "class Many;\n";
  for (size_t i = 0; i < kUses; ++i) many += "var Root V" + std::to_string(i) + ";\n";
  WriteFile(dir / "src/Many.kc", many);
  WriteFile(dir / "src/Root.kc", "class Root;\n");
  fs::create_directory(dir / "out");
  auto run = RunTool(dir.path(), {"--navigation", "--complete", "out", "src"});
  ASSERT_EQ(run.status, 0) << run.out;
  const std::string& page = run.written["out/use-00001.html"];
  EXPECT_LT(page.size(), size_t{500000});
  EXPECT_NE(run.written["out/00001.html"].find(">Used by 30000 declarations in 1 class</a>"),
            std::string::npos);
  const size_t listed = CountOf(page, "<dd>");
  EXPECT_GT(listed, 1000u);
  EXPECT_NE(page.find("<p>Not listed, for the page's size: " + std::to_string(kUses - listed) +
                      " declarations in 1 class.</p>"),
            std::string::npos);
}

// A function called from thousands of long lines: its references are listed
// whole, each line's text escaped and cut at 120 bytes, on pages of at most
// 500 KB linked in order; the function's line links the first.
TEST(HostileTree, ManyReferencesToOneFunctionAreSplitInPagesLinkedInOrder) {
  constexpr size_t kCalls = 6000;
  TempDir dir;
  const std::string tail = " // <" + std::string(150, '&') + ">";
  std::string many = "class Many extends Root;\nfunction Call()\n{\n";
  for (size_t i = 0; i < kCalls; ++i) many += "\tHit(" + std::to_string(i) + ");" + tail + "\n";
  WriteFile(dir / "src/Many.kc", many + "}\n");
  WriteFile(dir / "src/Root.kc", "class Root;\nfunction Hit(int N);\n");
  fs::create_directory(dir / "out");
  auto run = RunTool(dir.path(), {"--navigation", "--complete", "out", "src"});
  ASSERT_EQ(run.status, 0) << run.out;
  EXPECT_NE(run.written["out/00001.html"].find("<p class=\"rf\"><a href=\"refs-00001.html#fn-Hit\">"
                                               "Referenced from 6000 places in 1 class</a></p>"),
            std::string::npos);
  size_t parts = 0;
  size_t line = 4;  // of the next call
  for (std::string name = "refs-00001.html"; !name.empty(); ++parts) {
    SCOPED_TRACE(name);
    ASSERT_EQ(run.written.count("out/" + name), 1u);
    const std::string& page = run.written["out/" + name];
    EXPECT_LE(page.size(), size_t{500000});
    // The function's section, after the class's own, or going on.
    const size_t section = page.find(">Root.Hit</a>");
    ASSERT_NE(section, std::string::npos);
    for (size_t at = page.find("<dd>", section); at != std::string::npos;
         at = page.find("<dd>", at + 1)) {
      std::string text;
      for (char c : ("Hit(" + std::to_string(line - 4) + ");" + tail).substr(0, 120))
        text += c == '&' ? "&amp;" : c == '<' ? "&lt;" : std::string(1, c);
      const std::string entry = "<dd><a href=\"source-00000.html#L" + std::to_string(line) + "\">" +
                                std::to_string(line) + "</a> <code>" + text +
                                Text("</code></dd>\n");
      ASSERT_EQ(page.compare(at, entry.size(), entry), 0) << page.substr(at, entry.size());
      ++line;
    }
    const size_t next = page.find("\">next</a>");
    name.clear();
    if (next != std::string::npos) {
      const size_t start = page.rfind('"', next - 1) + 1;
      name = page.substr(start, next - start);
      EXPECT_EQ(name, "refs-00001-" + std::to_string(parts + 2) + ".html");
    }
  }
  EXPECT_EQ(line, 4 + kCalls);
  EXPECT_GE(parts, 3u);
}

// A class whose functions are each declared again in more subclasses than
// its page lists: every function's line links the rest on the page of
// overriders, in the part that holds its section, and that section lists
// them all.
TEST(HostileTree, ManyLongListsOfOverridersAreLinkedToTheirSections) {
  constexpr size_t kFunctions = 600;
  constexpr size_t kSubclasses = 13;
  TempDir dir;
  std::string functions;
  for (size_t f = 0; f < kFunctions; ++f) functions += "function F" + std::to_string(f) + "();\n";
  WriteFile(dir / "src/Base.kc", "class Base;\n" + functions);
  for (size_t s = 0; s < kSubclasses; ++s) {
    const std::string name = "SubclassOfBase" + Number(s);
    WriteFile(dir / ("src/" + name + ".kc"), "class " + name + " extends Base;\n" + functions);
  }
  fs::create_directory(dir / "out");
  auto run = RunTool(dir.path(), {"--navigation", "--complete", "out", "src"});
  ASSERT_EQ(run.status, 0) << run.out;
  const std::string& page = run.written["out/00000.html"];
  EXPECT_EQ(CountOf(page, "<p class=\"ovi\">Overridden in "), kFunctions);
  const std::string sections = std::to_string(kSubclasses) + " declarations</h2>";
  size_t listed = 0;
  for (size_t f = 0; f < kFunctions; ++f) {
    const std::string anchor = "#fn-F" + std::to_string(f) + "\">and 1 more</a></p>";
    const size_t at = page.find(anchor);
    ASSERT_NE(at, std::string::npos) << f;
    const size_t start = page.rfind("<a href=\"", at) + 9;
    const std::string part = page.substr(start, at - start);
    ASSERT_EQ(part.rfind("over-00000", 0), 0u) << part;
    const std::string& over = run.written["out/" + part];
    const size_t section = over.find("<section id=\"fn-F" + std::to_string(f) + "\">");
    ASSERT_NE(section, std::string::npos) << part << " " << f;
    const size_t end = over.find("</section>", section);
    EXPECT_EQ(over.find(sections, section), over.find("</h2>", section) - sections.size() + 5);
    EXPECT_EQ(CountOf(over.substr(section, end - section), "<a href=\""), kSubclasses + 1);
    ++listed;
  }
  EXPECT_EQ(listed, kFunctions);
  EXPECT_GT(run.written.count("out/over-00000-2.html"), 0u);
  // Each part has the search bar of the rich pages.
  EXPECT_NE(run.written["out/over-00000-2.html"].find(
                Text("<body>\n<div id=\"idFind\"><input type=\"search\" id=\"idSearch\"")),
            std::string::npos);
}

// A script of blank lines makes a source page some forty times its size: it
// is built in room for what it holds, not in a buffer doubled and copied.
TEST(HostileTree, SourcePageOfBlankLinesFitsInTwiceItsSize) {
#ifdef _WIN32
  GTEST_SKIP() << "the address-space cap is POSIX only";
#else
  if (testing_support::kUnderSanitizer) {
    GTEST_SKIP() << "an address-space cap leaves no room for the sanitizer's shadow memory";
  }
  TempDir sources;
  constexpr size_t kLines = size_t{4} << 20;
  WriteFile(sources / "Blank.kc", "class Blank;" + std::string(kLines, '\n'));
  // Destdir lies outside the run's directory: the page is not read back whole.
  TempDir dest;
  TempDir dir;
  constexpr uint64_t kPageSize = 189605155;
  auto run = RunTool(dir.path(),
                     {"--navigation", "--complete", dest.path().string(), sources.path().string()},
                     2 * kPageSize);
  EXPECT_EQ(run.out, Parsed("Blank.kc") + kComplete);
  EXPECT_EQ(run.status, 0);
  ASSERT_EQ(fs::file_size(dest / "source-00000.html"), kPageSize);
  const std::string last = std::to_string(kLines);
  const std::string end =
      "<a id=\"L" + last + "\" href=\"#L" + last + "\">" + last + "</a></pre>\n</body></html>\n";
  EXPECT_EQ(ReadPart(dest / "source-00000.html", kPageSize - end.size(), end.size()), end);
#endif
}

// A small tree with a class, its subclass and a state.
void WriteSmallTree(const fs::path& src) {
  WriteFile(src / "Base.kc", "class Base; var int A; function F() { }");
  WriteFile(src / "sub/Derived.kc", "class Derived expands Base; state Busy { event Tick() { } }");
}

TEST(HostileTree, DestdirInsideSourceDir) {
  TempDir dir;
  WriteSmallTree(dir / "src");
  fs::create_directory(dir / "src/out");
  const std::string console = Text(Parsed("Base.kc") + Parsed("Derived.kc") + kComplete);

  auto first = RunTool(dir.path(), {Native("src/out"), "src"});
  EXPECT_EQ(first.out, console);
  EXPECT_EQ(first.status, 0);
  ExpectWrittenOnlyIn(first, "src/out");
  ExpectCompleteReference(first, "src/out", 3, 2);

  // The pages of the first run are no scripts: a second run reads the same
  // and writes the same.
  auto second = RunTool(dir.path(), {Native("src/out"), "src"});
  EXPECT_EQ(second.out, console);
  EXPECT_EQ(second.status, 0);
  EXPECT_TRUE(second.written.empty());
  EXPECT_EQ(ReadFile(dir / "src/out/index.html"), first.written["src/out/index.html"]);
}

TEST(HostileTree, SourceDirEqualsDestdir) {
  TempDir dir;
  WriteSmallTree(dir / "src");
  const std::string console = Text(Parsed("Base.kc") + Parsed("Derived.kc") + kComplete);

  auto first = RunTool(dir.path(), {"src", "src"});
  EXPECT_EQ(first.out, console);
  EXPECT_EQ(first.status, 0);
  ExpectWrittenOnlyIn(first, "src");
  ExpectCompleteReference(first, "src", 3, 2);
  EXPECT_EQ(first.written.size(), 4u);

  auto second = RunTool(dir.path(), {"src", "src"});
  EXPECT_EQ(second.out, console);
  EXPECT_EQ(second.status, 0);
  EXPECT_TRUE(second.written.empty());
}

TEST(HostileTree, PagesThatCannotBeWrittenAreReported) {
  TempDir dir;
  WriteSmallTree(dir / "src");
  // Directories standing at two pages' paths: no one can open them as files.
  fs::create_directories(dir / "out/00000.html");
  fs::create_directories(dir / "out/00002.html");

  auto run = RunTool(dir.path(), {"out", "src"});
  EXPECT_EQ(run.out, Text(Parsed("Base.kc") + Parsed("Derived.kc") + "Generating output... " +
                          "Unable to open '" + Native("out/00002.html") + "' for writing!\n" +
                          "Unable to open '" + Native("out/00000.html") + "' for writing!\n" +
                          "Complete.\n"));
  EXPECT_EQ(run.status, 1);
  ExpectWrittenOnlyIn(run, "out");
  // The index is whole; the one page that could be written is there.
  const std::string& index = run.written["out/index.html"];
  EXPECT_EQ(CountOf(index, "<li id='idHeader"), 3u);
  EXPECT_EQ(run.written.size(), 2u);
  EXPECT_EQ(run.written.count("out/00001.html"), 1u);
}

TEST(HostileTree, UnwritablePagesOfALargeTreeAreReportedInOrder) {
  // One root class above 299 others: its page comes last, after theirs, and
  // the pages are many enough to be shared out between writers.
  TempDir dir;
  std::string console;
  for (int i = 0; i < 300; ++i) {
    char name[8];
    std::snprintf(name, sizeof name, "C%03d", i);
    const std::string super = i == 0 ? "" : " expands C000";
    WriteFile(dir / ("src/" + std::string(name) + ".kc"),
              "class " + std::string(name) + super + ";");
    console += Parsed(std::string(name) + ".kc");
  }
  console += "Generating output... ";
  for (const char* page : {"00005.html", "00150.html", "00299.html", "00000.html"}) {
    fs::create_directories(dir / "out" / page);
    console += "Unable to open '" + Native(std::string("out/") + page) + "' for writing!\n";
  }
  console += "Complete.\n";

  auto run = RunTool(dir.path(), {"out", "src"});
  EXPECT_EQ(run.out, Text(console));
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.written.size(), 297u);

  // The linked pages are shared out too, and reported in record order.
  std::string linked = console.substr(0, console.find("Generating output... ") + 21);
  for (const char* page : {"00000.html", "00005.html", "00150.html", "00299.html"}) {
    linked += "Unable to open '" + Native(std::string("out/") + page) + "' for writing!\n";
  }
  auto navigable = RunTool(dir.path(), {"--navigation", "out", "src"});
  EXPECT_EQ(navigable.out, Text(linked + "Complete.\n"));
  EXPECT_EQ(navigable.status, 1);
  EXPECT_EQ(navigable.written.size(), 297u);

  // The model file is made while the pages are written; a model file that
  // cannot be opened is still reported after them.
  fs::create_directories(dir / "out/model.json");
  const std::string model = "Unable to open '" + Native("out/model.json") + "' for writing!\n";
  auto plain = RunTool(dir.path(), {"--json", "out", "src"});
  EXPECT_EQ(plain.out, Text(console.substr(0, console.size() - 10) + model + "Complete.\n"));
  EXPECT_EQ(plain.status, 1);
  // A source page and a use page, each written before the record pages,
  // are reported in their turn among them.
  std::string rich_console = console.substr(0, console.find("Generating output... ") + 21);
  for (const char* page : {"00000.html", "00005.html", "use-00005.html", "00150.html",
                           "source-00150.html", "00299.html"}) {
    fs::create_directories(dir / "out" / page);
    rich_console += "Unable to open '" + Native(std::string("out/") + page) + "' for writing!\n";
  }
  auto rich = RunTool(dir.path(), {"--navigation", "--complete", "--json", "out", "src"});
  EXPECT_EQ(rich.out, Text(rich_console + model + "Complete.\n"));
  EXPECT_EQ(rich.status, 1);

  // A piece of the search's summaries that cannot be written is reported,
  // and the pieces after it are still written.
  std::string members = "class C001 expands C000;\n";
  for (int i = 0; i < 4100; ++i) members += "var int V" + std::to_string(i) + ";\n";
  WriteFile(dir / "src/C001.kc", members);
  fs::remove(dir / "out/summaries-0.js");
  fs::create_directories(dir / "out/summaries-0.js");
  auto pieces = RunTool(dir.path(), {"--navigation", "--complete", "out", "src"});
  EXPECT_NE(pieces.out.find("Unable to open '" + Native("out/summaries-0.js") + "' for writing!"),
            std::string::npos);
  EXPECT_EQ(pieces.status, 1);
  EXPECT_EQ(pieces.written.count("out/summaries-1.js"), 1u);
}

#ifndef _WIN32
TEST(HostileTree, ScriptsThatCannotBeReadAreReported) {
  TempDir dir;
  fs::create_directory(dir / "out");
  WriteSmallTree(dir / "src");
  // A FIFO would block a plain read; a dangling link leads nowhere.
  ASSERT_EQ(mkfifo((dir / "src/Fifo.kc").c_str(), 0644), 0);
  fs::create_symlink("nowhere.kc", dir / "src/Dangling.kc");
  // A link back up the tree would make the scan endless if it were followed
  // blindly.
  fs::create_directory_symlink("..", dir / "src/sub/up");

  auto run = RunTool(dir.path(), {"out", "src"});
  EXPECT_EQ(run.out, Text(Parsed("Base.kc") + "Parsing Dangling.kc...Couldn't Open!\n" +
                          "Parsing Fifo.kc...Couldn't Open!\n" + Parsed("Derived.kc") + kComplete));
  EXPECT_EQ(run.status, 1);
  ExpectWrittenOnlyIn(run, "out");
  ExpectCompleteReference(run, "out", 3, 2);
}

TEST(HostileTree, TreeDeeperThanTheDescriptorsAtHand) {
  // The scan holds one open directory per level. With few descriptors allowed
  // it runs out of them on the way down, and must say where: after the
  // scripts above, which are read ahead holding descriptors of their own.
  TempDir sources;
  std::string path = "src";
  for (int level = 1; level <= 60; ++level) {
    path += "/d" + std::to_string(level);
    WriteFile(sources / (path + "/A" + std::to_string(level) + ".kc"),
              "class A" + std::to_string(level) + ";");
  }
  WriteFile(sources / (path + "/Bottom.kc"), "class Bottom;");
  WriteFile(sources / "src/Top.kc", "class Top;");
  TempDir dir;
  fs::create_directory(dir / "out");

  struct rlimit saved;
  ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &saved), 0);
  struct rlimit few = saved;
  few.rlim_cur = 32;
  ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &few), 0);
  auto run = RunTool(dir.path(), {"out", (sources / "src").string()});
  ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &saved), 0);

  // The level whose directory could not be opened, and every script above it.
  const size_t error_at = run.out.find("Unknown error with d");
  ASSERT_NE(error_at, std::string::npos) << run.out;
  const int failed = std::atoi(run.out.c_str() + error_at + 20);
  ASSERT_GE(failed, 1);
  std::string expected;
  for (int level = 1; level < failed; ++level)
    expected += Parsed("A" + std::to_string(level) + ".kc");
  expected += "Unknown error with d" + std::to_string(failed) + "\n" + Parsed("Top.kc") + kComplete;
  EXPECT_EQ(run.out, expected);
  EXPECT_EQ(run.status, 1);
  ExpectWrittenOnlyIn(run, "out");
  ExpectCompleteReference(run, "out", static_cast<size_t>(failed), static_cast<size_t>(failed));
}
#endif

TEST(HostileTree, LinksThatFanOutAreScannedOnce) {
  // Each directory holds a script and two links to the next: followed blindly
  // the last one is reached 2^9 ways.
  constexpr int kLevels = 10;
  TempDir dir;
  fs::create_directory(dir / "out");
  std::string console;
  for (int i = 0; i < kLevels; ++i) {
    const std::string level = "tree/d" + std::to_string(i);
    WriteFile(dir / (level + "/C" + std::to_string(i) + ".kc"),
              "class C" + std::to_string(i) + ";");
    console += Parsed("C" + std::to_string(i) + ".kc");
    if (i + 1 == kLevels) break;
    for (const char* link : {"/x", "/y"}) {
      std::error_code error;
      fs::create_directory_symlink("../d" + std::to_string(i + 1), dir / (level + link), error);
      if (error) GTEST_SKIP() << "symbolic links cannot be made here";
    }
  }

  auto run = RunTool(dir.path(), {"out", Native("tree/d0")});
  EXPECT_EQ(run.out, Text(console + kComplete));
  EXPECT_EQ(run.status, 0);
  ExpectWrittenOnlyIn(run, "out");
  ExpectCompleteReference(run, "out", kLevels, kLevels);
}

TEST(HostileTree, TreeDeeperThanTheCallStack) {
#ifdef _WIN32
  // Wine looks up every level of a whole path on each call, so time grows
  // with the square of the depth, and the host's path limit stops the tree
  // near two thousand levels: far from what a call per level would need.
  constexpr size_t kLevels = 300;
#else
  // Under a stack of 1 MiB a call per level gives out some five thousand
  // levels down. The walk needs a descriptor per level.
  constexpr size_t kLevels = 6000;
  struct rlimit saved_files;
  ASSERT_EQ(getrlimit(RLIMIT_NOFILE, &saved_files), 0);
  struct rlimit files = saved_files;
  files.rlim_cur = kLevels + 64;
  if (files.rlim_max < files.rlim_cur) files.rlim_max = files.rlim_cur;
  if (setrlimit(RLIMIT_NOFILE, &files) != 0) {
    GTEST_SKIP() << "cannot allow " << files.rlim_cur << " open files";
  }
#endif
  TempDir sources;
  std::vector<std::string> names(kLevels + 1, "d");
  names[0] = "src";
  std::vector<std::pair<std::string, std::string>> scripts(kLevels + 1);
  scripts[0] = {"Top.kc", "class Top;"};
  scripts[kLevels] = {"Bottom.kc", "class Bottom expands Top;"};
  ASSERT_TRUE(testing_support::MakeDeepTree(sources.path(), names, scripts));
  TempDir dir;
  fs::create_directory(dir / "out");

#ifdef _WIN32
  auto run = RunTool(dir.path(), {"out", (sources / "src").string()});
#else
  struct rlimit saved_stack;
  ASSERT_EQ(getrlimit(RLIMIT_STACK, &saved_stack), 0);
  struct rlimit stack = saved_stack;
  stack.rlim_cur = 1 << 20;
  ASSERT_EQ(setrlimit(RLIMIT_STACK, &stack), 0);
  auto run = RunTool(dir.path(), {"out", (sources / "src").string()});
  ASSERT_EQ(setrlimit(RLIMIT_STACK, &saved_stack), 0);
  ASSERT_EQ(setrlimit(RLIMIT_NOFILE, &saved_files), 0);
#endif
  EXPECT_EQ(run.out, Text(Parsed("Bottom.kc") + Parsed("Top.kc") + kComplete));
  EXPECT_EQ(run.status, 0);
  ExpectWrittenOnlyIn(run, "out");
  ExpectCompleteReference(run, "out", 2, 2);
}

TEST(HostileTree, RunningOutOfMemoryIsReportedNeverAnAbort) {
#ifdef _WIN32
  GTEST_SKIP() << "the address-space cap is POSIX only";
#else
  if (testing_support::kUnderSanitizer) {
    GTEST_SKIP() << "an address-space cap leaves no room for the sanitizer's shadow memory";
  }
  // Thirty-one megabytes of declarations: the text can be read and condensed
  // under the cap, the records it declares cannot all be held.
  TempDir dir;
  fs::create_directory(dir / "out");
  std::string script = "class Big;\n";
  while (script.size() < (size_t{31} << 20)) script += "var a;\n";
  WriteFile(dir / "src/Big.kc", script);
  script = std::string();
  WriteFile(dir / "src/Small.kc", "class Small;");

  auto run = RunTool(dir.path(), {"out", "src"}, size_t{250000} << 10);
  EXPECT_EQ(run.out, "Parsing Big.kc...Unable to parse.\n" + Parsed("Small.kc") + kComplete);
  EXPECT_EQ(run.status, 1);
  ExpectWrittenOnlyIn(run, "out");
  ExpectCompleteReference(run, "out", 1, 1);

  // An 80 MB name can be read, but not escaped (five bytes for each "&") as
  // well: the write fails, and the index of the last run stays. (Its page is
  // written beside the index and may be there.)
  WriteFile(dir / "wide/Wide.kc", "class " + std::string(size_t{80} << 20, '&') + ";");
  auto wide = RunTool(dir.path(), {"out", "wide"}, size_t{500000} << 10);
  EXPECT_EQ(wide.out,
            Parsed("Wide.kc") + "Generating output... Unable to write 'out/index.html'!\n");
  EXPECT_EQ(wide.status, 1);
  EXPECT_EQ(wide.written.count("out/index.html"), 0u);
  EXPECT_FALSE(fs::exists(dir / "out/index.html.tmp"));
#endif
}

TEST(HostileTree, IndexLineLongerThanAnIntCanCount) {
#ifdef _WIN32
  GTEST_SKIP() << "too large for a Windows program under Wine";
#else
  if (testing_support::kUnderSanitizer) {
    GTEST_SKIP() << "the sanitizer's shadow of gigabytes of text is too large";
  }
  // Each "&" is written as "&amp;": the class's index line runs past
  // 2^31 bytes.
  constexpr size_t kAmpersands = 430'000'000;
  TempDir sources;
  {
    std::ofstream script(sources / "Amp.kc", std::ios::binary);
    script << "class ";
    const std::string block(1 << 20, '&');
    for (size_t left = kAmpersands; left > 0; left -= std::min(left, block.size())) {
      script.write(block.data(), static_cast<std::streamsize>(std::min(left, block.size())));
    }
    script << ";";
  }
  // Destdir lies outside the run's directory, so the test does not read
  // gigabytes back whole.
  TempDir dest;
  TempDir dir;

  auto run = RunTool(dir.path(), {dest.path().string(), sources.path().string()});
  EXPECT_EQ(run.out, Parsed("Amp.kc") + kComplete);
  EXPECT_EQ(run.status, 0);
  const std::string index =
      expected::kIndexHeader +
      expected::EntryLine(0, "class", "*", "",
                          "0 subclasses, 0 states, 0 vars, 0 events, 0 functions") +
      expected::SubList(0) + expected::kSubListEnd + expected::kIndexFooter;
  const size_t star = index.find('*');
  const uint64_t size = index.size() - 1 + uint64_t{5} * kAmpersands;
  EXPECT_EQ(fs::file_size(dest / "index.html"), size);
  EXPECT_EQ(ReadPart(dest / "index.html", 0, star), index.substr(0, star));
  EXPECT_EQ(ReadPart(dest / "index.html", size - (index.size() - star - 1), index.size()),
            index.substr(star + 1));
#endif
}

TEST(HostileTree, LinksInTheDestinationAreNotWrittenThrough) {
  TempDir dir;
  WriteSmallTree(dir / "src");
  fs::create_directory(dir / "out");
  WriteFile(dir / "victim.txt", "victim");
  std::error_code error;
  fs::create_symlink("../victim.txt", dir / "out/00000.html", error);
  if (error) GTEST_SKIP() << "symbolic links cannot be made here";
  const std::string parsed = Parsed("Base.kc") + Parsed("Derived.kc");

  // A page at a link is refused, and the run goes on.
  auto page = RunTool(dir.path(), {"out", "src"});
  EXPECT_EQ(page.out, Text(parsed + "Generating output... Unable to open '" +
                           Native("out/00000.html") + "' for writing!\nComplete.\n"));
  EXPECT_EQ(page.status, 1);
  EXPECT_EQ(page.written.size(), 3u);
  EXPECT_EQ(page.written.count("out/00001.html"), 1u);
  EXPECT_EQ(page.written.count("out/00002.html"), 1u);

  // An index at a link stops the run before anything is written.
  fs::remove(dir / "out/index.html");
  fs::create_symlink("../victim.txt", dir / "out/index.html");
  auto index = RunTool(dir.path(), {"out", "src"});
  EXPECT_EQ(index.out,
            Text(parsed + "Unable to open '" + Native("out/index.html") + "' for writing!\n"));
  EXPECT_EQ(index.status, 1);
  EXPECT_TRUE(index.written.empty());
  EXPECT_EQ(ReadFile(dir / "victim.txt"), "victim");
}

TEST(HostileTree, MistypedSourceDirLeavesTheReferenceAlone) {
  TempDir dir;
  WriteSmallTree(dir / "src");
  fs::create_directory(dir / "out");
  ASSERT_EQ(RunTool(dir.path(), {"out", "src"}).status, 0);

  auto run = RunTool(dir.path(), {"out", "scr"});
  EXPECT_EQ(run.out, Text("Unable to read directory scr\n"));
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(run.written.empty());
}

TEST(HostileTree, StoppedRunLeavesThePreviousIndexWhole) {
  TempDir dir;
  fs::create_directory(dir / "out");
  for (int i = 0; i < 200; ++i) {
    WriteFile(dir / ("src/C" + Number(i) + ".kc"), "class C" + Number(i) + ";");
  }
  ASSERT_EQ(RunTool(dir.path(), {"out", "src"}).status, 0);
  const std::string whole = ReadFile(dir / "out/index.html");
  WriteFile(dir / "src/Extra.kc", "class Extra;");

#ifndef _WIN32
  // A file size limit below the index's size stops the run (SIGXFSZ) while
  // the index is written; the pages stay below it.
  struct rlimit saved;
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  struct rlimit small = saved;
  small.rlim_cur = whole.size() / 2;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  auto stopped = RunTool(dir.path(), {"out", "src"});
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &saved), 0);
  EXPECT_EQ(stopped.status, -1);
  EXPECT_EQ(ReadFile(dir / "out/index.html"), whole);
#endif

  // A run that ends well replaces the index whole and leaves nothing beside
  // it, whatever a stopped run left.
  auto run = RunTool(dir.path(), {"out", "src"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(CountOf(ReadFile(dir / "out/index.html"), "<li id='idHeader"), 201u);
  std::vector<std::string> listed;
  for (const auto& entry : fs::directory_iterator(dir / "out")) {
    listed.push_back(entry.path().filename().string());
  }
  EXPECT_EQ(listed.size(), 202u);
#ifdef _WIN32
  GTEST_SKIP() << "a run can be stopped midway by a file size limit only on POSIX";
#endif
}

TEST(HostileTree, RunningOutOfMemoryWhileWritingPagesIsReported) {
#ifdef _WIN32
  GTEST_SKIP() << "the address-space and descriptor caps are POSIX only";
#else
  if (testing_support::kUnderSanitizer) {
    GTEST_SKIP() << "an address-space cap leaves no room for the sanitizer's shadow memory";
  }
  // A hundred classes of 2 500 states each, and a run that may open no more
  // files than the standard streams, the old index and its temporary file
  // (held twice): no page can be opened, and every one is reported.
  constexpr size_t kFiles = 6;
  constexpr size_t kRecords = 100 * 2501;
  TempDir sources;
  for (int c = 0; c < 100; ++c) {
    std::string script = "class C" + Number(c) + ";\n";
    for (int s = 0; s < 2500; ++s) script += "state S" + std::to_string(s) + " { }\n";
    WriteFile(sources / ("C" + Number(c) + ".kc"), script);
  }
  TempDir dir;
  const std::string old_index = "the index of an earlier run\n";
  for (bool navigation : {false, true}) {
    TempDir dest;
    std::vector<std::string> args = {dest.path().string(), sources.path().string()};
    if (navigation) args.insert(args.begin(), "--navigation");
    // Runs under a cap of `kib` KiB (none if 0) over the old index.
    const auto run_under = [&](size_t kib) {
      WriteFile(dest / "index.html", old_index);
      return RunTool(dir.path(), args, kib << 10, kFiles);
    };
    const ToolRun whole = run_under(0);
    ASSERT_EQ(whole.status, 1);
    ASSERT_EQ(CountOf(whole.out, "Unable to open '"), kRecords);
    const std::string index = ReadFile(dest / "index.html");
    const size_t generating = whole.out.find("Generating output... ") + 21;
    const std::string scanned = whole.out.substr(0, generating);
    const std::string unwritten = "Unable to write '" + (dest / "index.html").string() + "'!\n";
    // Whether a run under a cap of `kib` KiB came out whole. Whatever memory
    // it ran short of, it never aborts or leaves a temporary file, the index
    // is the old one or whole, and every page it did not write (none could
    // be opened) is reported in the order of the run without a cap, whether
    // it could not be opened or not be made; the runs that ran short while
    // writing are counted in `short_runs`.
    size_t short_runs = 0;
    const auto whole_under = [&](size_t kib) {
      auto run = run_under(kib);
      EXPECT_EQ(run.err, "") << kib;
      EXPECT_EQ(run.status, 1) << kib;
      EXPECT_FALSE(fs::exists(dest / "index.html.tmp")) << kib;
      const bool scan_whole = run.out.rfind(scanned, 0) == 0;
      const std::string index_now = ReadFile(dest / "index.html");
      if (run.out.size() >= unwritten.size() &&
          run.out.compare(run.out.size() - unwritten.size(), unwritten.size(), unwritten) == 0) {
        EXPECT_EQ(index_now, old_index) << kib;
        if (scan_whole) {
          EXPECT_EQ(run.out, scanned + unwritten) << kib;
          ++short_runs;
        }
        return false;
      }
      if (!scan_whole) {
        // Scripts that could not be read leave a smaller reference, still
        // whole, each page reported once.
        EXPECT_EQ(index_now.rfind(index.substr(0, 40), 0), 0u) << kib;
        EXPECT_EQ(index_now.substr(index_now.size() - 15), index.substr(index.size() - 15)) << kib;
        return false;
      }
      std::string reports = run.out.substr(generating);
      const size_t made = CountOf(reports, "Unable to write '");
      // Each page that could not be made, reported as one not opened.
      for (size_t at, end; (at = reports.find("Unable to write '")) != std::string::npos &&
                           (end = reports.find("'!\n", at)) != std::string::npos;) {
        reports.replace(end, 3, "' for writing!\n");
        reports.replace(at, 15, "Unable to open");
      }
      // Compared whole, but shown by its end only: it runs to megabytes.
      EXPECT_TRUE(reports == whole.out.substr(generating))
          << kib << ": ..."
          << reports.substr(reports.size() - std::min<size_t>(reports.size(), 300));
      EXPECT_TRUE(index_now == index) << kib;
      if (made == 0) return true;
      ++short_runs;
      return false;
    };
    // The least cap, to a quarter MiB, under which the reference comes out
    // whole. Just below it the memory runs short while writing, on
    // whichever thread it runs out.
    size_t low = 8 << 10;
    size_t high = 256 << 10;
    ASSERT_TRUE(whole_under(high));
    while (high - low > 256) {
      const size_t middle = (low + high) / 2;
      (whole_under(middle) ? high : low) = middle;
    }
    EXPECT_GE(short_runs, 1u) << low;
  }
#endif
}

#ifndef _WIN32
TEST(HostileTree, RunningOutOfMemoryWhileListingADirectoryIsReported) {
  if (testing_support::kUnderSanitizer) {
    GTEST_SKIP() << "an address-space cap leaves no room for the sanitizer's shadow memory";
  }
  TempDir sources;
  WriteFile(sources / "A.kc", "class A;");
  WriteFile(sources / "z/Z.kc", "class Z expands A;");
  TempDir dir;
  fs::create_directory(dir / "out");
  fs::create_directory(dir / "probe");
  const std::string src = sources.path().string();
  // The least address space the run needs, to within a quarter MiB.
  size_t fits = size_t{1} << 30;
  size_t fails = 0;
  while (fits - fails > (size_t{1} << 18)) {
    const size_t cap = fails + (fits - fails) / 2;
    (RunTool(dir.path(), {"probe", src}, cap).status == 0 ? fits : fails) = cap;
  }
  // A directory whose listing needs some 3 MB more than that.
  fs::create_directory(sources / "big");
  for (size_t i = 0; i < 10000; ++i) {
    std::ofstream(sources / "big" / (Number(i) + std::string(245, 'x')));
  }
  ASSERT_TRUE(fs::exists(sources / "big" / (Number(9999) + std::string(245, 'x'))));

  auto run = RunTool(dir.path(), {"out", src}, fits + (size_t{1} << 20));
  EXPECT_EQ(run.out,
            Parsed("A.kc") + "Unable to read directory big\n" + Parsed("Z.kc") + kComplete);
  EXPECT_EQ(run.status, 1);
  ExpectWrittenOnlyIn(run, "out");
  ExpectCompleteReference(run, "out", 2, 2);
}
#endif

TEST(HostileTree, FailedRunLeavesNoIndexWhereThereWasNone) {
  TempDir dir;
  WriteSmallTree(dir / "src");
  // A directory where the index's temporary file would go.
  fs::create_directories(dir / "out/index.html.tmp");

  auto run = RunTool(dir.path(), {"out", "src"});
  EXPECT_EQ(run.out, Text(Parsed("Base.kc") + Parsed("Derived.kc") + "Unable to open '" +
                          Native("out/index.html") + "' for writing!\n"));
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(run.written.empty());
  EXPECT_FALSE(fs::exists(dir / "out/index.html"));
}

#ifndef _WIN32
TEST(HostileTree, ReplacedIndexKeepsItsPermissions) {
  TempDir dir;
  WriteSmallTree(dir / "src");
  fs::create_directory(dir / "out");
  ASSERT_EQ(RunTool(dir.path(), {"out", "src"}).status, 0);
  const fs::perms kept = fs::perms::owner_read | fs::perms::owner_write;
  fs::permissions(dir / "out/index.html", kept);
  WriteFile(dir / "src/Extra.kc", "class Extra;");

  auto run = RunTool(dir.path(), {"out", "src"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(CountOf(ReadFile(dir / "out/index.html"), "<li id='idHeader"), 4u);
  EXPECT_EQ(fs::status(dir / "out/index.html").permissions(), kept);
}

// A run of KorvanRef started in `workdir` and left to go on: its standard
// output is a pipe whose reading end the test holds (-1 if it could not be
// started).
struct StartedRun {
  pid_t pid = -1;
  int out = -1;
};

StartedRun StartTool(const fs::path& workdir, std::vector<std::string> args) {
  StartedRun run;
  int console[2];
  if (pipe(console) != 0) return run;
  args.insert(args.begin(), KORVANREF_BINARY);
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  run.pid = fork();
  if (run.pid == 0) {
    dup2(console[1], 1);
    close(console[0]);
    close(console[1]);
    // As a shell starts it, whatever the test run ignores.
    for (int signal : {SIGPIPE, SIGINT, SIGTERM}) std::signal(signal, SIG_DFL);
    if (chdir(workdir.c_str()) != 0) _exit(126);
    execv(argv[0], argv.data());
    _exit(127);
  }
  close(console[1]);
  run.out = console[0];
  return run;
}

// Waits for `run` to end; its exit status, or -1 when a signal ended it.
int WaitFor(const StartedRun& run) {
  int status = 0;
  waitpid(run.pid, &status, 0);
  if (run.out >= 0) close(run.out);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Runs KorvanRef with `args` in `workdir`, its standard output a pipe that
// no one reads, as when it is piped into a pager that was quit at once; its
// exit status, or -1 when a signal ended it.
int RunWithClosedConsole(const fs::path& workdir, std::vector<std::string> args) {
  StartedRun run = StartTool(workdir, std::move(args));
  if (run.out < 0) return -2;
  close(run.out);
  run.out = -1;
  return WaitFor(run);
}

TEST(HostileTree, ClosedConsoleStillGetsTheReferenceWritten) {
  // More console lines than one buffer holds: the first is written while
  // the scan runs.
  TempDir dir;
  fs::create_directory(dir / "out");
  for (size_t i = 0; i < 300; ++i) {
    WriteFile(dir / ("src/C" + Number(i) + ".kc"), "class C" + Number(i) + ";");
  }

  EXPECT_EQ(RunWithClosedConsole(dir.path(), {"out", "src"}), 1);
  EXPECT_EQ(CountOf(ReadFile(dir / "out/index.html"), "<li id='idHeader"), 300u);
  EXPECT_TRUE(fs::exists(dir / "out/00299.html"));
}

// Whether `done` comes to hold within ten seconds, looked at every tenth of
// a millisecond.
template <typename Done>
bool Await(Done done) {
  for (int tries = 0; tries < 100000; ++tries) {
    if (done()) return true;
    std::this_thread::sleep_for(std::chrono::microseconds(100));
  }
  return false;
}

TEST(HostileTree, KilledRunLeavesNoIndexWhereThereWasNone) {
  // One class of 1 000 states, whose pages take a while; 300 of them are
  // directories that cannot be written. Their reports, more than the console
  // pipe (made one page small) holds, keep the run waiting before its index
  // is moved into place for as long as the test reads none of them.
  TempDir dir;
  std::string script = "class Big;\n";
  for (int s = 0; s < 1000; ++s) script += "state S" + std::to_string(s) + " { }\n";
  WriteFile(dir / "src/Big.kc", script);
  for (size_t page = 701; page <= 1000; ++page) {
    fs::create_directories(dir / "out" / (Number(page) + ".html"));
  }
  WriteSmallTree(dir / "small");
  const fs::path index = dir / "out/index.html";
  const fs::path temp = dir / "out/index.html.tmp";

  // Stops a run by `signal` once `ready` holds for it; the test fails unless
  // it held before the run ended by itself.
  const auto stop = [&](int signal, const auto& ready) {
    const StartedRun run = StartTool(dir.path(), {"out", "src"});
    fcntl(run.out, F_SETPIPE_SZ, 4096);
    const bool reached = Await([&] { return ready(run); });
    kill(run.pid, signal);
    EXPECT_EQ(WaitFor(run), -1) << signal;
    return reached;
  };
  const auto temp_stands = [&](const StartedRun&) { return fs::exists(temp); };
  const auto pages_begun = [&](const StartedRun&) { return fs::exists(dir / "out/00250.html"); };
  // The console pipe is full: the pages and the index text are written and
  // the run waits on its reports. Another run is refused meanwhile.
  const auto waiting = [&](const StartedRun& run) {
    int held = 0;
    if (ioctl(run.out, FIONREAD, &held) != 0 || held < fcntl(run.out, F_GETPIPE_SZ)) return false;
    const ToolRun other = RunTool(dir.path(), {"out", "small"});
    EXPECT_EQ(other.out, Parsed("Base.kc") + Parsed("Derived.kc") +
                             "Unable to open 'out/index.html' for writing!\n");
    EXPECT_EQ(other.status, 1);
    EXPECT_TRUE(other.written.empty());
    return true;
  };
  EXPECT_TRUE(stop(SIGKILL, temp_stands));
  EXPECT_FALSE(fs::exists(index));
  EXPECT_TRUE(stop(SIGKILL, pages_begun));
  EXPECT_FALSE(fs::exists(index));
  for (int signal : {SIGKILL, SIGTERM, SIGINT}) {
    EXPECT_TRUE(stop(signal, waiting)) << signal;
    EXPECT_FALSE(fs::exists(index)) << signal;
  }

  // The next run clears what the stopped ones left and puts its index in
  // place; one stopped after that leaves it as it is.
  const ToolRun next = RunTool(dir.path(), {"out", "src"});
  EXPECT_EQ(next.status, 1);
  EXPECT_FALSE(fs::exists(temp));
  const std::string whole = ReadFile(index);
  EXPECT_EQ(CountOf(whole, "<li id='idHeader"), 1001u);
  EXPECT_TRUE(stop(SIGKILL, waiting));
  EXPECT_EQ(ReadFile(index), whole);
}
#endif

}  // namespace

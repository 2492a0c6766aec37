// A whole reference end to end: a realistic tree of scripts, the exact index
// it gives, its pages, and what happens when a page cannot be written.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>

#include "support/expected_pages.h"
#include "support/platform_text.h"
#include "support/temp_tree.h"
#include "support/tool_run.h"

namespace {

namespace fs = std::filesystem;
using expected::EntryLine;
using expected::kSubListEnd;
using expected::Page;
using expected::SubList;
using testing_support::Native;
using testing_support::RunTool;
using testing_support::TempDir;
using testing_support::Text;
using testing_support::WriteFile;

// A small world of classes over three directories: states named alike in
// several classes, and a class whose superclass was never parsed.
void WriteWorld(const fs::path& src) {
  WriteFile(src / "world/Thing.kc",
            "// The root of everything placed in a world.\n"
            "class Thing;\n\n"
            "var int Id;\n\n"
            "event Created()\n{\n\tId = NextId();\n}\n\n"
            "function string Describe()\n{\n\treturn \"thing #\" $ Id;\n}\n");
  WriteFile(src / "world/Light.kc",
            "class Light expands Thing;\n"
            "var() float Radius;\n"
            "state On\n{\n\tevent Tick(float Delta) { Flicker(Delta); }\n}\n"
            "state Off\n{\n}\n");
  WriteFile(src / "world/Switch.kc",
            "class Switch expands Thing;\n"
            "state On { function Flip() { GotoState('Off'); } }\n"
            "state Off { function Flip() { GotoState('On'); } }\n");
  WriteFile(src / "beings/Being.kc",
            "/* Anything that lives.\n   It can be hurt. */\n"
            "class Being expands Thing native;\n"
            "var int Health;\n"
            "var int Mood; // 0 is calm\n"
            "native function Breathe();\n"
            "function Hurt(int Amount)\n{\n\tHealth -= Amount;\n\tif (Health < 0) { "
            "GotoState('Dying'); }\n}\n"
            "auto state Idle\n{\n\tevent Tick(float Delta) { }\n}\n"
            "state Dying\n{\n\tignores Hurt;\n}\n");
  WriteFile(src / "beings/Guard.kc",
            "class Guard expands Being;\n"
            "state Idle { function Patrol() { Walk(\"{north}\"); } }\n"
            "state Alert { }\n");
  WriteFile(src / "beings/Cook.kc",
            "class Cook expands Being;\nvar string Recipe;\nstate Idle { }\n");
  WriteFile(src / "beings/animals/Animal.kc", "class Animal expands Being;\nevent Fed() { }\n");
  WriteFile(src / "beings/animals/Cat.kc",
            "// Cats do as they please.\nclass Cat expands Animal;\n");
  WriteFile(src / "beings/animals/Dog.kc", "class Dog expands Animal;\nstate Idle { }\n");
  WriteFile(src / "items/Item.kc", "class Item expands Thing;\nvar int Weight;\n");
  WriteFile(src / "items/Lamp.kc",
            "class Lamp expands Light;\nsimulated function SwitchOn() { GotoState('On'); }\n");
  WriteFile(src / "items/Relic.kc",
            "class Relic expands Artifact;\n"
            "var string Lore;\n"
            "state Glowing { event Tick(float Delta) { Glow(); } }\n");
  WriteFile(src / "items/readme.txt", "Not a script.");
}

const std::string kParsing =
    "Parsing Animal.kc...OK.\n"
    "Parsing Cat.kc...OK.\n"
    "Parsing Dog.kc...OK.\n"
    "Parsing Being.kc...OK.\n"
    "Parsing Cook.kc...OK.\n"
    "Parsing Guard.kc...OK.\n"
    "Parsing Item.kc...OK.\n"
    "Parsing Lamp.kc...OK.\n"
    "Parsing Relic.kc...OK.\n"
    "Parsing Light.kc...OK.\n"
    "Parsing Switch.kc...OK.\n"
    "Parsing Thing.kc...OK.\n";

std::string Counts(int subclasses, int states, int vars, int events, int functions) {
  auto count = [](int n, const char* word, const char* plural) {
    return std::to_string(n) + " " + word + (n == 1 ? "" : plural);
  };
  return count(subclasses, "subclass", "es") + ", " + count(states, "state", "s") + ", " +
         count(vars, "var", "s") + ", " + count(events, "event", "s") + ", " +
         count(functions, "function", "s");
}

// An entry without children.
std::string Leaf(int number, const std::string& kind, const std::string& name,
                 const std::string& parent, const std::string& counts) {
  return EntryLine(number, kind, name, parent, counts) + SubList(number) + kSubListEnd;
}

// An entry's opening, before its children.
std::string Open(int number, const std::string& kind, const std::string& name,
                 const std::string& parent, const std::string& counts) {
  return EntryLine(number, kind, name, parent, counts) + SubList(number);
}

// Records are numbered by the name order of the whole list; states named
// alike keep the order the exchanges of the sort leave them in.
const std::string kWorldIndex = expected::kIndexHeader +                                       //
                                Open(20, "class", "Relic", "", Counts(0, 1, 1, 0, 0)) +        //
                                Leaf(7, "state", "Glowing", "Relic", Counts(0, 0, 0, 1, 0)) +  //
                                kSubListEnd +                                                  //
                                Open(22, "class", "Thing", "", Counts(4, 0, 1, 1, 1)) +        //
                                Open(2, "class", "Being", "Thing", Counts(3, 2, 2, 0, 1)) +    //
                                Open(1, "class", "Animal", "Being", Counts(2, 0, 0, 1, 0)) +   //
                                Leaf(3, "class", "Cat", "Animal", Counts(0, 0, 0, 0, 0)) +     //
                                Open(5, "class", "Dog", "Animal", Counts(0, 1, 0, 0, 0)) +     //
                                Leaf(11, "state", "Idle", "Dog", Counts(0, 0, 0, 0, 0)) +      //
                                kSubListEnd + kSubListEnd +                                    //
                                Open(4, "class", "Cook", "Being", Counts(0, 1, 1, 0, 0)) +     //
                                Leaf(9, "state", "Idle", "Cook", Counts(0, 0, 0, 0, 0)) +      //
                                kSubListEnd +                                                  //
                                Leaf(6, "state", "Dying", "Being", Counts(0, 0, 0, 0, 0)) +    //
                                Open(8, "class", "Guard", "Being", Counts(0, 2, 0, 0, 0)) +    //
                                Leaf(0, "state", "Alert", "Guard", Counts(0, 0, 0, 0, 0)) +    //
                                Leaf(10, "state", "Idle", "Guard", Counts(0, 0, 0, 0, 1)) +    //
                                kSubListEnd +                                                  //
                                Leaf(12, "state", "Idle", "Being", Counts(0, 0, 0, 1, 0)) +    //
                                kSubListEnd +                                                  //
                                Leaf(13, "class", "Item", "Thing", Counts(0, 0, 1, 0, 0)) +    //
                                Open(15, "class", "Light", "Thing", Counts(1, 2, 1, 0, 0)) +   //
                                Leaf(14, "class", "Lamp", "Light", Counts(0, 0, 0, 0, 1)) +    //
                                Leaf(16, "state", "Off", "Light", Counts(0, 0, 0, 0, 0)) +     //
                                Leaf(19, "state", "On", "Light", Counts(0, 0, 0, 1, 0)) +      //
                                kSubListEnd +                                                  //
                                Open(21, "class", "Switch", "Thing", Counts(0, 2, 0, 0, 0)) +  //
                                Leaf(17, "state", "Off", "Switch", Counts(0, 0, 0, 0, 1)) +    //
                                Leaf(18, "state", "On", "Switch", Counts(0, 0, 0, 0, 1)) +     //
                                kSubListEnd + kSubListEnd +                                    //
                                expected::kIndexFooter;

TEST(Reference, WholeIndexOfARealisticTree) {
  TempDir dir;
  WriteWorld(dir / "src");
  fs::create_directory(dir / "out");
  auto run = RunTool(dir.path(), {"out", "src"});
  EXPECT_EQ(run.out, Text(kParsing + "Generating output... Complete.\n"));
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.written["out/index.html"], Text(kWorldIndex));
  EXPECT_EQ(run.written.size(), 24u);  // the index and 23 pages

  EXPECT_EQ(run.written["out/00002.html"],
            Text(Page("Being", "<li>var int Health</li>\n<li>var int Mood</li>\n", "",
                      "<li>function Hurt (int Amount) </li>\n")));
  EXPECT_EQ(run.written["out/00022.html"],
            Text(Page("Thing", "<li>var int Id</li>\n", "<li>event Created () </li>\n",
                      "<li>function string Describe () </li>\n")));
  EXPECT_EQ(run.written["out/00018.html"],
            Text(Page("On", "", "", "<li>function Flip () </li>\n")));  // Switch's On
  EXPECT_EQ(run.written["out/00019.html"],
            Text(Page("On", "", "<li>event Tick (float Delta) </li>\n", "")));  // Light's On
  EXPECT_EQ(run.written["out/00015.html"],
            Text(Page("Light", "<li>var () float Radius</li>\n", "", "")));
  EXPECT_EQ(run.written["out/00014.html"],
            Text(Page("Lamp", "", "", "<li>simulated function SwitchOn () </li>\n")));
}

TEST(Reference, RunsAreRepeatable) {
  TempDir dir;
  WriteWorld(dir / "src");
  fs::create_directory(dir / "out");
  auto first = RunTool(dir.path(), {"out", "src"});
  auto again = RunTool(dir.path(), {"out/", "src/"});
  EXPECT_EQ(again.out, first.out);
  EXPECT_EQ(again.status, 0);
  EXPECT_TRUE(again.written.empty());  // every file was written with the same bytes
}

TEST(Reference, PageThatCannotBeWrittenIsReportedAndTheRestCompleted) {
  TempDir dir;
  WriteWorld(dir / "src");
  // A directory at a page's path cannot be opened for writing, even by root.
  fs::create_directories(dir / "out/00011.html");
  auto run = RunTool(dir.path(), {"out", "src"});
  EXPECT_EQ(run.out, Text(kParsing + "Generating output... Unable to open '" +
                          Native("out/00011.html") + "' for writing!\nComplete.\n"));
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.written["out/index.html"], Text(kWorldIndex));
  EXPECT_EQ(run.written.size(), 23u);  // every page but the one
  EXPECT_EQ(run.written.count("out/00011.html"), 0u);

  // The files after the pages are written on two threads; their problems
  // are told in the order of the files all the same.
  std::string told;
  for (const char* name : {"members.js", "packages.html", "summaries-0.js"}) {
    fs::create_directories(dir / "rich" / name);
    told += "Unable to open '" + Native(std::string("rich/") + name) + "' for writing!\n";
  }
  run = RunTool(dir.path(), {"--navigation", "--complete", "rich", "src"});
  EXPECT_EQ(run.out, Text(kParsing + "Generating output... " + told + "Complete.\n"));
  EXPECT_EQ(run.status, 1);
}

TEST(Reference, EveryLinkOfTheExamplesOpensItsPage) {
  TempDir dir;
  fs::create_directory(dir / "out");
  auto run = RunTool(dir.path(), {"out", KORVANREF_EXAMPLES_DIR});
  EXPECT_EQ(run.status, 0) << run.out;
  const std::string index = run.written["out/index.html"];
  std::set<std::string> linked;
  const std::string href = "<a href=\"";
  for (size_t at = index.find(href); at != std::string::npos; at = index.find(href, at + 1)) {
    size_t start = at + href.size();
    std::string target = index.substr(start, index.find('"', start) - start);
    EXPECT_TRUE(linked.insert(target).second) << target << " is linked twice";
    EXPECT_TRUE(run.written.count("out/" + target)) << target << " was not written";
  }
  EXPECT_GE(linked.size(), 15u);
  EXPECT_EQ(linked.size() + 1, run.written.size());  // no page without a link
}

// With --navigation: the records' data in the index and the pages that link,
// for a small tree with a name that would break markup and script alike.
TEST(Reference, NavigableReferenceOfASmallTree) {
  TempDir dir;
  WriteFile(dir / "src/Thing.kc", "class Thing;\nvar int Id;\n");
  WriteFile(dir / "src/sub/Being.kc",
            "class Being expands Thing;\nstate Idle { function Wait() { } }\n");
  WriteFile(dir / "src/sub/Odd.kc",
            "class Odd<&\\\xe9</script> expands being;\nevent Poke() { }\n");
  // A class that names itself as its superclass is a root.
  WriteFile(dir / "src/Loop.kc", "class Loop expands Loop;\n");
  fs::create_directory(dir / "out");
  auto run = RunTool(dir.path(), {"--navigation", "--", "out", "src"});
  EXPECT_EQ(run.status, 0) << run.out;
  EXPECT_EQ(run.written.size(), 6u);  // the index and five pages
  const std::string odd = "Odd&lt;&amp;\\\xe9&lt;/script&gt;";
  auto page = [](const std::string& kind, const std::string& name, const std::string& way,
                 const std::string& below, const std::string& script, const std::string& number,
                 const std::string& lists) {
    return Text(
        "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"windows-1252\"><title>\nClass " +
        name + "</title></head><body>\n<h1>" + kind + " " + name + "</h1>\n<p>" + way + "</p>\n" +
        below + "<p>Script: <code>" + Native(script) + "</code></p>\n<p><a href=\"index.html#" +
        number + "\">Find it in the index</a></p>\n<p><i>Variables:</i></p><ul>\n" + lists +
        "</ul></body></html>");
  };
  const std::string no_lists =
      "</ul><p><i>Events:</i></p><ul>\n</ul><p><i>Functions:</i></p><ul>\n";
  const std::pair<std::string, std::string> pages[] = {
      {"out/00000.html", page("class", "Being", "Superclasses: <a href=\"00004.html\">Thing</a>",
                              "<p>Subclasses: <a href=\"00003.html\">" + odd +
                                  "</a></p>\n<p>States: <a href=\"00001.html\">Idle</a></p>\n",
                              "sub/Being.kc", "00000", no_lists)},
      {"out/00001.html",
       page("state", "Idle",
            "State of: <a href=\"00004.html\">Thing</a> &gt; <a href=\"00000.html\">Being</a>", "",
            "sub/Being.kc", "00001",
            "</ul><p><i>Events:</i></p><ul>\n</ul><p><i>Functions:</i></p><ul>\n"
            "<li>function Wait () </li>\n")},
      {"out/00003.html",
       page("class", odd,
            "Superclasses: <a href=\"00004.html\">Thing</a> &gt; <a href=\"00000.html\">Being</a>",
            "<p>Subclasses: none</p>\n<p>States: none</p>\n", "sub/Odd.kc", "00003",
            "</ul><p><i>Events:</i></p><ul>\n<li>event Poke () </li>\n"
            "</ul><p><i>Functions:</i></p><ul>\n")},
      {"out/00004.html",
       page("class", "Thing", "Superclasses: none",
            "<p>Subclasses: <a href=\"00000.html\">Being</a></p>\n<p>States: none</p>\n",
            "Thing.kc", "00004", "<li>var int Id</li>\n" + no_lists)},
  };
  for (const auto& [path, expected_page] : pages)
    EXPECT_EQ(run.written[path], expected_page) << path;

  // The index carries the records as data: kinds, parents, counts, names.
  const std::string index = run.written["out/index.html"];
  EXPECT_EQ(index.rfind(Text("<!DOCTYPE html>\n"), 0), 0u);
  EXPECT_NE(index.find("<input type=\"search\" id=\"idSearch\" autofocus"), std::string::npos);
  EXPECT_NE(
      index.find(Text("const kinds = \"csccc\";\n"
                      "const parentText = \"4,0,,0,,\";\n"
                      "const countText = \"0,0,0,0,0,1,0,0,0,0,1,0,1,0,0,\";\n"
                      "const names = \"Being\\nIdle\\nLoop\\nOdd\\x3C\\x26\\\\\xe9\\x3C/script\\x3E"
                      "\\nThing\\n\";\n</script>\n")),
      std::string::npos)
      << index;
  EXPECT_EQ(index.find("</script>", index.find("const names")),
            index.find(Text("\";\n</script>")) + Text("\";\n").size());
  EXPECT_EQ(index.size() - index.rfind(Text("</body></html>\n")), Text("</body></html>\n").size());
  // Without the member data the script leaves out its parts that search
  // packages, and the index does not link the packages page.
  EXPECT_EQ(index.find("ackage"), std::string::npos);
}

}  // namespace

// With --json, a tree that holds every construct of the language: the counts
// of the index, a page of rebuilt declarations and the model file, exactly.
TEST(Reference, CompleteModelOfEveryConstruct) {
  const fs::path complete = KORVANREF_COMPLETE_DIR;
  TempDir dir;
  fs::create_directory(dir / "out");
  auto run = RunTool(dir.path(), {"--json", "out", (complete / "tree").string()});
  EXPECT_EQ(run.status, 0) << run.out;
  EXPECT_EQ(run.out, Text("Parsing Bat.kc...OK.\nParsing Creature.kc...OK.\n"
                          "Parsing Entity.kc...OK.\nParsing Broken.kc...OK.\n"
                          "Parsing Shotgun.kc...OK.\nParsing Top.kc...OK.\n"
                          "Parsing Slug.kc...OK.\nGenerating output... Complete.\n"));
  EXPECT_EQ(run.written.size(), 13u);  // index, eleven pages, model
  for (const char* file : {"index.html", "00002.html", "model.json"}) {
    SCOPED_TRACE(file);
    EXPECT_EQ(run.written[std::string("out/") + file],
              Text(testing_support::ReadFile(complete / "expected" / file)));
  }

  // With --navigation, each class's script gets a source page too, beside
  // their style, and the class's page links to it: the ones of Bat.kc (CR LF
  // line ends, bytes from 0x80 up) and Creature.kc exactly. Their names link
  // to what they name: classes, members of the class and its ancestors (a
  // state's own functions first), parameters and locals, Super, Global,
  // self, default and static, chains through typed variables and class<>,
  // keys and class literals of default properties; comments, strings,
  // unknown names and declarations' own names stay text.
  fs::create_directory(dir / "linked");
  run = RunTool(dir.path(), {"--navigation", "--complete", "linked", (complete / "tree").string()});
  EXPECT_EQ(run.status, 0) << run.out;
  // index, 11 pages, 7 source pages, 7 use pages, 5 pages of references,
  // style, members, packages, and what the other pages' search loads:
  // records, index script, field script, and the one piece of summaries
  EXPECT_EQ(run.written.size(), 38u);
  EXPECT_EQ(run.written.count("linked/reference.css"), 1u);
  // Each link of the source pages is answered on the page of references of
  // the record it leads to: grouped by class, state and function, Super
  // calls apart, each line's text cut and escaped.
  for (const char* file :
       {"source-00001.html", "source-00002.html", "refs-00001.html", "refs-00002.html",
        "refs-00003.html", "refs-00005.html", "refs-00008.html"}) {
    SCOPED_TRACE(file);
    std::string source = testing_support::ReadFile(complete / "expected" / file);
    // The script's path is shown with the platform's separator.
    for (size_t at = 0; (at = source.find("beasts/", at)) != std::string::npos; at += 7)
      source.replace(at, 7, Native("beasts/"));
    EXPECT_EQ(run.written[std::string("linked/") + file], Text(source));
  }
  EXPECT_NE(run.written["linked/00001.html"].find("<a href=\"source-00001.html#L3\">"),
            std::string::npos);
  // With --json too, the model file counts the references of each class
  // and member: Creature's own, and its first variable's.
  run = RunTool(dir.path(),
                {"--navigation", "--complete", "--json", "linked", (complete / "tree").string()});
  EXPECT_NE(
      run.written["linked/model.json"].find(
          "\"name\": \"Speed\", \"type\": \"float\", \"type_ref\": null, \"category\": "
          "\"Movement\", \"modifiers\": [], \"size\": null, \"line\": 11, \"doc\": \"Units per "
          "second.\", \"references\": 6}"),
      std::string::npos);
  EXPECT_NE(run.written["linked/model.json"].find(
                "{\"key\": \"Mass\", \"value\": \"80.0\", \"line\": 53}], \"references\": 15}"),
            std::string::npos);

  // With --navigation, the search's member data beside the index: every
  // member of every record with its kind, and the anchors that are not
  // their kind's prefix and name.
  auto navigable =
      RunTool(dir.path(), {"--navigation", "--complete", "out", (complete / "tree").string()});
  EXPECT_EQ(navigable.status, 0) << navigable.out;
  EXPECT_EQ(navigable.written["out/members.js"],
            Text(testing_support::ReadFile(complete / "expected" / "members.js")));
  EXPECT_NE(navigable.written["out/index.html"].find(" data-members=\"members.js\">"),
            std::string::npos);
  // Each member's summary, in the members' order: a function's parameters
  // as declared and the first sentence of its doc comment.
  EXPECT_NE(navigable.written["out/summaries-0.js"].find(
                Text("\\nUnits per second.\\nUnits per second.\\n\\n\\n\\n\\n()\\n()\\n(Entity "
                     "Other)\\nWhere the entity stands.\\nKilograms.\\n(vector To, optional float "
                     "Rate) Moves the entity toward To.\\n")),
            std::string::npos)
      << navigable.written["out/summaries-0.js"];
  // The packages page: each package once, names equal but for case merged,
  // in name order, with its classes and counts; scripts without one last.
  EXPECT_EQ(navigable.written["out/packages.html"],
            Text(testing_support::ReadFile(complete / "expected" / "packages.html")));
  EXPECT_NE(navigable.written["out/index.html"].find("<a href=\"packages.html\">Packages</a>"),
            std::string::npos);
  // A second member of one kind of anchor and one name has an anchor of its
  // own; events share the functions' kind. A name that is not plain, or
  // none, has an anchor that no plain name has. States of one name keep
  // the order the script declares them in, in their anchors and numbers,
  // though a smaller name after them is sorted past them.
  WriteFile(dir / "twice/Twice.kc",
            "class Twice;\nvar int A;\nvar int A;\nfunction F() { }\nevent F() { }\n"
            "function x3d3d() { }\nnative final operator(24) bool ==(int A, int B);\n"
            "state Idle { }\nstate Idle { }\nstate { }\nstate x { }\nstate Busy { }\n");
  auto twice = RunTool(dir.path(), {"--navigation", "--complete", "out", "twice"});
  EXPECT_NE(twice.written["out/members.js"].find(
                Text("const memberKinds = \"ddefeh\";\nconst memberCounts = \"0,0,0,0,6,0,\";\n"
                     "const memberNames = \"A\\nA\\nF\\nF\\nx3d3d\\n==\\n\";\n"
                     "const memberAnchors = \"1,var-A-2\\n3,fn-F-2\\n5,fn--3d3d\\n\";\n")),
            std::string::npos)
      << twice.written["out/members.js"];
  // Each anchor of the class's page, its line and the page it links to.
  const std::string& page = twice.written["out/00004.html"];
  for (const char* member :
       {"\"fn-x3d3d\"><a class=\"ln\" href=\"source-00004.html#L6\">",
        "\"fn--3d3d\"><a class=\"ln\" href=\"source-00004.html#L7\">",
        "\"state-Idle\"><a class=\"ln\" href=\"source-00004.html#L8\">line 8</a><code>state "
        "<a href=\"00002.html\">",
        "\"state-Idle-2\"><a class=\"ln\" href=\"source-00004.html#L9\">line 9</a><code>state "
        "<a href=\"00003.html\">",
        "\"state--\"><a class=\"ln\" href=\"source-00004.html#L10\">line 10</a><code>state "
        "<a href=\"00000.html\">",
        "\"state-x\"><a class=\"ln\" href=\"source-00004.html#L11\">line 11</a><code>state "
        "<a href=\"00005.html\">"}) {
    EXPECT_NE(page.find(std::string(" id=") + member), std::string::npos) << member << "\n" << page;
  }
  // A variable declared in a state is the state's in the model file too.
  WriteFile(dir / "stated/Stated.kc", "class Stated;\nstate Busy\n{\n\tvar int Load;\n}\n");
  auto stated = RunTool(dir.path(), {"--json", "out", "stated"});
  EXPECT_NE(
      stated.written["out/model.json"].find(
          "\"ignores\": [], \"variables\": [{\"name\": \"Load\", \"type\": \"int\", "
          "\"type_ref\": null, \"category\": null, \"modifiers\": [], \"size\": null, \"line\": 4, "
          "\"doc\": null}], \"functions\": []"),
      std::string::npos)
      << stated.written["out/model.json"];
}

// With --navigation --complete, the same tree gives rich pages: a class with
// every section, its override and what it inherits; a subclass whose doc
// comment holds markup and bytes above 0x7F; a state that extends a state of
// its class and ignores a function of it and one nobody declares. Each class
// shows the defaults it starts with: its own, replacing an ancestor's (case,
// brackets and an object group's name aside) or new, and those it inherits,
// keys linked to their variables, markup in keys and values as text. Every
// page links the one stylesheet, written beside them as the tool holds it.
TEST(Reference, RichPagesOfEveryConstruct) {
  const fs::path complete = KORVANREF_COMPLETE_DIR;
  TempDir dir;
  fs::create_directory(dir / "out");
  auto run =
      RunTool(dir.path(), {"--navigation", "--complete", "out", (complete / "tree").string()});
  EXPECT_EQ(run.status, 0) << run.out;
  // index, 11 pages, 7 source pages, 7 use pages, 5 pages of references,
  // style, members, packages, and what the other pages' search loads:
  // records, index script, field script, and the one piece of summaries
  EXPECT_EQ(run.written.size(), 38u);
  // Bat's declarations name types of every kind, each linked to what it
  // names; markup and bytes above 0x7F in types stay text. A class, an
  // enumeration and a structure used by declarations of every kind, in
  // classes and states: the class page's counts, the use page.
  for (const char* file : {"00001.html", "00002.html", "00004.html", "use-00002.html"}) {
    SCOPED_TRACE(file);
    std::string page = testing_support::ReadFile(complete / "expected" / "rich" / file);
    // The script's path is shown with the platform's separator.
    for (size_t at = 0; (at = page.find("beasts/", at)) != std::string::npos; at += 7) {
      page.replace(at, 7, Native("beasts/"));
    }
    EXPECT_EQ(run.written[std::string("out/") + file], Text(page));
  }
  EXPECT_EQ(run.written["out/reference.css"],
            Text(testing_support::ReadFile(fs::path(KORVANREF_ASSET_DIR) / "reference.css")));
}

// The use pages of a generated tree equal the users recomputed from what
// the scripts were made to declare: for each class, enumeration and
// structure, the declarations naming it, each by the link to it (a state's
// after its class's own), in record order, and their counts.
TEST(Reference, UsePagesListWhatTheScriptsDeclare) {
  constexpr int kClasses = 30;
  TempDir dir;
  fs::create_directory(dir / "out");
  uint32_t seed = 26;
  const auto pick = [&](int n) {
    seed = seed * 1103515245u + 12345u;
    return static_cast<int>((seed >> 16) % static_cast<uint32_t>(n));
  };
  const auto name = [](const char* prefix, int k) {
    return prefix + std::string(1, static_cast<char>('0' + k / 10)) +
           static_cast<char>('0' + k % 10);
  };
  // Each use as (the section it is listed in, the class it is grouped
  // under, the record declaring it by name, and the anchor it links).
  struct Use {
    std::string section, group, user, anchor;
  };
  std::vector<Use> uses;
  // A random type: one naming nothing, or a class, its enumeration or its
  // structure, written in one of the ways that name them.
  const auto type = [&](const std::string& group, const std::string& user,
                        const std::string& anchor) -> std::string {
    const int k = pick(kClasses);
    const std::string c = name("C", k);
    switch (pick(7)) {
      case 0:
        return "int";
      case 1:
        uses.push_back({c, group, user, anchor});
        return c;
      case 2:
        uses.push_back({c, group, user, anchor});
        return "class<" + c + ">";
      case 3:
        uses.push_back({c, group, user, anchor});
        return "array<" + c + ">";
      case 4:
        uses.push_back({c + "#enum-" + name("E", k), group, user, anchor});
        return name("E", k);
      case 5:
        uses.push_back({c + "#enum-" + name("E", k), group, user, anchor});
        return c + "." + name("E", k);
      default:
        uses.push_back({c + "#struct-" + name("S", k), group, user, anchor});
        return name("S", k);
    }
  };
  for (int k = 0; k < kClasses; ++k) {
    const std::string c = name("C", k);
    std::string script = "class " + c;
    if (k > 0 && pick(2)) {
      const std::string parent = name("C", pick(k));
      uses.push_back({parent, c, c, ""});
      script += " extends " + parent;
    }
    if (pick(3) == 0) {
      const std::string outer = name("C", pick(kClasses));
      uses.push_back({outer, c, c, ""});
      script += " within " + outer;
    }
    script += ";\nenum " + name("E", k) + " { A };\nstruct " + name("S", k) + " {";
    for (const char* m : {"M0", "M1"})
      script += " var " + type(c, c, "var-" + name("S", k) + "." + m) + " " + m + ";";
    script += " };\n";
    for (const char* v : {"V0", "V1", "V0"}) {
      // The second V0's anchor is numbered.
      const bool again = v == std::string("V0") && script.find(" V0;") != std::string::npos;
      script +=
          "var " + type(c, c, std::string("var-") + v + (again ? "-2" : "")) + " " + v + ";\n";
    }
    const std::string returns = type(c, c, "fn-F");
    script +=
        "function " + returns + " F(" + type(c, c, "fn-F") + " P, " + type(c, c, "fn-F") + " Q);\n";
    for (const char* state : {"X", "Y"}) {
      const std::string user = c + "." + state;
      script += std::string("state ") + state + " { function " + type(c, user, "fn-G") + " G(" +
                type(c, user, "fn-G") + " R); }\n";
    }
    WriteFile(dir / ("src/" + c + ".kc"), script);
  }
  auto run = RunTool(dir.path(), {"--navigation", "--complete", "out", "src"});
  ASSERT_EQ(run.status, 0) << run.out;

  // Each record's name, from its page's title, by its page's name.
  std::map<std::string, std::string> records;
  for (const auto& [file, bytes] : run.written) {
    const size_t title = bytes.find("<title>");
    if (file.size() != 14 || title == std::string::npos) continue;
    const size_t start = bytes.find(' ', title) + 1;
    std::string record = bytes.substr(start, bytes.find('<', start) - start);
    records[file.substr(4)] = record;
  }
  // What the use pages list: by section, each use as group, user, anchor.
  std::map<std::string, std::string> listed;
  const auto page_name = [&](const std::string& link) {
    const std::string page = link.substr(0, link.find('#'));
    return records.count(page) ? records[page] : "?" + page;
  };
  for (const auto& [file, bytes] : run.written) {
    if (file.rfind("out/use-", 0) != 0) continue;
    const std::string owner = records[file.substr(8)];
    size_t at = 0;
    std::string section, group;
    while ((at = bytes.find('<', at)) != std::string::npos) {
      if (bytes.compare(at, 9, "<section>") == 0) section = owner;
      if (bytes.compare(at, 13, "<section id=\"") == 0)
        section = owner + "#" + bytes.substr(at + 13, bytes.find('"', at + 13) - at - 13);
      if (!section.empty() && bytes.compare(at, 3, "<p>") == 0)
        listed[section] += bytes.substr(at + 3, bytes.find('<', at + 3) - at - 3) + "\n";
      if (bytes.compare(at, 13, "<dt><a href=\"") == 0)
        group = page_name(bytes.substr(at + 13, bytes.find('"', at + 13) - at - 13));
      if (bytes.compare(at, 4, "<dd>") == 0) {
        const size_t href = bytes.rfind("href=\"", bytes.find("</dd>", at)) + 6;
        const std::string link = bytes.substr(href, bytes.find('"', href) - href);
        const size_t hash = link.find('#');
        listed[section] += group + " " + page_name(link) + " " +
                           (hash == std::string::npos ? "" : link.substr(hash + 1)) + "\n";
      }
      ++at;
    }
  }
  // The same recomputed: classes' names sort as their numbers, and a
  // class's own uses come before its states', X before Y.
  std::stable_sort(uses.begin(), uses.end(),
                   [](const Use& a, const Use& b) { return a.group < b.group; });
  std::map<std::string, std::string> expected;
  std::map<std::string, std::pair<size_t, std::set<std::string>>> counts;
  for (int k = 0; k < kClasses; ++k) {
    const std::string c = name("C", k);
    for (const std::string& section :
         {c, c + "#enum-" + name("E", k), c + "#struct-" + name("S", k)})
      counts[section];
  }
  for (const Use& use : uses) {
    counts[use.section].first += 1;
    counts[use.section].second.insert(use.group);
  }
  for (const auto& [section, count] : counts) {
    const size_t n = count.first, m = count.second.size();
    expected[section] = n == 0 ? "Used by nothing\n"
                               : "Used by " + std::to_string(n) + " declaration" +
                                     (n == 1 ? "" : "s") + " in " + std::to_string(m) + " class" +
                                     (m == 1 ? "" : "es") + "\n";
  }
  for (const Use& use : uses)
    expected[use.section] += use.group + " " + use.user + " " + use.anchor + "\n";
  EXPECT_EQ(listed, expected);
}

// "Overridden in" on a generated tree, against a recomputation: under each
// function of a class, the class's own states that declare it again (names
// without case, operators never), then the classes below it and their
// states, in record order, each linked to its first declaration of it; a
// long list shows its first entries and the whole list on the class's page
// of overriders. On the same tree, each class's effective default
// properties against the chain of classes above it.
TEST(Reference, OverriddenInAndEffectiveDefaultsEqualARecomputation) {
  struct Record {
    std::string name;
    int parent = -1;                     // a class's superclass, a state's class
    std::vector<std::string> functions;  // in order; an operator is "=" and its name
    std::vector<std::pair<std::string, std::string>> defaults;  // a class's, key and value
  };
  std::vector<Record> records;
  uint32_t seed = 7;
  uint32_t default_seed = 26;
  const auto next = [&seed](uint32_t n) {
    seed = seed * 1103515245u + 12345u;
    return (seed >> 16) % n;
  };
  const char* const kNames[][3] = {{"Tick", "TICK", "tick"},
                                   {"Hit", "hit", "HIT"},
                                   {"Use", "use", "USE"},
                                   {"Aim", "aim", "AIM"}};
  const auto functions = [&](int percent) {
    std::vector<std::string> list;
    for (const auto& name : kNames) {
      if (static_cast<int>(next(100)) >= percent) continue;
      if (next(6) == 0) list.push_back(std::string("=") + name[0]);  // an operator first
      list.push_back(name[next(3)]);
    }
    return list;
  };
  TempDir dir;
  std::vector<int> classes;
  for (int c = 0; c < 60; ++c) {
    Record cls{"K" + std::to_string(next(1000)) + "x" + std::to_string(c),
               classes.empty() ? -1 : classes[next(c)],
               c == 0 ? functions(100) : functions(45),
               {}};
    const int index = static_cast<int>(records.size());
    std::string script = "class " + cls.name;
    if (cls.parent >= 0) script += " extends " + records[cls.parent].name;
    script += ";\n";
    const auto declare = [&script](const std::string& f) {
      script += f[0] == '=' ? "static final operator(20) int " + f.substr(1) + "(int A, int B);\n"
                            : "function " + f + "();\n";
    };
    for (const std::string& f : cls.functions) declare(f);
    // Defaults of one key written in several ways: case, and an array
    // entry's two brackets.
    const char* const kKeys[][3] = {{"Mass", "mass", "MASS"},
                                    {"Size(0)", "size[0]", "SIZE(0)"},
                                    {"Size(1)", "size[1]", "Size[1]"},
                                    {"Tag", "tag", "TAG"}};
    script += "defaultproperties\n{\n";
    for (const auto& key : kKeys) {
      default_seed = default_seed * 1103515245u + 12345u;
      if ((default_seed >> 16) % 100 >= 45) continue;
      cls.defaults.emplace_back(key[(default_seed >> 8) % 3], "v" + std::to_string(c));
      script += "    " + cls.defaults.back().first + "=" + cls.defaults.back().second + "\n";
    }
    script += "}\n";
    classes.push_back(index);
    records.push_back(cls);
    for (int s = 0, states = static_cast<int>(next(3)); s < states; ++s) {
      Record state{"S" + std::to_string(s), index, functions(40), {}};
      script += "state " + state.name + " {\n";
      for (const std::string& f : state.functions) declare(f);
      script += "}\n";
      records.push_back(state);
    }
    WriteFile(dir / "src" / (cls.name + ".kc"), script);
  }
  fs::create_directory(dir / "out");
  auto run = RunTool(dir.path(), {"--navigation", "--complete", "out", "src"});
  ASSERT_EQ(run.status, 0) << run.out;

  // Each record's number, by its page's title; how each is named in a list.
  const auto is_state = [&](int r) { return records[r].name[0] == 'S'; };
  const auto shown = [&](int r) {
    return is_state(r) ? records[records[r].parent].name + "." + records[r].name : records[r].name;
  };
  std::map<std::string, std::string> number;  // by shown name
  for (const auto& [path, text] : run.written) {
    const size_t title = text.find("<title>");
    if (path.size() != 14 || title == std::string::npos) continue;
    const size_t start = text.find(' ', title) + 1;
    number[text.substr(start, text.find('<', start) - start)] = path.substr(4, 5);
  }
  const auto fold = [](std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
  };
  // The link to record r's first declaration of `name`, not an operator.
  // Its anchor is numbered after the earlier functions of exactly its name.
  const auto declaration = [&](int r, const std::string& name) -> std::string {
    const std::vector<std::string>& list = records[r].functions;
    for (size_t k = 0; k < list.size(); ++k) {
      if (list[k][0] == '=' || fold(list[k]) != fold(name)) continue;
      const auto earlier =
          std::count(list.begin(), list.begin() + static_cast<std::ptrdiff_t>(k), "=" + list[k]);
      return number[shown(r)] + ".html#fn-" + list[k] +
             (earlier ? "-" + std::to_string(earlier + 1) : "");
    }
    return {};
  };
  const auto below = [&](int r, int c) {  // r is c or a record below c
    for (; r >= 0; r = records[r].parent)
      if (r == c) return true;
    return false;
  };
  const std::regex entry("<a href=\"([0-9]+\\.html#[^\"]+)\">([^<]+)</a>");
  const auto entries = [&](const std::string& text) {
    std::vector<std::string> out;
    for (std::sregex_iterator at(text.begin(), text.end(), entry), end; at != end; ++at)
      out.push_back((*at)[1].str() + " " + (*at)[2].str());
    return out;
  };
  size_t lists = 0, long_lists = 0;
  for (int c = 0; c < static_cast<int>(records.size()); ++c) {
    if (is_state(c)) continue;
    const std::string page = run.written["out/" + number[shown(c)] + ".html"];
    for (const std::string& f : records[c].functions) {
      if (f[0] == '=') continue;
      std::vector<std::string> own, rest;
      for (int r = 0; r < static_cast<int>(records.size()); ++r) {
        if (r == c || !below(r, c) || declaration(r, f).empty()) continue;
        (records[r].parent == c && is_state(r) ? own : rest)
            .push_back(declaration(r, f) + " " + shown(r));
      }
      // Each entry starts with its record's number.
      std::sort(own.begin(), own.end());
      std::sort(rest.begin(), rest.end());
      own.insert(own.end(), rest.begin(), rest.end());
      // The function's block on the class page, and its list.
      const std::string anchor = declaration(c, f);
      const size_t block = page.find("id=\"" + anchor.substr(anchor.find('#') + 1) + "\"");
      ASSERT_NE(block, std::string::npos) << f;
      const std::string member = page.substr(block, page.find("</div>", block) - block);
      const size_t line = member.find("Overridden in ");
      SCOPED_TRACE(shown(c) + "." + f);
      if (own.empty()) {
        EXPECT_EQ(line, std::string::npos);
        continue;
      }
      ++lists;
      ASSERT_NE(line, std::string::npos);
      std::vector<std::string> listed = entries(member.substr(line));
      const size_t more = member.find("\">and ");
      if (own.size() > 12) {
        ++long_lists;
        EXPECT_EQ(listed, std::vector<std::string>(own.begin(), own.begin() + 12));
        ASSERT_NE(more, std::string::npos);
        EXPECT_EQ(member.substr(more + 6, member.find(' ', more + 6) - more - 6),
                  std::to_string(own.size() - 12));
        // The whole list, in the section of the page of overriders.
        const size_t href = member.rfind("<a href=\"", more) + 9;
        const std::string target = member.substr(href, more - href);
        const std::string over = run.written["out/" + target.substr(0, target.find('#'))];
        const size_t section = over.find("<section id=\"" + target.substr(target.find('#') + 1));
        ASSERT_NE(section, std::string::npos) << target;
        listed = entries(over.substr(section, over.find("</section>", section) - section));
        listed.erase(listed.begin());  // the link back to the function
      } else {
        EXPECT_EQ(more, std::string::npos);
      }
      EXPECT_EQ(listed, own);
    }
  }
  EXPECT_GT(lists, 20u);
  EXPECT_GT(long_lists, 2u);

  // Each class page's effective defaults, against the chain from the root:
  // a key in the order the root (or the first to set it) sets it, with the
  // nearest setter's value; "from" that setter, or the class's own value
  // and what it replaces.
  const auto key_of = [&](std::string key) {
    std::replace(key.begin(), key.end(), '[', '(');
    std::replace(key.begin(), key.end(), ']', ')');
    return fold(key);
  };
  const auto text_of = [](const std::string& html) {
    std::string text;
    for (size_t at = 0; at < html.size(); ++at) {
      if (html[at] == '<')
        at = html.find('>', at);
      else
        text.push_back(html[at]);
    }
    return text;
  };
  size_t inherited = 0, replaced = 0;
  for (int c = 0; c < static_cast<int>(records.size()); ++c) {
    if (is_state(c)) continue;
    std::vector<int> chain;
    for (int r = c; r >= 0; r = records[r].parent) chain.insert(chain.begin(), r);
    std::vector<std::string> order;
    std::map<std::string, std::pair<int, std::pair<std::string, std::string>>> set, before;
    for (int r : chain) {
      for (const auto& [key, value] : records[r].defaults) {
        const std::string k = key_of(key);
        if (!set.count(k)) order.push_back(k);
        if (r == c && set.count(k)) before[k] = set[k];
        set[k] = {r, {key, value}};
      }
    }
    std::vector<std::string> expected;
    for (const std::string& k : order) {
      const auto& [setter, property] = set[k];
      std::string row = property.first + " | " + property.second;
      if (setter != c) {
        row += " from " + records[setter].name;
        ++inherited;
      } else if (before.count(k)) {
        row += " was " + before[k].second.second + " in " + records[before[k].first].name;
        ++replaced;
      }
      expected.push_back(row);
    }
    const std::string page = run.written["out/" + number[shown(c)] + ".html"];
    std::vector<std::string> rows;
    const size_t table = page.find("<h2>Default properties</h2>");
    for (size_t at = page.find("<tr><td>", table);
         table != std::string::npos && at < page.find("</table>", table);
         at = page.find("<tr><td>", at + 1)) {
      const size_t middle = page.find("</td><td>", at);
      rows.push_back(text_of(page.substr(at, middle - at)) + " | " +
                     text_of(page.substr(middle, page.find("</td><td>", middle + 1) - middle)));
    }
    EXPECT_EQ(rows, expected) << shown(c);
  }
  EXPECT_GT(inherited, 40u);
  EXPECT_GT(replaced, 10u);
}

// With --json, what each type of a declaration names: an enumeration or
// structure of the class itself (inline ones too), of an ancestor, of
// another class (of two alike, the one in the class's own package, else the
// first), a class, "class<>", "array<>" and their nesting, qualified names,
// built-in and unknown types, in any case. Each type with its resolution,
// in the order the model file holds them.
TEST(Reference, TypeNamesResolveToTheirDeclarations) {
  TempDir dir;
  fs::create_directory(dir / "out");
  WriteFile(dir / "src/Core/Classes/Thing.kc",
            "class Thing;\nenum EKind { K_A };\nstruct Spot { var int X; };\n"
            "var struct Box { var Box Inner; var EKind Sort; } Held;\nvar Thing Self;\n");
  WriteFile(dir / "src/Beasts/Beast.kc",
            "class Beast extends Thing;\nenum EMood { M_Calm };\n"
            "var enum EGait { G_Walk } Gait;\nvar emood Lower;\nvar EKind Kind;\n"
            "var Spot Where;\nvar class<Thing> Kin;\nvar array< class<beast> > Herd;\n"
            "var array<SPOT> Spots;\nvar Thing.EKind Qualified;\nvar core.Thing InPackage;\n"
            "var Spot.Lost Gone;\nvar string[8] Tag;\nvar INT Count;\nvar Nowhere Lost;\n"
            "var Shared Near;\nfunction Shared Pick(Thing Other, float Rate, EGait Step);\n"
            "state Sleeping { function EMood Wake(Spot At); }\n");
  WriteFile(dir / "src/Beasts/Ant.kc", "class Ant;\nenum Shared { S_Two };\n");
  WriteFile(dir / "src/Other/classes/Zebra.kc", "class Zebra;\nenum Shared { S_One };\n");
  WriteFile(dir / "src/Other/classes/Yak.kc", "class Yak;\nvar Shared Fur;\n");
  WriteFile(dir / "src/Bird.kc", "class Bird;\nvar shared Far;\n");
  auto run = RunTool(dir.path(), {"--json", "out", "src"});
  EXPECT_EQ(run.status, 0) << run.out;
  const std::string& model = run.written["out/model.json"];
  // Each type field with the resolution after it.
  std::string types;
  for (size_t at = 0; (at = model.find("_ref\": ", at)) != std::string::npos; ++at) {
    const size_t type = model.rfind("\", \"", at);
    const size_t key = model.rfind(", \"", model.rfind("\": \"", type)) + 2;
    const size_t end =
        std::min(model.find(", \"category\"", at), model.find(", \"modifiers\"", at));
    types += model.substr(key, end - key) + "\n";
  }
  EXPECT_EQ(
      types,
      // Beast
      "\"type\": \"EGait\", \"type_ref\": {\"record\": 1, \"anchor\": \"enum-EGait\"}\n"
      "\"type\": \"emood\", \"type_ref\": {\"record\": 1, \"anchor\": \"enum-EMood\"}\n"
      "\"type\": \"EKind\", \"type_ref\": {\"record\": 4, \"anchor\": \"enum-EKind\"}\n"
      "\"type\": \"Spot\", \"type_ref\": {\"record\": 4, \"anchor\": \"struct-Spot\"}\n"
      "\"type\": \"class<Thing>\", \"type_ref\": {\"record\": 4, \"anchor\": null}\n"
      "\"type\": \"array< class<beast> >\", \"type_ref\": {\"record\": 1, \"anchor\": null}\n"
      "\"type\": \"array<SPOT>\", \"type_ref\": {\"record\": 4, \"anchor\": \"struct-Spot\"}\n"
      "\"type\": \"Thing.EKind\", \"type_ref\": {\"record\": 4, \"anchor\": \"enum-EKind\"}\n"
      "\"type\": \"core.Thing\", \"type_ref\": {\"record\": 4, \"anchor\": null}\n"
      "\"type\": \"Spot.Lost\", \"type_ref\": null\n"
      "\"type\": \"string[8]\", \"type_ref\": null\n"
      "\"type\": \"INT\", \"type_ref\": null\n"
      "\"type\": \"Nowhere\", \"type_ref\": null\n"
      "\"type\": \"Shared\", \"type_ref\": {\"record\": 0, \"anchor\": \"enum-Shared\"}\n"
      "\"returns\": \"Shared\", \"returns_ref\": {\"record\": 0, \"anchor\": \"enum-Shared\"}\n"
      "\"type\": \"Thing\", \"type_ref\": {\"record\": 4, \"anchor\": null}\n"
      "\"type\": \"float\", \"type_ref\": null\n"
      "\"type\": \"EGait\", \"type_ref\": {\"record\": 1, \"anchor\": \"enum-EGait\"}\n"
      // Bird, in no package: the first of two
      "\"type\": \"shared\", \"type_ref\": {\"record\": 0, \"anchor\": \"enum-Shared\"}\n"
      // Beast's state Sleeping, seen from Beast
      "\"returns\": \"EMood\", \"returns_ref\": {\"record\": 1, \"anchor\": \"enum-EMood\"}\n"
      "\"type\": \"Spot\", \"type_ref\": {\"record\": 4, \"anchor\": \"struct-Spot\"}\n"
      // Thing: its inline structure naming itself, and its own class
      "\"type\": \"int\", \"type_ref\": null\n"
      "\"type\": \"Box\", \"type_ref\": {\"record\": 4, \"anchor\": \"struct-Box\"}\n"
      "\"type\": \"EKind\", \"type_ref\": {\"record\": 4, \"anchor\": \"enum-EKind\"}\n"
      "\"type\": \"Box\", \"type_ref\": {\"record\": 4, \"anchor\": \"struct-Box\"}\n"
      "\"type\": \"Thing\", \"type_ref\": {\"record\": 4, \"anchor\": null}\n"
      // Yak: the one of its own package, Zebra's
      "\"type\": \"Shared\", \"type_ref\": {\"record\": 6, \"anchor\": \"enum-Shared\"}\n")
      << model;
}

// The links of the source pages of a generated tree, against a brute-force
// resolver: every word of every line, linked exactly when the resolver
// finds what it names. Members of one name of both kinds, written in any
// case, over a chain of classes; parameters and locals that shadow them;
// chains through class-typed variables; class names; unknown names.
TEST(Reference, SourceLinksEqualABruteForceResolver) {
  struct Member {
    std::string name;
    std::string type;  // a variable's; empty for a function
    int line = 0;      // a parameter's or local's
  };
  struct Class {
    int parent = -1;
    std::vector<Member> members;
  };
  std::vector<Class> classes;
  uint32_t seed = 11;
  const auto next = [&seed](uint32_t n) {
    seed = seed * 1103515245u + 12345u;
    return (seed >> 16) % n;
  };
  const std::string kPool[] = {"Alpha", "Beta", "Gamma", "Delta"};
  const auto fold = [](std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
  };
  const auto cased = [&](const std::string& name) {  // as written, in any case
    const uint32_t how = next(3);
    return how == 0 ? name : how == 1 ? fold(name) : name.substr(0, 1) + fold(name.substr(1));
  };
  // The words of each line of each script, each with the link it should be.
  using Words = std::vector<std::pair<std::string, std::string>>;
  std::vector<std::vector<Words>> expected;
  std::map<std::string, std::string> page;  // a class's page, filled in after the run
  const auto class_link = [&](int c) { return "@" + std::to_string(c); };
  // The first variable (else function, or the other way round for a call)
  // of `name` in class c and its ancestors.
  const auto member = [&](int c, const std::string& name, bool call) -> std::pair<int, Member> {
    for (int pass = 0; pass < 2; ++pass) {
      const bool functions = (pass == 0) == call;
      for (int k = c; k >= 0; k = classes[k].parent) {
        for (const Member& m : classes[k].members) {
          if (fold(m.name) == fold(name) && m.type.empty() == functions) return {k, m};
        }
      }
    }
    return {-1, {}};
  };
  const auto member_link = [&](const std::pair<int, Member>& found) -> std::string {
    if (found.first < 0) return "";
    return class_link(found.first) + (found.second.type.empty() ? "#fn-" : "#var-") +
           found.second.name;
  };
  const auto class_of = [&](const std::string& type) {  // -1 for int
    return type == "int" ? -1 : std::stoi(type.substr(1));
  };
  TempDir dir;
  for (int c = 0; c < 30; ++c) {
    Class cls{c == 0 ? -1 : static_cast<int>(next(static_cast<uint32_t>(c))), {}};
    std::vector<Words> lines;
    std::string script = "class C" + std::to_string(c);
    lines.push_back({{"class", ""}, {"C" + std::to_string(c), ""}});
    if (cls.parent >= 0) {
      script += " extends C" + std::to_string(cls.parent);
      lines.back().insert(
          lines.back().end(),
          {{"extends", ""}, {"C" + std::to_string(cls.parent), class_link(cls.parent)}});
    }
    script += ";\n";
    const auto type = [&]() {
      return next(2) ? std::string("int") : "C" + std::to_string(next(c + 1));
    };
    const auto type_link = [&](const std::string& t) {
      return t == "int" ? "" : class_link(class_of(t));
    };
    for (const std::string& name : kPool) {
      if (next(100) >= 40) continue;
      const std::string t = type();
      cls.members.push_back({cased(name), t});
      script += "var " + t + " " + cls.members.back().name + ";\n";
      lines.push_back({{"var", ""}, {t, type_link(t)}, {cls.members.back().name, ""}});
    }
    for (const std::string& name : kPool) {
      if (next(100) < 40) cls.members.push_back({cased(name), ""});
    }
    classes.push_back(cls);
    for (const Member& declared : cls.members) {
      if (!declared.type.empty()) continue;
      std::vector<Member> locals;
      const std::string function = declared.name;
      const std::string t = type();
      locals.push_back({cased(kPool[next(4)]), t, static_cast<int>(lines.size()) + 1});
      script += "function " + function + "(" + t + " " + locals[0].name + ")\n{\n";
      lines.push_back({{"function", ""}, {function, ""}, {t, type_link(t)}, {locals[0].name, ""}});
      lines.push_back({});
      if (next(2)) {
        std::string local = cased(kPool[next(4)]);
        if (fold(local) == fold(locals[0].name)) local = "Omega";
        const std::string lt = type();
        locals.push_back({local, lt, static_cast<int>(lines.size()) + 1});
        script += "    local " + lt + " " + local + ";\n";
        lines.push_back({{"local", ""}, {lt, type_link(lt)}, {local, ""}});
      }
      // A name in scope: a parameter or local, else a member, else a class.
      const auto plain = [&](const std::string& word,
                             bool call) -> std::pair<std::string, std::string> {
        for (const Member& l : locals) {
          if (fold(l.name) == fold(word)) return {"#L" + std::to_string(l.line), l.type};
        }
        const auto found = member(c, word, call);
        return {member_link(found), found.second.type};
      };
      for (int s = 0; s < 4; ++s) {
        Words words;
        std::string text = "    ";
        const auto reference = [&](bool call) {
          const std::string first = next(8) == 0 ? "Zeta" : cased(kPool[next(4)]);
          const auto [link, t] = plain(first, call && next(2));
          text += first;
          words.push_back({first, link});
          if (!next(2) || call) return;
          // A chain: the second name in the class of the first's type.
          const std::string second = cased(kPool[next(4)]);
          text += "." + second;
          const int k = link.empty() || t.empty() || t == "int" ? -1 : class_of(t);
          words.push_back({second, k < 0 ? "" : member_link(member(k, second, false))});
        };
        if (next(3) == 0) {
          const std::string callee = cased(kPool[next(4)]);
          text += callee + "(";
          words.push_back({callee, plain(callee, true).first});
          reference(false);
          text += ")";
        } else {
          reference(false);
          text += " = ";
          if (next(4) == 0) {
            const int k = static_cast<int>(next(30));
            text += "C" + std::to_string(k);
            words.push_back({"C" + std::to_string(k), class_link(k)});
          } else {
            reference(false);
          }
        }
        script += text + ";\n";
        lines.push_back(words);
      }
      script += "}\n";
      lines.push_back({});
    }
    expected.push_back(lines);
    WriteFile(dir / "src" / ("C" + std::to_string(c) + ".kc"), script);
  }
  fs::create_directory(dir / "out");
  auto run = RunTool(dir.path(), {"--navigation", "--complete", "out", "src"});
  ASSERT_EQ(run.status, 0) << run.out;
  std::map<int, std::string> number;  // each class's page number, by its page's title
  for (const auto& [path, text] : run.written) {
    const size_t title = text.find("<title>class C");
    if (path.size() == 14 && title != std::string::npos)
      number[std::stoi(text.substr(title + 14))] = path.substr(4, 5);
  }
  const std::regex token(
      "<a href=\"([^\"]*)\" title=\"[^\"]*\">([^<]*)</a>|([A-Za-z_][A-Za-z0-9_]*)");
  size_t links = 0;
  // Each (line, declaration) linked forward, and listed back on the pages
  // of references: the same.
  std::set<std::pair<std::string, std::string>> forward;
  std::set<std::pair<std::string, std::string>> backward;
  const std::regex section("<h2><a href=\"([^\"]*)\">");
  const std::regex entry("<dd><a href=\"(source-[0-9]+\\.html#L[0-9]+)\">");
  for (const auto& [path, text] : run.written) {
    if (path.rfind("out/refs-", 0) != 0) continue;
    std::string target;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
      std::smatch match;
      if (std::regex_search(line, match, section)) target = match[1];
      if (std::regex_search(line, match, entry)) backward.insert({match[1], target});
    }
  }
  for (int c = 0; c < 30; ++c) {
    std::string source = run.written["out/source-" + number[c] + ".html"];
    source = std::regex_replace(source, std::regex("<span class=\"k\">|</span>|</pre>"), "");
    for (size_t l = 0; l < expected[c].size(); ++l) {
      const std::string anchor = "<a id=\"L" + std::to_string(l + 1) + "\" href=\"#L" +
                                 std::to_string(l + 1) + "\">" + std::to_string(l + 1) + "</a>";
      const size_t at = source.find(anchor);
      ASSERT_NE(at, std::string::npos) << anchor;
      const std::string line =
          source.substr(at + anchor.size(), source.find('\n', at) - at - anchor.size());
      Words words;
      for (std::sregex_iterator it(line.begin(), line.end(), token), end; it != end; ++it) {
        if ((*it)[3].matched) {
          words.push_back({(*it)[3], ""});
        } else {
          words.push_back({(*it)[2], (*it)[1]});
          ++links;
          const std::string target = (*it)[1];
          if (target[0] != '#')
            forward.insert({"source-" + number[c] + ".html#L" + std::to_string(l + 1), target});
        }
      }
      Words want = expected[c][l];
      for (auto& [word, link] : want) {
        if (!link.empty() && link[0] == '@') {
          const size_t hash = link.find('#');
          link = number[std::stoi(link.substr(1, hash - 1))] + ".html" +
                 (hash == std::string::npos ? "" : link.substr(hash));
        }
      }
      EXPECT_EQ(words, want) << "C" << c << " line " << l + 1 << ": " << line;
    }
  }
  EXPECT_GT(links, 300u);
  EXPECT_EQ(forward, backward);
  EXPECT_GT(forward.size(), 200u);
}

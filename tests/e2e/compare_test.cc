// --compare: the changes between a tree's earlier model file and the tree as
// it is now, exactly, for a small pair of trees, for model files that cannot
// be compared with, and for generated trees with random edits.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "support/platform_text.h"
#include "support/temp_tree.h"
#include "support/tool_run.h"

namespace {

namespace fs = std::filesystem;
using testing_support::ReadFile;
using testing_support::RunTool;
using testing_support::TempDir;
using testing_support::Text;
using testing_support::WriteFile;

const char* const kEntity = "class Entity;\n";
const char* const kThing = "class Thing;\n";

void WriteBefore(const fs::path& src) {
  WriteFile(src / "core/Entity.kc", kEntity);
  WriteFile(src / "core/Thing.kc", kThing);
  WriteFile(src / "beasts/Fossil.kc", "class Fossil extends Entity;\nvar int Age;\n");
  WriteFile(src / "beasts/Creature.kc",
            "class Creature extends Entity;\n"
            "const MaxLegs = 8;\n"
            "enum EMood { MOOD_Calm, MOOD_Angry };\n"
            "struct Wound { var float Depth; var name Cause; };\n"
            "var float Speed;\n"
            "var int Legs;\n"
            "function Hurt(int Damage, Creature Attacker);\n"
            "function Rest();\n"
            "static final operator(24) bool == (Creature A, Creature B);\n"
            "state Idle { function Wake(); }\n"
            "defaultproperties\n{\n  Speed=320.0\n  Skins(0)=Fur\n}\n");
}

// Each kind of change once; the case of Speed, of its type and of Wake
// changes too, which is no change.
void WriteAfter(const fs::path& src) {
  WriteFile(src / "core/Entity.kc", kEntity);
  WriteFile(src / "core/Thing.kc", kThing);
  WriteFile(src / "beasts/Bird.kc", "class Bird extends Creature;\nvar float Wingspan;\n");
  WriteFile(src / "beasts/Creature.kc",
            "class Creature extends Thing;\n"
            "const MaxLegs = 6;\n"
            "enum EMood { MOOD_Calm, MOOD_Angry, MOOD_Sad };\n"
            "struct Wound { var float Depth; var name Cause; var int Age; };\n"
            "var   FLOAT speed;\n"
            "var bool Tame;\n"
            "function Hurt(int Damage, Creature Attacker, name Kind);\n"
            "function Rest();\n"
            "static final operator(24) bool == (Creature A, Creature B);\n"
            "static final operator(24) bool == (Creature A, name B);\n"
            "state Idle { function wake(); }\n"
            "state Hunting { }\n"
            "defaultproperties\n{\n  Speed=300.0\n  Mass=10\n}\n");
}

// Each line of a rich page marked new or changed: the member's anchor, or
// the line up to the mark, then the mark.
std::vector<std::string> Marks(const std::string& page) {
  std::vector<std::string> marks;
  std::istringstream lines(page);
  for (std::string line; std::getline(lines, line);) {
    for (const std::string mark : {"new", "changed"}) {
      const size_t at = line.find(" <span class=\"t\">" + mark + "</span>");
      if (at == std::string::npos) continue;
      const size_t id = line.find("id=\"");
      marks.push_back((id == std::string::npos
                           ? line.substr(0, at)
                           : line.substr(id + 4, line.find('"', id + 4) - id - 4)) +
                      " " + mark);
    }
  }
  return marks;
}

TEST(Compare, EachKindOfChangeOnce) {
  TempDir dir;
  WriteBefore(dir / "old");
  WriteAfter(dir / "new");
  fs::create_directories(dir / "a");
  fs::create_directories(dir / "b");
  ASSERT_EQ(RunTool(dir.path(), {"--json", "a", "old"}).status, 0);
  auto run = RunTool(dir.path(), {"--compare", "a/model.json", "b", "new"});
  EXPECT_EQ(run.status, 0);
  const std::string out = Text(
      "Generating output... Complete.\n"
      "Changes since a/model.json: 1 class added, 1 removed, "
      "5 members changed, 5 added, 2 removed.\n");
  EXPECT_EQ(run.out.substr(run.out.size() - std::min(run.out.size(), out.size())), out);
  EXPECT_EQ(
      run.written["b/changes.json"],
      Text(
          "{\"format\": 1, \"generator\": \"KorvanRef " KORVANREF_VERSION_TEXT
          "\", \"before\": \"a/model.json\", \"changes\": [\n"
          "{\"change\": \"added\", \"kind\": \"class\", \"path\": \"Bird\", \"before\": null, "
          "\"after\": \"class Bird extends Creature\"},\n"
          "{\"change\": \"changed\", \"kind\": \"class\", \"path\": \"Creature\", \"before\": "
          "\"class Creature extends Entity\", \"after\": \"class Creature extends Thing\"},\n"
          "{\"change\": \"changed\", \"kind\": \"constant\", \"path\": \"Creature.MaxLegs\", "
          "\"before\": \"const MaxLegs = 8\", \"after\": \"const MaxLegs = 6\"},\n"
          "{\"change\": \"changed\", \"kind\": \"enum\", \"path\": \"Creature.EMood\", \"before\": "
          "\"enum EMood {MOOD_Calm, MOOD_Angry}\", \"after\": "
          "\"enum EMood {MOOD_Calm, MOOD_Angry, MOOD_Sad}\"},\n"
          "{\"change\": \"added\", \"kind\": \"variable\", \"path\": \"Creature.Wound.Age\", "
          "\"before\": null, \"after\": \"var int Age\"},\n"
          "{\"change\": \"removed\", \"kind\": \"variable\", \"path\": \"Creature.Legs\", "
          "\"before\": \"var int Legs\", \"after\": null},\n"
          "{\"change\": \"added\", \"kind\": \"variable\", \"path\": \"Creature.Tame\", "
          "\"before\": null, \"after\": \"var bool Tame\"},\n"
          "{\"change\": \"changed\", \"kind\": \"function\", \"path\": \"Creature.Hurt\", "
          "\"before\": \"function Hurt(int Damage, Creature Attacker)\", "
          "\"after\": \"function Hurt(int Damage, Creature Attacker, name Kind)\"},\n"
          "{\"change\": \"added\", \"kind\": \"function\", \"path\": "
          "\"Creature.==(Creature,name)\", \"before\": null, "
          "\"after\": \"static final operator bool ==(Creature A, name B)\"},\n"
          "{\"change\": \"changed\", \"kind\": \"default\", \"path\": \"Creature.Speed\", "
          "\"before\": \"Speed=320.0\", \"after\": \"Speed=300.0\"},\n"
          "{\"change\": \"removed\", \"kind\": \"default\", \"path\": \"Creature.Skins(0)\", "
          "\"before\": \"Skins(0)=Fur\", \"after\": null},\n"
          "{\"change\": \"added\", \"kind\": \"default\", \"path\": \"Creature.Mass\", "
          "\"before\": null, \"after\": \"Mass=10\"},\n"
          "{\"change\": \"removed\", \"kind\": \"class\", \"path\": \"Fossil\", "
          "\"before\": \"class Fossil extends Entity\", \"after\": null},\n"
          "{\"change\": \"added\", \"kind\": \"state\", \"path\": \"Creature.Hunting\", "
          "\"before\": null, \"after\": \"state Hunting\"}\n"
          "]}\n"));
  EXPECT_NE(run.written["b/changes.html"].find(Text("<h2>beasts</h2>\n<h3>Bird</h3>")),
            std::string::npos);
  EXPECT_NE(run.written["b/index.html"].find("<a href=\"changes.html\">"), std::string::npos);
  // With --navigation, a change links its member on the new record's page,
  // and the navigable index links the changes; the rich pages mark what is
  // new or changed, an operator told apart by its parameters.
  fs::create_directories(dir / "c");
  auto linked =
      RunTool(dir.path(), {"--navigation", "--complete", "--compare", "a/model.json", "c", "new"});
  EXPECT_EQ(Marks(linked.written["c/00000.html"]), std::vector<std::string>{"<h1>class Bird new"});
  EXPECT_EQ(Marks(linked.written["c/00001.html"]),
            (std::vector<std::string>{
                "const-MaxLegs changed", "enum-EMood changed", "var-Wound.Age new", "var-Tame new",
                "fn-Hurt changed", "fn--3d3d-2 new",
                "<tr><td><code><a href=\"00001.html#var-speed\">Speed</a></code></td>"
                "<td><code>300.0</code> changed",
                "<tr><td><code>Mass</code></td><td><code>10</code> new"}));
  EXPECT_EQ(Marks(linked.written["c/00003.html"]),
            std::vector<std::string>{"<h1>state Hunting new"});
  EXPECT_EQ(Marks(linked.written["c/00004.html"]), std::vector<std::string>{});
  EXPECT_NE(
      linked.written["c/changes.html"].find("<a href=\"00001.html#fn-Hurt\">Creature.Hurt</a>"),
      std::string::npos);
  EXPECT_NE(linked.written["c/index.html"].find("<a href=\"changes.html\">"), std::string::npos);
  // A record that gains its first member of a kind.
  WriteFile(dir / "old/core/Thing.kc", "class Thing;\nfunction Grow();\n");
  auto grown = RunTool(dir.path(), {"--compare", "a/model.json", "b", "old"});
  EXPECT_EQ(grown.status, 0);
  EXPECT_NE(grown.written["b/changes.json"].find("\"path\": \"Thing.Grow\""), std::string::npos);
  WriteFile(dir / "old/core/Thing.kc", kThing);
  // A tree compared with its own model has no changes.
  auto same = RunTool(dir.path(), {"--compare", "a/model.json", "b", "old"});
  EXPECT_NE(same.written["b/changes.json"].find(Text("\"changes\": [\n]}\n")), std::string::npos);
  EXPECT_NE(same.out.find("0 classes added, 0 removed, 0 members changed, 0 added, 0 removed."),
            std::string::npos);
}

// A model file that cannot be compared with gives a message and status 1;
// the reference is written whole all the same, with no link to changes, and
// no changes file; also when only a record in its middle is found corrupt,
// while comparing.
TEST(Compare, BadEarlierModelIsReported) {
  TempDir dir;
  WriteAfter(dir / "src");
  fs::create_directories(dir / "base");
  ASSERT_EQ(RunTool(dir.path(), {"--json", "base", "src"}).status, 0);
  const std::string model = ReadFile(dir / "base/model.json");
  WriteFile(dir / "cut.json", model.substr(0, model.size() / 2));
  WriteFile(dir / "text.json", "Not a model file at all\n");
  WriteFile(dir / "format.json", "{\"format\": 2, \"records\": []}\n");
  WriteFile(dir / "other.json", "{\"name\": \"Creature\"}\n");
  std::string middle = model;
  const size_t constants = middle.find("\"constants\": [", middle.find("\n{\"number\": 2,"));
  ASSERT_NE(constants, std::string::npos);
  middle.replace(constants, 14, "\"constants\": 5, \"x\": [");
  WriteFile(dir / "middle.json", middle);
  fs::remove(dir / "base/model.json");
  const std::map<std::string, std::string> reference = testing_support::ReadTree(dir / "base");
  const struct {
    const char* old;
    const char* problem;
  } cases[] = {
      {"missing.json", "there is no such file"},
      {"src", "it cannot be read"},
      {"text.json", "it is not JSON (not an object at byte 0)"},
      {"format.json", "its format is 2, not 1"},
      {"cut.json", "it is cut off"},
      {"other.json", "it is not a model file"},
      {"middle.json", "its record 2 is not as a model file holds it"},
  };
  int n = 0;
  for (const auto& c : cases) {
    const std::string out = "out" + std::to_string(n++);
    fs::create_directories(dir / out);
    auto run = RunTool(dir.path(), {"--compare", c.old, out, "src"});
    EXPECT_EQ(run.status, 1) << c.old;
    const std::string message = Text("Generating output... Complete.\nUnable to compare with '" +
                                     std::string(c.old) + "': " + c.problem + ".\n");
    EXPECT_EQ(run.out.substr(run.out.size() - std::min(run.out.size(), message.size())), message)
        << c.old;
    EXPECT_EQ(testing_support::ReadTree(dir / out), reference) << c.old;
    EXPECT_EQ(ReadFile(dir / out / "index.html").find("changes.html"), std::string::npos) << c.old;
  }
}

// Generated trees, edited at random by the test: what is listed is exactly
// the edits.
struct Function {
  std::string name;
  std::string returns;
};

struct Script {
  std::string name;
  std::vector<std::string> variables;
  std::vector<Function> functions;
  std::vector<std::pair<std::string, std::string>> defaults;
  std::vector<std::string> states;
  bool removed = false;
  bool added = false;
};

std::string Render(const Script& s) {
  std::string text = "class " + s.name + " extends Base;\n";
  for (const std::string& v : s.variables) text += "var int " + v + ";\n";
  for (const Function& f : s.functions)
    text += "function " + f.returns + " " + f.name + "(int A);\n";
  for (const std::string& state : s.states) text += "state " + state + " { }\n";
  text += "defaultproperties\n{\n";
  for (const auto& [key, value] : s.defaults) text += "  " + key + "=" + value + "\n";
  return text + "}\n";
}

void WriteScripts(const fs::path& src, const std::vector<Script>& scripts) {
  fs::remove_all(src);
  WriteFile(src / "Base.kc", "class Base;\n");
  for (const Script& s : scripts) {
    if (!s.removed) WriteFile(src / "p" / (s.name + ".kc"), Render(s));
  }
}

// The changes listed, each "change kind path".
std::multiset<std::string> Listed(const std::string& json) {
  std::multiset<std::string> listed;
  auto field = [](const std::string& line, const std::string& key) {
    const size_t at = line.find("\"" + key + "\": \"") + key.size() + 5;
    return line.substr(at, line.find('"', at) - at);
  };
  size_t at = 0;
  while ((at = json.find("\n{\"change\"", at)) != std::string::npos) {
    const std::string line = json.substr(at + 1, json.find('\n', at + 1) - at - 1);
    listed.insert(field(line, "change") + " " + field(line, "kind") + " " + field(line, "path"));
    ++at;
  }
  return listed;
}

TEST(Compare, RandomEditsAreListedExactly) {
  TempDir dir;
  fs::create_directories(dir / "a");
  fs::create_directories(dir / "b");
  for (unsigned seed = 1; seed <= 4; ++seed) {
    std::mt19937 random(seed);
    auto pick = [&random](size_t n) {
      return std::uniform_int_distribution<size_t>(0, n - 1)(random);
    };
    std::vector<Script> scripts(12);
    for (size_t i = 0; i < scripts.size(); ++i) {
      Script& s = scripts[i];
      s.name = "C" + std::to_string(i);
      for (size_t m = 0; m < 4; ++m) {
        s.variables.push_back("V" + std::to_string(m));
        s.functions.push_back({"F" + std::to_string(m), "int"});
        s.defaults.emplace_back("V" + std::to_string(m), std::to_string(m));
      }
      if (i % 3 == 0) s.states.push_back("S0");
    }
    WriteScripts(dir / "src", scripts);
    ASSERT_EQ(RunTool(dir.path(), {"--json", "a", "src"}).status, 0);
    std::multiset<std::string> expected;
    int fresh = 0;
    for (int edit = 0; edit < 10; ++edit) {
      const size_t kind = pick(8);
      if (kind == 0) {
        Script s;
        s.name = "Added" + std::to_string(fresh++);
        s.variables.push_back("V0");
        s.added = true;
        scripts.push_back(s);
        expected.insert("added class " + s.name);
        continue;
      }
      Script& s = scripts[pick(12)];
      if (s.removed) continue;
      const std::string path = s.name + ".";
      switch (kind) {
        case 1:
          s.removed = true;
          std::erase_if(expected, [&path](const std::string& change) {
            return change.find(" " + path) != std::string::npos;
          });
          expected.insert("removed class " + s.name);
          break;
        case 2:
        case 3: {
          // Functions renamed or retyped are not edited again.
          Function* f = nullptr;
          for (Function& candidate : s.functions) {
            if (candidate.name[0] == 'F' && candidate.returns == "int") f = &candidate;
          }
          if (!f) break;
          if (kind == 2) {
            expected.insert("removed function " + path + f->name);
            f->name = "Renamed" + std::to_string(fresh++);
            expected.insert("added function " + path + f->name);
          } else {
            f->returns = "float";
            expected.insert("changed function " + path + f->name);
          }
          break;
        }
        case 4:
          s.variables.push_back("NewVar" + std::to_string(fresh++));
          expected.insert("added variable " + path + s.variables.back());
          break;
        case 5:
          if (s.variables.empty() || s.variables[0][0] != 'V') break;
          expected.insert("removed variable " + path + s.variables[0]);
          s.variables.erase(s.variables.begin());
          break;
        case 6: {
          auto& d = s.defaults[pick(s.defaults.size())];
          if (d.second.size() > 1) break;  // changed once already
          d.second += "5";
          expected.insert("changed default " + path + d.first);
          break;
        }
        default:
          s.states.push_back("NewState" + std::to_string(fresh++));
          expected.insert("added state " + path + s.states.back());
          break;
      }
    }
    WriteScripts(dir / "src", scripts);
    auto run = RunTool(dir.path(), {"--compare", "a/model.json", "b", "src"});
    EXPECT_EQ(run.status, 0) << seed;
    EXPECT_EQ(Listed(ReadFile(dir / "b/changes.json")), expected) << "seed " << seed;
  }
}

}  // namespace

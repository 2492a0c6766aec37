// --compare: the changes between a tree's earlier model file and the tree as
// it is now, exactly, for a small pair of trees, for model files that cannot
// be compared with, and for generated trees with random edits.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <random>
#include <set>
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

TEST(Compare, EachKindOfChangeOnce) {
  TempDir dir;
  WriteBefore(dir / "old");
  WriteAfter(dir / "new");
  fs::create_directories(dir / "a");
  fs::create_directories(dir / "b");
  ASSERT_EQ(RunTool(dir.path(), {"--json", "a", "old"}).status, 0);
  auto run = RunTool(dir.path(), {"--compare", "a/model.json", "b", "new"});
  EXPECT_EQ(run.status, 0);
  const std::string out = Text("Generating output... Complete.\n"
                               "Changes since a/model.json: 1 class added, 1 removed, "
                               "5 members changed, 5 added, 2 removed.\n");
  EXPECT_EQ(run.out.substr(run.out.size() - std::min(run.out.size(), out.size())), out);
  EXPECT_EQ(run.written["b/changes.json"],
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
            "]}\n");
  EXPECT_NE(run.written["b/changes.html"].find("<h2>beasts</h2>\n<h3>Bird</h3>"),
            std::string::npos);
  EXPECT_NE(run.written["b/index.html"].find("<a href=\"changes.html\">"), std::string::npos);
  // A tree compared with its own model has no changes.
  auto same = RunTool(dir.path(), {"--compare", "a/model.json", "b", "old"});
  EXPECT_NE(same.written["b/changes.json"].find("\"changes\": [\n]}\n"), std::string::npos);
  EXPECT_NE(same.out.find("0 classes added, 0 removed, 0 members changed, 0 added, 0 removed."),
            std::string::npos);
}

}  // namespace

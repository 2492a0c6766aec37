#include "synthetic_script.h"

#include <utility>

namespace bench {
namespace {

const char* const kPrefixes[] = {"Stone",  "Iron",   "Swift", "Shadow", "Ember", "Frost", "Grim",
                                 "Bright", "Hollow", "Rune",  "Storm",  "Moss",  "Ash",   "Gilded"};
const char* const kNouns[] = {"Guard",   "Walker", "Lamp",   "Gate",   "Beast",  "Trader", "Cart",
                              "Tower",   "Spirit", "Hound",  "Barrel", "Bridge", "Sentry", "Crow",
                              "Furnace", "Banner", "Keeper", "Totem",  "Wisp",   "Mill"};
const char* const kTypes[] = {"int",    "float",      "bool",          "name",
                              "string", "vector",     "byte",          "class<Entity>",
                              "Entity", "array<int>", "array<string>", "rotator"};
const char* const kFields[] = {"Health", "Speed",  "Target", "Owner",  "Timer",  "Count",
                               "Radius", "Damage", "Label",  "Home",   "Charge", "Armor",
                               "Delay",  "Weight", "Color",  "Sound",  "Light",  "Range",
                               "Flags",  "Level",  "Team",   "Hunger", "Anger",  "Path"};
const char* const kVerbs[] = {"Update", "Reset", "Check",  "Find",   "Spawn",  "Open",
                              "Close",  "Fire",  "Notify", "Choose", "Follow", "Store",
                              "Load",   "Drop",  "Mark",   "Scan",   "Wake",   "Rest"};
const char* const kEvents[] = {"Tick",      "Touch",      "BeginState", "EndState",
                               "Timer",     "HitWall",    "Landed",     "SeePlayer",
                               "HearNoise", "TakeDamage", "Destroyed",  "PostBeginPlay"};
// State names repeat across many classes, as real trees do.
const char* const kStates[] = {"Idle",    "Patrolling", "Dying",    "Attacking", "Fleeing",
                               "Waiting", "Hunting",    "Sleeping", "Returning", "Opening",
                               "Closing", "Burning",    "Stunned",  "Guarding",  "Wandering"};
const char* const kFunctionModifiers[] = {"",       "",        "",         "simulated ",
                                          "final ", "static ", "private ", "protected "};

}  // namespace

void UseCrLf(std::string& text) {
  std::string crlf;
  crlf.reserve(text.size() + text.size() / 20);
  for (char c : text) {
    if (c == '\n') crlf += '\r';
    crlf += c;
  }
  text.swap(crlf);
}

std::string SyntheticClassName(size_t index, Random& random) {
  std::string name = random.Pick(kPrefixes);
  name += random.Pick(kNouns);
  name += std::to_string(index);
  return name;
}

namespace {

void AppendStatementBody(std::string& out, Random& random, int depth, const char* indent);

// A braced block one level deeper, after the line that opens it.
void AppendNestedBlock(std::string& out, Random& random, int depth, const char* indent) {
  out += indent;
  out += "{\n";
  std::string deeper = std::string(indent) + "\t";
  AppendStatementBody(out, random, depth + 1, deeper.c_str());
  out += indent;
  out += "}\n";
}

void AppendStatementBody(std::string& out, Random& random, int depth, const char* indent) {
  const size_t lines = random.Between(1, depth == 0 ? 6 : 4);
  for (size_t i = 0; i < lines; ++i) {
    out += indent;
    switch (random.Next() % 8) {
      case 0:
        out += "Log(\"";
        out += random.Pick(kFields);
        out += " is {still} at \" $ ";
        out += random.Pick(kFields);
        out += ");\n";
        break;
      case 1:
        out += random.Pick(kFields);
        out += " = ";
        out += random.Pick(kFields);
        out += " * 2 + ";
        out += std::to_string(random.Between(1, 500));
        out += ";  // keep it within range\n";
        break;
      case 2:
        if (depth < 2) {
          out += "if (";
          out += random.Pick(kFields);
          out += " > 0 && Other != None)\n";
          AppendNestedBlock(out, random, depth, indent);
        } else {
          out += "return;\n";
        }
        break;
      case 3:
        out += "GotoState('";
        out += random.Pick(kStates);
        out += "');\n";
        break;
      case 4:
        if (depth < 2) {
          out += "for (i = 0; i < ";
          out += random.Pick(kFields);
          out += ".Length; i++)\n";
          AppendNestedBlock(out, random, depth, indent);
        } else {
          out += "i++;\n";
        }
        break;
      case 5:
        out += "/* ";
        out += random.Pick(kVerbs);
        out += " first, then the rest } */\n";
        break;
      case 6:
        out += random.Pick(kVerbs);
        out += random.Pick(kFields);
        out += "('";
        out += random.Pick(kFields);
        out += "', ";
        out += std::to_string(random.Between(0, 99));
        out += ");\n";
        break;
      default:
        out += "Sleep(";
        out += std::to_string(random.Between(1, 9));
        out += ".5);\n";
        break;
    }
  }
}

void AppendFunction(std::string& out, Random& random, const char* indent) {
  out += indent;
  out += random.Pick(kFunctionModifiers);
  out += "function ";
  if (random.Percent(40)) {
    out += random.Pick(kTypes);
    out += ' ';
  }
  out += random.Pick(kVerbs);
  out += random.Pick(kFields);
  out += '(';
  const size_t params = random.Between(0, 3);
  for (size_t i = 0; i < params; ++i) {
    if (i) out += ", ";
    if (random.Percent(20)) out += "optional ";
    out += random.Pick(kTypes);
    out += ' ';
    out += random.Pick(kFields);
    out += std::to_string(i);
  }
  out += ")\n";
  out += indent;
  out += "{\n";
  out += indent;
  out += "\tlocal int i;\n";
  std::string deeper = std::string(indent) + "\t";
  AppendStatementBody(out, random, 0, deeper.c_str());
  out += indent;
  out += "}\n\n";
}

void AppendEvent(std::string& out, Random& random, const char* indent) {
  out += indent;
  if (random.Percent(30)) out += "simulated ";
  out += "event ";
  out += random.Pick(kEvents);
  out += "(";
  if (random.Percent(50)) out += "float DeltaTime";
  out += ")\n";
  out += indent;
  out += "{\n";
  std::string deeper = std::string(indent) + "\t";
  AppendStatementBody(out, random, 0, deeper.c_str());
  out += indent;
  out += "}\n\n";
}

}  // namespace

GeneratedScript SyntheticScript(const std::string& name, const std::string& super_name,
                                Random& random) {
  std::string out;
  out.reserve(8192);
  out += "//=============================================================================\n";
  out += "// " + name + ": generated for the benchmark.\n";
  out += "//=============================================================================\n";
  out += "class " + name;
  if (!super_name.empty()) out += " expands " + super_name;
  if (random.Percent(20)) out += "\n\tnative";
  if (random.Percent(15)) out += "\n\tabstract";
  out += ";\n\n";
  if (random.Percent(30)) out += "#exec TEXTURE IMPORT NAME=" + name + "Skin FILE=skins\\a.pcx\n\n";

  const size_t vars = random.Between(4, 18);
  for (size_t i = 0; i < vars; ++i) {
    out += random.Percent(30) ? "var() " : "var ";
    if (random.Percent(10)) out += "config ";
    out += random.Pick(kTypes);
    out += ' ';
    out += random.Pick(kFields);
    out += std::to_string(i);
    out += random.Percent(25) ? ";   // tuned by hand\n" : ";\n";
  }
  out += "\n";
  if (random.Percent(30)) {
    out += "struct Slot\n{\n\tvar int Index;\n\tvar name Tag;\n};\n\n";
  }
  const size_t natives = random.Between(0, 3);
  for (size_t i = 0; i < natives; ++i) {
    out += "native function ";
    out += random.Pick(kVerbs);
    out += std::to_string(i);
    out += "(int Mode);\n";
  }
  const size_t functions = random.Between(2, 7);
  for (size_t i = 0; i < functions; ++i) AppendFunction(out, random, "");
  const size_t events = random.Between(1, 4);
  for (size_t i = 0; i < events; ++i) AppendEvent(out, random, "");

  const size_t states = random.Between(1, 4);
  for (size_t i = 0; i < states; ++i) {
    if (random.Percent(25)) out += "auto ";
    out += "state ";
    out += random.Pick(kStates);
    out += "\n{\n";
    if (random.Percent(30)) out += "\tignores TakeDamage, SeePlayer;\n\n";
    const size_t inner = random.Between(1, 3);
    for (size_t k = 0; k < inner; ++k) {
      if (random.Percent(50)) {
        AppendFunction(out, random, "\t");
      } else {
        AppendEvent(out, random, "\t");
      }
    }
    out += "Begin:\n\tSleep(1.0);\n\tGoto('Begin');\n}\n\n";
  }
  out += "defaultproperties\n{\n\tHealth=100\n\tLabel=\"" + name + "\"\n}\n";
  // Some scripts were saved with Windows line ends.
  if (random.Percent(10)) UseCrLf(out);
  return {std::move(out), states};
}

}  // namespace bench

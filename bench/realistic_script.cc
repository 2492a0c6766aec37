#include "realistic_script.h"

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <utility>

namespace bench {
namespace {

const char* const kFields[] = {"Speed",    "Health",  "Hunger", "Reach", "Armor", "Charge",
                               "Fuel",     "Heat",    "Noise",  "Glow",  "Range", "Damage",
                               "Delay",    "Weight",  "Scale",  "Pitch", "Spin",  "Grip",
                               "Stamina",  "Courage", "Loot",   "Wear",  "Drift", "Cargo",
                               "Pressure", "Flock",   "Nest",   "Valve", "Fuse",  "Rudder"};
const char* const kFieldPrefixes[] = {"", "", "", "", "Max", "Min", "Base", "Last", "Next", "b"};
const char* const kVerbs[] = {"Wander", "Feed",   "Flee",   "Roar",   "Sniff",  "Charge", "Crank",
                              "Vent",   "Ignite", "Refuel", "Stack",  "Topple", "Grind",  "Hatch",
                              "Perch",  "Burrow", "Patch",  "Signal", "Unlock", "Seal",   "Steer"};
const char* const kEvents[] = {"Spawned",   "Bumped",   "Touched",    "Heard",   "Sighted",
                               "Wounded",   "Fell",     "Landed",     "Expired", "Ticked",
                               "Triggered", "Released", "Overheated", "Starved", "Woken"};
// State names repeat across many classes, as real trees do.
const char* const kStates[] = {"Idle",    "Roaming", "Grazing", "Hunting", "Fleeing",
                               "Nesting", "Asleep",  "Broken",  "Running", "Cooling",
                               "Jammed",  "Opening", "Closed",  "Dormant", "Swarming"};
const char* const kLabels[] = {"Begin", "Begin", "Loop", "Wait", "Retry"};
const char* const kCategories[] = {"Movement", "Senses",  "Display", "Sound",
                                   "Combat",   "Machine", "Loot",    "Lighting"};
const char* const kPlainTypes[] = {"int",  "int",  "float",  "float", "float",  "bool",   "bool",
                                   "bool", "name", "string", "byte",  "vector", "rotator"};
const char* const kObjectTypes[] = {"Entity",  "Critter",  "Gizmo",    "Crate",
                                    "Lantern", "Hatchery", "Conveyor", "Emitter"};
const char* const kVarModifiers[] = {"config ",       "transient ", "localized ", "const ",
                                     "globalconfig ", "native ",    "editconst ", "private "};
const char* const kFunctionModifiers[] = {"",           "",       "",         "",
                                          "simulated ", "final ", "static ",  "private ",
                                          "protected ", "exec ",  "singular "};
const char* const kClassModifiers[] = {"native",
                                       "abstract",
                                       "config(Game)",
                                       "config(Settings)",
                                       "transient",
                                       "placeable",
                                       "hidecategories(Sound,Loot)",
                                       "perobjectconfig"};
const char* const kTopics[] = {"hunger", "speed", "fuel",   "heat",    "noise",  "light", "reach",
                               "grip",   "cargo", "nest",   "flock",   "valve",  "fuse",  "boiler",
                               "rudder", "wick",  "clutch", "gearbox", "trough", "owner"};
// Comment sentences: the text before and after a topic.
const char* const kSentences[][2] = {
    {"How much ", " it has left."},
    {"Set by the level designer; zero means no ", "."},
    {"Called once the ", " has settled."},
    {"Units per second; see also the ", "."},
    {"TODO: move the ", " into the base class."},
    {"Do not change the ", " while the machine runs."},
    {"Cached so that the ", " is not looked up every tick."},
    {"Returns true when the ", " was accepted."},
    {"Only the host decides the ", "."},
    {"Below this the ", " turns it around."},
    {"Keeps the ", " in step with the animation."},
    {"The ", " the herd agrees on, if any."},
};
struct Operator {
  const char* kind;  // the keyword, with the precedence and return type
  const char* symbol;
  bool binary;
};
const Operator kOperators[] = {
    {"operator(24) bool", "==", true},  {"operator(26) bool", "!=", true},
    {"operator(16) float", "*", true},  {"operator(20) float", "+", true},
    {"preoperator bool", "!", false},   {"preoperator float", "-", false},
    {"postoperator int", "++", false},  {"postoperator int", "--", false},
    {"operator(34) float", "+=", true}, {"operator(28) bool", "<", true},
};

// A target size: half the scripts below `kMedian` bytes, the mean nearly four
// times that, the largest near 200 KB (the fixed parts of a script add to
// the smaller ones). The spread is log-normal-like and
// computed on integers only, so that every platform gives the same sizes.
size_t TargetSize(Random& random) {
  constexpr int64_t kMedian = 650;
  constexpr int64_t kSpread = 294912;  // 4.5 octaves either side at most, in 1/65536
  int64_t sum = 0;
  for (int i = 0; i < 4; ++i) sum += static_cast<int64_t>(random.Next() % 65536);
  const int64_t exponent = (sum - 2 * 65536) * kSpread / 65536;
  const int64_t octaves = exponent >= 0 ? exponent / 65536 : -((-exponent + 65535) / 65536);
  const int64_t fraction = exponent - octaves * 65536;
  int64_t size = kMedian * (65536 + fraction) / 65536;
  size = octaves >= 0 ? size << octaves : size >> -octaves;
  return static_cast<size_t>(std::clamp<int64_t>(size, 300, 200000));
}

// Appends text to one script, with the random source that shapes it.
class ScriptWriter {
 public:
  ScriptWriter(std::string& out, Random& random) : out_(out), random_(random) {}

  std::string Field() {
    std::string field = random_.Pick(kFieldPrefixes);
    field += random_.Pick(kFields);
    return field;
  }

  void Sentence() {
    const auto& sentence = kSentences[random_.Next() % std::size(kSentences)];
    out_ += sentence[0];
    out_ += random_.Pick(kTopics);
    out_ += sentence[1];
  }

  // A keyword, now and then capitalised as some authors write them.
  void Keyword(const char* lower, const char* capital) {
    out_ += random_.Percent(6) ? capital : lower;
  }

  void Header(const std::string& name) {
    if (random_.Percent(15)) return;
    const char rule = random_.Percent(70) ? '=' : '-';
    const std::string line = "//" + std::string(random_.Percent(80) ? 77 : 60, rule) + "\n";
    out_ += line;
    out_ += "// " + name + ".\n";
    const size_t lines = random_.Between(0, 2);
    for (size_t i = 0; i < lines; ++i) {
      out_ += "// ";
      Sentence();
      out_ += '\n';
    }
    out_ += line;
  }

  void ClassStatement(const std::string& name, const std::string& super_name) {
    Keyword("class ", "Class ");
    out_ += name;
    if (!super_name.empty()) {
      if (random_.Percent(84)) {
        Keyword(" extends ", " Extends ");
      } else {
        Keyword(" expands ", " Expands ");
      }
      out_ += super_name;
    }
    if (random_.Percent(4)) out_ += " within World";
    const size_t modifiers = random_.Percent(50) ? 0 : random_.Between(1, 3);
    const bool own_lines = random_.Percent(50);
    const size_t first = random_.Next() % std::size(kClassModifiers);
    for (size_t i = 0; i < modifiers; ++i) {
      out_ += own_lines ? "\n\t" : " ";
      out_ += kClassModifiers[(first + i) % std::size(kClassModifiers)];
    }
    out_ += ";\n\n";
  }

  void Directives(const std::string& name, size_t count) {
    static const char* const kCommands[] = {"SKIN LOAD", "SHAPE LOAD", "SHAPE FRAMES", "CLIP LOAD",
                                            "SHAPE SCALE"};
    for (size_t i = 0; i < count; ++i) {
      out_ += "#exec ";
      out_ += random_.Pick(kCommands);
      out_ += " NAME=" + name + std::to_string(i);
      out_ += " FILE=art\\";
      out_ += random_.Pick(kTopics);
      out_ += std::to_string(random_.Between(1, 40));
      out_ += random_.Percent(50) ? ".pcx" : ".wav";
      if (random_.Percent(60)) out_ += " MIPS=" + std::to_string(random_.Between(1, 8));
      out_ += '\n';
    }
    if (count) out_ += '\n';
  }

  // The documentation before a member, if it has any.
  void DocBefore(const char* indent) {
    const uint64_t roll = random_.Next() % 100;
    if (roll < 14) {
      out_ += indent;
      out_ += "/** ";
      Sentence();
      out_ += " */\n";
    } else if (roll < 19) {
      out_ += indent;
      out_ += "/**\n";
      for (size_t i = random_.Between(1, 3); i > 0; --i) {
        out_ += indent;
        out_ += " * ";
        Sentence();
        out_ += '\n';
      }
      out_ += indent;
      out_ += " */\n";
    } else if (roll < 30) {
      for (size_t i = random_.Between(1, 2); i > 0; --i) {
        out_ += indent;
        out_ += "// ";
        Sentence();
        out_ += '\n';
      }
    }
  }

  // Ends a declaration's line, now and then with a comment lined up after it.
  void LineEnd(unsigned comment_percent) {
    if (random_.Percent(comment_percent)) {
      const size_t line_start = out_.rfind('\n') + 1;  // 0 when there is none
      const size_t column = out_.size() - line_start;
      if (random_.Percent(50)) {
        out_.append(column < 40 ? 40 - column : 1, ' ');
      } else {
        out_.append(column < 40 ? (43 - column) / 4 : 1, '\t');
      }
      out_ += "// ";
      Sentence();
    }
    out_ += '\n';
  }

  void Constants() {
    for (size_t i = random_.Between(1, 6); i > 0; --i) {
      Keyword("const ", "Const ");
      out_ += "MAX_" + UpperField() + " = " + std::to_string(random_.Between(2, 4096));
      out_ += ';';
      LineEnd(30);
    }
    out_ += '\n';
  }

  void EnumBody(const std::string& prefix, size_t values, const char* indent) {
    for (size_t i = 0; i < values; ++i) {
      out_ += indent;
      out_ += "\t" + prefix + "_" + random_.Pick(kFields) + std::to_string(i);
      out_ += i + 1 < values ? ",\n" : "\n";
    }
  }

  void Enumeration() {
    DocBefore("");
    const std::string name = std::string("E") + random_.Pick(kFields) + random_.Pick(kVerbs);
    out_ += "enum " + name + "\n{\n";
    EnumBody(UpperField(), random_.Between(3, 10), "");
    out_ += "};\n\n";
  }

  void Structure() {
    DocBefore("");
    out_ += "struct ";
    if (random_.Percent(30)) out_ += "native ";
    out_ += random_.Pick(kFields);
    out_ += "Info";
    if (random_.Percent(25)) {
      out_ += " extends ";
      out_ += random_.Percent(50) ? "BaseInfo" : "MarkInfo";
    }
    out_ += "\n{\n";
    for (size_t i = random_.Between(2, 6); i > 0; --i) {
      if (random_.Percent(10)) {
        out_ += "\tvar enum EKind\n\t{\n";
        EnumBody("KIND", random_.Between(2, 4), "\t");
        out_ += "\t} Kind;\n";
      } else {
        out_ += "\tvar ";
        Type();
        out_ += ' ' + Field() + ';';
        LineEnd(25);
      }
    }
    out_ += "};\n\n";
  }

  void Type() {
    const uint64_t roll = random_.Next() % 100;
    if (roll < 62) {
      out_ += random_.Pick(kPlainTypes);
    } else if (roll < 80) {
      out_ += random_.Pick(kObjectTypes);
    } else if (roll < 87) {
      out_ += "class<";
      out_ += random_.Pick(kObjectTypes);
      out_ += '>';
    } else if (roll < 95) {
      out_ += random_.Percent(50) ? "array<" : "array< ";
      out_ += random_.Percent(70) ? random_.Pick(kPlainTypes) : random_.Pick(kObjectTypes);
      out_ += '>';
    } else {
      out_ += random_.Pick(kFields);
      out_ += "Info";
    }
  }

  void Variable(const std::string& class_name) {
    DocBefore("");
    Keyword("var", "Var");
    const uint64_t category = random_.Next() % 100;
    if (category < 20) {
      out_ += "()";
    } else if (category < 40) {
      out_ += '(';
      out_ += random_.Percent(15) ? class_name.c_str() : random_.Pick(kCategories);
      out_ += ')';
    }
    out_ += ' ';
    if (random_.Percent(25)) out_ += random_.Pick(kVarModifiers);
    if (random_.Percent(4)) {
      out_ += "enum E" + std::string(random_.Pick(kFields)) + "Mode\n{\n";
      EnumBody("MODE", random_.Between(2, 5), "");
      out_ += "} " + Field() + ";\n";
      return;
    }
    Type();
    const size_t names = random_.Percent(80) ? 1 : random_.Between(2, 4);
    for (size_t i = 0; i < names; ++i) {
      out_ += i ? ", " : " ";
      out_ += Field();
      if (random_.Percent(7)) Index('[', random_.Between(2, 16), ']');
    }
    out_ += ';';
    LineEnd(28);
  }

  void Parameters(size_t count) {
    out_ += '(';
    for (size_t i = 0; i < count; ++i) {
      if (i) out_ += ", ";
      if (random_.Percent(15)) out_ += "optional ";
      if (random_.Percent(8)) out_ += "out ";
      Type();
      out_ += ' ';
      out_ += random_.Pick(kFields);
      if (random_.Percent(3)) out_ += " = 1";
    }
    out_ += ')';
  }

  // A declaration without a body: native, an event, a delegate or an
  // operator.
  void Bodiless(bool operators) {
    DocBefore("");
    if (operators) {
      const auto& op = kOperators[random_.Next() % std::size(kOperators)];
      const char* type = random_.Pick(kPlainTypes);
      out_ += "native";
      if (random_.Percent(50)) out_ += "(" + std::to_string(random_.Between(100, 999)) + ")";
      out_ += " static final ";
      out_ += op.kind;
      out_ += ' ';
      out_ += op.symbol;
      out_ += " (";
      out_ += std::string(random_.Percent(20) ? "out " : "") + type + " A";
      if (op.binary) out_ += std::string(", ") + type + " B";
      out_ += ");\n";
      return;
    }
    const uint64_t roll = random_.Next() % 100;
    if (roll < 50) {
      out_ += "native";
      if (random_.Percent(60)) out_ += "(" + std::to_string(random_.Between(100, 999)) + ")";
      out_ += ' ';
      out_ += random_.Pick(kFunctionModifiers);
      Keyword("function ", "Function ");
      if (random_.Percent(50)) {
        Type();
        out_ += ' ';
      }
      out_ += std::string(random_.Pick(kVerbs)) + random_.Pick(kFields);
    } else if (roll < 85) {
      if (random_.Percent(30)) out_ += "simulated ";
      out_ += "event ";
      out_ += random_.Pick(kEvents);
    } else {
      out_ += "delegate ";
      if (random_.Percent(30)) out_ += "bool ";
      out_ += "On";
      out_ += random_.Pick(kEvents);
    }
    Parameters(random_.Between(0, 3));
    if (random_.Percent(5)) out_ += " const";
    out_ += ';';
    LineEnd(15);
  }

  void Statement(const std::string& indent, int depth) {
    out_ += indent;
    switch (random_.Next() % 11) {
      case 0:
        out_ += "// ";
        Sentence();
        out_ += '\n';
        break;
      case 1:
        out_ += Field() + " = " + Field() + " * 0.5 + " + std::to_string(random_.Between(1, 99));
        out_ += ";\n";
        break;
      case 2:
      case 3:
        if (depth < 2) {
          out_ += "if (" + Field() + (random_.Percent(50) ? " > 0" : " != None") + ")\n";
          if (random_.Percent(50)) {
            Statement(indent + "\t", 2);
          } else {
            Block(indent, depth + 1);
          }
          if (random_.Percent(30)) {
            out_ += indent + "else\n";
            Block(indent, depth + 1);
          }
        } else {
          out_ += "return;\n";
        }
        break;
      case 4:
        if (depth < 2) {
          out_ += "for (i = 0; i < " + Field() + ".Length; i++)\n";
          Block(indent, depth + 1);
        } else {
          out_ += "i++;\n";
        }
        break;
      case 5:
        out_ += "GotoState('";
        out_ += random_.Pick(kStates);
        out_ += "');\n";
        break;
      case 6:
        out_ += "Log(\"" + Field() + " is \" $ " + Field() + ");\n";
        break;
      case 7:
        out_ += "Super.";
        out_ += random_.Pick(kEvents);
        out_ += "(Other);\n";
        break;
      default:
        out_ += random_.Pick(kVerbs);
        out_ += random_.Pick(kFields) + std::string("(") + Field() + ", '" + random_.Pick(kTopics);
        out_ += "');\n";
        break;
    }
  }

  void Block(const std::string& indent, int depth) {
    out_ += indent + "{\n";
    const std::string deeper = indent + "\t";
    for (size_t i = random_.Between(1, 3); i > 0; --i) Statement(deeper, depth);
    out_ += indent + "}\n";
  }

  void Function(const std::string& indent) {
    DocBefore(indent.c_str());
    out_ += indent;
    out_ += random_.Pick(kFunctionModifiers);
    if (random_.Percent(25)) {
      Keyword("event ", "Event ");
      out_ += random_.Pick(kEvents);
    } else {
      Keyword("function ", "Function ");
      if (random_.Percent(40)) {
        Type();
        out_ += ' ';
      }
      out_ += std::string(random_.Pick(kVerbs)) + random_.Pick(kFields);
    }
    Parameters(random_.Between(0, 4));
    out_ += '\n' + indent + "{\n";
    const std::string deeper = indent + "\t";
    const bool counter = random_.Percent(50);
    const bool other = random_.Percent(30);
    if (counter) out_ += deeper + "local int i;\n";
    if (other) out_ += deeper + "local " + random_.Pick(kObjectTypes) + " Other;\n";
    if ((counter || other) && random_.Percent(50)) out_ += '\n';
    const size_t statements = random_.Percent(85) ? random_.Between(1, 6) : random_.Between(6, 16);
    for (size_t i = 0; i < statements; ++i) Statement(deeper, 0);
    out_ += indent + "}\n\n";
  }

  void State() {
    DocBefore("");
    if (random_.Percent(20)) out_ += "auto ";
    if (random_.Percent(15)) out_ += "simulated ";
    Keyword("state", "State");
    if (random_.Percent(40)) out_ += "()";
    out_ += ' ';
    out_ += random_.Pick(kStates);
    if (random_.Percent(30)) {
      out_ += random_.Percent(70) ? " extends " : " expands ";
      out_ += random_.Pick(kStates);
    }
    out_ += "\n{\n";
    if (random_.Percent(40)) {
      out_ += "\tignores ";
      for (size_t i = random_.Between(1, 4); i > 0; --i) {
        out_ += random_.Pick(kEvents);
        out_ += i > 1 ? ", " : ";\n\n";
      }
    }
    for (size_t i = random_.Between(0, 3); i > 0; --i) Function("\t");
    if (random_.Percent(70)) {
      const std::string label = random_.Pick(kLabels);
      out_ += label + ":\n";
      for (size_t i = random_.Between(1, 5); i > 0; --i) Statement("\t", 2);
      out_ +=
          "\tSleep(" + std::to_string(random_.Between(1, 9)) + ".0);\n\tGoto('" + label + "');\n";
    }
    out_ += "}\n\n";
  }

  void Replication(const std::string& fields) {
    out_ += "replication\n{\n";
    if (random_.Percent(50)) out_ += "\t// What the host sends to everyone.\n";
    out_ += "\treliable if (Side == SIDE_Host)\n\t\t" + fields + ";\n";
    if (random_.Percent(40)) out_ += "\tunreliable if (Side == SIDE_Host && bOwned)\n\t\tHeat;\n";
    out_ += "}\n\n";
  }

  void CppText() {
    out_ += "cpptext\n{\n\tvirtual void Advance(float Delta);\n";
    out_ += "\tbool IsAwake() const { return Awake != 0; }\n}\n\n";
  }

  void Defaults(const std::string& name, size_t lines) {
    Keyword("defaultproperties\n{\n", "DefaultProperties\n{\n");
    for (size_t i = lines; i > 0; --i) {
      out_ += '\t';
      out_ += Field();
      const uint64_t roll = random_.Next() % 10;
      if (roll < 2) Index('(', random_.Between(0, 3), ')');
      if (roll == 2) Index('[', random_.Between(0, 3), ']');
      out_ += '=';
      switch (random_.Next() % 5) {
        case 0:
          out_ += std::to_string(random_.Between(0, 900)) + ".000000";
          break;
        case 1:
          out_ += random_.Percent(50) ? "True" : "False";
          break;
        case 2:
          out_ += "\"" + name + "\"";
          break;
        case 3:
          out_ += "(X=" + std::to_string(random_.Between(0, 64)) + ",Y=2,Z=0)";
          break;
        default:
          out_ += std::to_string(random_.Between(0, 255));
          break;
      }
      out_ += '\n';
    }
    if (random_.Percent(6)) {
      out_ += "\tBegin Object Class=GlowMark Name=GlowMark0\n\t\tRadius=64\n";
      out_ += "\t\tTint=(R=255,G=180,B=40)\n\tEnd Object\n\tMark=GlowMark'GlowMark0'\n";
    }
    out_ += "}\n";
  }

 private:
  // A number between brackets: an array's size or an element's index.
  void Index(char open, size_t number, char close) {
    out_ += open;
    out_ += std::to_string(number);
    out_ += close;
  }

  std::string UpperField() {
    std::string field = random_.Pick(kFields);
    for (char& c : field) c = static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
    return field;
  }

  std::string& out_;
  Random& random_;
};

// Turns the tabs that indent each line into four spaces each.
void IndentWithSpaces(std::string& text) {
  std::string spaced;
  spaced.reserve(text.size() + text.size() / 8);
  bool indenting = true;
  for (char c : text) {
    if (indenting && c == '\t') {
      spaced += "    ";
      continue;
    }
    indenting = c == '\n';
    spaced += c;
  }
  text.swap(spaced);
}

// How many directive lines a script has: most none, some a few, a few many
// (the scripts that bring in their art).
size_t DirectiveCount(Random& random, size_t target) {
  const uint64_t roll = random.Next() % 100;
  if (roll < 65) return 0;
  if (roll < 90) return random.Between(1, 8);
  return random.Between(8, 20 + target / 120);
}

// How many states: most scripts none, some one, a few several.
size_t StateCount(Random& random) {
  const uint64_t roll = random.Next() % 100;
  if (roll < 78) return 0;
  if (roll < 90) return 1;
  return random.Between(2, 4);
}

}  // namespace

GeneratedScript RealisticScript(const std::string& name, const std::string& super_name,
                                Random& random) {
  const size_t target = TargetSize(random);
  std::string out;
  out.reserve(target + 2048);
  ScriptWriter writer(out, random);
  writer.Header(name);
  writer.ClassStatement(name, super_name);
  writer.Directives(name, DirectiveCount(random, target));
  if (random.Percent(25)) writer.Constants();
  if (random.Percent(15)) writer.Enumeration();
  if (random.Percent(12)) writer.Structure();
  const size_t variables = random.Between(0, 1 + target / 220);
  for (size_t i = 0; i < variables; ++i) writer.Variable(name);
  if (variables) out += '\n';

  // The end of the script is written apart, so that the functions between
  // can fill the script to its size.
  std::string tail;
  ScriptWriter tail_writer(tail, random);
  const size_t states = StateCount(random);
  for (size_t i = 0; i < states; ++i) tail_writer.State();
  if (random.Percent(15)) tail_writer.Replication(tail_writer.Field() + ", " + tail_writer.Field());
  if (random.Percent(5)) tail_writer.CppText();
  if (random.Percent(85)) tail_writer.Defaults(name, random.Between(1, 3 + target / 400));

  if (random.Percent(3)) {
    for (size_t i = random.Between(4, 12); i > 0; --i) writer.Bodiless(true);
    out += '\n';
  }
  // Stops when half a function more would pass the size, so that the sizes
  // come out about as aimed.
  while (out.size() + tail.size() + 200 < target) {
    if (random.Percent(30)) {
      writer.Bodiless(false);
    } else {
      writer.Function("");
    }
  }
  if (!out.ends_with("\n\n")) out += '\n';
  out += tail;
  // Some authors indent with spaces; some scripts were saved with Windows
  // line ends.
  if (random.Percent(25)) IndentWithSpaces(out);
  if (random.Percent(8)) UseCrLf(out);
  return {std::move(out), states};
}

}  // namespace bench

// The complete reader's subtle rules, one script each: what every record
// holds is written out one member a line and compared with what the script
// says.
#include "reader/complete_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "model/declaration_text.h"
#include "model/model_codec.h"

namespace {

std::string Text(const model::OptionalText& text) {
  return text ? "\"" + std::string(*text) + "\"" : "-";
}

// Every record and member of the last read, one to a line.
std::string Describe(const reader::CCompleteParser& parser) {
  std::string out;
  for (size_t r = 0; r < parser.Count(); ++r) {
    const model::RecordModel& m = parser.Record(r);
    out += (m.isState ? "state " : "class ") + std::string(m.name) + " extends " + Text(m.extends) +
           " within " + Text(m.within) + " mods";
    for (std::string_view word : m.Span(m.modifiers)) out += " " + std::string(word);
    out += " ignores";
    for (std::string_view word : m.Span(m.ignores)) out += " " + std::string(word);
    out += " line " + std::to_string(m.line) + " doc " + Text(m.doc) + "\n";
    for (const model::Constant& c : m.constants) {
      out += "  const " + std::string(c.name) + " = " + std::string(c.value) + " doc " +
             Text(c.doc) + "\n";
    }
    for (const model::Enumeration& e : m.enums) {
      out += "  enum " + std::string(e.name) + ":";
      for (std::string_view value : m.Span(e.values)) out += " " + std::string(value);
      out += "\n";
    }
    for (const model::Structure& s : m.structs) {
      out += "  struct " + std::string(s.name) + " extends " + Text(s.extends) + "\n";
    }
    for (const model::Variable& v : m.variables) {
      std::string declaration;
      model::AppendDeclaration(declaration, m, v);
      out += "  " + declaration + " (in " + std::to_string(v.structure) + ", line " +
             std::to_string(v.line) + ") doc " + Text(v.doc) + "\n";
    }
    for (const model::Function& f : m.functions) {
      std::string declaration;
      model::AppendDeclaration(declaration, m, f);
      out += "  " + declaration + (f.body ? " {}" : ";") + " name " + std::string(f.name) +
             " doc " + Text(f.doc) + "\n";
    }
    for (const model::DefaultProperty& d : m.defaults) {
      out += "  default " + std::string(d.key) + " = [" + std::string(d.value) + "] line " +
             std::to_string(d.line) + "\n";
    }
  }
  return out;
}

struct Case {
  const char* rule;
  std::string_view script;
  std::string_view records;
};

using namespace std::string_view_literals;

const Case kCases[] = {
    {"keywords in any case, either word for the superclass",
     "CLASS Foo EXPANDS Bar Within Outer NATIVE Config(Game);\nVAR Int X;\nFunction F();",
     "class Foo extends \"Bar\" within \"Outer\" mods NATIVE Config(Game) ignores line 1 doc -\n"
     "  var Int X (in 0, line 2) doc -\n"
     "  function F(); name F doc -\n"},
    {"comments, strings and name literals hide braces, semicolons and keywords",
     "class A extends B;\n"
     "function F() { Log(\"} var int No;\"); X = '}'; /* } */ // }\n"
     "\tSomeRatherLongName = OtherLongName[Index] + \"}\"; Nested { Deeper { } }\n#if {\n }\n"
     "var int Yes;",
     "class A extends \"B\" within - mods ignores line 1 doc -\n"
     "  var int Yes (in 0, line 6) doc -\n"
     "  function F() {} name F doc -\n"},
    {"directives end at their line end and declare nothing",
     "class A;\n#exec OBJ LOAD FILE=x.u {\n  #include \"y\" ;\nvar int X;",
     "class A extends - within - mods ignores line 1 doc -\n"
     "  var int X (in 0, line 4) doc -\n"},
    {"several names per var, sizes, inline enumeration, var() takes the class's name",
     "class A;\nvar() int B, C[2];\nvar enum EGait { G_Walk, G_Run, } Gait;\n"
     "var(Look) array< class<A> > Kin;",
     "class A extends - within - mods ignores line 1 doc -\n"
     "  enum EGait: G_Walk G_Run\n"
     "  var(A) int B (in 0, line 2) doc -\n"
     "  var(A) int C[2] (in 0, line 2) doc -\n"
     "  var EGait Gait (in 0, line 3) doc -\n"
     "  var(Look) array< class<A> > Kin (in 0, line 4) doc -\n"},
    {"structures keep their members apart from the class's",
     "class A;\nstruct native Pair extends Base { var int L, R; struct Inner { var int I; }; };\n"
     "var Pair P;",
     "class A extends - within - mods ignores line 1 doc -\n"
     "  struct Pair extends \"Base\"\n"
     "  struct Inner extends -\n"
     "  var int L (in 1, line 2) doc -\n"
     "  var int R (in 1, line 2) doc -\n"
     "  var int I (in 2, line 2) doc -\n"
     "  var Pair P (in 0, line 3) doc -\n"},
    {"operators are named by their symbols; parameters keep modifiers and defaults",
     "class A;\n"
     "native(140) static final preoperator int ++ (out int X);\n"
     "native final operator(16) float *(float A, float B);\n"
     "static final postoperator int -- ( out int X ) { return X; }\n"
     "function bool Hit(coerce Actor Other, optional float Damage = 1.5, skip int Flags[4]) "
     "const;\n"
     "delegate OnWake();",
     "class A extends - within - mods ignores line 1 doc -\n"
     "  native(140) static final preoperator int ++(out int X); name ++ doc -\n"
     "  native final operator(16) float *(float A, float B); name * doc -\n"
     "  static final postoperator int --(out int X) {} name -- doc -\n"
     "  const function bool Hit(coerce Actor Other, optional float Damage = 1.5, skip int "
     "Flags); name Hit doc -\n"
     "  delegate OnWake(); name OnWake doc -\n"},
    {"states: labels and code declare nothing; ignores; a state extends a state",
     "class A;\nauto state() Idle extends Resting\n{\n  ignores Touch, Bump;\n"
     "  function Wake() { GotoState('Awake'); }\nBegin:\n  Sleep(1.0);\n  goto 'Begin';\n}\n"
     "state Resting { event Landed(); }\nfunction AfterStates();",
     "class A extends - within - mods ignores line 1 doc -\n"
     "  function AfterStates(); name AfterStates doc -\n"
     "state Idle extends \"Resting\" within - mods auto ignores Touch Bump line 2 doc -\n"
     "  function Wake() {} name Wake doc -\n"
     "state Resting extends - within - mods ignores line 10 doc -\n"
     "  event Landed(); name Landed doc -\n"},
    {"documentation: /** */ first, then a comment on the line it ends, then the // run",
     "//=====\n// A: the first of all.\n//=====\nclass A;\n"
     "// Run for B.\n/** Doc of B. */\nvar int B; // After B.\n"
     "// Run for C,\n// two lines.\nvar int C; // After C.\n"
     "// Run for D.\n\nvar int D;\n"
     "// Run for E.\nvar int E;\n"
     "/* Plain block. */\nvar int F;\n",
     "class A extends - within - mods ignores line 4 doc \"the first of all.\"\n"
     "  var int B (in 0, line 7) doc \"Doc of B.\"\n"
     "  var int C (in 0, line 10) doc \"After C.\"\n"
     "  var int D (in 0, line 13) doc -\n"
     "  var int E (in 0, line 15) doc \"Run for E.\"\n"
     "  var int F (in 0, line 17) doc -\n"},
    {"default properties: one entry a line, indexes kept, groups whole, CR LF",
     "class A;\r\ndefaultproperties\r\n{\r\n  Speed=320.0\r\n  Leader(0)=None\r\n"
     "  Kin[1] = class'A' // comment\r\n  Begin Object Class=Light Name=L0\r\n    B=2\r\n"
     "  End Object\r\n  Tag=\"a}b\"\r\n}\r\nvar int After;\r\n",
     "class A extends - within - mods ignores line 1 doc -\n"
     "  var int After (in 0, line 12) doc -\n"
     "  default Speed = [320.0] line 4\n"
     "  default Leader(0) = [None] line 5\n"
     "  default Kin[1] = [class'A'] line 6\n"
     "  default Begin Object = [Class=Light Name=L0\r\n    B=2] line 7\n"
     "  default Tag = [\"a}b\"] line 10\n"},
    {"block comments nest, in code and in documentation",
     "class A;\n/* disabled:\nfunction Old() { Log(\"a\"); } /* was: Log(\"b\") */\n"
     "function AlsoOld() {}\n*/\nfunction Real() {}\n/** Outer /* inner */ end. */\nvar int V;",
     "class A extends - within - mods ignores line 1 doc -\n"
     "  var int V (in 0, line 8) doc \"Outer /* inner */ end.\"\n"
     "  function Real() {} name Real doc -\n"},
    {"a byte-order mark is no text; a NUL is a byte like any other",
     "\xEF\xBB\xBF"
     "class A extends B;\ndefaultproperties\n{\n  Raw=\"x\0\x01y\"\n  After=2\n}\nvar int V;"sv,
     "class A extends \"B\" within - mods ignores line 1 doc -\n"
     "  var int V (in 0, line 7) doc -\n"
     "  default Raw = [\"x\0\x01y\"] line 4\n"
     "  default After = [2] line 5\n"sv},
    {"a state's code declares nothing, even where a variable is named like a keyword",
     "class A;\nstate S\n{\nBegin:\n  Sleep(1);\n"
     "  if (Event != '') ForEachThing(class'Entity', E, Event);\n  Event = Pick(Function);\n"
     "  Event.Fire(Delegate);\n}\nfunction After();",
     "class A extends - within - mods ignores line 1 doc -\n"
     "  function After(); name After doc -\n"
     "state S extends - within - mods ignores line 2 doc -\n"},
    {"default properties end at their closing brace, wherever it stands; comments are no "
     "entries",
     "class A;\ndefaultproperties { Speed=1; Tag=\"}\" }\nfunction After();\n"
     "defaultproperties\n{\n  /* Old=1\n  Older=2 /* nested */ */ Kept=3\n"
     "  Two=4 /* cut */\n  Deep={ 5 }\n} state S {}",
     "class A extends - within - mods ignores line 1 doc -\n"
     "  function After(); name After doc -\n"
     "  default Speed = [1] line 2\n"
     "  default Tag = [\"}\"] line 2\n"
     "  default Kept = [3] line 7\n"
     "  default Two = [4] line 8\n"
     "  default Deep = [{ 5 }] line 9\n"
     "state S extends - within - mods ignores line 10 doc -\n"},
    {"what cannot be read is passed over: no class statement, stray braces, a cut-off body",
     "}} var int X;\nfunction F() { if (a) {\n  Log(\"open);\n",
     "class  extends - within - mods ignores line 0 doc -\n"
     "  var int X (in 0, line 1) doc -\n"
     "  function F() {} name F doc -\n"},
};

TEST(CompleteReader, ReadsEveryRule) {
  reader::CCompleteParser parser;
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.rule);
    ASSERT_TRUE(parser.Read(c.script));
    EXPECT_EQ(Describe(parser), c.records);
  }
}

// A model unpacked into the room of a much larger one gives that room back:
// the caches of unpacked models would otherwise each keep the largest
// record's room that ever passed through them.
TEST(CompleteReader, ModelUnpackedAgainKeepsOnlyTheRoomItNeeds) {
  reader::CCompleteParser parser;
  std::string big_script = "class Big;\n";
  for (int k = 0; k < 200; ++k) big_script += "var int V" + std::to_string(k) + ";\n";
  std::string big;
  std::string small;
  ASSERT_TRUE(parser.Read(big_script));
  model::PackModel(parser.Record(0), big);
  ASSERT_TRUE(parser.Read("class Small;\nvar int X;\n"));
  model::PackModel(parser.Record(0), small);
  model::RecordModel unpacked;
  model::UnpackModel(big, unpacked);
  ASSERT_EQ(unpacked.variables.size(), 200u);
  model::UnpackModel(small, unpacked);
  ASSERT_EQ(unpacked.variables.size(), 1u);
  EXPECT_EQ(unpacked.variables[0].name, "X");
  EXPECT_LT(unpacked.variables.capacity(), 200u);
}

}  // namespace

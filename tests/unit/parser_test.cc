// The declaration parser on condensed scripts: class statements, states and
// the declarations of each record.
#include "reader/parser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Texts = std::vector<std::string>;

// A record's declarations of one kind, as plain strings to compare.
Texts Copy(const CTextList& texts) {
  return Texts(texts.begin(), texts.end());
}

// Condenses and parses `script` into `list` as the scan does.
void Parse(CClassList& list, const std::string& script) {
  CSourceBuffer buffer;
  ASSERT_TRUE(buffer.SetText(script));
  ASSERT_TRUE(buffer.Condense());
  ASSERT_TRUE(ParseSource(list, buffer));
}

TEST(Parser, ClassStatement) {
  CClassList list;
  Parse(list, "class Foo expands Bar native;");
  Parse(list, "class Foo;");
  Parse(list, "Class Foo;");
  Parse(list, "class Foo extends Bar;");
  Parse(list, "class;");
  ASSERT_EQ(list.Count(), 5u);
  EXPECT_EQ(list.At(0).name(), "Foo");
  EXPECT_EQ(list.At(0).superName(), "Bar");
  EXPECT_EQ(list.At(1).name(), "Foo");
  EXPECT_EQ(list.At(1).superName(), "");
  EXPECT_EQ(list.At(2).name(), "");  // "class" matches only in lower case
  EXPECT_EQ(list.At(3).name(), "Foo");
  EXPECT_EQ(list.At(3).superName(), "");  // "expands" is the only word for it
  EXPECT_EQ(list.At(4).name(), "");
  for (size_t i = 0; i < list.Count(); ++i) EXPECT_EQ(list.At(i).isState, 0);
}

TEST(Parser, DeclarationsAreStoredAsCondensedStatements) {
  CClassList list;
  Parse(list,
        "class A;\n"
        "var() int X;\n"
        "VAR int NotAVar;\n"
        "var int Y, Z ;\n"
        "simulated function PostBeginPlay() { if (a) { b(\"}\"); } c = '{'; }\n"
        "native function Bodiless();\n"
        "event Declared();\n"
        "Final FUNCTION int Sum( int a, int b )\n{ return a+b; }\n"
        "EVENT Touch(Actor Other) { }\n"
        "defaultproperties { X=1 }\n");
  ASSERT_EQ(list.Count(), 1u);
  const CClassRecord& a = list.At(0);
  EXPECT_EQ(Copy(a.vars()), (Texts{"var () int X", "var int Y, Z "}));
  EXPECT_EQ(Copy(a.functions()), (Texts{"simulated function PostBeginPlay () ",
                                        "Final FUNCTION int Sum ( int a, int b) "}));
  EXPECT_EQ(Copy(a.events()), (Texts{"EVENT Touch (Actor Other) "}));
}

TEST(Parser, EveryStateGetsItsOwnRecord) {
  CClassList list;
  Parse(list,
        "class Pawn expands Actor;\n"
        "var int Health;\n"
        "function Died() { if (x) { y(); } s = \"}\"; }\n"
        "state Dying\n{\n  event BeginState() { }\n  function Timer() { }\n}\n"
        "var float Speed;\n"
        "auto state Idle { ignores Bump; var int Ignored; event Tick(float d) { } }\n"
        "state() Editable { }\n"
        "state { }\n"
        "event Landed() { }\n");
  ASSERT_EQ(list.Count(), 5u);
  const CClassRecord& pawn = list.At(0);
  EXPECT_EQ(pawn.name(), "Pawn");
  EXPECT_EQ(Copy(pawn.vars()), (Texts{"var int Health", "var float Speed"}));
  EXPECT_EQ(Copy(pawn.functions()), (Texts{"function Died () "}));
  EXPECT_EQ(Copy(pawn.events()), (Texts{"event Landed () "}));

  const CClassRecord& dying = list.At(1);
  EXPECT_EQ(dying.isState, 1);
  EXPECT_EQ(dying.name(), "Dying");
  EXPECT_EQ(dying.parent, &pawn);
  EXPECT_EQ(Copy(dying.events()), (Texts{"event BeginState () "}));
  EXPECT_EQ(Copy(dying.functions()), (Texts{"function Timer () "}));

  const CClassRecord& idle = list.At(2);
  EXPECT_EQ(idle.name(), "Idle");
  EXPECT_EQ(Copy(idle.vars()), (Texts{"var int Ignored"}));
  EXPECT_EQ(Copy(idle.events()), (Texts{"event Tick (float d) "}));

  EXPECT_EQ(list.At(3).name(), "Editable");  // the parenthesised group is passed over
  EXPECT_EQ(list.At(4).name(), "");          // a bare "state"
  EXPECT_EQ(list.At(4).parent, &pawn);
}

TEST(Parser, StatesDoNotTakeStates) {
  CClassList list;
  Parse(list, "class A; state Outer { state Inner { function Hidden() {} } function F() {} }");
  ASSERT_EQ(list.Count(), 2u);
  EXPECT_EQ(list.At(1).name(), "Outer");
  EXPECT_EQ(Copy(list.At(1).functions()), (Texts{"function F () "}));
}

TEST(Parser, StatementEndingAtAClosingBrace) {
  CClassList list;
  // Inside a state, a declaration cut short by "}" is still taken, and the
  // "}" ends the state.
  Parse(list, "class A; state S { var int InState } var int AfterState;");
  // At class level an unbalanced "}" ends a statement and parsing goes on.
  Parse(list, "class B; } var int X; var int Y } var int Z;");
  ASSERT_EQ(list.Count(), 3u);
  EXPECT_EQ(Copy(list.At(1).vars()), (Texts{"var int InState "}));
  EXPECT_EQ(Copy(list.At(0).vars()), (Texts{"var int AfterState"}));
  EXPECT_EQ(list.At(2).name(), "B");
  EXPECT_EQ(Copy(list.At(2).vars()), (Texts{"var int X", "var int Y ", "var int Z"}));
}

TEST(Parser, QuotedSeparatorsDoNotEndStatements) {
  CClassList list;
  Parse(list,
        "class Q;\n"
        "var string Sep \"a;b{c}\";\n"
        "function F(string s = \"{;}\", name n = 'x}') { s = \"}}}\"; }\n"
        "state S { event E() { Log(\"'\"); } }\n"
        "event After() { }\n");
  ASSERT_EQ(list.Count(), 2u);
  EXPECT_EQ(Copy(list.At(0).vars()), (Texts{"var string Sep \"a;b{c}\""}));
  EXPECT_EQ(Copy(list.At(0).functions()),
            (Texts{"function F (string s = \"{;}\", name n = 'x}') "}));
  EXPECT_EQ(Copy(list.At(0).events()), (Texts{"event After () "}));
  EXPECT_EQ(Copy(list.At(1).events()), (Texts{"event E () "}));
}

TEST(Parser, NoStoredTextStartsWithABrace) {
  CClassList list;
  Parse(list, "class A; state S { } function Bar() { } state T { event E() { } } var int V;");
  ASSERT_EQ(list.Count(), 3u);
  EXPECT_EQ(Copy(list.At(0).functions()), (Texts{"function Bar () "}));
  EXPECT_EQ(Copy(list.At(0).vars()), (Texts{"var int V"}));
  EXPECT_EQ(Copy(list.At(2).events()), (Texts{"event E () "}));
}

TEST(Parser, ScriptWithoutClassStatement) {
  CClassList list;
  Parse(list, "// nothing but a comment\nvar int Loose;");
  ASSERT_EQ(list.Count(), 1u);
  EXPECT_EQ(list.At(0).name(), "");
  EXPECT_EQ(Copy(list.At(0).vars()), (Texts{"var int Loose"}));
}

TEST(Parser, LastStatementWithoutTerminator) {
  CClassList list;
  Parse(list, "var int A; class Last expands Base");
  EXPECT_EQ(list.At(0).name(), "Last");
  EXPECT_EQ(list.At(0).superName(), "Base");
  EXPECT_EQ(Copy(list.At(0).vars()), (Texts{"var int A"}));
}

TEST(Parser, UnterminatedInputEndsTheParse) {
  CClassList list;
  Parse(list, "class U; function F() { if (a) { b; ");  // body never closed
  Parse(list, "class V; var string S \"never closed; var int X;");
  Parse(list, "class W; var int A; /* comment never closed var int B;");
  Parse(list, "class X; state S { function F() { } ");  // state never closed
  ASSERT_EQ(list.Count(), 5u);
  EXPECT_EQ(Copy(list.At(0).functions()), (Texts{"function F () "}));
  EXPECT_EQ(Copy(list.At(1).vars()), (Texts{"var string S \"never closed; var int X;"}));
  EXPECT_EQ(Copy(list.At(2).vars()), (Texts{"var int A"}));
  EXPECT_EQ(list.At(4).name(), "S");
  EXPECT_EQ(Copy(list.At(4).functions()), (Texts{"function F () "}));
}

TEST(Parser, BodiesWithNestedBracesAndQuotesAreSkipped) {
  CClassList list;
  Parse(list,
        "class N;\n"
        "function A() { if (x) { while (y) { s = \"{\"; t = '}'; } } u = \"it's\"; }\n"
        "function B() { }\n");
  EXPECT_EQ(Copy(list.At(0).functions()), (Texts{"function A () ", "function B () "}));
}

}  // namespace

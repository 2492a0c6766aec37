// The record list: superclass linking and the name order of the records.
#include "model/class_list.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "model/names.h"

namespace {

CClassRecord* AddClass(CClassList& list, const std::string& name, const std::string& super = "") {
  CClassRecord* record = list.CreateRecord();
  list.SetTexts(*record, {.name = name, .superName = super});
  return record;
}

CClassRecord* AddState(CClassList& list, CClassRecord* owner, const std::string& name) {
  CClassRecord* record = list.CreateRecord();
  record->isState = 1;
  list.SetTexts(*record, {.name = name});
  record->parent = owner;
  return record;
}

std::vector<std::string> Names(const CClassList& list) {
  std::vector<std::string> names;
  for (size_t i = 0; i < list.Count(); ++i) names.emplace_back(list.At(i).name());
  return names;
}

TEST(ClassList, CreatedRecordsAreEmptyAndAppended) {
  CClassList list;
  CClassRecord* a = list.CreateRecord();
  CClassRecord* b = list.CreateRecord();
  ASSERT_EQ(list.Count(), 2u);
  EXPECT_EQ(&list.At(0), a);
  EXPECT_EQ(&list.At(1), b);
  EXPECT_EQ(a->isState, 0);
  EXPECT_TRUE(a->name().empty() && a->superName().empty() && a->vars().empty() &&
              a->functions().empty() && a->events().empty());
  EXPECT_EQ(a->parent, nullptr);
}

TEST(ResolveParents, LinksToFirstClassOfTheNameIgnoringCase) {
  CClassList list;
  CClassRecord* pawn = AddClass(list, "Pawn", "actor");
  CClassRecord* state = AddState(list, pawn, "Actor");  // a state never becomes a superclass
  CClassRecord* actor1 = AddClass(list, "ACTOR");
  CClassRecord* actor2 = AddClass(list, "Actor");
  CClassRecord* other = AddClass(list, "Other", "aCtOr");
  list.ResolveParents();
  EXPECT_EQ(pawn->parent, actor1);
  EXPECT_EQ(other->parent, actor1);
  EXPECT_EQ(state->parent, pawn);
  EXPECT_EQ(actor1->parent, nullptr);
  EXPECT_EQ(actor2->parent, nullptr);
}

TEST(ResolveParents, MissingAndEmptySuperclassesStayRoots) {
  CClassList list;
  CClassRecord* nameless = AddClass(list, "");  // a script without a class statement
  CClassRecord* root = AddClass(list, "Root");
  CClassRecord* orphan = AddClass(list, "Orphan", "NotParsed");
  list.ResolveParents();
  EXPECT_EQ(nameless->parent, nullptr);
  EXPECT_EQ(root->parent, nullptr);
  EXPECT_EQ(orphan->parent, nullptr);
}

TEST(ResolveParents, NoRecordBecomesItsOwnAncestor) {
  CClassList list;
  CClassRecord* self = AddClass(list, "Self", "self");
  // Two-cycle: A is linked first, so B is the one that would close it.
  CClassRecord* a = AddClass(list, "A", "B");
  CClassRecord* b = AddClass(list, "B", "A");
  // Three-cycle in list order X, Y, Z: Z closes it.
  CClassRecord* x = AddClass(list, "X", "Y");
  CClassRecord* y = AddClass(list, "Y", "Z");
  CClassRecord* z = AddClass(list, "Z", "X");
  // A cycle member's subclass hangs on as usual.
  CClassRecord* sub = AddClass(list, "Sub", "Y");
  list.ResolveParents();
  EXPECT_EQ(self->parent, nullptr);
  EXPECT_EQ(a->parent, b);
  EXPECT_EQ(b->parent, nullptr);
  EXPECT_EQ(x->parent, y);
  EXPECT_EQ(y->parent, z);
  EXPECT_EQ(z->parent, nullptr);
  EXPECT_EQ(sub->parent, y);
}

TEST(ResolveParents, CycleIsCutWhereItsLastLinkWouldClose) {
  // In list order C (-> A), A (-> B), B (-> C): linking C and A is fine, B
  // would close the cycle.
  CClassList list;
  CClassRecord* c = AddClass(list, "C", "A");
  CClassRecord* a = AddClass(list, "A", "B");
  CClassRecord* b = AddClass(list, "B", "C");
  list.ResolveParents();
  EXPECT_EQ(c->parent, a);
  EXPECT_EQ(a->parent, b);
  EXPECT_EQ(b->parent, nullptr);
}

std::string Numbered(char prefix, unsigned number) {
  char text[16];
  std::snprintf(text, sizeof text, "%c%u", prefix, number);
  return text;
}

TEST(ResolveParents, EveryRecordReachesARootOnLargeRandomGraphs) {
  std::mt19937 random(7);
  for (int round = 0; round < 50; ++round) {
    CClassList list;
    int n = 1 + static_cast<int>(random() % 60);
    for (int i = 0; i < n; ++i) {
      std::string name = Numbered('C', random() % n);
      std::string super = random() % 5 ? Numbered('c', random() % n) : std::string();
      CClassRecord* r = AddClass(list, name, super);
      if (random() % 4 == 0) AddState(list, r, "S");
    }
    list.ResolveParents();
    for (size_t i = 0; i < list.Count(); ++i) {
      const CClassRecord* r = &list.At(i);
      size_t steps = 0;
      while (r->parent && steps <= list.Count()) {
        r = r->parent;
        ++steps;
      }
      EXPECT_EQ(r->parent, nullptr) << "record " << i << " of round " << round;
    }
  }
}

// The order the list must end up in: a plain selection sort that takes the
// first of the smallest names in each pass and always exchanges.
std::vector<const CClassRecord*> SelectionSorted(const CClassList& list) {
  std::vector<const CClassRecord*> records;
  for (size_t i = 0; i < list.Count(); ++i) records.push_back(&list.At(i));
  for (size_t i = 0; i + 1 < records.size(); ++i) {
    size_t m = i;
    for (size_t j = i; j < records.size(); ++j) {
      if (CompareNoCase(records[j]->name(), records[m]->name()) < 0) m = j;
    }
    std::swap(records[i], records[m]);
  }
  return records;
}

TEST(SortByName, SmallCasesTieOrder) {
  {
    CClassList list;
    for (const char* name : {"b", "A", "a"}) AddClass(list, name);
    list.SortByName();
    EXPECT_EQ(Names(list), (std::vector<std::string>{"A", "a", "b"}));
  }
  {
    CClassList list;
    for (const char* name : {"a", "B", "A"}) AddClass(list, name);
    list.SortByName();
    EXPECT_EQ(Names(list), (std::vector<std::string>{"a", "A", "B"}));
  }
  {
    CClassList list;
    for (const char* name : {"zeta", "_under", "Alpha"}) AddClass(list, name);
    list.SortByName();
    EXPECT_EQ(Names(list), (std::vector<std::string>{"_under", "Alpha", "zeta"}));
  }
}

TEST(SortByName, EmptyAndSingleListsAreUnchanged) {
  CClassList empty;
  empty.SortByName();
  empty.ResolveParents();
  EXPECT_EQ(empty.Count(), 0u);
  CClassList one;
  CClassRecord* only = AddClass(one, "Only", "Only");
  one.ResolveParents();
  one.SortByName();
  EXPECT_EQ(&one.At(0), only);
  EXPECT_EQ(only->parent, nullptr);
}

TEST(SortByName, MatchesSelectionSortOnRandomListsFullOfTies) {
  std::mt19937 random(2024);
  // Long names that agree but for case in their first 8 or 16 bytes and
  // differ after them.
  const std::vector<std::string> pool = {"Idle",
                                         "idle",
                                         "IDLE",
                                         "Dying",
                                         "dying",
                                         "_a",
                                         "a",
                                         "A",
                                         "",
                                         "b",
                                         "B_",
                                         "b_",
                                         "ab",
                                         "aB",
                                         "WeaponHolderBase",
                                         "weaponholderbasex",
                                         "WEAPONHOLDERBASE_",
                                         "WeaponHo",
                                         "weaponho\xc3\x89",
                                         "WeaponHolderBas"};
  for (int round = 0; round < 400; ++round) {
    CClassList list;
    size_t n = random() % 70;
    for (size_t i = 0; i < n; ++i) AddClass(list, pool[random() % pool.size()]);
    const std::vector<const CClassRecord*> expected = SelectionSorted(list);
    list.SortByName();
    ASSERT_EQ(list.Count(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
      ASSERT_EQ(&list.At(i), expected[i]) << "position " << i << " of round " << round;
    }
  }
}

}  // namespace

namespace {

TEST(RecordTexts, KeptViewsStayValidAsTheStoreGrows) {
  CClassList list;
  CClassRecord* first = list.CreateRecord();
  const std::vector<std::string_view> vars{"var int A", ""};
  const std::string long_var = "var string " + std::string(300, 'x');
  list.SetTexts(*first, {.name = "First", .script = {"d/", "First.kc"}, .vars = vars});
  const std::string_view name = first->name();
  CClassRecord* state = AddState(list, first, "S");
  // Texts both smaller and larger than a store chunk, many times over.
  for (int i = 0; i < 2000; ++i) {
    const std::vector<std::string_view> more{long_var, std::string_view(long_var).substr(0, 5)};
    CClassRecord* r = list.CreateRecord();
    ASSERT_TRUE(list.SetTexts(*r, {.name = "Grow", .functions = more}));
  }
  const std::string huge(1 << 20, 'h');
  ASSERT_TRUE(list.SetTexts(*list.CreateRecord(), {.name = huge}));
  EXPECT_EQ(name.data(), first->name().data());
  EXPECT_EQ(name, "First");
  EXPECT_EQ(std::vector<std::string>(first->vars().begin(), first->vars().end()),
            (std::vector<std::string>{"var int A", ""}));
  EXPECT_TRUE(first->events().empty() && first->functions().empty());
  EXPECT_EQ(list.At(1000).functions().size(), 2u);
  EXPECT_EQ(*list.At(1000).functions().begin(), long_var);
  EXPECT_EQ(list.At(list.Count() - 1).name(), huge);
  // A state's script is its class's.
  EXPECT_EQ(first->scriptPath(), "d/First.kc");
  EXPECT_EQ(state->scriptPath(), "d/First.kc");
  // A file not named after its class, in the same directory, and one at the
  // top.
  CClassRecord* other = list.CreateRecord();
  list.SetTexts(*other, {.name = "First", .script = {"d/", "first.KC"}});
  EXPECT_EQ(other->scriptPath(), "d/first.KC");
  list.SetTexts(*other, {.name = "Top", .script = {"", "Top.kc"}});
  EXPECT_EQ(other->scriptPath(), "Top.kc");
}

}  // namespace

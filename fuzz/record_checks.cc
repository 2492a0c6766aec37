#include "fuzz/record_checks.h"

#include <algorithm>
#include <string>

#include "fuzz/fuzz_check.h"
#include "model/names.h"

namespace {

bool IsPiece(std::string_view text, std::string_view piece) {
  return text.find(piece) != std::string_view::npos;
}

bool ContainsNoCase(std::string_view text, std::string_view word) {
  return FoldCase(text).find(word) != std::string::npos;
}

void CheckDeclarations(const CTextList& list, std::string_view text, std::string_view word) {
  for (std::string_view declaration : list) {
    FUZZ_CHECK(IsPiece(text, declaration));
    FUZZ_CHECK(ContainsNoCase(declaration, word));
  }
}

bool SameTexts(const CTextList& a, const CTextList& b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin());
}

}  // namespace

void CheckParsedRecords(const CClassList& list, size_t first, std::string_view text) {
  FUZZ_CHECK(list.Count() > first);
  const CClassRecord& owner = list.At(first);
  FUZZ_CHECK(owner.isState == 0);
  FUZZ_CHECK(owner.parent == nullptr);
  for (size_t i = first; i < list.Count(); ++i) {
    const CClassRecord& record = list.At(i);
    if (i > first) {
      FUZZ_CHECK(record.isState == 1);
      FUZZ_CHECK(record.parent == &owner);
      FUZZ_CHECK(record.superName().empty());
    }
    FUZZ_CHECK(IsPiece(text, record.name()));
    FUZZ_CHECK(IsPiece(text, record.superName()));
    for (std::string_view var : record.vars()) {
      FUZZ_CHECK(IsPiece(text, var));
      FUZZ_CHECK(var.compare(0, 3, "var") == 0);
    }
    CheckDeclarations(record.functions(), text, "function");
    CheckDeclarations(record.events(), text, "event");
  }
}

void CheckSameRecord(const CClassRecord& a, const CClassRecord& b) {
  FUZZ_CHECK(a.isState == b.isState);
  FUZZ_CHECK(a.name() == b.name());
  FUZZ_CHECK(a.superName() == b.superName());
  FUZZ_CHECK(SameTexts(a.vars(), b.vars()));
  FUZZ_CHECK(SameTexts(a.functions(), b.functions()));
  FUZZ_CHECK(SameTexts(a.events(), b.events()));
}

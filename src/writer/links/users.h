// Who uses each class, enumeration and structure of a run: the variables,
// structure members, parameters and return values whose types name it, the
// classes "within" it and the subclasses that extend it. Made in one pass
// over every record's declarations before the pages are written, then only
// read, by any number of threads at once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

class CPageContext;

class CUsers {
 public:
  static constexpr uint32_t kNoSection = UINT32_MAX;

  /// What kind of declaration a use is.
  enum class What : uint8_t { kExtends, kWithin, kVariable, kMember, kParameter, kReturn };

  /// One declaration that names a used type. Its texts are views into the
  /// record list's store.
  struct Use {
    uint32_t user = 0;        // the record declaring it: a class or a state
    uint32_t occurrence = 0;  // of its anchor's name (the function's for a parameter or return)
    What what = What::kVariable;
    std::string_view name;   // the variable, member, parameter or function
    std::string_view owner;  // the member's structure, the parameter's function
  };

  /// Reads the declarations of every record that has a rich page, classes
  /// in record order, each followed by its states.
  void Build(const CPageContext& pages, const std::vector<bool>& reachable);

  /// The uses of the class at record `i`, grouped by the class declaring
  /// them (a state's under its class), classes in record order.
  std::span<const Use> OfClass(size_t i) const { return Section(i); }

  /// The uses of the enumeration or structure whose name as declared is
  /// `name` (a view into the store, as the type table gives it), or none.
  std::span<const Use> OfMember(std::string_view name) const;

  /// The class whose group a use belongs to.
  uint32_t GroupOf(const Use& use) const { return group_[use.user]; }

 private:
  // The section of the enumeration or structure whose name is stored at
  // `name`, or kNoSection.
  uint32_t MemberSection(const char* name) const;
  std::span<const Use> Section(size_t section) const {
    return {uses_.data() + first_[section], first_[section + 1] - first_[section]};
  }

  std::vector<Use> uses_;        // by section, each in pass order
  std::vector<uint32_t> first_;  // section s: uses_[first_[s] .. first_[s + 1])
  std::vector<uint32_t> group_;  // of each record: itself, or a state's class
  // The enumerations and structures, by where their names are stored, each
  // with its section: after the records' sections, in pass order.
  std::vector<std::pair<uintptr_t, uint32_t>> members_;
};

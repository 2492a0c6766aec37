// The type names of one run: which class, enumeration or structure a type as
// written in a declaration ("Creature", "class<Creature>", "EMood",
// "Creature.EMood") names, seen from the class that declares it. Built once
// after the records are linked and sorted, and read by every writer.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class CClassList;

class CTypeTable {
 public:
  /// What a type name resolves to: a class (its record, no anchor), or an
  /// enumeration or structure (the record of the class declaring it, and
  /// the member's anchor on that class's page).
  struct Target {
    uint32_t record = kNone;
    uint8_t kind = 0;       // one of the kinds below
    std::string_view name;  // the enumeration's or structure's name as declared

    bool found() const { return record != kNone; }
  };

  static constexpr uint32_t kNone = UINT32_MAX;
  static constexpr uint8_t kClass = 0;
  static constexpr uint8_t kEnumeration = 1;
  static constexpr uint8_t kStructure = 2;

  /// Reads the enumerations and structures of every class of `list`, linked
  /// and sorted, which must outlive the table.
  void Build(const CClassList& list);

  /// The target of `type` written in a declaration of the record at
  /// `position` (a class, or a state, seen from its class); not found for
  /// built-in types, sized strings and names of nothing in the tree.
  Target Resolve(std::string_view type, size_t position) const;

  /// The part of `type` that names what it resolves to, trimmed: X of
  /// "class<X>", "array<X>" and their nestings, else the whole type (a
  /// qualified "A.B" included). A view into `type`.
  static std::string_view Named(std::string_view type);

  /// Appends the anchor of `target`, an enumeration or structure:
  /// "enum-EMood", "struct-Wound".
  static void AppendAnchor(std::string& out, const Target& target);

 private:
  struct Declared {
    std::string_view name;
    uint32_t record = 0;
    uint32_t package = 0;  // the declaring class's package number
    uint8_t kind = 0;
  };

  using DeclaredAt = std::vector<Declared>::const_iterator;

  Target Bare(std::string_view name, uint32_t context) const;
  Target Qualified(std::string_view outer, std::string_view name) const;
  // The enumerations and structures of `name`, a run of declared_.
  std::pair<DeclaredAt, DeclaredAt> DeclaredNamed(std::string_view name) const;
  // The first enumeration (else structure) of the run [first, last)
  // declared in the class at `record`.
  Target DeclaredIn(DeclaredAt first, DeclaredAt last, uint32_t record) const;
  // The first class of `name` in record order, or kNone.
  uint32_t ClassNamed(std::string_view name) const;
  // The name of a class by record, of an entry by its index in declared_.
  auto ClassName() const;
  auto DeclaredName() const;
  Target Of(const Declared& declared) const {
    return {declared.record, declared.kind, declared.name};
  }

  const CClassList* list_ = nullptr;
  // Every enumeration and structure of a class, by name without case, then
  // by record, enumerations first, then by the order declared.
  std::vector<Declared> declared_;
  // The class records in record order, which is by name.
  std::vector<uint32_t> classes_;
  // Hashed by name without case, kNone when empty: each name's first class
  // record, and the index of its first entry in declared_, with the high
  // bits of the name's hash, so that a probe decodes only names that may match.
  struct Slot {
    uint32_t number = kNone;
    uint32_t hash = 0;
  };
  std::vector<Slot> class_slots_;
  std::vector<Slot> declared_slots_;
  // Each record's package number (a state's is its class's); 0: none.
  std::vector<uint32_t> packages_;
  // The packages' names, by number less one, in the order first met.
  std::vector<std::string> package_names_;
};

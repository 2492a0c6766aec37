// Who declares each function of a class again: the class's own states, and
// the classes below it and their states (names compared without case). Built
// once per run, after the records are linked and sorted, by one walk down
// the class tree; then only read, by any number of threads at once. It also
// knows, for every function, the nearest ancestor's function it overrides.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class CClassList;

/// Bytes that bound the fixed texts of a page of overriders, less three
/// times the class's escaped name, and of one of its sections, less its
/// anchor twice, the class's escaped name twice and the function's once.
inline constexpr size_t kOverPageBytes = 1024;
inline constexpr size_t kOverSectionBytes = 256;
/// What stands between two entries of a list.
inline constexpr size_t kOverriderSeparatorBytes = 2;

class COverriders {
 public:
  static constexpr uint32_t kNone = UINT32_MAX;

  /// A function declared again: the record that does, and the name and
  /// occurrence of its first declaration of it (as its page's anchor has).
  struct Declaration {
    uint32_t record = 0;
    uint32_t occurrence = 0;
    std::string_view name;
  };

  /// Reads the functions of every record of `list`, linked and sorted,
  /// which must outlive the index.
  void Build(const CClassList& list);

  /// The record of the nearest ancestor of record `record` (for a state:
  /// its class, then the class's ancestors) that declares a function
  /// `name`, of any kind; kNone when none does.
  uint32_t Overridden(size_t record, std::string_view name) const;

  /// How many declarations override the function `name` of `record`.
  size_t Count(size_t record, std::string_view name) const;

  /// Both of the above, the function looked up once.
  struct Facts {
    uint32_t overridden = kNone;
    size_t count = 0;
  };
  Facts FactsOf(size_t record, std::string_view name) const;

  /// Puts the declarations that override the function `name` of `record`
  /// into `out`: the record's own states first, then the other records, in
  /// record order. Operators declare nothing again.
  void Collect(size_t record, std::string_view name, std::vector<Declaration>& out) const;

  /// The record's functions whose lists are long, by the position of their
  /// first declaration: the sections of its page of overriders.
  struct Section {
    std::string_view name;  // as first declared without operators
    uint32_t occurrence = 0;
    size_t count = 0;
    size_t part = 0;        // the part of the page that section starts in
    size_t chunk = 0;       // entries per part when the section spans parts; else 0
    uint32_t function = 0;  // the index of that declaration among the record's functions
  };
  /// In the order of `function`.
  void Sections(size_t record, std::vector<Section>& out) const;

  /// The index among the record's functions of the first declaration of
  /// `name` that is no operator, when others override it; else kNone.
  uint32_t FirstFunction(size_t record, std::string_view name) const;

  /// The parts of each record's page of overriders: record i has
  /// FirstPart(i + 1) - FirstPart(i) of them, numbered from FirstPart(i)
  /// among all; PartCount() in all.
  size_t FirstPart(size_t record) const { return first_part_.empty() ? 0 : first_part_[record]; }
  size_t PartCount() const { return first_part_.empty() ? 0 : first_part_.back(); }

  const CClassList& list() const { return *list_; }

  /// Lists longer than this show their first entries on the class page and
  /// the whole list on the page of overriders.
  static constexpr size_t kShown = 12;
  /// The most bytes a part of a page of overriders may have.
  static constexpr size_t kPartBytes = 500000;

 private:
  // A function name declared by one record, while the tree is walked: its
  // first declaration that is no operator, and the nearest ancestor's node
  // of the same name.
  struct Declared {
    std::string_view name;  // that declaration's; else the first operator's
    uint32_t record = 0;
    uint32_t target = kNone;  // a node index
    uint32_t occurrence = 0;
    uint32_t function = kNone;  // its index among the record's functions; kNone: operators only
  };
  // What is kept of one: a node that overrides or is overridden, with what
  // is below it.
  struct Node : Declared {
    uint32_t bytes = 0;   // of its entry in a list, separator included
    uint32_t count = 0;   // declarations overriding it, below it
    uint32_t widest = 0;  // the most bytes of one of them
    uint64_t total = 0;   // the bytes of their entries
  };

  const Node* Find(size_t record, std::string_view name) const;
  void Walk(std::vector<Declared>& declared) const;
  void Keep(const std::vector<Declared>& declared);
  void Lay();
  size_t LaySections(size_t record, std::vector<Section>* out) const;

  const CClassList* list_ = nullptr;
  // The nodes that override or are overridden, by record, then by name
  // without case.
  std::vector<Node> nodes_;
  std::vector<uint32_t> first_node_;  // of record i: [first_node_[i], first_node_[i + 1])
  // The nodes overriding node n directly: child_[first_child_[n] .. first_child_[n + 1]).
  std::vector<uint32_t> first_child_;
  std::vector<uint32_t> child_;
  std::vector<size_t> first_part_;
};

/// Appends one entry of a list of overriders: a link to the declaration,
/// named by its record ("Bat", "Creature.Idle").
void AppendOverrider(std::string& out, const CClassList& list,
                     const COverriders::Declaration& declaration);

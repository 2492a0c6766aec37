// The declaration parser as a script reader: it condenses a script, finds its
// class and states with their names and declaration texts in room of its own,
// and then makes the records. Bodies are skipped, not read.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "reader/script_reader.h"

class CDeclarationReader final : public CScriptReader {
 public:
  /// Condenses `buffer` and parses it.
  bool Read(CSourceBuffer& buffer) override;

  /// Creates the class record and keeps the last parse in it and its states.
  bool Keep(CClassList& list, const ScriptPath& script) override;

  /// Parses `text`, as condensed, which must stay until it is kept. False when
  /// room for what it declares cannot be had.
  bool Parse(const char* text);

  /// Keeps the last parse in `record`, a class record of `list`, creating a
  /// record under it for each state. False when room cannot be had; the states
  /// made are then removed again.
  bool KeepInto(CClassList& list, CClassRecord& record, const ScriptPath& script);

 private:
  // Declaration texts of one kind or another, as views into the text parsed.
  struct Declarations {
    std::vector<std::string_view> vars;
    std::vector<std::string_view> events;
    std::vector<std::string_view> functions;
  };

  // A class or state: its names, and where its declarations stand in its
  // Declarations, from `begin` up to `end`, counted as the three sizes.
  struct Level {
    std::string_view name;
    std::string_view superName;
    size_t begin[3] = {};
    size_t end[3] = {};
  };

  void ParseLevel(const char** pos, size_t at);
  RecordTexts TextsOf(size_t at, const ScriptPath& script) const;

  // Kept from script to script, so that reading does not allocate once they
  // have grown: the tokens of a statement; the class and then its states in
  // the order they are declared; the class's declarations, and those of its
  // states one state after another (states hold no states).
  std::vector<std::string_view> tokens_;
  std::vector<Level> levels_;
  size_t levelCount_ = 0;
  Declarations declarations_[2];
};

// One class or state of the parsed scripts: its names, its declarations and
// its link to the record above it in the class tree.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class CClassRecord {
 public:
  int32_t isState = 0;                 // 0 for a class, 1 for a state
  std::string name;                    // class or state name
  std::vector<std::string> vars;       // variable declarations, in the order found
  std::vector<std::string> functions;  // function declarations, in the order found
  std::vector<std::string> events;     // event declarations, in the order found
  CClassRecord* parent = nullptr;      // state: its class; class: its superclass. Not owned.
  std::string superName;               // the name after "expands"; empty if none
  std::string scriptPath;              // the script it came from, relative to the scanned directory

  /// Writes this record's page to `path`; reports a page that cannot be
  /// written and returns false. Defined with the other page writers.
  bool WriteRecordPage(const std::string& path) const;
};

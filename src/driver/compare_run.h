// Comparing the run's model with a model file of an earlier run (--compare):
// the earlier file is read and compared with before the reference is
// written, and the changes are written beside it after.
#pragma once

#include <string>
#include <vector>

#include "model/model_changes.h"
#include "model/model_file_index.h"
#include "platform/mapped_file.h"

class CClassList;

class CEarlierModel {
 public:
  /// Reads the model file at `path` whole; false, with the problem kept,
  /// when it cannot be read or is not a model file of format 1.
  bool Read(const std::string& path);

  /// Reports why the file could not be compared with.
  void ReportProblem() const;

  /// Compares `list` (linked, sorted, read complete) with the file read and
  /// keeps the changes; false, with the problem kept, when the file turns
  /// out not to be whole. The file is then no longer needed.
  bool Compare(const CClassList& list);

  /// The changes found by Compare.
  const std::vector<model::Change>& changes() const { return changes_; }

  /// Writes changes.json and changes.html beside the reference of `list`
  /// and prints the counts; with `anchors`, the changes page links members
  /// on their pages.
  void WriteChanges(const CClassList& list, bool anchors);

 private:
  std::string path_;
  platform::CMappedFile file_;
  std::string problem_;
  model::CModelFileIndex index_;
  std::vector<model::Change> changes_;
  model::ChangeCounts counts_;
};

// Comparing the run's model with a model file of an earlier run (--compare):
// the earlier file is read before the reference is written, and the changes
// are written beside it after.
#pragma once

#include <string>

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

  /// Compares `list` (linked, sorted, read complete) with the file read,
  /// writes changes.json and changes.html, and prints the counts; with
  /// `anchors`, the changes page links members on their pages.
  void WriteChanges(const CClassList& list, bool anchors);

 private:
  std::string path_;
  platform::CMappedFile file_;
  std::string problem_;
  model::CModelFileIndex index_;
};

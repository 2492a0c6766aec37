// The one list of the run: it owns every class and state record from its
// creation to the end of the process, links classes to their superclasses,
// orders the records by name, and keeps the destination directory.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "model/class_record.h"

namespace platform {
class COutputFile;
}

class CClassList {
 public:
  CClassList() = default;
  ~CClassList();
  CClassList(const CClassList&) = delete;
  CClassList& operator=(const CClassList&) = delete;

  /// Appends a new, empty record and returns it; null when it cannot be had.
  CClassRecord* CreateRecord();

  size_t Count() const { return records_.size(); }
  CClassRecord& At(size_t position) const { return *records_[position]; }

  /// Links every class record that has no parent yet to its superclass: the
  /// first class record in list order whose name equals its `superName` but
  /// for case. A class without `superName` stays a root, and so does one
  /// whose link would make it its own ancestor.
  void ResolveParents();

  /// Orders the records by name exactly as a selection sort does that takes
  /// the first of the smallest names in each pass and exchanges it into place.
  void SortByName();

  /// Writes index.html and every record page into `destDir`, after linking
  /// and sorting; with `navigation`, the index that searches and the pages
  /// that link. Defined with the run driver.
  void WriteReference(const std::string& destDir, bool navigation = false);

  /// Writes the index entries of every record whose parent is `key` (the
  /// roots when `key` is null), their subtrees, and their pages. Defined with
  /// the index writer.
  void WriteTree(platform::COutputFile& file, const CClassRecord* key) const;

  std::string destDir;

 private:
  std::vector<std::unique_ptr<CClassRecord>> records_;
};

// The one list of the run: it owns every class and state record from its
// creation to the end of the process, and the store their texts are packed
// in; it links classes to their superclasses, orders the records by name, and
// keeps the destination and source directories.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/class_record.h"
#include "model/run_options.h"
#include "model/text_store.h"

namespace platform {
class COutputFile;
}

/// Where a script lies below the scanned directory: the path of its directory,
/// empty or ending in a separator, and its file name; and what it held.
struct ScriptPath {
  std::string_view dir{};
  std::string_view file{};
  ScriptFingerprint fingerprint{};
};

/// Everything a record keeps, as views of texts that need only last until
/// they are kept.
struct RecordTexts {
  std::string_view name{};
  std::string_view superName{};
  ScriptPath script{};
  std::span<const std::string_view> vars{};
  std::span<const std::string_view> events{};
  std::span<const std::string_view> functions{};
  // From the complete reader: the record's packed model, and the numbers of
  // variables, events and functions it holds; the three lists above are then
  // left empty.
  std::string_view model{};
  std::array<size_t, 3> modelCounts{};
};

class CClassList {
 public:
  CClassList() = default;
  ~CClassList();
  CClassList(const CClassList&) = delete;
  CClassList& operator=(const CClassList&) = delete;

  /// Appends a new, empty record and returns it; null when it cannot be had.
  CClassRecord* CreateRecord();

  /// Copies `texts` into the store as the texts of `record`, replacing any
  /// it had; false, leaving the record as it was, when room cannot be had.
  bool SetTexts(CClassRecord& record, const RecordTexts& texts);

  /// Removes the records from `position` on, the newest ones, with
  /// everything they hold; their texts stay in the store unused.
  void RemoveRecordsFrom(size_t position);

  size_t Count() const { return order_.size(); }
  CClassRecord& At(size_t position) const { return Made(order_[position]); }

  /// Position of `record`, a record of this list.
  size_t PositionOf(const CClassRecord& record) const { return record.position_; }

  /// Links each record to the next one in list order with the same parent;
  /// returns, for each position, its first child, and `kNoRecord` where
  /// there is none, with one more entry for the records without a parent.
  std::vector<uint32_t> LinkChildren() const;

  /// The next record after `record` in list order with the same parent, or
  /// kNoRecord, as LinkChildren left it.
  static uint32_t NextSibling(const CClassRecord& record) { return record.next_sibling_; }

  static constexpr uint32_t kNoRecord = UINT32_MAX;

  /// Links every class record that has no parent yet to its superclass: the
  /// first class record in list order whose name equals its `superName` but
  /// for case. A class without `superName` stays a root, and so does one
  /// whose link would make it its own ancestor.
  void ResolveParents();

  /// Orders the records by name exactly as a selection sort does that takes
  /// the first of the smallest names in each pass and exchanges it into place.
  /// With `keepStateOrder`, the states of one class whose names are equal but
  /// for case then stand in the order they were made in (the order their
  /// script declares them), in the places the sort gave them.
  void SortByName(bool keepStateOrder = false);

  /// Writes index.html and every record page into `destDir`, after linking
  /// and sorting; with the option `navigation`, the index that searches and
  /// the pages that link; with `complete` too, rich pages with their
  /// stylesheet (records read with their models), a source page of each
  /// script, read again from `sourceDir`, and the member data of the index's
  /// search; with `json`, the model file too; with `compareWith`, the changes
  /// since that model file. Defined with the run driver.
  void WriteReference(const std::string& destDir, const RunOptions& options = {});

  /// Writes the index entries of every record whose parent is `key` (the
  /// roots when `key` is null), their subtrees, and their pages. Defined with
  /// the index writer.
  void WriteTree(platform::COutputFile& file, const CClassRecord* key) const;

  std::string destDir;
  // The scanned directory as the command line gave it, which scriptPath()
  // is relative to.
  std::string sourceDir;

 private:
  // Records are made this many to a block.
  static constexpr uint32_t kBlockBits = 12;
  static constexpr uint32_t kBlockSize = uint32_t{1} << kBlockBits;

  /// Puts the states of one class and one name back in the order they were
  /// made in, within the places they hold in the sorted list.
  void KeepStateOrder();

  /// The record made `made`-th, counting from zero.
  CClassRecord& Made(uint32_t made) const {
    return blocks_[made >> kBlockBits][made & (kBlockSize - 1)];
  }

  // The records, in blocks that never move, and the list order as numbers of
  // records in the order they were made: half the room of pointers.
  std::vector<std::unique_ptr<CClassRecord[]>> blocks_;
  std::vector<uint32_t> order_;
  CTextStore texts_;
  // The directory path kept last: the scripts of one directory share it.
  const char* last_dir_ = nullptr;
};

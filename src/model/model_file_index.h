// A model file of an earlier run, checked whole and indexed: each record's
// kind, name, package, parent and where its object stands in the text, so
// that a record's declarations are read only when it is compared.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

namespace model {

struct IndexedRecord {
  bool isState = false;
  std::string_view name;     // in the index's own store, as the package
  std::string_view package;  // empty without a package
  uint32_t parent = kNoParent;
  size_t begin = 0;  // the record's object in the text
  size_t end = 0;

  static constexpr uint32_t kNoParent = UINT32_MAX;
};

class CModelFileIndex {
 public:
  /// Reads the model file `text`, of format 1, which must outlive the
  /// index; false with `problem` said when it is not one. Calls
  /// `passed(context)`, when given, each time kPassedBytes more of the text
  /// have been read: what was read need not stay in memory.
  bool Read(std::string_view text, std::string& problem, void (*passed)(void*) = nullptr,
            void* context = nullptr);
  static constexpr size_t kPassedBytes = size_t{16} << 20;

  size_t Count() const { return records_.size(); }
  const IndexedRecord& Record(size_t i) const { return records_[i]; }
  /// The object of record `i`, as the text holds it.
  std::string_view Object(size_t i) const {
    return text_.substr(records_[i].begin, records_[i].end - records_[i].begin);
  }

  /// Appends the path of record `i`: "Class", or "Class.State" for a state.
  void AppendPath(std::string& out, size_t i) const;

 private:
  std::string_view Keep(std::string_view text);

  std::string_view text_;
  std::vector<IndexedRecord> records_;
  std::deque<std::string> decoded_;
  // The records' names and packages, kept apart from the text, which need
  // not stay in memory once read: blocks that are filled, never moved.
  std::deque<std::string> store_;
  static constexpr size_t kStoreBlock = size_t{1} << 16;
};

}  // namespace model

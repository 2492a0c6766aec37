#include "model/model_file_index.h"

#include "model/json_cursor.h"

namespace model {

using namespace std::string_view_literals;

void CModelFileIndex::AppendPath(std::string& out, size_t i) const {
  const IndexedRecord& record = records_[i];
  if (record.isState && record.parent < records_.size()) {
    out.append(records_[record.parent].name);
    out.push_back('.');
  }
  out.append(record.name);
}

bool CModelFileIndex::Read(std::string_view text, std::string& problem) {
  text_ = text;
  records_.clear();
  decoded_.clear();
  CJsonCursor json(text, decoded_);
  uint32_t format = 0;
  bool hasFormat = false, hasRecords = false, first = true;
  std::string_view key;
  // Reads one record's fields that the index keeps, skipping the others.
  auto record = [&]() {
    IndexedRecord r;
    bool firstField = true, present = false;
    std::string_view field, kind;
    r.begin = json.Offset();
    if (!json.Open('{')) return false;
    while (json.NextKey(firstField, field)) {
      bool read = true;
      if (field == "kind"sv) {
        read = json.String(kind);
      } else if (field == "name"sv) {
        read = json.String(r.name);
      } else if (field == "package"sv) {
        read = json.OptionalString(r.package, present);
      } else if (field == "parent"sv) {
        read = json.OptionalNumber(r.parent, present);
        if (!present) r.parent = IndexedRecord::kNoParent;
      } else {
        read = json.Skip();
      }
      if (!read) return false;
    }
    if (!json.ok()) return false;
    r.end = json.Offset();
    r.isState = kind == "state"sv;
    records_.push_back(r);
    return true;
  };
  bool read = json.Open('{');
  while (read && json.NextKey(first, key)) {
    if (key == "format"sv) {
      hasFormat = true;
      read = json.Number(format) && format == 1;
    } else if (key == "records"sv) {
      hasRecords = true;
      bool firstRecord = true;
      read = json.Open('[');
      while (read && json.NextElement(firstRecord)) read = record();
      read = read && json.ok();
    } else {
      read = json.Skip();
    }
  }
  if (read && json.AtEnd() && hasFormat && hasRecords) return true;
  if (hasFormat && format != 1 && json.ok()) {
    problem = "its format is " + std::to_string(format) + ", not 1";
  } else if (!json.ok()) {
    const std::string what = json.Problem();
    problem = what == "cut off" ? "it is cut off" : "it is not JSON (" + what + ")";
  } else {
    problem = "it is not a model file";
  }
  records_.clear();
  return false;
}

}  // namespace model

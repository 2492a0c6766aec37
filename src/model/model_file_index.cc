#include "model/model_file_index.h"

#include <algorithm>

#include "model/json_cursor.h"

namespace model {

using namespace std::string_view_literals;

namespace {

// Where the record object whose line runs on from `at` ends, just after its
// closing brace, when the line ends in "}" or "}," and the next one starts
// another record or closes the list; 0 when it does not.
size_t RecordLineEnd(std::string_view text, size_t at) {
  const size_t feed = text.find('\n', at);
  if (feed == std::string_view::npos || feed < 1) return 0;
  const std::string_view next = text.substr(feed + 1, 2);
  if (next != "{\""sv && next != "]}"sv) return 0;
  size_t end = feed;
  if (text[end - 1] == ',' && next == "{\""sv) --end;
  return end > at && text[end - 1] == '}' ? end : 0;
}

}  // namespace

void CModelFileIndex::AppendPath(std::string& out, size_t i) const {
  const IndexedRecord& record = records_[i];
  if (record.isState && record.parent < records_.size()) {
    out.append(records_[record.parent].name);
    out.push_back('.');
  }
  out.append(record.name);
}

std::string_view CModelFileIndex::Keep(std::string_view text) {
  if (text.empty()) return {};
  if (store_.empty() || store_.back().capacity() - store_.back().size() < text.size()) {
    store_.emplace_back();
    store_.back().reserve(std::max(kStoreBlock, text.size()));
  }
  std::string& block = store_.back();
  const size_t at = block.size();
  block.append(text);
  return std::string_view(block).substr(at);
}

bool CModelFileIndex::Read(std::string_view text, std::string& problem, void (*passed)(void*),
                           void* context) {
  size_t told = 0;  // bytes read when `passed` was last called
  text_ = text;
  records_.clear();
  decoded_.clear();
  store_.clear();
  CJsonCursor json(text, decoded_);
  uint32_t format = 0;
  bool hasFormat = false, hasRecords = false, first = true;
  std::string_view key;
  bool ownLayout = false;
  // Reads one record's fields that the index keeps, skipping the others.
  auto record = [&]() {
    IndexedRecord r;
    bool firstField = true, present = false;
    std::string_view field, kind;
    int known = 0;  // of the four fields the index keeps
    r.begin = json.Offset();
    if (!json.Open('{')) return false;
    while (json.NextKey(firstField, field)) {
      bool read = true;
      if (field == "kind"sv) {
        read = json.String(kind);
        ++known;
      } else if (field == "name"sv) {
        read = json.String(r.name);
        ++known;
      } else if (field == "package"sv) {
        read = json.OptionalString(r.package, present);
        ++known;
      } else if (field == "parent"sv) {
        read = json.OptionalNumber(r.parent, present);
        if (!present) r.parent = IndexedRecord::kNoParent;
        ++known;
      } else {
        read = json.Skip();
      }
      if (!read) return false;
      // This tool writes one record a line, with no line feed inside: the
      // rest of the record is passed over to its line's end, and checked
      // when the record is read to be compared.
      const size_t end = ownLayout && known == 4 ? RecordLineEnd(text, json.Offset()) : 0;
      if (end > 0) {
        json.MoveTo(end);
        break;
      }
    }
    if (!json.ok()) return false;
    r.end = json.Offset();
    r.isState = kind == "state"sv;
    r.name = Keep(r.name);
    r.package = Keep(r.package);
    records_.push_back(r);
    if (passed && r.end - told >= kPassedBytes) {
      told = r.end;
      passed(context);
    }
    return true;
  };
  bool read = json.Open('{');
  while (read && json.NextKey(first, key)) {
    if (key == "generator"sv) {
      std::string_view generator;
      read = json.String(generator);
      ownLayout = generator.substr(0, 10) == "KorvanRef "sv;
    } else if (key == "format"sv) {
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

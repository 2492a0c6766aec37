// The summaries of the search's members, one line per member in the member
// data's order: the first sentence of its doc comment (at most 80 bytes),
// and for a function its parameter list as declared. Written in pieces of
// kSummaryPiece members, "summaries-K.js", which the search loads as its
// results show members of that piece.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "model/record_model.h"

class CClassList;

inline constexpr size_t kSummaryPiece = 4096;

class CMemberSummaries {
 public:
  /// Reads the linked and sorted `list`, which must outlive this; nothing
  /// is read before the first piece.
  explicit CMemberSummaries(const CClassList& list);

  /// Puts the next piece's script into `text` (the first even when there
  /// are no members); returns whether another piece follows.
  bool Next(std::string& text);

 private:
  void AddRecord(const model::RecordModel& model);
  // Adds `line_` to the lines read, escaped for the script.
  void AddLine();
  void Read();

  const CClassList& list_;
  std::vector<bool> reachable_;
  size_t record_ = 0;
  size_t piece_ = 0;
  model::RecordModel model_;
  std::string line_;  // the line being made
  // The lines of the members read but not yet written, each escaped and
  // ended as the piece holds it, and where each ends in `lines_`.
  std::string lines_;
  std::vector<size_t> ends_;
};

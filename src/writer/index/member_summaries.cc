#include "writer/index/member_summaries.h"

#include <algorithm>
#include <string_view>

#include "model/class_list.h"
#include "model/declaration_text.h"
#include "model/model_codec.h"
#include "writer/common/script_text.h"
#include "writer/common/tree_index.h"

namespace {

constexpr size_t kSentence = 80;

// The first sentence of `doc`, its white space one space, cut at kSentence
// bytes.
std::string FirstSentence(const model::OptionalText& doc) {
  std::string out;
  if (!doc) return out;
  for (size_t i = 0; i < doc->size() && out.size() < kSentence; ++i) {
    const char c = (*doc)[i];
    const bool space = c == ' ' || c == '\t' || c == '\r' || c == '\n';
    if (space && (out.empty() || out.back() == ' ')) continue;
    out.push_back(space ? ' ' : c);
    if (c == '.' && (i + 1 == doc->size() || (*doc)[i + 1] == ' ' || (*doc)[i + 1] == '\n' ||
                     (*doc)[i + 1] == '\r'))
      break;
  }
  while (!out.empty() && out.back() == ' ') out.pop_back();
  return out;
}

}  // namespace

CMemberSummaries::CMemberSummaries(const CClassList& list) : list_(list) {}

// The members in the member data's order: constants, enumerations,
// structures, variables, functions.
void CMemberSummaries::AddRecord(const model::RecordModel& model) {
  for (const model::Constant& c : model.constants) lines_.push_back(FirstSentence(c.doc));
  for (const model::Enumeration& e : model.enums) lines_.push_back(FirstSentence(e.doc));
  for (const model::Structure& s : model.structs) lines_.push_back(FirstSentence(s.doc));
  for (const model::Variable& v : model.variables) lines_.push_back(FirstSentence(v.doc));
  for (const model::Function& f : model.functions) {
    std::string line;
    model::AppendParameters(line, model, f);
    const std::string sentence = FirstSentence(f.doc);
    if (!sentence.empty()) {
      line.push_back(' ');
      line.append(sentence);
    }
    lines_.push_back(std::move(line));
  }
}

// Reads records until a piece's lines are at hand or none is left.
void CMemberSummaries::Read() {
  if (reachable_.size() != list_.Count()) {
    reachable_ = ReachableRecords(BuildTreeIndex(list_, nullptr));
  }
  model::RecordModel model;
  while (lines_.size() < kSummaryPiece && record_ < list_.Count()) {
    const std::string_view packed = list_.At(record_).packedModel();
    if (reachable_[record_] && !packed.empty()) {
      model::UnpackModel(packed, model);
      AddRecord(model);
    }
    ++record_;
  }
}

bool CMemberSummaries::Next(std::string& text) {
  Read();
  const size_t end = std::min(lines_.size(), kSummaryPiece);
  text.assign("korvanrefSummaries(");
  text.append(std::to_string(piece_));
  text.append(", \"");
  for (size_t k = 0; k < end; ++k) {
    AppendScriptString(text, lines_[k]);
    text.append("\\n");
  }
  text.append("\");\n");
  lines_.erase(lines_.begin(), lines_.begin() + static_cast<std::ptrdiff_t>(end));
  ++piece_;
  Read();
  return !lines_.empty();
}

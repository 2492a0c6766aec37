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

// Appends the first sentence of `doc` to `out`, its white space one space,
// cut at kSentence bytes; with a space before it when `out` holds text.
void AppendFirstSentence(std::string& out, const model::OptionalText& doc) {
  if (!doc) return;
  const size_t start = out.size();
  out.push_back(' ');
  const size_t from = out.size();
  for (size_t i = 0; i < doc->size() && out.size() - from < kSentence; ++i) {
    const char c = (*doc)[i];
    const bool space = c == ' ' || c == '\t' || c == '\r' || c == '\n';
    if (space && (out.size() == from || out.back() == ' ')) continue;
    out.push_back(space ? ' ' : c);
    if (c == '.' && (i + 1 == doc->size() || (*doc)[i + 1] == ' ' || (*doc)[i + 1] == '\n' ||
                     (*doc)[i + 1] == '\r'))
      break;
  }
  while (out.size() > from && out.back() == ' ') out.pop_back();
  // No sentence, or nothing before it: no space either.
  if (out.size() == from || start == 0) out.erase(start, 1);
}

}  // namespace

CMemberSummaries::CMemberSummaries(const CClassList& list) : list_(list) {}

// The members in the member data's order: constants, enumerations,
// structures, variables, functions.
void CMemberSummaries::AddRecord(const model::RecordModel& model) {
  const auto add_sentence = [this](const model::OptionalText& doc) {
    line_.clear();
    AppendFirstSentence(line_, doc);
    AddLine();
  };
  for (const model::Constant& c : model.constants) add_sentence(c.doc);
  for (const model::Enumeration& e : model.enums) add_sentence(e.doc);
  for (const model::Structure& s : model.structs) add_sentence(s.doc);
  for (const model::Variable& v : model.variables) add_sentence(v.doc);
  for (const model::Function& f : model.functions) {
    line_.clear();
    model::AppendParameters(line_, model, f);
    AppendFirstSentence(line_, f.doc);
    AddLine();
  }
}

void CMemberSummaries::AddLine() {
  AppendScriptString(lines_, line_);
  lines_.append("\\n");
  ends_.push_back(lines_.size());
}

// Reads records until a piece's lines are at hand or none is left.
void CMemberSummaries::Read() {
  if (reachable_.size() != list_.Count()) {
    reachable_ = ReachableRecords(BuildTreeIndex(list_, nullptr));
  }
  while (ends_.size() < kSummaryPiece && record_ < list_.Count()) {
    const std::string_view packed = list_.At(record_).packedModel();
    if (reachable_[record_] && !packed.empty()) {
      model::UnpackModel(packed, model_);
      AddRecord(model_);
    }
    ++record_;
  }
}

bool CMemberSummaries::Next(std::string& text) {
  Read();
  const size_t count = std::min(ends_.size(), kSummaryPiece);
  const size_t bytes = count == 0 ? 0 : ends_[count - 1];
  text.assign("korvanrefSummaries(");
  text.append(std::to_string(piece_));
  text.append(", \"");
  text.append(lines_, 0, bytes);
  text.append("\");\n");
  lines_.erase(0, bytes);
  ends_.erase(ends_.begin(), ends_.begin() + static_cast<std::ptrdiff_t>(count));
  for (size_t& end : ends_) end -= bytes;
  ++piece_;
  Read();
  return !ends_.empty();
}

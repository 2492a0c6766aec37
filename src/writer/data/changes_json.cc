#include "writer/data/changes_json.h"

#include <string>

#include "platform/output_file.h"
#include "writer/data/model_json.h"

namespace {

using namespace std::string_view_literals;

// A text of the changes, UTF-8 as read from the model files, or null.
void AppendText(std::string& out, std::string_view key, std::string_view text, bool present) {
  out.append(", \""sv);
  out.append(key);
  out.append("\": "sv);
  if (present) {
    AppendJsonPath(out, text);
  } else {
    out.append("null"sv);
  }
}

}  // namespace

void WriteChangesJson(platform::COutputFile& file, std::string_view before,
                      const std::vector<model::Change>& changes) {
  std::string out;
  AppendJsonFileHead(out);
  out.append(", \"before\": "sv);
  AppendJsonPath(out, before);
  out.append(", \"changes\": ["sv);
  bool first = true;
  for (const model::Change& c : changes) {
    out.append(first ? "\n{\"change\": \""sv : ",\n{\"change\": \""sv);
    first = false;
    out.append(model::ChangeKindName(c.change));
    out.append("\", \"kind\": \""sv);
    out.append(model::DeclarationKindName(c.kind));
    out.push_back('"');
    AppendText(out, "path"sv, c.path, true);
    AppendText(out, "before"sv, c.before, c.change != model::ChangeKind::kAdded);
    AppendText(out, "after"sv, c.after, c.change != model::ChangeKind::kRemoved);
    out.push_back('}');
    if (out.size() >= (size_t{1} << 20)) {
      file.Write(out);
      out.clear();
    }
  }
  out.append("\n]}\n"sv);
  file.Write(out);
}

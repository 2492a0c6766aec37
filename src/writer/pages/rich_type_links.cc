#include "writer/pages/rich_type_links.h"

#include "model/class_list.h"
#include "writer/common/html_escape.h"
#include "writer/common/page_links.h"
#include "writer/names/type_table.h"
#include "writer/pages/rich_templates.h"

namespace rt = rich_templates;

namespace rich_page {

void AppendType(std::string& out, const CTypeTable& types, size_t position, std::string_view type) {
  const CTypeTable::Target target = types.Resolve(type, position);
  if (!target.found()) {
    AppendEscaped(out, type);
    return;
  }
  // The name links; what wraps it ("class<", ">") stays text. A qualified
  // "A.B" links whole.
  const std::string_view name = CTypeTable::Named(type);
  const size_t at = static_cast<size_t>(name.data() - type.data());
  AppendEscaped(out, type.substr(0, at));
  out.append(rt::kLinkOpen);
  AppendPageName(out, target.record);
  if (target.kind != CTypeTable::kClass) {
    out.push_back('#');
    CTypeTable::AppendAnchor(out, target);
  }
  out.append(rt::kLinkMiddle);
  AppendEscaped(out, name);
  out.append(rt::kLinkEnd);
  AppendEscaped(out, type.substr(at + name.size()));
}

void AppendTypedText(std::string& out, const CTypeTable& types, size_t position,
                     std::string_view text, const std::vector<model::TypeSpan>& spans) {
  size_t done = 0;
  for (const model::TypeSpan& span : spans) {
    AppendEscaped(out, text.substr(done, span.begin - done));
    AppendType(out, types, position, text.substr(span.begin, span.length));
    done = span.begin + span.length;
  }
  AppendEscaped(out, text.substr(done));
}

}  // namespace rich_page

#include "writer/common/part_links.h"

#include "writer/common/page_links.h"

namespace {

constexpr std::string_view kPartMark = "-";
constexpr std::string_view kExtension = ".html";
constexpr std::string_view kPartOpen = "<p>Part ";
constexpr std::string_view kPartOf = " of ";
constexpr std::string_view kPartLinks = ":";
constexpr std::string_view kPrevious = " <a href=\"";
constexpr std::string_view kPreviousEnd = "\">previous</a>";
constexpr std::string_view kNext = " <a href=\"";
constexpr std::string_view kNextEnd = "\">next</a>";
constexpr std::string_view kPartEnd = "</p>\n";

}  // namespace

void AppendPartPageName(std::string& out, std::string_view prefix, size_t record, size_t part) {
  out.append(prefix);
  AppendNumber(out, record, kRecordNumberWidth);
  if (part > 0) {
    out.append(kPartMark);
    AppendNumber(out, part + 1);
  }
  out.append(kExtension);
}

void AppendPartLine(std::string& page, std::string_view prefix, size_t record, size_t part,
                    size_t parts) {
  if (parts <= 1) return;
  page.append(kPartOpen);
  AppendNumber(page, part + 1);
  page.append(kPartOf);
  AppendNumber(page, parts);
  page.append(kPartLinks);
  if (part > 0) {
    page.append(kPrevious);
    AppendPartPageName(page, prefix, record, part - 1);
    page.append(kPreviousEnd);
  }
  if (part + 1 < parts) {
    page.append(kNext);
    AppendPartPageName(page, prefix, record, part + 1);
    page.append(kNextEnd);
  }
  page.append(kPartEnd);
}

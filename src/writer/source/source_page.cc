#include "writer/source/source_page.h"

#include <charconv>
#include <string_view>

#include "model/class_list.h"
#include "platform/thread_scratch.h"
#include "reader/source_buffer.h"
#include "writer/common/file_path_text.h"
#include "writer/common/html_escape.h"
#include "writer/common/write_line.h"
#include "writer/links/page_context.h"
#include "writer/links/script_again.h"
#include "writer/links/source_links.h"
#include "writer/source/source_lines.h"
#include "writer/source/source_templates.h"

namespace st = source_templates;

namespace {

// The bytes that open lines 1 to `lines`: the fixed text of each, and its
// number three times, as wide as it is.
size_t LineNumbersSize(size_t lines) {
  const size_t fixed = st::kLineOpen.size() + st::kLineLink.size() + st::kLineNumber.size() +
                       st::kLineClose.size() + 2;  // and the anchors' "L"
  size_t size = lines * fixed;
  size_t digits = 1;
  for (size_t first = 1; first <= lines; first *= 10, ++digits) {
    const size_t last = first > lines / 10 ? lines : first * 10 - 1;
    size += (last - first + 1) * 3 * digits;
    if (last == lines) break;
  }
  return size;
}

}  // namespace

bool AppendSourcePage(std::string& page, const CClassList& list, size_t classNumber,
                      const platform::CDirectory* sourceDir, const CPageContext* rich) {
  const CClassRecord& record = list.At(classNumber);
  // Each writing thread reads its scripts into a buffer of its own, which
  // keeps its storage from script to script.
  CSourceBuffer& script = platform::ThreadScratch<CSourceBuffer>();
  const bool read = ReadScriptAgain(record, sourceDir, script);
  // A class read with its model links the names of its script; the linker
  // of each writing thread keeps its tables from page to page.
  CSourceLinker& linker = platform::ThreadScratch<CSourceLinker>();
  const bool linking = read && rich && !record.packedModel().empty();
  if (linking) linker.Start(*rich, classNumber);
  return AppendSourcePageOf(page, list, classNumber, read ? &script : nullptr,
                            linking ? &linker : nullptr);
}

bool AppendSourcePageOf(std::string& page, const CClassList& list, size_t classNumber,
                        const CSourceBuffer* script, CSourceLinker* linker) {
  const CClassRecord& record = list.At(classNumber);
  const std::string path = record.scriptPath();

  page.append(st::kPageOpen);
  AppendPathText(page, path);
  page.append(st::kPageHead);
  AppendPathText(page, path);
  page.append(st::kPageClass);
  // Record numbers fit in 31 bits, so in a long everywhere.
  AppendFormat(page, "%05ld.html", static_cast<long>(classNumber));
  page.append(st::kPageClassMiddle);
  // A script without a class statement gives a class without a name.
  if (record.name().empty()) page.append(st::kPageClassUnnamed);
  AppendEscaped(page, record.name());
  if (!script) {
    page.append(st::kPageUnreadable);
    return false;
  }
  const std::string_view text(script->Text(), script->Length());
  const size_t lines = CountSourceLines(text);
  // Room for the text, a few escapes, and each line's number and anchor:
  // no more, since a script of many short lines makes a page many times its
  // size, which must not grow by doubling.
  page.reserve(page.size() + text.size() + text.size() / 8 + LineNumbersSize(lines) + 64);
  page.append(st::kPageLinesOpen);
  // The numbers are as wide as the last one.
  char digits[24];
  const auto last = std::to_chars(digits, digits + sizeof digits, lines);
  const auto width =
      std::to_chars(digits, digits + sizeof digits, static_cast<size_t>(last.ptr - digits));
  page.append(digits, static_cast<size_t>(width.ptr - digits));
  page.append(st::kPageLinesDigitsEnd);
  AppendSourceLines(page, text, linker);
  page.append(st::kPageEnd);
  return true;
}

#include "writer/index/index_writer.h"

#include <cstdint>
#include <string>
#include <vector>

#include "model/class_list.h"
#include "writer/common/html_escape.h"
#include "writer/common/page_writer.h"
#include "writer/common/templates.h"
#include "writer/common/tree_walk.h"
#include "writer/common/write_line.h"
#include "writer/pages/plain_pages.h"

void WriteIndexHeader(platform::COutputFile& file) {
  for (const char* line : templates::kIndexHeader) file.Write(line);
}

void WriteIndexFooter(platform::COutputFile& file) {
  file.Write(templates::kIndexFooter);
}

namespace {

const char* Plural(size_t count, const char* many) {
  return count == 1 ? "" : many;
}

void WriteEntryHeader(platform::COutputFile& file, const CClassList& list, uint32_t first_child,
                      size_t i, std::string& name, std::string& parent_name) {
  const CClassRecord& record = list.At(i);
  size_t s = 0;
  size_t t = 0;
  for (uint32_t c = first_child; c != CClassList::kNoRecord;
       c = CClassList::NextSibling(list.At(c))) {
    ++(list.At(c).isState == 0 ? s : t);
  }
  name.clear();
  AppendEscaped(name, record.name());
  parent_name.clear();
  if (record.parent) AppendEscaped(parent_name, record.parent->name());
  const auto [vars, events, functions] = record.counts();
  const long number = static_cast<long>(i);
  WriteLine(file, templates::kEntryHeader, number,
            record.isState == 0 ? templates::kKindClass : templates::kKindState, number,
            name.c_str(), parent_name.c_str(), static_cast<long>(s), Plural(s, "es"),
            static_cast<long>(t), Plural(t, "s"), static_cast<long>(vars), Plural(vars, "s"),
            static_cast<long>(events), Plural(events, "s"), static_cast<long>(functions),
            Plural(functions, "s"));
}

}  // namespace

void CClassList::WriteTree(platform::COutputFile& file, const CClassRecord* key) const {
  // The tree of the sorted list, built once: each record's children in list
  // order, found from its first child through the siblings.
  const std::vector<uint32_t> first_child = LinkChildren();
  const uint32_t top = first_child[key ? PositionOf(*key) : Count()];

  // The pages are written beside the index, by two threads. Each entry's
  // list is closed once its whole subtree is written.
  const CPlainPages pages(*this, first_child, top, destDir);
  CPageWriter writer(pages);
  writer.Start();
  std::string name;
  std::string parent_name;
  WalkTree(
      *this, first_child, top,
      [&](uint32_t i) {
        WriteEntryHeader(file, *this, first_child[i], i, name, parent_name);
        WriteLine(file, templates::kSubListOpen, static_cast<long>(i));
      },
      [&](uint32_t) { file.Write(templates::kSubListClose); });
  writer.Finish();
}

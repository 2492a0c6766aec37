#include "writer/index_writer.h"

#include <string>
#include <vector>

#include "model/class_list.h"
#include "platform/path.h"
#include "writer/html_escape.h"
#include "writer/templates.h"
#include "writer/tree_index.h"
#include "writer/write_line.h"

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

void WriteEntryHeader(platform::COutputFile& file, const CClassList& list, const TreeIndex& tree,
                      size_t i, std::string& name, std::string& parent_name) {
  const CClassRecord& record = list.At(i);
  size_t s = 0;
  size_t t = 0;
  for (size_t c = tree.first_child[i]; c < tree.first_child[i + 1]; ++c) {
    ++(list.At(tree.child[c]).isState == 0 ? s : t);
  }
  name.clear();
  AppendEscaped(name, record.name());
  parent_name.clear();
  if (record.parent) AppendEscaped(parent_name, record.parent->name());
  const size_t vars = record.vars().size();
  const size_t events = record.events().size();
  const size_t functions = record.functions().size();
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
  const TreeIndex tree = BuildTreeIndex(*this, key);

  // Depth first with a stack of its own, so a deep class tree cannot exhaust
  // the call stack. An entry's page is written once its whole subtree is.
  struct Open {
    size_t record;
    size_t next_child;
  };
  std::vector<Open> stack;
  std::string page_name;
  std::string name;
  std::string parent_name;
  auto enter = [&](size_t i) {
    WriteEntryHeader(file, *this, tree, i, name, parent_name);
    WriteLine(file, templates::kSubListOpen, static_cast<long>(i));
    stack.push_back({i, tree.first_child[i]});
  };
  for (size_t root : tree.top) {
    enter(root);
    while (!stack.empty()) {
      Open& open = stack.back();
      if (open.next_child < tree.first_child[open.record + 1]) {
        enter(tree.child[open.next_child++]);
        continue;
      }
      size_t i = open.record;
      stack.pop_back();
      file.Write(templates::kSubListClose);
      page_name.clear();
      AppendFormat(page_name, templates::kPageFileName, static_cast<long>(i));
      At(i).WriteRecordPage(platform::JoinPath(destDir, page_name));
    }
  }
}

#include "writer/index_writer.h"

#include <algorithm>
#include <functional>
#include <utility>
#include <vector>

#include "model/class_list.h"
#include "platform/path.h"
#include "writer/html_escape.h"
#include "writer/templates.h"
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

// The tree of the sorted list, built once: each record's children in list
// order and its numbers of subclasses and states.
struct TreeIndex {
  std::vector<size_t>
      first_child;  // children of record i: child[first_child[i] .. first_child[i+1])
  std::vector<size_t> child;
  std::vector<size_t> subclasses;
  std::vector<size_t> states;
  std::vector<size_t> top;  // records whose parent is the key
};

TreeIndex BuildTreeIndex(const CClassList& list, const CClassRecord* key) {
  const size_t count = list.Count();
  // Positions by record address, in one flat array searched by halving: far
  // less memory and allocation than a node per record.
  std::vector<std::pair<const CClassRecord*, size_t>> position(count);
  for (size_t i = 0; i < count; ++i) position[i] = {&list.At(i), i};
  auto by_address = [](const std::pair<const CClassRecord*, size_t>& a,
                       const std::pair<const CClassRecord*, size_t>& b) {
    return std::less<const CClassRecord*>()(a.first, b.first);
  };
  std::sort(position.begin(), position.end(), by_address);

  TreeIndex tree;
  tree.subclasses.assign(count, 0);
  tree.states.assign(count, 0);
  tree.first_child.assign(count + 1, 0);
  std::vector<size_t> parent_of(count, count);  // `count` stands for none
  for (size_t i = 0; i < count; ++i) {
    const CClassRecord& record = list.At(i);
    if (record.parent == key) tree.top.push_back(i);
    if (!record.parent) continue;
    auto found =
        std::lower_bound(position.begin(), position.end(),
                         std::pair<const CClassRecord*, size_t>(record.parent, 0), by_address);
    if (found == position.end() || found->first != record.parent) continue;
    size_t p = found->second;
    parent_of[i] = p;
    ++(record.isState == 0 ? tree.subclasses[p] : tree.states[p]);
    ++tree.first_child[p + 1];
  }
  for (size_t i = 0; i < count; ++i) tree.first_child[i + 1] += tree.first_child[i];
  tree.child.resize(tree.first_child[count]);
  std::vector<size_t> fill(tree.first_child.begin(), tree.first_child.end() - 1);
  for (size_t i = 0; i < count; ++i) {
    if (parent_of[i] != count) tree.child[fill[parent_of[i]]++] = i;
  }
  return tree;
}

void WriteEntryHeader(platform::COutputFile& file, const CClassRecord& record, long number,
                      const TreeIndex& tree, size_t i) {
  std::string name = HtmlEscaped(record.name);
  std::string parent_name = record.parent ? HtmlEscaped(record.parent->name) : std::string();
  size_t s = tree.subclasses[i];
  size_t t = tree.states[i];
  WriteLine(file, templates::kEntryHeader, number,
            record.isState == 0 ? templates::kKindClass : templates::kKindState, number,
            name.c_str(), parent_name.c_str(), static_cast<long>(s), Plural(s, "es"),
            static_cast<long>(t), Plural(t, "s"), static_cast<long>(record.vars.size()),
            Plural(record.vars.size(), "s"), static_cast<long>(record.events.size()),
            Plural(record.events.size(), "s"), static_cast<long>(record.functions.size()),
            Plural(record.functions.size(), "s"));
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
  auto enter = [&](size_t i) {
    WriteEntryHeader(file, At(i), static_cast<long>(i), tree, i);
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

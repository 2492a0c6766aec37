#include "writer/links/overriders.h"

#include <algorithm>

#include "model/class_list.h"
#include "model/model_codec.h"
#include "model/names.h"
#include "writer/common/anchors.h"
#include "writer/common/html_escape.h"
#include "writer/common/link_templates.h"
#include "writer/common/page_links.h"
#include "writer/common/tree_index.h"
#include "writer/names/name_table.h"

namespace lt = link_templates;
using anchors::MemberKind;

namespace {

size_t AnchorBytes(std::string_view name, uint32_t occurrence) {
  std::string anchor;
  anchors::AppendMemberAnchor(anchor, anchors::MemberKind::kFunction, name, occurrence);
  return anchor.size();
}

}  // namespace

void COverriders::Build(const CClassList& list) {
  list_ = &list;
  std::vector<Declared> declared;
  Walk(declared);
  Keep(declared);
  Lay();
}

// Walks the class tree down from its top, depth first, with a table from
// each function name to the nearest declaration of that name on the way
// down: a record's declarations override what the table holds, and stand in
// it until the walk leaves the record. A declaration becomes a node once it
// is found to override or be overridden, after what it overrides; the others
// are forgotten when the walk leaves their record. Records outside the tree
// (in a cycle of parents) are not met.
void COverriders::Walk(std::vector<Declared>& declared) const {
  const TreeIndex tree = BuildTreeIndex(*list_, nullptr);
  CNameTable nearest(true);  // to an index in path_names
  CNameTable exact(false);   // how often one exact name came before
  // The declarations of the records on the way down.
  struct OnPath {
    Declared declared;
    uint32_t node;    // its index in `declared`, once it is one
    uint32_t hidden;  // what it hid in `nearest`
  };
  std::vector<OnPath> path_names;
  model::RecordModel model;

  const auto node_of = [&](uint32_t on_path) {
    OnPath& entry = path_names[on_path];
    if (entry.node == kNone) {
      entry.node = static_cast<uint32_t>(declared.size());
      declared.push_back(entry.declared);
    }
    return entry.node;
  };
  const auto enter = [&](uint32_t r) {
    const auto start = static_cast<uint32_t>(path_names.size());
    const std::string_view packed = list_->At(r).packedModel();
    if (packed.empty()) return;
    model::UnpackModel(packed, model, model::UnpackPart::kMembers);
    exact.Clear();
    for (size_t k = 0; k < model.functions.size(); ++k) {
      const model::Function& f = model.functions[k];
      bool made = false;
      const uint32_t occurrence = exact.Insert(0, {}, f.name, 0, made).value++;
      CNameTable::Entry& at = nearest.Insert(0, {}, f.name, kNone, made);
      if (at.value == kNone || at.value < start) {
        const uint32_t hidden = at.value;
        at.value = static_cast<uint32_t>(path_names.size());
        OnPath entry{{f.name, r, kNone, occurrence, kNone}, kNone, hidden};
        if (hidden != kNone) entry.declared.target = node_of(hidden);
        path_names.push_back(entry);
        if (hidden != kNone) node_of(at.value);
      }
      OnPath& entry = path_names[at.value];
      if (model::IsOperator(f.kind) || entry.declared.function != kNone) continue;
      // The name stays a key of `nearest` in any case.
      entry.declared.name = f.name;
      entry.declared.occurrence = occurrence;
      entry.declared.function = static_cast<uint32_t>(k);
      if (entry.node != kNone) declared[entry.node] = entry.declared;
    }
  };
  const auto leave = [&](uint32_t start) {
    for (size_t n = path_names.size(); n-- > start;)
      nearest.Find(0, {}, path_names[n].declared.name)->value = path_names[n].hidden;
    path_names.resize(start);
  };

  struct Step {
    uint32_t record;
    uint32_t start;  // its first entry in `path_names`
    uint32_t next;   // its next child to visit
  };
  std::vector<Step> path;
  const auto down = [&](uint32_t r) {
    path.push_back({r, static_cast<uint32_t>(path_names.size()), tree.first_child[r]});
    enter(r);
  };
  for (uint32_t top : tree.top) {
    down(top);
    while (!path.empty()) {
      Step& step = path.back();
      if (step.next == tree.first_child[step.record + 1]) {
        leave(step.start);
        path.pop_back();
        continue;
      }
      down(tree.child[step.next++]);
    }
  }
}

// Keeps the nodes that override or are overridden, by record and name, each
// with what is below it, and links each to those overriding it directly.
void COverriders::Keep(const std::vector<Declared>& declared) {
  nodes_.assign(declared.size(), Node{});
  std::string entry;
  for (size_t k = 0; k < declared.size(); ++k) {
    Node& node = nodes_[k];
    static_cast<Declared&>(node) = declared[k];
    if (node.function == kNone) continue;
    entry.clear();
    AppendOverrider(entry, *list_, {node.record, node.occurrence, node.name});
    node.bytes = static_cast<uint32_t>(entry.size() + kOverriderSeparatorBytes);
  }
  // Each node is made after the one it overrides: from the last back, each
  // adds what is below it to its target.
  for (size_t k = nodes_.size(); k-- > 0;) {
    const Node& node = nodes_[k];
    if (node.target == kNone) continue;
    Node& target = nodes_[node.target];
    target.count += node.count + (node.function == kNone ? 0 : 1);
    target.total += node.total + node.bytes;
    target.widest = std::max({target.widest, node.widest, node.bytes});
  }
  // By record, then by name; operators only first.
  std::vector<uint32_t> order(nodes_.size());
  for (uint32_t k = 0; k < order.size(); ++k) order[k] = k;
  const auto key = [this](uint32_t k) {
    return nodes_[k].function == kNone ? std::string_view() : nodes_[k].name;
  };
  std::stable_sort(order.begin(), order.end(), [&](uint32_t a, uint32_t b) {
    if (nodes_[a].record != nodes_[b].record) return nodes_[a].record < nodes_[b].record;
    return CompareNoCase(key(a), key(b)) < 0;
  });
  std::vector<uint32_t> moved(nodes_.size());
  for (uint32_t k = 0; k < order.size(); ++k) moved[order[k]] = k;
  std::vector<Node> nodes;
  nodes.reserve(nodes_.size());
  for (uint32_t k : order) {
    nodes.push_back(nodes_[k]);
    if (nodes.back().target != kNone) nodes.back().target = moved[nodes.back().target];
  }
  nodes_.swap(nodes);

  first_node_.assign(list_->Count() + 1, 0);
  first_child_.assign(nodes_.size() + 1, 0);
  for (const Node& node : nodes_) {
    ++first_node_[node.record + 1];
    if (node.target != kNone) ++first_child_[node.target + 1];
  }
  for (size_t i = 0; i < list_->Count(); ++i) first_node_[i + 1] += first_node_[i];
  for (size_t n = 0; n < nodes_.size(); ++n) first_child_[n + 1] += first_child_[n];
  // In node order, which is record order.
  child_.assign(nodes_.size(), 0);
  std::vector<uint32_t> fill(first_child_.begin(), first_child_.end() - 1);
  for (uint32_t n = 0; n < nodes_.size(); ++n) {
    if (nodes_[n].target != kNone) child_[fill[nodes_[n].target]++] = n;
  }
}

const COverriders::Node* COverriders::Find(size_t record, std::string_view name) const {
  if (first_node_.empty() || record + 1 >= first_node_.size() || name.empty()) return nullptr;
  const auto begin = nodes_.begin() + first_node_[record];
  const auto end = nodes_.begin() + first_node_[record + 1];
  const auto at = std::lower_bound(begin, end, name, [](const Node& node, std::string_view key) {
    return CompareNoCase(node.function == kNone ? std::string_view() : node.name, key) < 0;
  });
  return at != end && at->function != kNone && EqualsNoCase(at->name, name) ? &*at : nullptr;
}

uint32_t COverriders::Overridden(size_t record, std::string_view name) const {
  return FactsOf(record, name).overridden;
}

uint32_t COverriders::FirstFunction(size_t record, std::string_view name) const {
  const Node* node = Find(record, name);
  return node ? node->function : kNone;
}

size_t COverriders::Count(size_t record, std::string_view name) const {
  return FactsOf(record, name).count;
}

COverriders::Facts COverriders::FactsOf(size_t record, std::string_view name) const {
  const Node* node = Find(record, name);
  if (!node) return {};
  return {node->target != kNone ? nodes_[node->target].record : kNone, node->count};
}

void COverriders::Collect(size_t record, std::string_view name,
                          std::vector<Declaration>& out) const {
  out.clear();
  const Node* node = Find(record, name);
  if (!node) return;
  std::vector<uint32_t> stack{static_cast<uint32_t>(node - nodes_.data())};
  while (!stack.empty()) {
    const uint32_t n = stack.back();
    stack.pop_back();
    for (uint32_t k = first_child_[n]; k < first_child_[n + 1]; ++k) {
      const Node& below = nodes_[child_[k]];
      if (below.function != kNone) out.push_back({below.record, below.occurrence, below.name});
      stack.push_back(child_[k]);
    }
  }
  // The class's own states first; each record is met once.
  const auto own_state = [&](const Declaration& d) {
    const CClassRecord& r = list_->At(d.record);
    return r.isState && r.parent && list_->PositionOf(*r.parent) == record;
  };
  std::sort(out.begin(), out.end(), [&](const Declaration& a, const Declaration& b) {
    const bool a_own = own_state(a);
    const bool b_own = own_state(b);
    if (a_own != b_own) return a_own;
    return a.record < b.record;
  });
}

// The parts of each record's page of overriders.
void COverriders::Lay() {
  first_part_.assign(list_->Count() + 1, 0);
  for (size_t i = 0; i < list_->Count(); ++i)
    first_part_[i + 1] = first_part_[i] + LaySections(i, nullptr);
}

// Lays the long lists of `record` out in parts of the page of overriders,
// by the bytes their entries take: each list joins the last part if it
// fits, else starts one; a list too long for a part of its own spans parts
// of a fixed number of its entries, which begin no other list. Gives the
// number of parts, and with `out` the sections.
size_t COverriders::LaySections(size_t record, std::vector<Section>* out) const {
  if (out) out->clear();
  if (first_node_.empty()) return 0;
  std::vector<const Node*> long_lists;
  for (uint32_t n = first_node_[record]; n < first_node_[record + 1]; ++n) {
    if (nodes_[n].count > kShown && nodes_[n].function != kNone) long_lists.push_back(&nodes_[n]);
  }
  if (long_lists.empty()) return 0;
  std::sort(long_lists.begin(), long_lists.end(),
            [](const Node* a, const Node* b) { return a->function < b->function; });
  const size_t name = HtmlEscaped(list_->At(record).name()).size();
  const size_t head = kOverPageBytes + 3 * name;
  size_t parts = 0;
  size_t used = 0;
  bool open = false;
  for (const Node* node : long_lists) {
    Section section{node->name, node->occurrence, node->count, 0, 0, node->function};
    const size_t overhead = kOverSectionBytes + 2 * AnchorBytes(node->name, node->occurrence) +
                            2 * name + HtmlEscaped(node->name).size();
    const size_t need = overhead + node->total;
    if (open && used + need <= kPartBytes) {
      section.part = parts - 1;
      used += need;
    } else if (head + need <= kPartBytes) {
      section.part = parts++;
      used = head + need;
      open = true;
    } else {
      const size_t room = head + overhead < kPartBytes ? kPartBytes - head - overhead : 0;
      section.chunk = std::max<size_t>(1, room / std::max<uint32_t>(node->widest, 1));
      section.part = parts;
      parts += (node->count + section.chunk - 1) / section.chunk;
      open = false;
    }
    if (out) out->push_back(section);
  }
  return parts;
}

void COverriders::Sections(size_t record, std::vector<Section>& out) const {
  LaySections(record, &out);
}

void AppendOverrider(std::string& out, const CClassList& list,
                     const COverriders::Declaration& declaration) {
  out.append(lt::kLinkOpen);
  AppendPageName(out, declaration.record);
  out.push_back('#');
  anchors::AppendMemberAnchor(out, MemberKind::kFunction, declaration.name, declaration.occurrence);
  out.append(lt::kLinkMiddle);
  const CClassRecord& record = list.At(declaration.record);
  if (record.isState && record.parent) {
    AppendEscaped(out, record.parent->name());
    out.append(lt::kMemberOfRecord);
  }
  AppendEscaped(out, record.name());
  out.append(lt::kLinkEnd);
}

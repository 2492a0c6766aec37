#include "writer/links/page_context.h"

#include "model/class_list.h"
#include "writer/common/tree_index.h"

CPageContext::CPageContext(const CClassList& list, const TreeIndex& tree, const CTypeTable& types,
                           const COverriders* overriders)
    : list_(list), tree_(tree), types_(types), overriders_(overriders), run_(++last_run_) {
  const size_t count = list.Count();
  first_state_.assign(count + 1, 0);
  for (size_t i = 0; i < count; ++i) {
    for (size_t k = tree.first_child[i]; k < tree.first_child[i + 1]; ++k) {
      if (list.At(tree.child[k]).isState != 0) state_.push_back(tree.child[k]);
    }
    first_state_[i + 1] = static_cast<uint32_t>(state_.size());
  }
}

std::atomic<uint64_t> CPageContext::last_run_{0};

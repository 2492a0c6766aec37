// The plain record pages of a reference, as the page writer builds them: a
// page for each record of a subtree list, in the order the index finishes
// its entries, each listing the record's declarations.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "model/class_list.h"
#include "writer/common/page_builder.h"

class CPlainPages final : public CPageBuilder {
 public:
  /// Pages of the records in the subtree list starting at `top`, linked by
  /// `first_child`, into `destDir`; all must outlive the pages.
  CPlainPages(const CClassList& list, const std::vector<uint32_t>& first_child, uint32_t top,
              const std::string& destDir)
      : list_(list), first_child_(first_child), top_(top), destDir_(destDir) {}

  /// A slot is a record's position in the list.
  size_t SlotCount() const override { return list_.Count(); }
  void VisitPages(CVisitor& visitor) const override;
  bool AppendPage(size_t slot, std::string& page) const override;
  void AppendPath(size_t slot, std::string& path) const override;
  size_t PathRoom() const override;

 private:
  const CClassList& list_;
  const std::vector<uint32_t>& first_child_;
  const uint32_t top_;
  const std::string& destDir_;
};

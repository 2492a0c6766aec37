// The source pages written ahead of the other pages, by the pass that finds
// who refers to what as it links each script: what builds each page, given
// to the pass by the writer of the reference (the pass comes before the
// page writers), and how each went, kept by record until the page writer
// reports it in its turn.
#pragma once

#include <cstddef>
#include <string>

#include "writer/common/pages_written_ahead.h"

class CClassList;
class CSourceBuffer;
class CSourceLinker;

/// Appends the source page of class record `record` of `list` whose script,
/// read again, is `script` (null when it could not be), its names linked by
/// `linker` (null: nothing is linked); false when the page lacks what it
/// would show.
using SourcePageBuilder = bool (*)(std::string& page, const CClassList& list, size_t record,
                                   const CSourceBuffer* script, CSourceLinker* linker);

class CSourcePagesAhead : public CPagesWrittenAhead {
 public:
  /// Room for `records` records, none written yet; `build` builds each page.
  CSourcePagesAhead(size_t records, SourcePageBuilder build)
      : CPagesWrittenAhead(records), build_(build) {}

  /// Appends the source page of `record`, as `build` given above does.
  bool Build(std::string& page, const CClassList& list, size_t record, const CSourceBuffer* script,
             CSourceLinker* linker) const {
    return build_(page, list, record, script, linker);
  }

 private:
  SourcePageBuilder build_;
};

// The reference one can find one's way in: an index page that carries its
// records as compact data with a script that shows, folds and searches them,
// and record pages that link to their superclasses, subclasses, states and
// their entry in the index.
#pragma once

#include "platform/output_file.h"

class CClassList;

/// Writes the index page into the open `index` and every reachable record's
/// page beside it, for the linked and sorted `list`; with `complete`, the
/// pages of records read with their models are rich pages (see rich_page.h),
/// each reachable class's script gets a source page, and the index's search
/// loads the member data too.
void WriteNavigableReference(platform::COutputFile& index, const CClassList& list,
                             bool complete = false);

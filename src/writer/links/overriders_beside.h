// Building the lists of overriders on a second thread while this one does
// other work that reads every record's model: the two passes then take the
// two cores at once.
#pragma once

#include "platform/worker.h"
#include "writer/links/overriders.h"

/// Builds `overriders` from `list` on a second thread, when one can be had,
/// while `work()` runs here, and waits for both. Memory running out on the
/// second thread leaves them to be built again here, where running out is
/// reported as anywhere else.
template <typename Work>
void BuildOverridersBeside(COverriders& overriders, const CClassList& list, Work work) {
  if (!platform::RunBeside([&overriders, &list] { overriders.Build(list); }, work))
    overriders.Build(list);
}

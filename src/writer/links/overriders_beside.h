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
  struct Build {
    COverriders& overriders;
    const CClassList& list;
    bool built = false;
  } build{overriders, list};
  // Declared after `build`, so that leaving early waits for the thread first.
  platform::CWorker worker;
  worker.Start(
      [](void* context) {
        Build& task = *static_cast<Build*>(context);
        task.overriders.Build(task.list);
        task.built = true;
      },
      &build);
  work();
  worker.Join();
  if (!build.built) overriders.Build(list);
}

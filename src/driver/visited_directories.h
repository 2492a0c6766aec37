// The directories a scan has entered, by their identity on disk: a directory
// reached again by any way (a link back up the tree, or two links to one
// place) is recognised, so each is scanned at most once.
#pragma once

#include <cstddef>
#include <functional>
#include <unordered_set>

#include "platform/directory.h"

class VisitedDirectories {
 public:
  /// Records `identity`; false when it was recorded before.
  bool Enter(const platform::FileIdentity& identity) { return seen_.insert(identity).second; }

 private:
  struct Hash {
    size_t operator()(const platform::FileIdentity& identity) const {
      return std::hash<uint64_t>()(identity.file) ^ (std::hash<uint64_t>()(identity.device) << 1);
    }
  };
  std::unordered_set<platform::FileIdentity, Hash> seen_;
};

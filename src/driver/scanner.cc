#include "driver/scanner.h"

#include <algorithm>
#include <memory>
#include <new>
#include <utility>

#include "driver/messages.h"
#include "driver/read_ahead.h"
#include "driver/visited_directories.h"
#include "model/names.h"
#include "platform/console.h"
#include "platform/path.h"

bool IsScriptName(std::string_view name) {
  return name.size() >= 3 && EqualsNoCase(name.substr(name.size() - 3), ".kc");
}

void SortEntries(std::vector<platform::DirEntry>& entries) {
  std::sort(entries.begin(), entries.end(),
            [](const platform::DirEntry& a, const platform::DirEntry& b) {
              int order = CompareNoCase(a.name, b.name);
              return order != 0 ? order < 0 : a.name < b.name;
            });
}

namespace {

class Scanner {
 public:
  Scanner(CClassList& list, ReaderKind kind, std::unique_ptr<CScriptReader> reader)
      : reads_(list, kind, std::move(reader)) {}

  // Scans the tree below `root` depth first, entries in name order. The walk
  // keeps its own stack of open directories, so the depth of the tree is
  // bounded only by the descriptors at hand, never by the call stack. Scripts
  // are queued as they are found and finished in that order whenever the
  // queue is full, so the walk runs a few scripts ahead of their lines.
  bool Scan(const std::string& root) {
    if (!Enter(nullptr, root)) return false;
    while (!open_.empty() || !reads_.Empty()) {
      if (open_.empty() || !reads_.HasRoom()) {
        reads_.FinishOldest();
        continue;
      }
      Level& level = *open_.back();
      if (level.next == level.entries.size()) {
        relative_.resize(level.relative_size);
        open_.pop_back();
        continue;
      }
      const platform::DirEntry& entry = level.entries[level.next++];
      if (entry.kind == platform::EntryKind::kDirectory) {
        Enter(&level.dir, entry.name);
      } else if (IsScriptName(entry.name)) {
        reads_.Queue(level.dir, relative_, entry);
      }
    }
    return true;
  }

 private:
  // A directory being scanned: its sorted entries and the next one to take.
  struct Level {
    platform::CDirectory dir;
    std::vector<platform::DirEntry> entries;
    size_t next = 0;
    // The length of the relative path before this directory's name was added.
    size_t relative_size = 0;
  };

  // Opens and lists the directory `name` of `parent` (of the current
  // directory when `parent` is null) and puts it on the stack. A directory
  // scanned before is passed over in silence. False when a problem was
  // reported. Before a problem is reported the scripts queued are finished,
  // whose lines come first, and the directory is tried again without the
  // descriptors they held, as when each script is read in turn. Memory for
  // the listing or for the directories visited running out is a directory
  // that could not be read: the scan goes on without it.
  bool Enter(const platform::CDirectory* parent, const std::string& name) {
    const size_t relative_size = relative_.size();
    try {
      return EnterWithinMemory(parent, name);
    } catch (const std::bad_alloc&) {
      relative_.resize(relative_size);
      reads_.FinishAll();
      console::Problem(messages::kUnableToReadDirectory, name.c_str());
      return false;
    }
  }

  bool EnterWithinMemory(const platform::CDirectory* parent, const std::string& name) {
    auto level = std::make_unique<Level>();
    platform::OpenStatus status = level->dir.Open(parent, name);
    if (status != platform::OpenStatus::kOk && !reads_.Empty()) {
      reads_.FinishAll();
      status = level->dir.Open(parent, name);
    }
    switch (status) {
      case platform::OpenStatus::kOk:
        break;
      case platform::OpenStatus::kMissing:
        console::Problem(messages::kUnableToReadDirectory, name.c_str());
        return false;
      case platform::OpenStatus::kUnknownError:
        console::Problem(messages::kUnknownDirectoryError, name.c_str());
        return false;
      case platform::OpenStatus::kNotDirectory:
        console::Problem(messages::kNotADirectory, name.c_str());
        return false;
    }
    if (!visited_.Enter(level->dir.Identity())) return true;
    bool listed = level->dir.List(&level->entries);
    if (!listed && !reads_.Empty()) {
      reads_.FinishAll();
      level->entries.clear();
      listed = level->dir.List(&level->entries);
    }
    if (!listed) {
      // The directory was opened but its entries cannot be read (for one,
      // when the process runs out of file descriptors deep in a tree): its
      // scripts would be lost without a word.
      console::Problem(messages::kUnknownDirectoryError, name.c_str());
      return false;
    }
    SortEntries(level->entries);
    // The path of the directory below the scanned one, with a separator after
    // it unless it is the scanned directory itself.
    level->relative_size = relative_.size();
    if (parent) {
      relative_ += name;
      relative_ += platform::kPathSeparator;
    }
    open_.push_back(std::move(level));
    return true;
  }

  std::vector<std::unique_ptr<Level>> open_;
  VisitedDirectories visited_;
  // The path, relative to the scanned directory, of the directory being
  // scanned.
  std::string relative_;
  // The scripts queued and their second thread.
  CReadAhead reads_;
};

}  // namespace

bool ScanDirectory(CClassList& list, const std::string& dir, ReaderKind kind) {
  // A run whose reader cannot be had reads nothing.
  std::unique_ptr<CScriptReader> reader = MakeScriptReader(kind);
  if (!reader) return false;
  Scanner scanner(list, kind, std::move(reader));
  return scanner.Scan(dir);
}

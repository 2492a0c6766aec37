#include "driver/scanner.h"

#include <algorithm>
#include <memory>
#include <new>
#include <utility>

#include "driver/messages.h"
#include "driver/visited_directories.h"
#include "model/names.h"
#include "platform/console.h"
#include "platform/path.h"
#include "reader/complete_reader.h"
#include "reader/parser.h"
#include "reader/source_buffer.h"

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

// The records of one script, or none: memory for them is the one thing the
// scan cannot check beforehand, and the containers the parser fills throw
// when it runs out. The script's records are then removed again, so the list
// holds no half-read class, and false is returned; the scan goes on with the
// memory that was freed.
bool ParseWithinMemory(CClassList& list, const CSourceBuffer& buffer, const ScriptPath& script) {
  const size_t before = list.Count();
  try {
    if (ParseSource(list, buffer, script)) return true;
  } catch (const std::bad_alloc&) {
  }
  list.RemoveRecordsFrom(before);
  return false;
}

class Scanner {
 public:
  Scanner(CClassList& list, std::unique_ptr<CScriptReader> reader)
      : list_(list), reader_(std::move(reader)) {}

  // Scans the tree below `root` depth first, entries in name order. The walk
  // keeps its own stack of open directories, so the depth of the tree is
  // bounded only by the descriptors at hand, never by the call stack.
  bool Scan(const std::string& root) {
    if (!Enter(nullptr, root)) return false;
    while (!open_.empty()) {
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
        ParseFile(level.dir, entry);
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
  // reported. Memory for the listing or for the directories visited running
  // out is a directory that could not be read: the scan goes on without it.
  bool Enter(const platform::CDirectory* parent, const std::string& name) {
    const size_t relative_size = relative_.size();
    try {
      return EnterWithinMemory(parent, name);
    } catch (const std::bad_alloc&) {
      relative_.resize(relative_size);
      console::Problem(messages::kUnableToReadDirectory, name.c_str());
      return false;
    }
  }

  bool EnterWithinMemory(const platform::CDirectory* parent, const std::string& name) {
    auto level = std::make_unique<Level>();
    switch (level->dir.Open(parent, name)) {
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
    if (!level->dir.List(&level->entries)) {
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

  void ParseFile(const platform::CDirectory& dir, const platform::DirEntry& entry) {
    console::Print(messages::kParsing, entry.name.c_str());
    // Only regular files are read: a FIFO or device could block or never end.
    if (entry.kind != platform::EntryKind::kFile || !buffer_.Load(dir, entry.name)) {
      console::Problem("%s", messages::kCouldNotOpen);
      return;
    }
    const ScriptPath script{relative_, entry.name};
    const bool read = reader_ ? reader_->Read(buffer_) && reader_->Keep(list_, script)
                              : buffer_.Condense() && ParseWithinMemory(list_, buffer_, script);
    if (!read) {
      console::Problem("%s", messages::kUnableToParse);
      return;
    }
    console::Print("%s", messages::kParsedOk);
  }

  CClassList& list_;
  // The complete reader, when the run asks for it.
  std::unique_ptr<CScriptReader> reader_;
  // One buffer serves every file of the scan, so its storage is reused.
  CSourceBuffer buffer_;
  std::vector<std::unique_ptr<Level>> open_;
  VisitedDirectories visited_;
  // The path, relative to the scanned directory, of the directory being
  // scanned.
  std::string relative_;
};

}  // namespace

bool ScanDirectory(CClassList& list, const std::string& dir, ReaderKind kind) {
  std::unique_ptr<CScriptReader> reader;
  if (kind == ReaderKind::kComplete) {
    reader = MakeCompleteReader();
    if (!reader) return false;
  }
  Scanner scanner(list, std::move(reader));
  return scanner.Scan(dir);
}

#include "driver/scanner.h"

#include <algorithm>

#include "driver/messages.h"
#include "model/names.h"
#include "platform/console.h"
#include "platform/path.h"
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

class Scanner {
 public:
  explicit Scanner(CClassList& list) : list_(list) {}

  // Scans the directory `name` of `parent` (of the current directory when
  // `parent` is null).
  void Scan(const platform::CDirectory* parent, const std::string& name) {
    platform::CDirectory dir;
    switch (dir.Open(parent, name)) {
      case platform::OpenStatus::kOk:
        break;
      case platform::OpenStatus::kMissing:
        console::Problem(messages::kUnableToReadDirectory, name.c_str());
        return;
      case platform::OpenStatus::kUnknownError:
        console::Problem(messages::kUnknownDirectoryError, name.c_str());
        return;
      case platform::OpenStatus::kNotDirectory:
        console::Problem(messages::kNotADirectory, name.c_str());
        return;
    }
    // A directory already on the way down, reached again through a link, is
    // passed over: scanning it would never end.
    if (std::find(descent_.begin(), descent_.end(), dir.Identity()) != descent_.end()) return;
    descent_.push_back(dir.Identity());

    std::vector<platform::DirEntry> entries;
    if (!dir.List(&entries)) {
      // The directory was opened but its entries cannot be read (for one,
      // when the process runs out of file descriptors deep in a tree): its
      // scripts would be lost without a word.
      descent_.pop_back();
      console::Problem(messages::kUnknownDirectoryError, name.c_str());
      return;
    }
    SortEntries(entries);
    // The path of the directory below the scanned one, with a separator after
    // it unless it is the scanned directory itself.
    const size_t prefix_size = relative_.size();
    if (parent) {
      relative_ += name;
      relative_ += platform::kPathSeparator;
    }
    for (const platform::DirEntry& entry : entries) {
      if (entry.kind == platform::EntryKind::kDirectory) {
        Scan(&dir, entry.name);
      } else if (IsScriptName(entry.name)) {
        ParseFile(dir, entry);
      }
    }
    relative_.resize(prefix_size);
    descent_.pop_back();
  }

 private:
  void ParseFile(const platform::CDirectory& dir, const platform::DirEntry& entry) {
    console::Print(messages::kParsing, entry.name.c_str());
    // Only regular files are read: a FIFO or device could block or never end.
    if (entry.kind != platform::EntryKind::kFile || !buffer_.Load(dir, entry.name)) {
      console::Problem("%s", messages::kCouldNotOpen);
      return;
    }
    if (!buffer_.Condense()) {
      console::Problem("%s", messages::kUnableToParse);
      return;
    }
    const size_t prefix_size = relative_.size();
    relative_ += entry.name;
    ParseSource(list_, buffer_, relative_);
    relative_.resize(prefix_size);
    console::Print("%s", messages::kParsedOk);
  }

  CClassList& list_;
  // One buffer serves every file of the scan, so its storage is reused.
  CSourceBuffer buffer_;
  std::vector<platform::FileIdentity> descent_;
  // The path, relative to the scanned directory, of the directory being
  // scanned.
  std::string relative_;
};

}  // namespace

void ScanDirectory(CClassList& list, const std::string& dir) {
  Scanner scanner(list);
  scanner.Scan(nullptr, dir);
}

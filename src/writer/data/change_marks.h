// Which members of the rich pages are new or changed since the model file
// compared with (--compare): the changes looked up by their record, kind and
// member name. Made once before the pages; then only read, by any number of
// threads at once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/model_changes.h"

enum class ChangeMark : uint8_t { kNone, kNew, kChanged };

class CChangeMarks {
 public:
  /// Keeps what `changes` add to or change in the new records.
  explicit CChangeMarks(const std::vector<model::Change>& changes);

  /// The mark of the member `name` of `kind` in record `record`: a
  /// structure's member has its structure as `owner`, a default property
  /// its key as `name`, an operator its name and parameter types as `name`
  /// ("==(Bat,name)"), the record itself (marked only when new) no name.
  /// Names are bytes in windows-1252; `utf8` is room for them in UTF-8. Of
  /// namesakes, new wins over changed.
  ChangeMark Of(size_t record, model::DeclarationKind kind, std::string_view owner,
                std::string_view name, std::string& utf8) const;

 private:
  struct Entry {
    uint32_t record;
    model::DeclarationKind kind;
    ChangeMark mark;
    std::string name;  // in UTF-8, as the changes name it
  };
  std::vector<Entry> entries_;  // by record, kind, name without case, new first
};

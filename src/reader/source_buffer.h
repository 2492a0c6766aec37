// The text of one class script: read whole from its file, then condensed in
// place for the parser. The buffer owns its bytes and keeps its storage for
// the next file, so a scan does not allocate per file.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "model/class_record.h"

namespace platform {
class CInputFile;
}  // namespace platform

class CSourceBuffer {
 public:
  /// Reads the open `file` whole, from where it stands; false if it cannot be
  /// read or its storage cannot be had.
  bool Load(platform::CInputFile& file);

  /// Takes `text` as the buffer's text, as if read from a file.
  bool SetText(std::string_view text);

  /// Replaces the text by its condensed form; false if storage cannot be had.
  bool Condense();

  /// Gives back the storage kept for the next file; the text is then empty.
  void Release();

  /// The text, always followed by a NUL.
  const char* Text() const { return length_ ? text_.get() : ""; }

  /// The file's length after Load; the condensed length plus one after
  /// Condense.
  size_t Length() const { return length_; }

  /// What the text held when it was loaded or set, kept when it is
  /// condensed; empty after Release.
  const ScriptFingerprint& Fingerprint() const { return fingerprint_; }

 private:
  static bool Reserve(std::unique_ptr<char[]>& storage, size_t& capacity, size_t size);

  std::unique_ptr<char[]> text_;
  size_t text_capacity_ = 0;
  size_t length_ = 0;
  ScriptFingerprint fingerprint_;
  // Storage the condenser writes into; it becomes the text, and the old text's
  // storage is kept for the next round.
  std::unique_ptr<char[]> work_;
  size_t work_capacity_ = 0;
};

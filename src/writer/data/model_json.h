// The model file: every record of the run with its whole model, as JSON, for
// editors, linters and other tools. Texts are the scripts' bytes read as
// windows-1252 and written as UTF-8; the scripts' paths are read as UTF-8
// where they are valid UTF-8.
#pragma once

#include <atomic>
#include <cstddef>
#include <string>
#include <string_view>

class CClassList;
class COverriders;
class CReferences;
class CTypeTable;
namespace platform {
class COutputFile;
}

/// The version of the model file's format: fields may be added within it,
/// never renamed or removed.
inline constexpr int kModelFormat = 1;

/// Writes the model file of `list`, linked and sorted, to `file`, each type
/// with what it names by `types`, and each function with what it overrides
/// by `overriders`, both built from `list`. With `references` (a run that
/// links its source pages), each class and member says how many places
/// refer to it ("references"); a later declaration of a name, which no
/// link leads to, says 0.
void WriteModelJson(platform::COutputFile& file, const CClassList& list, const CTypeTable& types,
                    const COverriders& overriders, const CReferences* references = nullptr);

/// The model file written by one thread while another may make some of its
/// records' text ahead, once that one has nothing else to do: the text is
/// the same byte for byte whichever thread made which records.
class CModelJsonWriter {
 public:
  /// The model file of WriteModelJson, of the same arguments, which must
  /// outlive this.
  CModelJsonWriter(const CClassList& list, const CTypeTable& types, const COverriders& overriders,
                   const CReferences* references);
  CModelJsonWriter(const CModelJsonWriter&) = delete;
  CModelJsonWriter& operator=(const CModelJsonWriter&) = delete;

  /// Writes the whole file to `file`, on the writing thread; the records
  /// no other thread has taken it makes itself.
  void Write(platform::COutputFile& file);

  /// Makes the text of records ahead of the writing thread, on another,
  /// until none is left to take; returns then, or at once when Write has
  /// ended.
  void Help();

 private:
  // Records are taken a run at a time, and at most kAhead runs made by the
  // helping thread wait to be written.
  static constexpr size_t kRun = 32;
  static constexpr size_t kAhead = 4;
  // What a slot of a run made ahead says: not made yet, made, or left
  // undone (memory ran out) for the writing thread to make.
  static constexpr size_t kMade = 1;
  static constexpr size_t kUndone = 2;

  size_t Runs() const;
  // Appends the text of run `run` to `out`.
  void MakeRun(size_t run, std::string& out) const;
  // Waits for the run `run` made ahead and writes it to `file`.
  void WriteAhead(size_t run, platform::COutputFile& file, std::string& out);
  // Writes the runs made ahead from the first not written up to `end`.
  void WriteAheadBefore(size_t end, platform::COutputFile& file, std::string& out);

  const CClassList& list_;
  const CTypeTable& types_;
  const COverriders& overriders_;
  const CReferences* references_;
  std::atomic<size_t> next_{0};     // the next run to take
  std::atomic<size_t> written_{0};  // the runs written
  std::atomic<bool> ended_{false};  // Write has returned, or given up
  // Of the run made ahead in each slot (run % kAhead): its number times 4
  // plus kMade or kUndone, once it is.
  std::atomic<size_t> state_[kAhead] = {};
  std::string text_[kAhead];
};

/// Appends the start of the model file and of the files of its format:
/// "{"format": 1, "generator": "KorvanRef <version>"".
void AppendJsonFileHead(std::string& out);

/// Appends `text`, bytes in windows-1252, in UTF-8 as the model file writes
/// it, with no quotes or escapes.
void AppendUtf8Text(std::string& out, std::string_view text);

/// Appends `text`, bytes in windows-1252, as a JSON string in UTF-8, quotes
/// included.
void AppendJsonString(std::string& out, std::string_view text);

/// Appends a file's `path` as a JSON string in UTF-8, quotes included: as it
/// is when it is valid UTF-8, else its bytes read as windows-1252.
void AppendJsonPath(std::string& out, std::string_view path);

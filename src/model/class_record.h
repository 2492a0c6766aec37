// One class or state of the parsed scripts: its names, its declarations and
// its link to the record above it in the class tree. The texts live packed in
// the list's text store and are read in place; a record itself is three words.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "model/packed_texts.h"

/// How writing a page ended. An incomplete page was written, but lacks what
/// it shows.
enum class PageStatus { kWritten, kCannotOpen, kCannotWrite, kIncomplete };

/// What a script held when it was read: its size and a hash of its bytes,
/// so that a script read again can be told from one changed since.
struct ScriptFingerprint {
  size_t size = 0;
  uint64_t hash = 0;
  bool operator==(const ScriptFingerprint&) const = default;
};

class CClassRecord {
 public:
  uint32_t isState : 1 = 0;  // 0 for a class, 1 for a state

 private:
  friend class CClassList;
  // The record's position in the list, as last numbered by the list.
  uint32_t position_ : 31 = 0;
  // The next record in list order with the same parent, as the list's tree
  // walk last linked them.
  uint32_t next_sibling_ = 0;

 public:
  CClassRecord* parent = nullptr;  // state: its class; class: its superclass. Not owned.

  /// Class or state name.
  std::string_view name() const {
    // Past the three counts.
    const char* at = texts_;
    for (int skip = 0; skip < 3; ++skip) {
      while (static_cast<unsigned char>(*at++) & 0x80) {
      }
    }
    std::string_view text;
    packed::GetText(at, &text);
    return text;
  }
  /// The name after "expands"; empty if none.
  std::string_view superName() const;
  /// The path of the record's script relative to the scanned directory, with
  /// the platform's separator; a state's is its class's. Empty if unknown.
  std::string scriptPath() const;
  /// What the record's script held when it was read; a state's is its
  /// class's. Empty if unknown.
  ScriptFingerprint scriptFingerprint() const;
  /// Variable, event and function declarations, each in the order found;
  /// empty for a record read with a model, which holds them.
  CTextList vars() const;
  CTextList events() const;
  CTextList functions() const;

  /// The numbers of variables, events and functions, from the lists or the
  /// model.
  std::array<size_t, 3> counts() const;

  /// The record's model as the complete reader packed it; empty when the
  /// record was read without one.
  std::string_view packedModel() const;

 private:
  // Where the record's texts start in the store: the numbers of variables,
  // events and functions, then name, superclass name and script (see
  // CClassList::SetTexts), then the declarations. A record whose texts were
  // never set reads as empty.
  const char* texts_ = kNoTexts;

  static constexpr const char* kNoTexts = "\0\0\0\0\0\0";
};

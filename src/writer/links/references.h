// Who refers to each class and member: every link the source pages make
// from a line of code to a declaration, found in one pass over the scripts
// before the pages are written (on two threads), sorted by what it links
// to, and laid out in the pages of references ("refs-00012.html") of the
// record that declares it. Then only read, by any number of threads at once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

/// Bytes that bound the fixed texts of a page of references, less four
/// times its record's escaped name; of a section's head, less its anchor
/// twice, the record's escaped name twice and the member's once; of a
/// group's head, less its escaped names; of an entry, less its escaped
/// text; and of the head of the Super calls.
inline constexpr size_t kRefsPageBytes = 2048;
inline constexpr size_t kRefsSectionBytes = 512;
inline constexpr size_t kRefsGroupBytes = 256;
inline constexpr size_t kRefsEntryBytes = 128;
inline constexpr size_t kRefsSuperBytes = 128;

class CPageContext;
class CReferenceCollector;
class CSourcePagesAhead;
namespace platform {
class CDirectory;
}

class CReferences {
 public:
  /// A page of references holds at most this many bytes.
  static constexpr size_t kPartBytes = 500000;
  /// A line's text is cut at this many bytes.
  static constexpr size_t kLineTextBytes = 120;

  /// One line that refers to something: its class's record, number, text
  /// (its blanks in front left out, cut at kLineTextBytes, in the table's
  /// store) and the function and state it stands in.
  struct Line {
    uint32_t source = 0;
    uint32_t line = 0;
    uint32_t text = 0;
    uint32_t place = 0;  // in the places, which lines of one function share
    uint16_t textSize = 0;
    uint16_t escapedSize = 0;  // of the text, escaped
  };

  /// The function and state lines stand in, their names in the store; empty
  /// outside one.
  struct Place {
    uint32_t function = 0;
    uint32_t state = 0;
    uint16_t functionSize = 0;
    uint16_t stateSize = 0;
  };

  /// One reference: what it refers to, and the line it stands on. A line
  /// refers to a thing once, and once more by a Super call. Sixteen bytes:
  /// a large tree makes millions of them.
  struct Reference {
    uint32_t record = 0;  // of the declaration
    uint32_t line = 0;    // in lines()
    // The member's name, as declared (NameOf): where it stands in the
    // record's packed model, or with kOtherName the index of a name kept
    // apart; empty for the class.
    uint32_t nameAt = 0;
    uint16_t nameSize = 0;
    uint8_t kind = 0;  // a SourceLink kind
    bool super = false;
  };
  static constexpr uint32_t kOtherName = uint32_t{1} << 31;

  /// The references to one thing: refs()[first .. end), those of Super
  /// calls last, each run in record and line order.
  struct Section {
    uint32_t first = 0;
    uint32_t end = 0;
    uint32_t classes = 0;  // that refer to it
    uint32_t part = 0;     // of the record's pages, from 0, that the section starts on
  };

  /// Links the scripts of the classes with rich pages among `reachable`,
  /// read from `sourceDir` (null: none can be read), and keeps the links;
  /// writes each one's source page as it links it, built by `ahead`, which
  /// keeps how that went. While the links are put in order, `alongside` runs
  /// on the second thread, and on this one too once they are: work that
  /// needs none of them, which both threads may share.
  void Build(const CPageContext& pages, const std::vector<bool>& reachable,
             const platform::CDirectory* sourceDir, CSourcePagesAhead& ahead,
             const std::function<void()>& alongside);

  /// The section of the references to the member `name` of `kind` (a
  /// SourceLink kind) of record `record`, or null when nothing refers to it.
  const Section* Find(size_t record, uint8_t kind, std::string_view name) const;

  /// The sections of record `record`'s pages: Sections()[FirstSection(r) ..
  /// FirstSection(r + 1)), the class's own first, then the members' by kind
  /// and name.
  size_t FirstSection(size_t record) const { return Get(first_section_, record); }
  const Section& SectionAt(size_t k) const { return sections_[k]; }

  /// The pages of references of record `record` are FirstPart(r + 1) -
  /// FirstPart(r) parts, numbered from FirstPart(r) among all; PartCount() in
  /// all. Part p holds refs()[PartStart(p) .. PartStart(p + 1)).
  size_t FirstPart(size_t record) const { return Get(first_part_, record); }
  size_t PartCount() const { return first_part_.empty() ? 0 : first_part_.back(); }
  size_t PartStart(size_t part) const { return part_start_[part]; }

  /// Whether `b`, right after `a` in a section, goes on `a`'s group: Super
  /// calls or not alike, of one class, state and function.
  bool SameGroup(const Reference& a, const Reference& b) const;

  const std::vector<Reference>& refs() const { return refs_; }
  std::string_view NameOf(const Reference& ref) const {
    if (ref.nameAt & kOtherName) return other_names_[ref.nameAt & ~kOtherName];
    return models_[ref.record].substr(ref.nameAt, ref.nameSize);
  }
  const Line& LineOf(const Reference& ref) const { return lines_[ref.line]; }
  std::string_view Text(uint32_t at, uint16_t size) const {
    return std::string_view(store_).substr(at, size);
  }
  std::string_view FunctionOf(const Line& line) const {
    const Place& place = places_[line.place];
    return Text(place.function, place.functionSize);
  }
  std::string_view StateOf(const Line& line) const {
    const Place& place = places_[line.place];
    return Text(place.state, place.stateSize);
  }

 private:
  static size_t Get(const std::vector<uint32_t>& v, size_t record) {
    return v.empty() ? 0 : v[record];
  }
  void Gather(CReferenceCollector& first, CReferenceCollector& second);
  bool SameThing(const Reference& a, const Reference& b) const;
  bool Before(const Reference& a, const Reference& b) const;
  void Sort();
  void Lay(const CPageContext& pages);

  std::vector<std::string_view> models_;  // each record's packed model
  std::vector<std::string_view> other_names_;
  std::vector<Reference> refs_;
  std::vector<Line> lines_;
  std::vector<Place> places_;
  std::string store_;
  std::vector<Section> sections_;
  std::vector<uint32_t> first_section_;  // of each record, and the end
  std::vector<uint32_t> first_part_;     // of each record, and the end
  std::vector<uint32_t> part_start_;     // of each part, and the end
};

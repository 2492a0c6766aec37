#include "model/model_codec.h"

#include <functional>
#include <vector>

#include "model/packed_texts.h"
#include "platform/thread_scratch.h"

namespace model {

namespace {

// Where each shared text of the model being packed last stood in full: the
// offset of its code in the packed form, found by the text. An open table
// whose room a thread keeps from model to model, emptied after each. It
// holds a model's first kMaxTexts texts at most, so that a model of a
// million enumeration values takes no more room than one of a thousand:
// the texts after those are packed in full.
class CSharedTexts {
 public:
  static constexpr size_t kNone = ~size_t{0};

  /// The slot of `text`: where it stood (kNone for a text not met yet) is
  /// read and set through it; null for a text not met while the table is
  /// full.
  size_t* At(std::string_view text) {
    if (slots_.empty()) slots_.resize(2 * kMaxTexts);
    const size_t mask = slots_.size() - 1;
    size_t k = std::hash<std::string_view>()(text) & mask;
    while (slots_[k].at != kNone && slots_[k].text != text) k = (k + 1) & mask;
    if (slots_[k].at == kNone) {
      if (used_.size() == kMaxTexts) return nullptr;
      slots_[k].text = text;
      used_.push_back(k);
    }
    return &slots_[k].at;
  }

  void Clear() {
    for (size_t k : used_) slots_[k].at = kNone;
    used_.clear();
  }

 private:
  static constexpr size_t kMaxTexts = 1024;

  struct Slot {
    std::string_view text;
    size_t at = kNone;
  };

  std::vector<Slot> slots_;
  std::vector<size_t> used_;
};

// A shared text is one that a model often repeats away from the one before
// it in its list (types, categories, modifiers, default values): its code
// is 0 when absent, 1 when equal to the text before it, an even 2n + 2 when
// its n bytes follow, and an odd 2d + 1 when it is the text whose code
// stands d bytes before this one's.
class Packer {
 public:
  Packer(std::string& out, CSharedTexts& shared) : out_(out), shared_(shared) {}

  void Number(size_t n) {
    // Most numbers are small: one byte, added without the copy.
    if (n < 0x80) {
      out_.push_back(static_cast<char>(n));
      return;
    }
    char bytes[10];
    out_.append(bytes, static_cast<size_t>(packed::PutLength(bytes, n) - bytes));
  }
  void Text(std::string_view text) {
    Number(text.size());
    out_.append(text);
  }
  // An absent text is a length of 0, a present one its length plus one.
  void Optional(const OptionalText& text) {
    Number(text ? text->size() + 1 : 0);
    if (text) out_.append(*text);
  }
  void Span(Words words) {
    Number(words.first);
    Number(words.count);
  }
  // A text that often repeats the one before it in its list (the type and
  // the comment of each name of "var float A, B; // ..."): 0 when absent, 1
  // when equal to `previous`, else its length plus two.
  void Repeatable(const OptionalText& text, const OptionalText& previous) {
    if (text && previous && *text == *previous) {
      Number(1);
    } else {
      Number(text ? text->size() + 2 : 0);
      if (text) out_.append(*text);
    }
  }
  void Shared(const OptionalText& text, const OptionalText& previous = std::nullopt) {
    if (!text) {
      Number(0);
      return;
    }
    if (previous && *text == *previous) {
      Number(1);
      return;
    }
    size_t* at = shared_.At(*text);
    const size_t here = out_.size();
    // Told again where that takes fewer bytes than the text itself.
    if (at && *at != CSharedTexts::kNone &&
        packed::LengthSize(2 * (here - *at) + 1) <
            packed::LengthSize(2 * text->size() + 2) + text->size()) {
      Number(2 * (here - *at) + 1);
      return;
    }
    if (at) *at = here;
    Number(2 * text->size() + 2);
    out_.append(*text);
  }
  // A line, as the difference to the line before it in its list.
  void Line(uint32_t line, uint32_t* previous) {
    const int64_t delta = static_cast<int64_t>(line) - *previous;
    Number(delta >= 0 ? static_cast<size_t>(delta) * 2 : static_cast<size_t>(-delta) * 2 - 1);
    *previous = line;
  }

 private:
  std::string& out_;
  CSharedTexts& shared_;
};

class Unpacker {
 public:
  explicit Unpacker(std::string_view in) : at_(in.data()) {}

  size_t Number() {
    size_t n;
    at_ = packed::GetLength(at_, &n);
    return n;
  }
  uint32_t Number32() { return static_cast<uint32_t>(Number()); }
  std::string_view Text() {
    std::string_view text;
    at_ = packed::GetText(at_, &text);
    return text;
  }
  OptionalText Optional() {
    const size_t n = Number();
    if (n == 0) return std::nullopt;
    std::string_view text(at_, n - 1);
    at_ += n - 1;
    return text;
  }
  Words Span() {
    Words words;
    words.first = Number32();
    words.count = Number32();
    return words;
  }
  OptionalText Repeatable(const OptionalText& previous) {
    const size_t n = Number();
    if (n == 0) return std::nullopt;
    if (n == 1) return previous;
    std::string_view text(at_, n - 2);
    at_ += n - 2;
    return text;
  }
  OptionalText Shared(const OptionalText& previous = std::nullopt) {
    const char* const start = at_;
    const size_t code = Number();
    if (code == 0) return std::nullopt;
    if (code == 1) return previous;
    if (code % 2 == 0) {
      std::string_view text(at_, (code - 2) / 2);
      at_ += text.size();
      return text;
    }
    // Where the text stood in full, its code even.
    size_t first;
    const char* bytes = packed::GetLength(start - (code - 1) / 2, &first);
    return std::string_view(bytes, (first - 2) / 2);
  }
  uint32_t Line(uint32_t* previous) {
    const size_t code = Number();
    const int64_t delta =
        code % 2 == 0 ? static_cast<int64_t>(code / 2) : -static_cast<int64_t>((code + 1) / 2);
    *previous = static_cast<uint32_t>(*previous + delta);
    return *previous;
  }

 private:
  const char* at_;
};

}  // namespace

void PackModel(const RecordModel& model, std::string& out) {
  CSharedTexts& shared = platform::ThreadScratch<CSharedTexts>();
  shared.Clear();
  Packer p(out, shared);
  p.Number(model.isState ? 1 : 0);
  p.Text(model.name);
  p.Optional(model.extends);
  p.Optional(model.within);
  p.Span(model.modifiers);
  p.Number(model.line);
  p.Optional(model.doc);
  p.Span(model.ignores);
  p.Number(model.words.size());
  for (std::string_view word : model.words) p.Shared(word);
  p.Number(model.constants.size());
  for (const Constant& c : model.constants) {
    p.Text(c.name);
    p.Text(c.value);
    p.Number(c.line);
    p.Optional(c.doc);
  }
  p.Number(model.enums.size());
  for (const Enumeration& e : model.enums) {
    p.Text(e.name);
    p.Span(e.values);
    p.Number(e.line);
    p.Optional(e.doc);
  }
  p.Number(model.structs.size());
  for (const Structure& s : model.structs) {
    p.Text(s.name);
    p.Optional(s.extends);
    p.Span(s.modifiers);
    p.Number(s.line);
    p.Optional(s.doc);
  }
  p.Number(model.variables.size());
  const Variable* previous = nullptr;
  uint32_t line = model.line;
  for (const Variable& v : model.variables) {
    p.Text(v.name);
    p.Shared(v.type, previous ? OptionalText(previous->type) : std::nullopt);
    p.Shared(v.category, previous ? previous->category : std::nullopt);
    p.Span(v.modifiers);
    p.Optional(v.size);
    p.Line(v.line, &line);
    p.Repeatable(v.doc, previous ? previous->doc : std::nullopt);
    p.Number(v.structure);
    previous = &v;
  }
  p.Number(model.functions.size());
  line = model.line;
  for (const Function& f : model.functions) {
    p.Text(f.name);
    p.Number(static_cast<size_t>(f.kind));
    p.Optional(f.precedence);
    p.Shared(f.returns);
    p.Span(f.modifiers);
    p.Number(f.parameterCount);
    p.Number(f.body ? 1 : 0);
    p.Line(f.line, &line);
    p.Optional(f.doc);
  }
  p.Number(model.parameters.size());
  OptionalText type;
  for (const Parameter& a : model.parameters) {
    p.Text(a.name);
    p.Shared(a.type, type);
    type = a.type;
    p.Span(a.modifiers);
    p.Optional(a.value);
  }
  p.Number(model.defaults.size());
  for (const DefaultProperty& d : model.defaults) {
    p.Text(d.key);
    p.Shared(d.value);
    p.Number(d.line);
  }
}

namespace {

// Makes `list` `n` long. A list far longer before (by more than a few
// kilobytes) gives its room back first: a model unpacked again and again
// into one place keeps only about the room its present record needs, not
// the largest record's ever put there.
template <typename T>
void SizeTo(std::vector<T>& list, size_t n) {
  if (list.capacity() > 2 * n + 4096 / sizeof(T)) std::vector<T>().swap(list);
  list.resize(n);
}

}  // namespace

void UnpackModel(std::string_view packed, RecordModel& model, UnpackPart part) {
  model.Clear();
  if (packed.empty()) return;
  Unpacker u(packed);
  model.isState = u.Number() != 0;
  model.name = u.Text();
  model.extends = u.Optional();
  model.within = u.Optional();
  model.modifiers = u.Span();
  model.line = u.Number32();
  model.doc = u.Optional();
  model.ignores = u.Span();
  SizeTo(model.words, u.Number());
  for (std::string_view& word : model.words) word = *u.Shared();
  SizeTo(model.constants, u.Number());
  for (Constant& c : model.constants) {
    c.name = u.Text();
    c.value = u.Text();
    c.line = u.Number32();
    c.doc = u.Optional();
  }
  SizeTo(model.enums, u.Number());
  for (Enumeration& e : model.enums) {
    e.name = u.Text();
    e.values = u.Span();
    e.line = u.Number32();
    e.doc = u.Optional();
  }
  SizeTo(model.structs, u.Number());
  for (Structure& s : model.structs) {
    s.name = u.Text();
    s.extends = u.Optional();
    s.modifiers = u.Span();
    s.line = u.Number32();
    s.doc = u.Optional();
  }
  if (part == UnpackPart::kTypes) return;
  SizeTo(model.variables, u.Number());
  const Variable* previous = nullptr;
  uint32_t line = model.line;
  for (Variable& v : model.variables) {
    v.name = u.Text();
    v.type = u.Shared(previous ? OptionalText(previous->type) : std::nullopt).value_or("");
    v.category = u.Shared(previous ? previous->category : std::nullopt);
    v.modifiers = u.Span();
    v.size = u.Optional();
    v.line = u.Line(&line);
    v.doc = u.Repeatable(previous ? previous->doc : std::nullopt);
    v.structure = u.Number32();
    previous = &v;
  }
  SizeTo(model.functions, u.Number());
  line = model.line;
  uint32_t parameters = 0;
  for (Function& f : model.functions) {
    f.name = u.Text();
    f.kind = static_cast<FunctionKind>(u.Number());
    f.precedence = u.Optional();
    f.returns = u.Shared();
    f.modifiers = u.Span();
    // A function's parameters follow those of the one before it.
    f.firstParameter = parameters;
    f.parameterCount = u.Number32();
    parameters += f.parameterCount;
    f.body = u.Number() != 0;
    f.line = u.Line(&line);
    f.doc = u.Optional();
  }
  // Parameters and default properties come last: a reader of members stops
  // before them.
  if (part == UnpackPart::kMembers) return;
  SizeTo(model.parameters, u.Number());
  OptionalText type;
  for (Parameter& a : model.parameters) {
    a.name = u.Text();
    a.type = u.Shared(type).value_or("");
    type = a.type;
    a.modifiers = u.Span();
    a.value = u.Optional();
  }
  SizeTo(model.defaults, u.Number());
  for (DefaultProperty& d : model.defaults) {
    d.key = u.Text();
    d.value = *u.Shared();
    d.line = u.Number32();
  }
}

}  // namespace model

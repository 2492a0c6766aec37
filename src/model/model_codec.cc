#include "model/model_codec.h"

#include "model/packed_texts.h"

namespace model {

namespace {

class Packer {
 public:
  explicit Packer(std::string& out) : out_(out) {}

  void Number(size_t n) {
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

 private:
  std::string& out_;
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

 private:
  const char* at_;
};

}  // namespace

void PackModel(const RecordModel& model, std::string& out) {
  Packer p(out);
  p.Number(model.isState ? 1 : 0);
  p.Text(model.name);
  p.Optional(model.extends);
  p.Optional(model.within);
  p.Span(model.modifiers);
  p.Number(model.line);
  p.Optional(model.doc);
  p.Span(model.ignores);
  p.Number(model.words.size());
  for (std::string_view word : model.words) p.Text(word);
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
  for (const Variable& v : model.variables) {
    p.Text(v.name);
    p.Text(v.type);
    p.Optional(v.category);
    p.Span(v.modifiers);
    p.Optional(v.size);
    p.Number(v.line);
    p.Optional(v.doc);
    p.Number(v.structure);
  }
  p.Number(model.functions.size());
  for (const Function& f : model.functions) {
    p.Text(f.name);
    p.Number(static_cast<size_t>(f.kind));
    p.Optional(f.precedence);
    p.Optional(f.returns);
    p.Span(f.modifiers);
    p.Number(f.firstParameter);
    p.Number(f.parameterCount);
    p.Number(f.body ? 1 : 0);
    p.Number(f.line);
    p.Optional(f.doc);
  }
  p.Number(model.parameters.size());
  for (const Parameter& a : model.parameters) {
    p.Text(a.name);
    p.Text(a.type);
    p.Span(a.modifiers);
    p.Optional(a.value);
  }
  p.Number(model.defaults.size());
  for (const DefaultProperty& d : model.defaults) {
    p.Text(d.key);
    p.Text(d.value);
    p.Number(d.line);
  }
}

void UnpackModel(std::string_view packed, RecordModel& model) {
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
  model.words.resize(u.Number());
  for (std::string_view& word : model.words) word = u.Text();
  model.constants.resize(u.Number());
  for (Constant& c : model.constants) {
    c.name = u.Text();
    c.value = u.Text();
    c.line = u.Number32();
    c.doc = u.Optional();
  }
  model.enums.resize(u.Number());
  for (Enumeration& e : model.enums) {
    e.name = u.Text();
    e.values = u.Span();
    e.line = u.Number32();
    e.doc = u.Optional();
  }
  model.structs.resize(u.Number());
  for (Structure& s : model.structs) {
    s.name = u.Text();
    s.extends = u.Optional();
    s.modifiers = u.Span();
    s.line = u.Number32();
    s.doc = u.Optional();
  }
  model.variables.resize(u.Number());
  for (Variable& v : model.variables) {
    v.name = u.Text();
    v.type = u.Text();
    v.category = u.Optional();
    v.modifiers = u.Span();
    v.size = u.Optional();
    v.line = u.Number32();
    v.doc = u.Optional();
    v.structure = u.Number32();
  }
  model.functions.resize(u.Number());
  for (Function& f : model.functions) {
    f.name = u.Text();
    f.kind = static_cast<FunctionKind>(u.Number());
    f.precedence = u.Optional();
    f.returns = u.Optional();
    f.modifiers = u.Span();
    f.firstParameter = u.Number32();
    f.parameterCount = u.Number32();
    f.body = u.Number() != 0;
    f.line = u.Number32();
    f.doc = u.Optional();
  }
  model.parameters.resize(u.Number());
  for (Parameter& a : model.parameters) {
    a.name = u.Text();
    a.type = u.Text();
    a.modifiers = u.Span();
    a.value = u.Optional();
  }
  model.defaults.resize(u.Number());
  for (DefaultProperty& d : model.defaults) {
    d.key = u.Text();
    d.value = u.Text();
    d.line = u.Number32();
  }
}

}  // namespace model

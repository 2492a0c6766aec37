#include "writer/data/model_json.h"

#include <array>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <new>
#include <optional>
#include <thread>

#include "model/class_list.h"
#include "model/model_codec.h"
#include "model/package_name.h"
#include "platform/output_file.h"
#include "platform/path.h"
#include "writer/common/anchors.h"
#include "writer/common/file_path_text.h"
#include "writer/links/overriders.h"
#include "writer/links/references.h"
#include "writer/links/source_links.h"
#include "writer/names/name_table.h"
#include "writer/names/type_table.h"

namespace {

using namespace std::string_view_literals;

// The characters of windows-1252's bytes 0x80 to 0x9F; the five it leaves
// undefined stand for the control characters of the same number, as browsers
// read them.
constexpr uint16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

void AppendUtf8(std::string& out, uint32_t c) {
  if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
  } else {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
  }
  out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
}

// Writes JSON of one record at a time into a text that is passed on to the
// file whenever it has grown large.
class CJson {
 public:
  explicit CJson(std::string& out) : out_(out) {}

  void Raw(std::string_view text) { out_.append(text); }
  // Keys are the format's own names, which need no escape.
  void Key(std::string_view key) {
    Separate();
    // The format's keys are short: quoted, with what follows, in one append.
    char quoted[kKeyRoom + 4];
    if (key.size() <= kKeyRoom) {
      quoted[0] = '"';
      std::memcpy(quoted + 1, key.data(), key.size());
      char* const after = quoted + 1 + key.size();
      after[0] = '"';
      after[1] = ':';
      after[2] = ' ';
      out_.append(quoted, key.size() + 4);
    } else {
      out_.push_back('"');
      out_.append(key);
      out_.append("\": "sv);
    }
    first_ = true;  // the value follows without a comma
    after_key_ = true;
  }
  void String(std::string_view text) {
    Separate();
    AppendJsonString(out_, text);
  }
  void Path(std::string_view path) {
    Separate();
    AppendJsonPath(out_, path);
  }
  void Optional(const model::OptionalText& text) {
    if (text) {
      String(*text);
    } else {
      Separate();
      out_.append("null"sv);
    }
  }
  void Number(size_t n) {
    Separate();
    char digits[24];
    out_.append(digits,
                static_cast<size_t>(std::to_chars(digits, digits + sizeof digits, n).ptr - digits));
  }
  void Bool(bool value) {
    Separate();
    out_.append(value ? "true"sv : "false"sv);
  }
  void Null() {
    Separate();
    out_.append("null"sv);
  }
  void Open(char bracket) {
    Separate();
    out_.push_back(bracket);
    first_ = true;
  }
  void Close(char bracket) {
    out_.push_back(bracket);
    first_ = false;
  }
  void Words(const model::RecordModel& record, model::Words words) {
    Open('[');
    for (std::string_view word : record.Span(words)) String(word);
    Close(']');
  }

  // A key with its value.
  void Text(std::string_view key, std::string_view text) {
    Key(key);
    String(text);
  }
  void Maybe(std::string_view key, const model::OptionalText& text) {
    Key(key);
    Optional(text);
  }
  void Count(std::string_view key, size_t n) {
    Key(key);
    Number(n);
  }
  void List(std::string_view key, const model::RecordModel& record, model::Words words) {
    Key(key);
    Words(record, words);
  }

 private:
  static constexpr size_t kKeyRoom = 28;

  void Separate() {
    if (after_key_) {
      after_key_ = false;
    } else if (!first_) {
      out_.append(", "sv);
    }
    first_ = false;
  }

  std::string& out_;
  bool first_ = true;
  bool after_key_ = false;
};

// What a type names in the tree, seen from the record at `context`: the
// record and the anchor of an enumeration or structure, the record and a
// null anchor of a class, or null.
void TypeRef(CJson& json, const CTypeTable& types, size_t context, std::string_view key,
             const model::OptionalText& type) {
  json.Key(key);
  const CTypeTable::Target target = type ? types.Resolve(*type, context) : CTypeTable::Target{};
  if (!target.found()) {
    json.Null();
    return;
  }
  json.Open('{');
  json.Count("record", target.record);
  json.Key("anchor");
  if (target.kind == CTypeTable::kClass) {
    json.Null();
  } else {
    std::string anchor;
    CTypeTable::AppendAnchor(anchor, target);
    json.String(anchor);
  }
  json.Close('}');
}

// Where a record's types are resolved from: the tree's table and the record;
// and what its functions override.
struct Types {
  const CTypeTable& table;
  size_t record;
  const COverriders& overriders;
  // Who refers to what, when the run links its source pages; the names the
  // record declared so far, by kind.
  const CReferences* references;
  CNameTable* names;
};

// How many places refer to the record's member `name` of `kind`: links
// lead to the first declaration of a kind and name only.
void References(CJson& json, const Types& types, anchors::MemberKind kind, std::string_view name) {
  if (!types.references) return;
  const auto key = static_cast<uint8_t>(kind);
  const CReferences::Section* section = types.names->Count(key, {}, name) == 0
                                            ? types.references->Find(types.record, key, name)
                                            : nullptr;
  json.Count("references", section ? section->end - section->first : 0);
}

void Variable(CJson& json, const Types& types, const model::RecordModel& record,
              const model::Variable& v) {
  json.Open('{');
  json.Text("name", v.name);
  json.Text("type", v.type);
  TypeRef(json, types.table, types.record, "type_ref", v.type);
  json.Maybe("category", v.category);
  json.List("modifiers", record, v.modifiers);
  json.Maybe("size", v.size);
  json.Count("line", v.line);
  json.Maybe("doc", v.doc);
  // A structure's member is linked to by no name of the code.
  if (v.structure == 0) {
    References(json, types, anchors::MemberKind::kVariable, v.name);
  } else if (types.references) {
    json.Count("references", 0);
  }
  json.Close('}');
}

void Function(CJson& json, const Types& types, const model::RecordModel& record,
              const model::Function& f) {
  json.Open('{');
  json.Text("name", f.name);
  json.Text("kind", model::KindName(f.kind));
  json.Maybe("returns", f.returns);
  TypeRef(json, types.table, types.record, "returns_ref", f.returns);
  json.List("modifiers", record, f.modifiers);
  json.Key("parameters");
  json.Open('[');
  for (uint32_t i = 0; i < f.parameterCount; ++i) {
    const model::Parameter& p = record.parameters[f.firstParameter + i];
    json.Open('{');
    json.Text("name", p.name);
    json.Text("type", p.type);
    TypeRef(json, types.table, types.record, "type_ref", p.type);
    json.List("modifiers", record, p.modifiers);
    json.Maybe("default", p.value);
    json.Close('}');
  }
  json.Close(']');
  json.Key("body");
  json.Bool(f.body);
  json.Count("line", f.line);
  json.Maybe("doc", f.doc);
  // An operator overrides nothing by its name alone.
  json.Key("overrides");
  const uint32_t overridden = model::IsOperator(f.kind)
                                  ? COverriders::kNone
                                  : types.overriders.Overridden(types.record, f.name);
  if (overridden == COverriders::kNone) {
    json.Null();
  } else {
    json.Number(overridden);
  }
  // Operators are linked to by no name.
  References(json, types, anchors::MemberKind::kFunction,
             model::IsOperator(f.kind) ? std::string_view() : f.name);
  json.Close('}');
}

void ClassParts(CJson& json, const Types& types, const model::RecordModel& record) {
  json.Maybe("within", record.within);
  json.Key("constants");
  json.Open('[');
  for (const model::Constant& c : record.constants) {
    json.Open('{');
    json.Text("name", c.name);
    json.Text("value", c.value);
    json.Count("line", c.line);
    json.Maybe("doc", c.doc);
    References(json, types, anchors::MemberKind::kConstant, c.name);
    json.Close('}');
  }
  json.Close(']');
  json.Key("enums");
  json.Open('[');
  for (const model::Enumeration& e : record.enums) {
    json.Open('{');
    json.Text("name", e.name);
    json.List("values", record, e.values);
    json.Count("line", e.line);
    json.Maybe("doc", e.doc);
    References(json, types, anchors::MemberKind::kEnumeration, e.name);
    json.Close('}');
  }
  json.Close(']');
  json.Key("structs");
  json.Open('[');
  for (size_t s = 0; s < record.structs.size(); ++s) {
    const model::Structure& structure = record.structs[s];
    json.Open('{');
    json.Text("name", structure.name);
    json.Maybe("extends", structure.extends);
    json.List("modifiers", record, structure.modifiers);
    json.Key("members");
    json.Open('[');
    for (const model::Variable& v : record.variables) {
      if (v.structure == s + 1) Variable(json, types, record, v);
    }
    json.Close(']');
    json.Count("line", structure.line);
    json.Maybe("doc", structure.doc);
    References(json, types, anchors::MemberKind::kStructure, structure.name);
    json.Close('}');
  }
  json.Close(']');
}

// The variables a class or a state declares outside structures.
void Variables(CJson& json, const Types& types, const model::RecordModel& record) {
  json.Key("variables");
  json.Open('[');
  for (const model::Variable& v : record.variables) {
    if (v.structure == 0) Variable(json, types, record, v);
  }
  json.Close(']');
}

void Record(CJson& json, const CClassList& list, const Types& types, const model::RecordModel& m) {
  const size_t number = types.record;
  const CClassRecord& record = list.At(number);
  json.Open('{');
  json.Count("number", number);
  json.Text("kind", record.isState ? "state" : "class");
  json.Text("name", record.name());
  json.Maybe("extends", m.extends);
  json.Key("parent");
  if (record.parent) {
    json.Number(list.PositionOf(*record.parent));
  } else {
    json.Null();
  }
  json.Key("script");
  std::string script = record.scriptPath();
  if (platform::kPathSeparator != '/') {
    for (char& c : script) {
      if (c == platform::kPathSeparator) c = '/';
    }
  }
  json.Path(script);
  json.Key("package");
  if (const std::string_view package = PackageOf(script, platform::kPathSeparator);
      package.empty()) {
    json.Null();
  } else {
    json.Path(package);
  }
  json.Count("line", m.line);
  json.Maybe("doc", m.doc);
  json.List("modifiers", m, m.modifiers);
  if (record.isState) {
    json.List("ignores", m, m.ignores);
  } else {
    ClassParts(json, types, m);
  }
  Variables(json, types, m);
  json.Key("functions");
  json.Open('[');
  for (const model::Function& f : m.functions) Function(json, types, m, f);
  json.Close(']');
  if (!record.isState) {
    json.Key("defaults");
    json.Open('[');
    for (const model::DefaultProperty& d : m.defaults) {
      json.Open('{');
      json.Text("key", d.key);
      json.Text("value", d.value);
      json.Count("line", d.line);
      json.Close('}');
    }
    json.Close(']');
  }
  // A class's own references; a state's are those to its name in its class.
  if (types.references) {
    const CReferences::Section* section =
        record.isState == 0 ? types.references->Find(number, SourceLink::kClassItself, {})
        : record.parent     ? types.references->Find(list.PositionOf(*record.parent),
                                                     static_cast<uint8_t>(anchors::MemberKind::kState),
                                                     record.name())
                            : nullptr;
    json.Count("references", section ? section->end - section->first : 0);
  }
  json.Close('}');
}

// Appends `text` as a JSON string in UTF-8, quotes included: its bytes from
// 0x80 up kept when it is `utf8`, else read as windows-1252.
void AppendJsonText(std::string& out, std::string_view text, bool utf8) {
  static constexpr char kHex[] = "0123456789abcdef";
  // Printable ASCII but the quote and the backslash stand as they are: such
  // runs are added whole, the other bytes one by one.
  static constexpr auto kPlain = [] {
    std::array<bool, 256> plain{};
    for (int c = 0x20; c < 0x80; ++c) plain[static_cast<size_t>(c)] = c != '"' && c != '\\';
    return plain;
  }();
  out.push_back('"');
  size_t at = 0;
  while (at < text.size()) {
    const size_t run = at;
    while (at < text.size() && kPlain[static_cast<unsigned char>(text[at])]) ++at;
    out.append(text.substr(run, at - run));
    if (at == text.size()) break;
    const char c = text[at++];
    const unsigned char u = static_cast<unsigned char>(c);
    if (u == '"' || u == '\\') {
      out.push_back('\\');
      out.push_back(c);
    } else if (u == '\n') {
      out.append("\\n"sv);
    } else if (u == '\r') {
      out.append("\\r"sv);
    } else if (u == '\t') {
      out.append("\\t"sv);
    } else if (u < 0x20) {
      out.append("\\u00"sv);
      out.push_back(kHex[u >> 4]);
      out.push_back(kHex[u & 15]);
    } else if (utf8 && u >= 0x80) {
      out.push_back(c);
    } else if (u >= 0x80 && u < 0xA0) {
      AppendUtf8(out, kHighControls[u - 0x80]);
    } else {
      AppendUtf8(out, u);  // 0xA0 and up: the character of the same number
    }
  }
  out.push_back('"');
}

}  // namespace

void AppendJsonString(std::string& out, std::string_view text) {
  AppendJsonText(out, text, false);
}

void AppendJsonPath(std::string& out, std::string_view path) {
  AppendJsonText(out, path, IsUtf8(path));
}

void AppendUtf8Text(std::string& out, std::string_view text) {
  for (const char c : text) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (u < 0x80) {
      out.push_back(c);
    } else {
      AppendUtf8(out, u < 0xA0 ? kHighControls[u - 0x80] : u);
    }
  }
}

void AppendJsonFileHead(std::string& out) {
  out.append("{\"format\": "sv);
  out.append(std::to_string(kModelFormat));
  out.append(", \"generator\": "sv);
  AppendJsonString(out, "KorvanRef " KORVANREF_VERSION);
}

CModelJsonWriter::CModelJsonWriter(const CClassList& list, const CTypeTable& types,
                                   const COverriders& overriders, const CReferences* references)
    : list_(list), types_(types), overriders_(overriders), references_(references) {}

size_t CModelJsonWriter::Runs() const {
  return (list_.Count() + kRun - 1) / kRun;
}

void CModelJsonWriter::MakeRun(size_t run, std::string& out) const {
  // The names each record declared so far, and its unpacked model.
  CNameTable names{false};
  model::RecordModel record;
  const size_t end = std::min(list_.Count(), (run + 1) * kRun);
  for (size_t i = run * kRun; i < end; ++i) {
    model::UnpackModel(list_.At(i).packedModel(), record);
    out.append(i == 0 ? "\n"sv : ",\n"sv);
    CJson json(out);
    names.Clear();
    Record(json, list_, {types_, i, overriders_, references_, &names}, record);
  }
}

void CModelJsonWriter::WriteAheadBefore(size_t end, platform::COutputFile& file, std::string& out) {
  for (size_t run = written_.load(std::memory_order_relaxed); run < end; ++run) {
    WriteAhead(run, file, out);
    written_.store(run + 1, std::memory_order_release);
  }
}

void CModelJsonWriter::WriteAhead(size_t run, platform::COutputFile& file, std::string& out) {
  std::atomic<size_t>& state = state_[run % kAhead];
  size_t now = state.load(std::memory_order_acquire);
  while (now / 4 != run + 1) {
    std::this_thread::yield();
    now = state.load(std::memory_order_acquire);
  }
  if (now % 4 == kUndone) {
    MakeRun(run, out);
    return;
  }
  file.Write(out);
  out.clear();
  file.Write(text_[run % kAhead]);
}

void CModelJsonWriter::Write(platform::COutputFile& file) {
  // Memory running out ends the writing early: the helping thread then
  // stops too.
  struct Ended {
    std::atomic<bool>& ended;
    ~Ended() { ended.store(true, std::memory_order_release); }
  } ended{ended_};
  std::string out;
  AppendJsonFileHead(out);
  out.append(", \"records\": ["sv);
  const size_t runs = Runs();
  for (size_t run = next_.fetch_add(1); run < runs; run = next_.fetch_add(1)) {
    // The runs taken ahead since this thread's last come first.
    WriteAheadBefore(run, file, out);
    MakeRun(run, out);
    written_.store(run + 1, std::memory_order_release);
    if (out.size() >= (size_t{1} << 20)) {
      file.Write(out);
      out.clear();
    }
  }
  WriteAheadBefore(runs, file, out);
  out.append("\n]}\n"sv);
  file.Write(out);
}

void CModelJsonWriter::Help() {
  const size_t runs = Runs();
  size_t run = next_.load(std::memory_order_relaxed);
  while (run < runs && !ended_.load(std::memory_order_acquire)) {
    // A run is taken only once the one kAhead before it, whose slot it
    // takes, is written.
    if (run >= written_.load(std::memory_order_acquire) + kAhead) {
      std::this_thread::yield();
      run = next_.load(std::memory_order_relaxed);
      continue;
    }
    if (!next_.compare_exchange_weak(run, run + 1, std::memory_order_relaxed)) continue;
    const size_t slot = run % kAhead;
    size_t made = kMade;
    try {
      text_[slot].clear();
      MakeRun(run, text_[slot]);
    } catch (const std::bad_alloc&) {
      made = kUndone;
    }
    state_[slot].store((run + 1) * 4 + made, std::memory_order_release);
    run = next_.load(std::memory_order_relaxed);
  }
}

void WriteModelJson(platform::COutputFile& file, const CClassList& list, const CTypeTable& types,
                    const COverriders& overriders, const CReferences* references) {
  CModelJsonWriter(list, types, overriders, references).Write(file);
}

#include "writer/model_json.h"

#include <cstdint>
#include <optional>

#include "model/class_list.h"
#include "model/model_codec.h"
#include "platform/output_file.h"
#include "platform/path.h"

namespace {

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
  void Key(std::string_view key) {
    Separate();
    AppendJsonString(out_, key);
    out_.append(": ");
    first_ = true;  // the value follows without a comma
    after_key_ = true;
  }
  void String(std::string_view text) {
    Separate();
    AppendJsonString(out_, text);
  }
  void Optional(const model::OptionalText& text) {
    if (text) {
      String(*text);
    } else {
      Separate();
      out_.append("null");
    }
  }
  void Number(size_t n) {
    Separate();
    out_.append(std::to_string(n));
  }
  void Bool(bool value) {
    Separate();
    out_.append(value ? "true" : "false");
  }
  void Null() {
    Separate();
    out_.append("null");
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

 private:
  void Separate() {
    if (after_key_) {
      after_key_ = false;
    } else if (!first_) {
      out_.append(", ");
    }
    first_ = false;
  }

  std::string& out_;
  bool first_ = true;
  bool after_key_ = false;
};

void Variable(CJson& json, const model::RecordModel& record, const model::Variable& v) {
  json.Open('{');
  json.Key("name");
  json.String(v.name);
  json.Key("type");
  json.String(v.type);
  json.Key("category");
  json.Optional(v.category);
  json.Key("modifiers");
  json.Words(record, v.modifiers);
  json.Key("size");
  json.Optional(v.size);
  json.Key("line");
  json.Number(v.line);
  json.Key("doc");
  json.Optional(v.doc);
  json.Close('}');
}

void Function(CJson& json, const model::RecordModel& record, const model::Function& f) {
  json.Open('{');
  json.Key("name");
  json.String(f.name);
  json.Key("kind");
  json.String(model::KindName(f.kind));
  json.Key("returns");
  json.Optional(f.returns);
  json.Key("modifiers");
  json.Words(record, f.modifiers);
  json.Key("parameters");
  json.Open('[');
  for (uint32_t i = 0; i < f.parameterCount; ++i) {
    const model::Parameter& p = record.parameters[f.firstParameter + i];
    json.Open('{');
    json.Key("name");
    json.String(p.name);
    json.Key("type");
    json.String(p.type);
    json.Key("modifiers");
    json.Words(record, p.modifiers);
    json.Key("default");
    json.Optional(p.value);
    json.Close('}');
  }
  json.Close(']');
  json.Key("body");
  json.Bool(f.body);
  json.Key("line");
  json.Number(f.line);
  json.Key("doc");
  json.Optional(f.doc);
  json.Close('}');
}

void ClassParts(CJson& json, const model::RecordModel& record) {
  json.Key("within");
  json.Optional(record.within);
  json.Key("constants");
  json.Open('[');
  for (const model::Constant& c : record.constants) {
    json.Open('{');
    json.Key("name");
    json.String(c.name);
    json.Key("value");
    json.String(c.value);
    json.Key("line");
    json.Number(c.line);
    json.Key("doc");
    json.Optional(c.doc);
    json.Close('}');
  }
  json.Close(']');
  json.Key("enums");
  json.Open('[');
  for (const model::Enumeration& e : record.enums) {
    json.Open('{');
    json.Key("name");
    json.String(e.name);
    json.Key("values");
    json.Words(record, e.values);
    json.Key("line");
    json.Number(e.line);
    json.Key("doc");
    json.Optional(e.doc);
    json.Close('}');
  }
  json.Close(']');
  json.Key("structs");
  json.Open('[');
  for (size_t s = 0; s < record.structs.size(); ++s) {
    const model::Structure& structure = record.structs[s];
    json.Open('{');
    json.Key("name");
    json.String(structure.name);
    json.Key("extends");
    json.Optional(structure.extends);
    json.Key("modifiers");
    json.Words(record, structure.modifiers);
    json.Key("members");
    json.Open('[');
    for (const model::Variable& v : record.variables) {
      if (v.structure == s + 1) Variable(json, record, v);
    }
    json.Close(']');
    json.Key("line");
    json.Number(structure.line);
    json.Key("doc");
    json.Optional(structure.doc);
    json.Close('}');
  }
  json.Close(']');
  json.Key("variables");
  json.Open('[');
  for (const model::Variable& v : record.variables) {
    if (v.structure == 0) Variable(json, record, v);
  }
  json.Close(']');
}

void Record(CJson& json, const CClassList& list, size_t number, const model::RecordModel& m) {
  const CClassRecord& record = list.At(number);
  json.Open('{');
  json.Key("number");
  json.Number(number);
  json.Key("kind");
  json.String(record.isState ? "state" : "class");
  json.Key("name");
  json.String(record.name());
  json.Key("extends");
  json.Optional(m.extends);
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
  json.String(script);
  json.Key("line");
  json.Number(m.line);
  json.Key("doc");
  json.Optional(m.doc);
  json.Key("modifiers");
  json.Words(m, m.modifiers);
  if (record.isState) {
    json.Key("ignores");
    json.Words(m, m.ignores);
  } else {
    ClassParts(json, m);
  }
  json.Key("functions");
  json.Open('[');
  for (const model::Function& f : m.functions) Function(json, m, f);
  json.Close(']');
  if (!record.isState) {
    json.Key("defaults");
    json.Open('[');
    for (const model::DefaultProperty& d : m.defaults) {
      json.Open('{');
      json.Key("key");
      json.String(d.key);
      json.Key("value");
      json.String(d.value);
      json.Key("line");
      json.Number(d.line);
      json.Close('}');
    }
    json.Close(']');
  }
  json.Close('}');
}

}  // namespace

void AppendJsonString(std::string& out, std::string_view text) {
  static constexpr char kHex[] = "0123456789abcdef";
  out.push_back('"');
  for (char c : text) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (u == '"' || u == '\\') {
      out.push_back('\\');
      out.push_back(c);
    } else if (u == '\n') {
      out.append("\\n");
    } else if (u == '\r') {
      out.append("\\r");
    } else if (u == '\t') {
      out.append("\\t");
    } else if (u < 0x20) {
      out.append("\\u00");
      out.push_back(kHex[u >> 4]);
      out.push_back(kHex[u & 15]);
    } else if (u < 0x80) {
      out.push_back(c);
    } else if (u < 0xA0) {
      AppendUtf8(out, kHighControls[u - 0x80]);
    } else {
      AppendUtf8(out, u);
    }
  }
  out.push_back('"');
}

void WriteModelJson(platform::COutputFile& file, const CClassList& list) {
  std::string out;
  out.append("{\"format\": ");
  out.append(std::to_string(kModelFormat));
  out.append(", \"generator\": ");
  AppendJsonString(out, "KorvanRef " KORVANREF_VERSION);
  out.append(", \"records\": [");
  model::RecordModel record;
  const size_t count = list.Count();
  for (size_t i = 0; i < count; ++i) {
    model::UnpackModel(list.At(i).packedModel(), record);
    out.append(i == 0 ? "\n" : ",\n");
    CJson json(out);
    Record(json, list, i, record);
    if (out.size() >= (size_t{1} << 20)) {
      file.Write(out);
      out.clear();
    }
  }
  out.append("\n]}\n");
  file.Write(out);
}

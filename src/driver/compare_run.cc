#include "driver/compare_run.h"

#include <cstdint>
#include <deque>
#include <new>
#include <vector>

#include "driver/messages.h"
#include "driver/whole_file.h"
#include "model/class_list.h"
#include "model/model_changes.h"
#include "model/model_codec.h"
#include "model/package_name.h"
#include "platform/console.h"
#include "platform/mapped_file.h"
#include "platform/path.h"
#include "platform/replacing_file.h"
#include "writer/common/file_path_text.h"
#include "writer/data/changes_json.h"
#include "writer/data/model_json.h"
#include "writer/pages/changes_page.h"
#include "writer/pages/changes_templates.h"

namespace {

// How many records are compared between two releases of the earlier file's
// pages: some 20 MB of it on the benchmark's trees.
constexpr size_t kReleasedRecords = 4096;

bool IsAscii(std::string_view text) {
  for (const char c : text) {
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  }
  return true;
}

// The texts of a record's model in UTF-8, as the model file has them: most
// are ASCII and stand as they are; the others are converted into texts kept
// until the next record.
class CUtf8Texts {
 public:
  void Clear() {
    texts_.clear();
    words_.clear();
  }
  std::string_view Of(std::string_view text) {
    if (IsAscii(text)) return text;
    std::string& out = texts_.emplace_back();
    AppendUtf8Text(out, text);
    return out;
  }
  model::OptionalText Of(const model::OptionalText& text) {
    return text ? model::OptionalText(Of(*text)) : std::nullopt;
  }
  model::WordList Of(model::WordList words) {
    bool ascii = true;
    for (std::string_view word : words) ascii = ascii && IsAscii(word);
    if (ascii) return words;
    std::vector<std::string_view>& out = words_.emplace_back();
    for (std::string_view word : words) out.push_back(Of(word));
    return out;
  }

 private:
  std::deque<std::string> texts_;
  std::deque<std::vector<std::string_view>> words_;
};

// The declarations of record `number` of `list`, whose model is `m`, as
// those of the model file's record object would read.
void Declare(const CClassList& list, size_t number, const model::RecordModel& m,
             model::CModelDeclarations& out, CUtf8Texts& utf8, std::string& parameters,
             std::vector<std::string_view>& types) {
  out.Clear();
  utf8.Clear();
  const CClassRecord& record = list.At(number);
  if (!record.isState) {
    for (const model::Constant& c : m.constants) out.AddConstant(utf8.Of(c.name), utf8.Of(c.value));
    for (const model::Enumeration& e : m.enums) {
      out.AddEnum(utf8.Of(e.name), utf8.Of(m.Span(e.values)));
    }
    for (size_t s = 0; s < m.structs.size(); ++s) {
      const model::Structure& structure = m.structs[s];
      const size_t first = out.Size();
      const std::string_view name = utf8.Of(structure.name);
      for (const model::Variable& v : m.variables) {
        if (v.structure != s + 1) continue;
        out.AddVariable(name, utf8.Of(v.name), utf8.Of(v.type), utf8.Of(v.category),
                        utf8.Of(m.Span(v.modifiers)), utf8.Of(v.size));
      }
      out.AddStruct(name, utf8.Of(structure.extends), utf8.Of(m.Span(structure.modifiers)), first);
    }
  }
  for (const model::Variable& v : m.variables) {
    if (v.structure != 0) continue;
    out.AddVariable({}, utf8.Of(v.name), utf8.Of(v.type), utf8.Of(v.category),
                    utf8.Of(m.Span(v.modifiers)), utf8.Of(v.size));
  }
  for (const model::Function& f : m.functions) {
    parameters.clear();
    types.clear();
    for (uint32_t i = 0; i < f.parameterCount; ++i) {
      const model::Parameter& p = m.parameters[f.firstParameter + i];
      types.push_back(utf8.Of(p.type));
      model::CModelDeclarations::AppendParameter(parameters, utf8.Of(p.name), types.back(),
                                                 utf8.Of(m.Span(p.modifiers)), utf8.Of(p.value));
    }
    out.AddFunction(utf8.Of(f.name), model::KindName(f.kind), utf8.Of(f.returns),
                    utf8.Of(m.Span(f.modifiers)), parameters, types);
  }
  if (!record.isState) {
    for (const model::DefaultProperty& d : m.defaults) {
      out.AddDefault(utf8.Of(d.key), utf8.Of(d.value));
    }
  }
  out.EndRecord(record.isState, utf8.Of(record.name()), utf8.Of(m.extends),
                record.isState ? std::nullopt : utf8.Of(m.within));
}

}  // namespace

bool CEarlierModel::Read(const std::string& path) {
  path_ = path;
  // Memory running out for a huge file is one more reason it cannot be
  // compared with; the run goes on without it.
  try {
    if (platform::KindAt(path) == platform::PathKind::kNothing) {
      problem_ = "there is no such file";
    } else if (!file_.Open(path)) {
      problem_ = "it cannot be read";
    } else if (index_.Read(
                   file_.Text(), problem_,
                   [](void* file) { static_cast<platform::CMappedFile*>(file)->Release(); },
                   &file_)) {
      // The text is read again a record at a time as they are compared.
      file_.Release();
      return true;
    }
  } catch (const std::bad_alloc&) {
    problem_ = "there is not enough memory to read it";
  }
  index_ = model::CModelFileIndex();
  file_.Close();
  return false;
}

void CEarlierModel::ReportProblem() const {
  console::Problem(messages::kUnableToCompare, path_.c_str(), problem_.c_str());
}

bool CEarlierModel::Compare(const CClassList& list) {
  bool compared = false;
  try {
    // Each new record's path ("Class", "Class.State"), as the model file
    // would name it.
    const size_t count = list.Count();
    std::vector<std::string> paths(count);
    std::vector<uint32_t> parents(count, model::Change::kNoRecord);
    for (size_t i = 0; i < count; ++i) {
      const CClassRecord& record = list.At(i);
      if (record.isState && record.parent) {
        AppendUtf8Text(paths[i], record.parent->name());
        paths[i].push_back('.');
        parents[i] = static_cast<uint32_t>(list.PositionOf(*record.parent));
      }
      AppendUtf8Text(paths[i], record.name());
    }
    // The new records are compared one at a time, each one's declarations
    // built from its model as the model file's record would give them.
    model::CModelChanges comparison(index_, std::move(paths), std::move(parents));
    model::RecordModel record;
    model::CModelDeclarations now;
    CUtf8Texts utf8;
    std::string parameters, package;
    std::vector<std::string_view> types;
    for (size_t i = 0; i < count; ++i) {
      model::UnpackModel(list.At(i).packedModel(), record);
      Declare(list, i, record, now, utf8, parameters, types);
      const std::string script = list.At(i).scriptPath();
      const std::string_view name = PackageOf(script, platform::kPathSeparator);
      package.clear();
      if (IsUtf8(name)) {
        package.append(name);
      } else {
        AppendUtf8Text(package, name);
      }
      comparison.Compare(static_cast<uint32_t>(i), now, package);
      // The earlier records compared so far need not stay in memory.
      if ((i + 1) % kReleasedRecords == 0) file_.Release();
    }
    if (comparison.UnreadRecord() != model::Change::kNoRecord) {
      problem_ = "its record " + std::to_string(comparison.UnreadRecord()) +
                 " is not as a model file holds it";
    } else {
      counts_ = comparison.Counts();
      changes_ = std::move(comparison.Changes());
      compared = true;
    }
  } catch (const std::bad_alloc&) {
    problem_ = "there is not enough memory to compare";
  }
  // The earlier file is no longer needed.
  index_ = model::CModelFileIndex();
  file_.Close();
  return compared;
}

void CEarlierModel::WriteChanges(const CClassList& list, bool anchors) {
  WriteWholeFile(list, changes_templates::kJsonFileName,
                 [&](platform::COutputFile& file) { WriteChangesJson(file, path_, changes_); });
  WriteWholeFile(list, changes_templates::kFileName, [&](platform::COutputFile& file) {
    WriteChangesPage(file, path_, changes_, counts_, anchors);
  });
  std::string line;
  AppendChangeCounts(line, counts_);
  console::Print(messages::kChangesSince, path_.c_str(), line.c_str());
}

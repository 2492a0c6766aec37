#include "driver/compare_run.h"

#include <new>
#include <vector>

#include "driver/messages.h"
#include "driver/whole_file.h"
#include "model/class_list.h"
#include "model/model_changes.h"
#include "model/model_codec.h"
#include "platform/console.h"
#include "platform/directory.h"
#include "platform/path.h"
#include "platform/replacing_file.h"
#include "writer/changes_json.h"
#include "writer/changes_page.h"
#include "writer/changes_templates.h"
#include "writer/model_json.h"

namespace {

// Reads the file at `path` whole into `text`; false with `problem` said.
bool ReadWholeFile(const std::string& path, std::string& text, std::string& problem) {
  if (platform::KindAt(path) == platform::PathKind::kNothing) {
    problem = "there is no such file";
    return false;
  }
  // The file is opened in its directory, as the scan opens scripts.
  size_t slash = path.find_last_of('/');
  if (platform::kPathSeparator != '/') {
    const size_t other = path.find_last_of(platform::kPathSeparator);
    if (other != std::string::npos && (slash == std::string::npos || other > slash)) slash = other;
  }
  const std::string dirName = slash == std::string::npos ? "." : path.substr(0, slash + 1);
  const std::string fileName = slash == std::string::npos ? path : path.substr(slash + 1);
  platform::CDirectory dir;
  platform::CInputFile file;
  if (dir.Open(nullptr, dirName) != platform::OpenStatus::kOk || !file.Open(dir, fileName)) {
    problem = "it cannot be read";
    return false;
  }
  text.resize(static_cast<size_t>(file.Size()));
  const int64_t read = file.Read(text.data(), text.size());
  if (read < 0) {
    problem = "it cannot be read";
    return false;
  }
  text.resize(static_cast<size_t>(read));
  return true;
}

}  // namespace

bool CEarlierModel::Read(const std::string& path) {
  path_ = path;
  // Memory running out for a huge file is one more reason it cannot be
  // compared with; the run goes on without it.
  try {
    if (ReadWholeFile(path, text_, problem_) && declarations_.ReadFile(text_, problem_)) {
      return true;
    }
  } catch (const std::bad_alloc&) {
    problem_ = "there is not enough memory to read it";
  }
  std::string().swap(text_);
  declarations_ = model::CModelDeclarations();
  return false;
}

void CEarlierModel::ReportProblem() const {
  console::Problem(messages::kUnableToCompare, path_.c_str(), problem_.c_str());
}

void CEarlierModel::WriteChanges(const CClassList& list, const CTypeTable& types, bool anchors) {
  std::vector<model::Change> changes;
  model::ChangeCounts counts;
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
    // The new records are compared one at a time, each read back from the
    // text the model file would hold for it: both sides are then read alike.
    model::CModelChanges comparison(declarations_, std::move(paths), std::move(parents));
    model::RecordModel record;
    model::CModelDeclarations now;
    std::string json;
    for (size_t i = 0; i < count; ++i) {
      model::UnpackModel(list.At(i).packedModel(), record);
      json.clear();
      AppendRecordJson(json, list, types, i, record);
      if (now.ReadRecord(json)) comparison.Compare(static_cast<uint32_t>(i), now);
    }
    counts = comparison.Counts();
    changes = std::move(comparison.Changes());
  } catch (const std::bad_alloc&) {
    problem_ = "there is not enough memory to compare";
    ReportProblem();
    return;
  }
  // The earlier file is no longer needed.
  std::string().swap(text_);
  declarations_ = model::CModelDeclarations();
  WriteWholeFile(list, changes_templates::kJsonFileName,
                 [&](platform::COutputFile& file) { WriteChangesJson(file, path_, changes); });
  WriteWholeFile(list, changes_templates::kFileName, [&](platform::COutputFile& file) {
    WriteChangesPage(file, path_, changes, counts, anchors);
  });
  std::string line;
  AppendChangeCounts(line, counts);
  console::Print(messages::kChangesSince, path_.c_str(), line.c_str());
}

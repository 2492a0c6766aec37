#include "driver/model_file_beside.h"

#include "driver/whole_file.h"
#include "platform/console.h"
#include "platform/path.h"
#include "writer/common/templates.h"
#include "writer/data/model_json.h"

void CModelFileBeside::Start(const CReferences* references) {
  references_ = references;
  writer_.emplace(list_, types_, overriders_, references_);
  path_ = platform::JoinPath(list_.destDir, templates::kModelFileName);
  file_.emplace();
  opened_ = file_->Open(path_);
  // Memory running out on the thread ends it before the text is whole.
  began_ = !opened_ || worker_.Start(
                           [](void* self) {
                             auto& beside = *static_cast<CModelFileBeside*>(self);
                             beside.writer_->Write(beside.file_->Text());
                             beside.written_ = true;
                           },
                           this);
  // Without a thread the file is given up, and written in its turn.
  if (!began_ || !opened_) file_.reset();
}

void CModelFileBeside::Finish() {
  if (!began_) {
    WriteWholeFile(list_, templates::kModelFileName, [this](platform::COutputFile& file) {
      WriteModelJson(file, list_, types_, overriders_, references_);
    });
    return;
  }
  if (!opened_) {
    console::Problem(templates::kUnableToOpen, path_.c_str());
    return;
  }
  // The pages are written: this thread makes records' text ahead of the
  // file's thread until none is left.
  writer_->Help();
  worker_.Join();
  if (!written_ || !file_->Commit()) console::Problem(templates::kUnableToWrite, path_.c_str());
}

// The model file written on a thread of its own while the pages are: its text
// goes to its temporary file meanwhile, and it is put in place, or its
// problem reported, only when the run comes to it after the pages, so the
// console and the files are those of a run that wrote it then.
#pragma once

#include <optional>
#include <string>

#include "model/class_list.h"
#include "platform/replacing_file.h"
#include "platform/worker.h"
#include "writer/common/beside_pages.h"
#include "writer/data/model_json.h"
#include "writer/links/overriders.h"
#include "writer/names/type_table.h"

class CModelFileBeside final : public CBesidePages {
 public:
  CModelFileBeside(const CClassList& list, const CTypeTable& types, const COverriders& overriders)
      : list_(list), types_(types), overriders_(overriders) {}
  /// A file not finished is given up once its thread has ended.
  ~CModelFileBeside() { worker_.Join(); }
  CModelFileBeside(const CModelFileBeside&) = delete;
  CModelFileBeside& operator=(const CModelFileBeside&) = delete;

  /// Opens the file and writes it on a second thread, if one can be had.
  void Start(const CReferences* references) override;

  /// Waits for the file and puts it in place, reporting a problem; writes it
  /// here and now, whole or not at all, when no thread wrote it.
  void Finish();

 private:
  const CClassList& list_;
  const CTypeTable& types_;
  const COverriders& overriders_;
  const CReferences* references_ = nullptr;
  std::string path_;
  std::optional<platform::CReplacingFile> file_;
  std::optional<CModelJsonWriter> writer_;
  bool began_ = false;  // the file was opened and its thread started, or it could not be opened
  bool opened_ = false;
  bool written_ = false;  // the whole text went to the temporary file
  // Declared last, so that it is destroyed first.
  platform::CWorker worker_;
};

#include "writer/links/script_again.h"

#include "model/class_record.h"
#include "platform/directory.h"
#include "reader/source_buffer.h"

bool HasSourcePage(const CClassRecord& record) {
  return record.isState == 0 && !record.scriptPath().empty();
}

bool ReadScriptAgain(const CClassRecord& record, const platform::CDirectory* sourceDir,
                     CSourceBuffer& script) {
  platform::CInputFile file;
  // A script changed since the scan is shown as one that could not be read:
  // the record's lines and links are those of what was read then.
  const bool read = sourceDir && file.Open(*sourceDir, record.scriptPath()) && script.Load(file) &&
                    script.Fingerprint() == record.scriptFingerprint();
  file.Close();
  return read;
}

// Scans a tree as the tool does and reports how much text its records keep:
// names, superclass names and declaration texts; then scans it again with the
// complete reader and reports the bytes of the packed models its records keep.
//
//   korvanref_kept_text SOURCEDIR
//
// The scans' own lines go to standard output; the last line reads
// "records R kept_bytes K complete_records C model_bytes M".
#include <cstdio>

#include "driver/scanner.h"
#include "model/class_list.h"
#include "platform/console.h"

namespace {

size_t TextBytes(const CTextList& texts) {
  size_t bytes = 0;
  for (std::string_view text : texts) bytes += text.size();
  return bytes;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s SOURCEDIR\n", argv[0]);
    return 2;
  }
  CClassList list;
  ScanDirectory(list, argv[1]);
  size_t kept = 0;
  for (size_t i = 0; i < list.Count(); ++i) {
    const CClassRecord& record = list.At(i);
    kept += record.name().size() + record.superName().size() + TextBytes(record.vars()) +
            TextBytes(record.functions()) + TextBytes(record.events());
  }
  CClassList complete;
  ScanDirectory(complete, argv[1], ReaderKind::kComplete);
  size_t models = 0;
  for (size_t i = 0; i < complete.Count(); ++i) models += complete.At(i).packedModel().size();
  console::Flush();
  std::printf("records %zu kept_bytes %zu complete_records %zu model_bytes %zu\n", list.Count(),
              kept, complete.Count(), models);
  return 0;
}

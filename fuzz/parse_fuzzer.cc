// Fuzz target for the declaration parser: the condensed form of arbitrary
// bytes, and the bytes themselves as if they had been condensed already. Each
// parse ends, yields one class record and its states, and stores only pieces
// of the text it read.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>

#include "fuzz/fuzz_check.h"
#include "fuzz/record_checks.h"
#include "model/class_list.h"
#include "reader/parser.h"
#include "reader/source_buffer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const char* bytes = reinterpret_cast<const char*>(data);
  const size_t length = strnlen(bytes, size);

  {
    CSourceBuffer buffer;
    FUZZ_CHECK(buffer.SetText(std::string_view(bytes, size)));
    FUZZ_CHECK(buffer.Condense());
    CClassList list;
    FUZZ_CHECK(ParseSource(list, buffer));
    CheckParsedRecords(list, 0, buffer.Text());
  }
  {
    // Exactly the text and its NUL, so that reading past the end is caught.
    std::unique_ptr<char[]> text(new char[length + 1]);
    std::memcpy(text.get(), bytes, length);
    text[length] = '\0';
    CClassList list;
    CClassRecord* record = list.CreateRecord();
    FUZZ_CHECK(record != nullptr);
    FUZZ_CHECK(ParseBody(list, *record, text.get()));
    CheckParsedRecords(list, 0, std::string_view(text.get(), length));
  }
  return 0;
}

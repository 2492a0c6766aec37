// Fuzz target for the condenser: arbitrary bytes, read up to their first NUL.
// The condensed text is the plain reference condenser's, takes at most three
// bytes per input byte plus its NUL, holds no NUL of its own, and does not
// depend on anything after the input's first NUL.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>

#include "fuzz/fuzz_check.h"
#include "fuzz/reference_condenser.h"
#include "reader/condenser.h"
#include "reader/source_buffer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const char* bytes = reinterpret_cast<const char*>(data);
  const size_t length = strnlen(bytes, size);

  // Exactly the text and its NUL, and exactly the room promised for the
  // output: a read past the NUL or a write past the room is caught by the
  // address sanitizer.
  std::unique_ptr<char[]> in(new char[length + 1]);
  std::memcpy(in.get(), bytes, length);
  in[length] = '\0';
  std::unique_ptr<char[]> out(new char[kCondenseGrowth * length + 1]);
  const size_t written = CondenseText(in.get(), out.get());
  FUZZ_CHECK(written <= kCondenseGrowth * length);
  out[written] = '\0';
  FUZZ_CHECK(std::strlen(out.get()) == written);
  std::unique_ptr<char[]> expected(new char[kCondenseGrowth * length + 1]);
  FUZZ_CHECK(reference::CondenseText(in.get(), expected.get()) == written);
  FUZZ_CHECK(std::memcmp(out.get(), expected.get(), written) == 0);

  // The same through a source buffer given every byte, those after the first
  // NUL included: the same text, NUL-terminated.
  CSourceBuffer buffer;
  FUZZ_CHECK(buffer.SetText(std::string_view(bytes, size)));
  FUZZ_CHECK(buffer.Condense());
  FUZZ_CHECK(buffer.Length() == written + 1);
  FUZZ_CHECK(std::memcmp(buffer.Text(), out.get(), written + 1) == 0);

  return 0;
}

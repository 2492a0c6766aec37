// Fuzz target for the whole path of one script: arbitrary bytes as the one
// file of a source tree, scanned from disk, then written out as a reference.
// The records read from disk equal those parsed from the same bytes in
// memory, no problem is reported, and the index and the pages show every
// record.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#include "driver/scanner.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/record_checks.h"
#include "fuzz/scratch_trees.h"
#include "model/class_list.h"
#include "platform/console.h"
#include "reader/parser.h"
#include "reader/source_buffer.h"
#include "writer/common/html_escape.h"

namespace {

namespace fs = std::filesystem;

std::string ReadWhole(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  FUZZ_CHECK(in.good());
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

size_t CountOf(std::string_view text, std::string_view piece) {
  size_t count = 0;
  for (size_t at = text.find(piece); at != std::string_view::npos;
       at = text.find(piece, at + piece.size())) {
    ++count;
  }
  return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static CScratchTrees trees;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  {
    std::ofstream script(trees.source() / "Fuzz.kc", std::ios::binary | std::ios::trunc);
    script.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    FUZZ_CHECK(script.good());
  }

  CClassList list;
  ScanDirectory(list, trees.source().string());
  FUZZ_CHECK(!console::ProblemReported());

  CSourceBuffer buffer;
  FUZZ_CHECK(buffer.SetText(bytes));
  FUZZ_CHECK(buffer.Condense());
  CClassList expected;
  FUZZ_CHECK(ParseSource(expected, buffer));
  CheckParsedRecords(list, 0, buffer.Text());
  FUZZ_CHECK(list.Count() == expected.Count());
  for (size_t i = 0; i < list.Count(); ++i) CheckSameRecord(list.At(i), expected.At(i));

  list.WriteReference(trees.dest().string());
  console::Flush();
  FUZZ_CHECK(!console::ProblemReported());
  const std::string index = ReadWhole(trees.dest() / "index.html");
  FUZZ_CHECK(CountOf(index, "<li id='idHeader") == list.Count());
  for (size_t i = 0; i < list.Count(); ++i) {
    char page_name[32];
    std::snprintf(page_name, sizeof page_name, "%05zu.html", i);
    const std::string page = ReadWhole(trees.dest() / page_name);
    const std::string title = "<title>\nClass " + HtmlEscaped(list.At(i).name()) + "</title>";
    FUZZ_CHECK(page.find(title) != std::string::npos);
  }
  return 0;
}

// Fuzz target for the writers: arbitrary bytes as a small tree of scripts,
// run through the whole tool with --navigation --complete --json, as the
// command line runs it. The run reports no problem, the reference it writes
// hangs together (fuzz/reference_checks.h): links, anchors, the member
// search's data and the model file; and what was read agrees with the
// scripts' comments (fuzz/script_checks.h).
//
// The input's scripts are separated by lines that start with "%%"; the rest
// of such a line names the next script (".kc" is added, one "/" puts it in
// a directory), so that superclasses, inherited members and odd file names
// occur. The first script, and one whose name cannot be used, is named by
// its place ("S0.kc", ...).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <system_error>

#include "driver/command_line.h"
#include "fuzz/fuzz_check.h"
#include "fuzz/reference_checks.h"
#include "fuzz/scratch_trees.h"
#include "fuzz/script_checks.h"
#include "model/class_list.h"
#include "model/model_codec.h"
#include "model/record_model.h"
#include "platform/console.h"
#include "platform/path.h"

namespace {

namespace fs = std::filesystem;

constexpr size_t kMaxScripts = 8;
constexpr size_t kMaxNameLength = 64;
constexpr std::string_view kSeparator = "%%";

bool Usable(std::string_view part) {
  return !part.empty() && part != "." && part != ".." &&
         part.find_first_of(std::string_view("/\0", 2)) == std::string_view::npos;
}

// Writes `bytes` as the script `name` (without ".kc") below `root`; false
// when the name cannot be used or the file not made.
bool WriteScript(const fs::path& root, std::string_view name, std::string_view bytes) {
  if (name.size() > kMaxNameLength) return false;
  const size_t slash = name.find('/');
  const std::string_view dir = slash == std::string_view::npos ? "" : name.substr(0, slash);
  const std::string_view file = slash == std::string_view::npos ? name : name.substr(slash + 1);
  if (!Usable(file) || (slash != std::string_view::npos && !Usable(dir))) return false;
  fs::path path = root;
  if (!dir.empty()) {
    path /= std::string(dir);
    std::error_code error;
    fs::create_directory(path, error);
    if (!fs::is_directory(path, error)) return false;
  }
  path /= std::string(file) + ".kc";
  if (fs::exists(path)) return false;
  std::ofstream script(path, std::ios::binary);
  script.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  return script.good();
}

void WriteTree(const fs::path& root, std::string_view input) {
  std::string name;
  for (size_t index = 0; index < kMaxScripts; ++index) {
    // Where the next separator line starts, if there is one.
    size_t cut = input.starts_with(kSeparator) ? 0 : input.find("\n%%");
    if (cut != 0 && cut != std::string_view::npos) ++cut;
    if (index + 1 == kMaxScripts) cut = std::string_view::npos;  // the last takes the rest
    const std::string_view bytes = input.substr(0, cut);
    std::string fallback("S");
    fallback.append(std::to_string(index));
    bool written = WriteScript(root, name, bytes);
    while (!written) {
      FUZZ_CHECK(fallback.size() <= kMaxNameLength);
      written = WriteScript(root, fallback, bytes);
      fallback.push_back('_');
    }
    if (cut == std::string_view::npos) return;
    // The separator line names the next script.
    input.remove_prefix(cut + kSeparator.size());
    const size_t line_end = input.find('\n');
    name.assign(input.substr(0, line_end));
    input.remove_prefix(line_end == std::string_view::npos ? input.size() : line_end + 1);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static CScratchTrees trees;
  trees.Empty();
  WriteTree(trees.source(), std::string_view(reinterpret_cast<const char*>(data), size));

  const std::string dest = trees.dest().string();
  const std::string source = trees.source().string();
  const char* argv[] = {"KorvanRef", "--navigation", "--complete",  "--json",
                        "--",        dest.c_str(),   source.c_str()};
  CClassList list;
  const int status = RunCommandLine(ReadCommandLine(7, argv), list);
  console::Flush();
  FUZZ_CHECK(status == 0 && !console::ProblemReported());
  CheckReference(dest, list);
  model::RecordModel model;
  for (size_t i = 0; i < list.Count(); ++i) {
    model::UnpackModel(list.At(i).packedModel(), model);
    std::ifstream in(platform::JoinPath(list.sourceDir, list.At(i).scriptPath()), std::ios::binary);
    const std::string script((std::istreambuf_iterator<char>(in)),
                             std::istreambuf_iterator<char>());
    FUZZ_CHECK(in.good() || in.eof());
    CheckReadScript(model, script);
  }
  return 0;
}

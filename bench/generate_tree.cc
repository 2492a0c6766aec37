// Writes a synthetic tree of class scripts for the benchmark: N scripts of a
// few kilobytes spread over nested directories, each with variables,
// functions and events with bodies, and several states whose names repeat
// across classes. About one class in twenty names a superclass that no script
// declares. The same seed always gives the same tree.
//
//   korvanref_generate_tree DIR N [SEED]
//
// Prints "scripts N bytes B largest L" (total and largest script size).
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "synthetic_script.h"

namespace fs = std::filesystem;

namespace {

// Where script `index` goes: directories nested two to three levels deep, a
// few hundred scripts in each.
fs::path ScriptDirectory(const fs::path& root, size_t index) {
  fs::path dir = root / ("pack" + std::to_string(index / 2000));
  dir /= "group" + std::to_string(index / 250 % 8);
  if (index % 3 == 0) dir /= "extra" + std::to_string(index / 50 % 5);
  return dir;
}

bool WriteFile(const fs::path& path, std::string_view text) {
  std::FILE* file = std::fopen(path.string().c_str(), "wb");
  if (!file) return false;
  bool ok = std::fwrite(text.data(), 1, text.size(), file) == text.size();
  return std::fclose(file) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: %s DIR N [SEED]\n", argv[0]);
    return 2;
  }
  const fs::path root = argv[1];
  const size_t count = std::strtoull(argv[2], nullptr, 10);
  bench::Random random(argc > 3 ? std::strtoull(argv[3], nullptr, 10) : 7);

  std::vector<std::string> names;
  names.reserve(count);
  for (size_t i = 0; i < count; ++i) names.push_back(bench::SyntheticClassName(i, random));

  uint64_t total = 0;
  uint64_t largest = 0;
  fs::path last_dir;
  for (size_t i = 0; i < count; ++i) {
    // A superclass among the classes before this one, often one of the first
    // few hundred (the wide base classes); one in twenty is missing.
    std::string super_name;
    if (i == 0 || random.Percent(5)) {
      super_name = "Missing" + std::string("Base") + std::to_string(i);
    } else if (random.Percent(50)) {
      super_name = names[random.Between(0, std::min<size_t>(i, 300) - 1)];
    } else {
      super_name = names[random.Between(0, i - 1)];
    }
    fs::path dir = ScriptDirectory(root, i);
    if (dir != last_dir) {
      std::error_code error;
      fs::create_directories(dir, error);
      if (error) {
        std::fprintf(stderr, "cannot create %s\n", dir.string().c_str());
        return 1;
      }
      last_dir = dir;
    }
    const std::string text = bench::SyntheticScript(names[i], super_name, random);
    if (!WriteFile(dir / (names[i] + ".kc"), text)) {
      std::fprintf(stderr, "cannot write a script in %s\n", dir.string().c_str());
      return 1;
    }
    total += text.size();
    if (text.size() > largest) largest = text.size();
  }
  // A file the tool must pass over.
  WriteFile(root / "README.txt", "Generated class scripts.\n");
  std::printf("scripts %zu bytes %llu largest %llu\n", count,
              static_cast<unsigned long long>(total), static_cast<unsigned long long>(largest));
  return 0;
}

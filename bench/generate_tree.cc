// Writes a synthetic tree of class scripts for the benchmark: N scripts
// spread over nested directories. Two profiles:
//   realistic (the default): scripts spread in size, comments, directives and
//     states as real trees are, most without a state, written in the whole
//     language (see realistic_script.h); one root class, the others extending
//     earlier classes by name, one in fifty a superclass no script declares;
//   uniform: scripts of a few kilobytes each with variables, functions and
//     events with bodies, and one to four states whose names repeat across
//     classes; one class in twenty names a superclass no script declares.
// The same profile and seed always give the same tree.
//
//   korvanref_generate_tree [--profile realistic|uniform] [--stats] DIR N [SEED]
//
// Prints "scripts N bytes B largest L" (total and largest script size), and
// with --stats the tree's statistics below it (see script_stats.h).
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "realistic_script.h"
#include "script_stats.h"
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

// The superclass of script `index`: among the classes before it, often one
// of the first few hundred (the wide base classes). Some are missing: one in
// twenty in the uniform profile, where the first class has a missing one too;
// one in fifty in the realistic profile, where the first class is the root.
std::string SuperName(const std::vector<std::string>& names, size_t index, bool realistic,
                      bench::Random& random) {
  if (index == 0 && realistic) return "";
  if (index == 0 || random.Percent(realistic ? 2 : 5)) {
    return "MissingBase" + std::to_string(index);
  }
  if (random.Percent(50)) return names[random.Between(0, std::min<size_t>(index, 300) - 1)];
  return names[random.Between(0, index - 1)];
}

int Usage(const char* program) {
  std::fprintf(stderr, "usage: %s [--profile realistic|uniform] [--stats] DIR N [SEED]\n", program);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  bool realistic = true;
  bool stats_wanted = false;
  int arg = 1;
  for (; arg < argc && std::string_view(argv[arg]).starts_with("--"); ++arg) {
    const std::string_view option = argv[arg];
    if (option == "--stats") {
      stats_wanted = true;
    } else if (option == "--profile" && arg + 1 < argc) {
      const std::string_view profile = argv[++arg];
      if (profile != "realistic" && profile != "uniform") return Usage(argv[0]);
      realistic = profile == "realistic";
    } else {
      return Usage(argv[0]);
    }
  }
  if (argc - arg < 2 || argc - arg > 3) return Usage(argv[0]);
  const fs::path root = argv[arg];
  const size_t count = std::strtoull(argv[arg + 1], nullptr, 10);
  bench::Random random(argc - arg > 2 ? std::strtoull(argv[arg + 2], nullptr, 10) : 7);

  std::vector<std::string> names;
  names.reserve(count);
  for (size_t i = 0; i < count; ++i) names.push_back(bench::SyntheticClassName(i, random));

  bench::ScriptStats stats;
  uint64_t total = 0;
  uint64_t largest = 0;
  fs::path last_dir;
  for (size_t i = 0; i < count; ++i) {
    const std::string super_name = SuperName(names, i, realistic, random);
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
    const bench::GeneratedScript script =
        realistic ? bench::RealisticScript(names[i], super_name, random)
                  : bench::SyntheticScript(names[i], super_name, random);
    const std::string& text = script.text;
    if (stats_wanted) stats.Add(text, script.states);
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
  if (stats_wanted) stats.Print(stdout);
  return 0;
}

// The input/output floor of the benchmark: what any run on a tree must at
// least do, and nothing else. It walks the tree, reads every ".kc" file whole
// (no parsing), then writes FILES files holding BYTES bytes in all, as many
// and as large as the reference run wrote.
//
//   korvanref_io_floor SOURCEDIR DESTDIR FILES BYTES
//
// Prints "read N scripts, B bytes; wrote F files, W bytes".
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace {

bool IsScriptName(const std::string& name) {
  const size_t n = name.size();
  return n >= 3 && name[n - 3] == '.' &&
         std::tolower(static_cast<unsigned char>(name[n - 2])) == 'k' &&
         std::tolower(static_cast<unsigned char>(name[n - 1])) == 'c';
}

// Reads the file whole into `buffer`; false if it cannot be read.
bool ReadWhole(const fs::path& path, uintmax_t size, std::vector<char>& buffer) {
  std::FILE* file = std::fopen(path.string().c_str(), "rb");
  if (!file) return false;
  if (buffer.size() < size + 1) buffer.resize(size + 1);
  size_t got = std::fread(buffer.data(), 1, size, file);
  buffer[got] = '\0';
  std::fclose(file);
  return got == size;
}

bool WriteWhole(const fs::path& path, const char* data, size_t size) {
  std::FILE* file = std::fopen(path.string().c_str(), "wb");
  if (!file) return false;
  bool ok = std::fwrite(data, 1, size, file) == size;
  return std::fclose(file) == 0 && ok;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: %s SOURCEDIR DESTDIR FILES BYTES\n", argv[0]);
    return 2;
  }
  const fs::path source = argv[1];
  const fs::path dest = argv[2];
  const uint64_t files = std::strtoull(argv[3], nullptr, 10);
  const uint64_t bytes = std::strtoull(argv[4], nullptr, 10);

  std::vector<char> buffer;
  uint64_t scripts = 0;
  uint64_t read_bytes = 0;
  std::error_code error;
  for (fs::recursive_directory_iterator it(source, error), end; !error && it != end;
       it.increment(error)) {
    if (!it->is_regular_file(error) || !IsScriptName(it->path().filename().string())) continue;
    const uintmax_t size = it->file_size(error);
    if (error || !ReadWhole(it->path(), size, buffer)) {
      std::fprintf(stderr, "cannot read %s\n", it->path().string().c_str());
      return 1;
    }
    ++scripts;
    read_bytes += size;
  }
  if (error) {
    std::fprintf(stderr, "cannot walk %s\n", source.string().c_str());
    return 1;
  }

  // Equal shares, the first files one byte longer until the total is reached.
  const uint64_t share = files ? bytes / files : 0;
  const uint64_t longer = files ? bytes % files : 0;
  std::string filler(share + 1, 'x');
  char name[32];
  uint64_t written = 0;
  for (uint64_t i = 0; i < files; ++i) {
    const size_t size = static_cast<size_t>(share + (i < longer ? 1 : 0));
    std::snprintf(name, sizeof name, "%05llu.html", static_cast<unsigned long long>(i));
    if (!WriteWhole(dest / name, filler.data(), size)) {
      std::fprintf(stderr, "cannot write %s\n", (dest / name).string().c_str());
      return 1;
    }
    written += size;
  }
  std::printf("read %llu scripts, %llu bytes; wrote %llu files, %llu bytes\n",
              static_cast<unsigned long long>(scripts), static_cast<unsigned long long>(read_bytes),
              static_cast<unsigned long long>(files), static_cast<unsigned long long>(written));
  return 0;
}

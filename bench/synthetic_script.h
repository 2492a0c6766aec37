// Synthetic class scripts for the benchmark: a seeded random source that
// gives the same sequence on every platform, and the "uniform" profile's
// scripts: a few kilobytes each, with variables, functions and events with
// bodies, and one to four states whose names repeat across classes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace bench {

// A small, fast generator with the same sequence on every platform.
class Random {
 public:
  explicit Random(uint64_t seed) : state_(seed) {}
  uint64_t Next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  /// A number in [low, high].
  size_t Between(size_t low, size_t high) { return low + Next() % (high - low + 1); }
  bool Percent(unsigned p) { return Next() % 100 < p; }
  template <size_t N>
  const char* Pick(const char* const (&words)[N]) {
    return words[Next() % N];
  }

 private:
  uint64_t state_;
};

/// One generated script: its text and how many states it declares.
struct GeneratedScript {
  std::string text;
  size_t states = 0;
};

/// Turns every LF of `text` into CR LF, as scripts saved on Windows have them.
void UseCrLf(std::string& text);

/// A class name made of two words and `index`, unique per index.
std::string SyntheticClassName(size_t index, Random& random);

/// The text of one script declaring class `name`, expanding `super_name`
/// (none when empty).
GeneratedScript SyntheticScript(const std::string& name, const std::string& super_name,
                                Random& random);

}  // namespace bench

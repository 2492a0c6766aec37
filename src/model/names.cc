#include "model/names.h"

std::string FoldCase(std::string_view text) {
  std::string folded(text);
  for (char& c : folded) c = static_cast<char>(FoldByte(static_cast<unsigned char>(c)));
  return folded;
}

int CompareNoCase(std::string_view a, std::string_view b) {
  size_t n = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < n; ++i) {
    unsigned char x = FoldByte(static_cast<unsigned char>(a[i]));
    unsigned char y = FoldByte(static_cast<unsigned char>(b[i]));
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

NamePrefix PrefixNoCase(std::string_view name) {
  // Big-endian, so that numbers order as the bytes do.
  NamePrefix prefix;
  for (size_t i = 0; i < 16; ++i) {
    const uint64_t byte = i < name.size() ? FoldByte(static_cast<unsigned char>(name[i])) : 0;
    uint64_t& word = i < 8 ? prefix.high : prefix.low;
    word = (word << 8) | byte;
  }
  return prefix;
}

#include "writer/common/anchors.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>

#include "model/names.h"

void AppendNumber(std::string& out, size_t n, size_t width) {
  // Put together in a buffer whose zeros stand ready before the digits, then
  // appended at once: page names are written hundreds of thousands of times
  // a run.
  constexpr size_t kMost = 24;
  char text[2 * kMost];
  std::memset(text, '0', kMost);
  char* const digits = text + kMost;
  const char* const end = std::to_chars(digits, text + sizeof text, n).ptr;
  const size_t length = static_cast<size_t>(end - digits);
  const size_t zeros = std::min(width, kMost) > length ? std::min(width, kMost) - length : 0;
  out.append(digits - zeros, length + zeros);
}

namespace anchors {

namespace {

// The bytes a name may hold to stand in an anchor as it is.
constexpr std::array<bool, 256> MakePlain() {
  std::array<bool, 256> plain{};
  for (int c = 0; c < 256; ++c) {
    plain[static_cast<size_t>(c)] = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                                    (c >= '0' && c <= '9') || c == '_' || c == '.';
  }
  return plain;
}
constexpr std::array<bool, 256> kPlain = MakePlain();

bool IsPlain(char c) {
  return kPlain[static_cast<unsigned char>(c)];
}

// Appends `name` as it stands in an anchor after its prefix.
void AppendAnchorName(std::string& out, std::string_view name) {
  size_t plain = 0;
  while (plain < name.size() && IsPlain(name[plain])) ++plain;
  if (!name.empty() && plain == name.size()) {
    out.append(name);
  } else {
    // A plain name holds no "-": this form never meets a plain one.
    static constexpr char kHex[] = "0123456789abcdef";
    out.push_back('-');
    for (char c : name) {
      const unsigned char u = static_cast<unsigned char>(c);
      out.push_back(kHex[u >> 4]);
      out.push_back(kHex[u & 15]);
    }
  }
}

}  // namespace

void AppendMemberAnchor(std::string& out, MemberKind kind, std::string_view name,
                        size_t occurrence) {
  static constexpr const char* kPrefixes[] = {"const-", "enum-", "struct-",
                                              "var-",   "fn-",   "state-"};
  out.append(kPrefixes[static_cast<size_t>(kind)]);
  AppendAnchorName(out, name);
  if (occurrence > 0) {
    out.push_back('-');
    out.append(std::to_string(occurrence + 1));
  }
}

void AppendPackageAnchor(std::string& out, std::string_view name) {
  out.append("pkg-");
  AppendAnchorName(out, FoldCase(name));
}

void AppendLineAnchor(std::string& out, size_t line) {
  char text[24] = {'L'};
  const char* end = std::to_chars(text + 1, text + sizeof text, line).ptr;
  out.append(text, static_cast<size_t>(end - text));
}

namespace {
void AppendNumberedPageName(std::string& out, std::string_view prefix, size_t number) {
  out.append(prefix);
  AppendNumber(out, number, kRecordNumberWidth);
  out.append(".html");
}
}  // namespace

void AppendSourcePageName(std::string& out, size_t number) {
  AppendNumberedPageName(out, "source-", number);
}

void AppendUsePageName(std::string& out, size_t number) {
  AppendNumberedPageName(out, "use-", number);
}

}  // namespace anchors

#include "writer/common/anchors.h"

#include <array>
#include <charconv>

#include "model/names.h"

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
  char digits[24];
  const char* end = std::to_chars(digits, digits + sizeof digits, number).ptr;
  const size_t length = static_cast<size_t>(end - digits);
  out.append(prefix);
  if (length < 5) out.append(5 - length, '0');
  out.append(digits, length);
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

#include "writer/common/anchors.h"

#include "model/names.h"

namespace anchors {

namespace {

bool IsPlain(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
         c == '.';
}

// Appends `name` as it stands in an anchor after its prefix.
void AppendAnchorName(std::string& out, std::string_view name) {
  bool plain = !name.empty();
  for (char c : name) plain = plain && IsPlain(c);
  if (plain) {
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
  out.push_back('L');
  out.append(std::to_string(line));
}

namespace {
void AppendNumberedPageName(std::string& out, std::string_view prefix, size_t number) {
  std::string digits = std::to_string(number);
  out.append(prefix);
  if (digits.size() < 5) out.append(5 - digits.size(), '0');
  out.append(digits);
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

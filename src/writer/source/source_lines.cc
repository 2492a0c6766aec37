#include "writer/source/source_lines.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <cstring>

#include "writer/common/anchors.h"
#include "writer/common/html_escape.h"
#include "writer/links/source_links.h"
#include "writer/source/source_templates.h"

namespace st = source_templates;

namespace {

// What a byte is to the scan. A run of bytes that mean nothing in the
// current state is copied at once; the scan stops at the others.
enum ByteKind : uint8_t {
  kPlain,       // copied as it is in every state
  kWord,        // starts or continues a word: letters, "_", 0x80 and up
  kDigit,       // starts a number; continues a word
  kLineFeed,    // ends a line
  kReturn,      // dropped before a line feed, else shown as a control byte
  kSlash,       // may open a comment, or a level of a block comment
  kStar,        // may close a level of a block comment
  kQuote,       // opens or closes a string; written as an entity
  kApostrophe,  // opens or closes a name literal
  kBackslash,   // escapes the next byte in a string or name literal
  kEntity,      // "<", ">", "&": written as an entity
  kControl,     // shown as the sign that pictures it
};

constexpr std::array<ByteKind, 256> MakeByteKinds() {
  std::array<ByteKind, 256> kinds{};
  for (int b = 0; b < 256; ++b) {
    ByteKind kind = kPlain;
    if ((b >= 'a' && b <= 'z') || (b >= 'A' && b <= 'Z') || b == '_' || b >= 0x80) kind = kWord;
    if (b >= '0' && b <= '9') kind = kDigit;
    if ((b < 0x20 && b != '\t') || b == 0x7f) kind = kControl;
    if (b == '\n') kind = kLineFeed;
    if (b == '\r') kind = kReturn;
    if (b == '/') kind = kSlash;
    if (b == '*') kind = kStar;
    if (b == '"') kind = kQuote;
    if (b == '\'') kind = kApostrophe;
    if (b == '\\') kind = kBackslash;
    if (b == '<' || b == '>' || b == '&') kind = kEntity;
    kinds[static_cast<size_t>(b)] = kind;
  }
  return kinds;
}

constexpr std::array<ByteKind, 256> kByteKinds = MakeByteKinds();

ByteKind KindOf(char c) {
  return kByteKinds[static_cast<unsigned char>(c)];
}

enum State : uint8_t { kCode, kLineComment, kBlockComment, kString, kNameLiteral, kDirective };

constexpr uint32_t Bits(std::initializer_list<ByteKind> kinds) {
  uint32_t bits = 0;
  for (ByteKind kind : kinds) bits |= uint32_t{1} << kind;
  return bits;
}

// The kinds of byte each state stops its run at.
constexpr uint32_t kWritten = Bits({kLineFeed, kReturn, kQuote, kEntity, kControl});
constexpr std::array<uint32_t, 6> kStops = {
    kWritten | Bits({kWord, kDigit, kSlash, kApostrophe}),  // code
    kWritten,                                               // line comment
    kWritten | Bits({kSlash, kStar}),                       // block comment
    kWritten | Bits({kBackslash}),                          // string
    kWritten | Bits({kApostrophe, kBackslash}),             // name literal
    kWritten,                                               // directive
};

// The span each state but code stands in.
constexpr std::array<std::string_view, 6> kSpans = {
    std::string_view(), st::kComment, st::kComment, st::kString, st::kNameLiteral, st::kDirective};

// The keywords, in lower case and sorted: those of declarations, their
// modifiers, statements, literals and the built-in types.
constexpr std::string_view kKeywords[] = {
    "abstract",    "array",    "auto",      "bool",      "break",
    "byte",        "case",     "class",     "coerce",    "config",
    "const",       "continue", "cpptext",   "default",   "defaultproperties",
    "delegate",    "do",       "else",      "enum",      "event",
    "exec",        "expands",  "export",    "extends",   "false",
    "final",       "float",    "for",       "foreach",   "function",
    "goto",        "if",       "ignores",   "int",       "iterator",
    "latent",      "local",    "name",      "native",    "new",
    "none",        "operator", "optional",  "out",       "postoperator",
    "preoperator", "private",  "protected", "public",    "reliable",
    "replication", "return",   "rotator",   "self",      "simulated",
    "singular",    "skip",     "state",     "static",    "string",
    "struct",      "super",    "switch",    "transient", "true",
    "unreliable",  "until",    "var",       "vector",    "while",
    "within",
};
static_assert(std::is_sorted(std::begin(kKeywords), std::end(kKeywords)));
constexpr size_t kLongestKeyword = 17;

// Where the keywords of each initial start in kKeywords, "a" to "z", and
// where they end.
constexpr std::array<uint8_t, 27> MakeInitials() {
  std::array<uint8_t, 27> first{};
  size_t k = 0;
  for (size_t letter = 0; letter <= 26; ++letter) {
    while (k < std::size(kKeywords) && static_cast<size_t>(kKeywords[k][0] - 'a') < letter) ++k;
    first[letter] = static_cast<uint8_t>(k);
  }
  return first;
}
constexpr std::array<uint8_t, 27> kInitials = MakeInitials();

char Lower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Compares the word with the few keywords of its initial and its length,
// but for case; a word is looked up for each word of the script.
bool IsKeyword(std::string_view word) {
  if (word.size() < 2 || word.size() > kLongestKeyword) return false;
  const char initial = Lower(word[0]);
  if (initial < 'a' || initial > 'z') return false;
  const size_t letter = static_cast<size_t>(initial - 'a');
  for (size_t k = kInitials[letter]; k < kInitials[letter + 1]; ++k) {
    const std::string_view keyword = kKeywords[k];
    if (keyword.size() != word.size()) continue;
    size_t i = 1;
    while (i < word.size() && Lower(word[i]) == keyword[i]) ++i;
    if (i == word.size()) return true;
  }
  return false;
}

// Writes the byte at `at`, of kind kReturn, kQuote, kEntity or kControl, as
// it shows: a carriage return before a line feed not at all.
const char* WriteSpecial(std::string& page, const char* at, const char* end) {
  const ByteKind kind = KindOf(*at);
  if (kind == kQuote || kind == kEntity) {
    AppendEscaped(page, std::string_view(at, 1));
  } else if (!(kind == kReturn && at + 1 < end && at[1] == '\n')) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    const unsigned char u = *at == 0x7f ? 0x21 : static_cast<unsigned char>(*at);
    const char picture[] = {'&', '#', 'x', '2', '4', kHex[u >> 4], kHex[u & 15], ';'};
    page.append(picture, sizeof picture);
  }
  return at + 1;
}

// Writes the byte at `at` as it shows, whatever its kind.
const char* WriteByte(std::string& page, const char* at, const char* end) {
  const ByteKind kind = KindOf(*at);
  if (kind == kReturn || kind == kQuote || kind == kEntity || kind == kControl)
    return WriteSpecial(page, at, end);
  page.push_back(*at);
  return at + 1;
}

// Opens line `line`: its number, which is its anchor and links to it. The
// anchor's text is made once for both, and the whole is put together apart
// and appended at once.
void OpenLine(std::string& page, size_t line, std::string& anchor) {
  anchor.clear();
  anchors::AppendLineAnchor(anchor, line);
  char text[160];
  char* out = text;
  auto put = [&out](std::string_view piece) {
    std::memcpy(out, piece.data(), piece.size());
    out += piece.size();
  };
  put(st::kLineOpen);
  put(anchor);
  put(st::kLineLink);
  put(anchor);
  put(st::kLineNumber);
  out = std::to_chars(out, text + sizeof text, line).ptr;
  put(st::kLineClose);
  page.append(text, static_cast<size_t>(out - text));
}

bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v';
}

// Opens the name literal at `at`, in code, and writes it whole, its text a
// link, when the linker links it. Returns where the scan goes on: past the
// literal, or else past its opening quote, inside it.
const char* WriteLiteral(std::string& page, const char* at, const char* end, CSourceLinker& linker,
                         size_t line, bool& whole) {
  const char* close = at + 1;
  while (close < end && *close != '\'' && *close != '\n' && *close != '\\') ++close;
  page.append(st::kNameLiteral);
  page.push_back('\'');
  if (close == end || *close != '\'') {
    linker.Mark('\'');
    return at + 1;
  }
  const std::string_view text(at + 1, static_cast<size_t>(close - at - 1));
  if (!linker.Literal(page, text, line)) return at + 1;
  for (const char* c = at + 1; c < close;) c = WriteByte(page, c, close);
  page.append(CSourceLinker::kLinkEnd);
  page.push_back('\'');
  page.append(st::kSpanEnd);
  whole = true;
  return close + 1;
}

}  // namespace

size_t CountSourceLines(std::string_view text) {
  size_t lines = 1 + static_cast<size_t>(std::count(text.begin(), text.end(), '\n'));
  if (!text.empty() && text.back() == '\n') --lines;
  return lines;
}

void AppendSourceLines(std::string& page, std::string_view text, CSourceLinker* linker) {
  const char* at = text.data();
  const char* const end = at + text.size();
  State state = kCode;
  // Block comments nest: the levels open in the block comment, if any.
  size_t depth = 0;
  size_t line = 1;
  // Only blanks stand before `at` on its line, in code: a "#" there starts a
  // directive, as it does for the reader.
  bool line_start = true;
  std::string anchor;
  OpenLine(page, line, anchor);
  while (at < end) {
    if (line_start) {
      line_start = false;
      while (at < end && IsBlank(*at)) at = WriteByte(page, at, end);
      if (at < end && *at == '#') {
        state = kDirective;
        page.append(st::kDirective);
      }
      continue;
    }
    const uint32_t stops = kStops[state];
    const char* run = at;
    while (at < end && ((stops >> KindOf(*at)) & 1) == 0) ++at;
    page.append(run, static_cast<size_t>(at - run));
    // The linker reads the code's marks: what is neither a word nor blank.
    const bool linking = linker && state == kCode;
    if (linking) {
      for (const char* c = run; c < at; ++c) {
        if (!IsBlank(*c)) linker->Mark(*c);
      }
    }
    if (at == end) break;
    const ByteKind stop = KindOf(*at);
    if (linking && (stop == kDigit || stop == kQuote || stop == kEntity || stop == kBackslash ||
                    (stop == kSlash && !(at + 1 < end && (at[1] == '/' || at[1] == '*'))))) {
      linker->Mark(*at);
    }
    switch (KindOf(*at)) {
      case kLineFeed:
        // A block comment goes on past the line end; anything else ends.
        if (state != kCode) page.append(st::kSpanEnd);
        if (state != kBlockComment) state = kCode;
        if (++at == end) break;
        page.push_back('\n');
        OpenLine(page, ++line, anchor);
        if (state == kBlockComment) page.append(st::kComment);
        line_start = state == kCode;
        break;
      case kWord: {
        const char* word = at;
        while (at < end && (KindOf(*at) == kWord || KindOf(*at) == kDigit)) ++at;
        const std::string_view text_of_word(word, static_cast<size_t>(at - word));
        const bool keyword = IsKeyword(text_of_word);
        const bool linked =
            linking && linker->Word(page, text_of_word, keyword,
                                    std::string_view(at, static_cast<size_t>(end - at)), line);
        if (keyword) page.append(st::kKeyword);
        page.append(text_of_word);
        if (keyword) page.append(st::kSpanEnd);
        if (linked) page.append(CSourceLinker::kLinkEnd);
        break;
      }
      case kDigit: {
        // A number with its fraction, exponent or suffix: 1.5, 0x1F, 1.0f.
        const char* number = at;
        while (at < end && (KindOf(*at) == kWord || KindOf(*at) == kDigit || *at == '.')) ++at;
        page.append(number, static_cast<size_t>(at - number));
        break;
      }
      case kSlash:
        if (state == kBlockComment && at + 1 < end && at[1] == '*') {
          ++depth;
          page.append(at, 2);
          at += 2;
        } else if (state == kCode && at + 1 < end && (at[1] == '/' || at[1] == '*')) {
          state = at[1] == '/' ? kLineComment : kBlockComment;
          depth = 1;
          page.append(st::kComment);
          page.append(at, 2);
          at += 2;
        } else {
          page.push_back(*at++);
        }
        break;
      case kStar:
        // Only a block comment stops at a star: "*/" closes its innermost
        // level, and the comment with its first.
        page.push_back(*at++);
        if (at < end && *at == '/') {
          page.push_back(*at++);
          if (--depth == 0) {
            page.append(st::kSpanEnd);
            state = kCode;
          }
        }
        break;
      case kQuote:
      case kApostrophe: {
        const State quoted = *at == '"' ? kString : kNameLiteral;
        if (linking && quoted == kNameLiteral) {
          bool whole = false;
          at = WriteLiteral(page, at, end, *linker, line, whole);
          if (!whole) state = kNameLiteral;
          break;
        }
        if (state == kCode) {
          state = quoted;
          page.append(kSpans[state]);
          at = WriteByte(page, at, end);
        } else {
          at = WriteByte(page, at, end);
          if (state == quoted) {
            page.append(st::kSpanEnd);
            state = kCode;
          }
        }
        break;
      }
      case kBackslash:
        // Escapes the next byte, but for a line feed.
        page.push_back(*at++);
        if (at < end && *at != '\n') at = WriteByte(page, at, end);
        break;
      default:
        at = WriteSpecial(page, at, end);
        break;
    }
  }
  if (state != kCode) page.append(st::kSpanEnd);
}

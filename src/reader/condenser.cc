#include "reader/condenser.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// What a byte outside quotes is to the condenser. Plain bytes are copied as
// they are; only the others need a closer look.
enum ByteClass : unsigned char {
  kPlain,
  kEnd,
  kSpace,
  kQuote,
  kHash,
  kOpen,
  kClose,
  kSlash,
  kBrace
};

// The bytes that matter, with their classes.
struct Matter {
  char byte;
  ByteClass kind;
};
constexpr Matter kMatter[] = {{'\0', kEnd},   {' ', kSpace}, {'\t', kSpace}, {'\n', kSpace},
                              {'\r', kSpace}, {'"', kQuote}, {'\'', kQuote}, {'#', kHash},
                              {'(', kOpen},   {')', kClose}, {'/', kSlash},  {'{', kBrace},
                              {'}', kBrace}};

struct ByteClasses {
  unsigned char of[256] = {};
  constexpr ByteClasses() {
    for (const Matter& matter : kMatter) of[static_cast<unsigned char>(matter.byte)] = matter.kind;
  }
};

constexpr ByteClasses kClasses;

unsigned char ClassOf(char c) {
  return kClasses.of[static_cast<unsigned char>(c)];
}

// Copies the run of plain bytes at `p` to `o`, with every single space in it
// that stands between plain bytes (the condensed form of such a space is
// itself), and moves both past it; `sep` as CondenseText keeps it. `end` is
// the text's end.
void CopyPlainRun(const char*& p, char*& o, const char* end, bool& sep) {
#if defined(__SSE2__)
  // Sixteen bytes at a time while sixteen are left: each block is stored
  // whole, and the bytes up to the first one that matters are kept. At most
  // three bytes have been written per byte read so far, so the room for the
  // rest holds the block.
  const __m128i low = _mm_set1_epi8(0x2f);
  const __m128i open = _mm_set1_epi8('{');
  const __m128i close = _mm_set1_epi8('}');
  while (end - p >= 16) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(o), block);
    // Every byte that matters is at most 0x2f or a brace; some plain ones
    // are too, and are passed over below.
    const __m128i maybe =
        _mm_or_si128(_mm_cmpeq_epi8(_mm_min_epu8(block, low), block),
                     _mm_or_si128(_mm_cmpeq_epi8(block, open), _mm_cmpeq_epi8(block, close)));
    unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(maybe));
    for (; mask != 0; mask &= mask - 1) {
      const int at = __builtin_ctz(mask);
      const unsigned char kind = ClassOf(p[at]);
      if (kind == kPlain) continue;
      if (p[at] == ' ' && (at > 0 || !sep) && ClassOf(p[at + 1]) == kPlain) continue;
      if (at > 0) sep = false;
      p += at;
      o += at;
      return;
    }
    sep = false;
    p += 16;
    o += 16;
  }
#endif
  for (;;) {
    const unsigned char kind = ClassOf(*p);
    if (kind == kPlain) {
      sep = false;
    } else if (*p != ' ' || sep || ClassOf(p[1]) != kPlain) {
      return;
    }
    *o++ = *p++;
  }
}

}  // namespace

// Plain bytes are copied in runs, comments and quotations are found with the
// library's searches, and the few bytes that matter are dealt with one by
// one. `sep` says whether the last thing written separates words (or nothing
// is written yet).
size_t CondenseText(const char* in, char* out) {
  const char* p = in;
  const char* const end = in + std::strlen(in);
  char* o = out;
  bool sep = true;
  for (;;) {
    const char c = *p;
    switch (ClassOf(c)) {
      case kPlain:
        CopyPlainRun(p, o, end, sep);
        break;
      case kEnd:
        return static_cast<size_t>(o - out);
      case kSpace:
        if (!sep) {
          *o++ = ' ';
          sep = true;
        }
        do {
          ++p;
        } while (ClassOf(*p) == kSpace);
        break;
      case kQuote: {
        // Copied whole up to the same quote character; an unclosed quotation
        // runs to the end.
        const char* close = std::strchr(p + 1, c);
        const size_t length = close ? static_cast<size_t>(close + 1 - p) : std::strlen(p);
        std::memcpy(o, p, length);
        o += length;
        p += length;
        sep = false;
        break;
      }
      case kHash: {
        // A "#" line is dropped with its newline.
        const char* eol = std::strchr(p, '\n');
        if (!eol) return static_cast<size_t>(o - out);
        p = eol + 1;
        sep = false;
        break;
      }
      case kOpen:
        if (!sep) *o++ = ' ';
        *o++ = '(';
        sep = false;
        ++p;
        break;
      case kClose:
        // A separating byte just before ")" is replaced by it.
        if (sep && o != out) {
          o[-1] = ')';
        } else {
          *o++ = ')';
        }
        *o++ = ' ';
        sep = true;
        ++p;
        break;
      case kSlash:
        if (p[1] == '/') {
          const char* eol = std::strchr(p + 2, '\n');
          if (!eol) return static_cast<size_t>(o - out);
          p = eol + 1;
        } else if (p[1] == '*') {
          // The search starts at the opening "*", so "/*/" is a whole comment.
          const char* star = p + 1;
          while (star[1] != '/') {
            star = std::strchr(star + 1, '*');
            if (!star) return static_cast<size_t>(o - out);
          }
          p = star + 2;
        } else {
          *o++ = '/';
          ++p;
        }
        break;
      default:  // kBrace
        if (!sep) *o++ = ' ';
        *o++ = c;
        *o++ = ' ';
        sep = true;
        ++p;
        break;
    }
  }
}

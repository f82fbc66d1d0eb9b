// The line pass of loading. Reading runs ahead of writing: a CR LF read leaves one byte written, so the
// write position never passes the read position and every byte is read before anything lands on it.
// Most of the text lies between line breaks; the vector pass moves it 16 bytes at a time.
#include "catalogue/line_index.h"

#include <algorithm>

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#include <immintrin.h>
#endif

namespace mirravel {
namespace {

struct LinePass {
  char* text;
  std::size_t length;
  std::vector<std::int32_t>& lineStarts;
  std::size_t in = 0;   // next byte to read
  std::size_t out = 0;  // next byte to write
  std::size_t lineStart = 0;
  std::int32_t longest = 0;

  static bool IsSpecial(char byte) { return byte == '\r' || byte == '\n' || byte == 0; }

  // Takes the line break or zero byte at `in`; false at a zero byte, where the text ends.
  bool TakeSpecial() {
    const char byte = text[in];
    if (byte == 0) return false;
    ++in;
    if (byte == '\r' && in < length && text[in] == '\n') ++in;
    longest = std::max(longest, static_cast<std::int32_t>(out - lineStart));
    text[out++] = '\n';
    lineStart = out;
    lineStarts.push_back(static_cast<std::int32_t>(out));
    return true;
  }

  // False when the text ended at a zero byte.
  bool RunScalar() {
    while (in < length) {
      if (IsSpecial(text[in])) {
        if (!TakeSpecial()) return false;
      } else {
        text[out++] = text[in++];
      }
    }
    return true;
  }

  IndexedLines Finish() {
    if (out > lineStart) longest = std::max(longest, static_cast<std::int32_t>(out - lineStart));
    if (out > 0 && lineStart == out) lineStarts.pop_back();  // a final line break opens no line
    return {out, longest};
  }
};

bool RunPortable(LinePass& pass) { return pass.RunScalar(); }

#if defined(__GNUC__) && (defined(__x86_64__) || defined(__i386__))
#define MIRRAVEL_VECTOR_LINE_PASS 1

__attribute__((target("sse2"))) bool RunSse2(LinePass& pass) {
  const __m128i cr = _mm_set1_epi8('\r');
  const __m128i lf = _mm_set1_epi8('\n');
  const __m128i zero = _mm_setzero_si128();
  while (pass.in + 16 <= pass.length) {
    const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(pass.text + pass.in));
    const __m128i special =
        _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(chunk, cr), _mm_cmpeq_epi8(chunk, lf)), _mm_cmpeq_epi8(chunk, zero));
    const auto mask = static_cast<unsigned>(_mm_movemask_epi8(special));
    const std::size_t gap = pass.in - pass.out;
    if (mask == 0) {
      // The chunk is in a register, and the next read starts past where this store ends.
      if (gap != 0) _mm_storeu_si128(reinterpret_cast<__m128i*>(pass.text + pass.out), chunk);
      pass.in += 16;
      pass.out += 16;
      continue;
    }
    const auto before = static_cast<std::size_t>(__builtin_ctz(mask));
    if (gap >= 16) {
      // Lands wholly behind `in`; what it puts past the special byte is written again later.
      _mm_storeu_si128(reinterpret_cast<__m128i*>(pass.text + pass.out), chunk);
    } else if (gap != 0) {
      for (std::size_t i = 0; i < before; ++i) pass.text[pass.out + i] = pass.text[pass.in + i];
    }
    pass.in += before;
    pass.out += before;
    if (!pass.TakeSpecial()) return false;
  }
  return pass.RunScalar();
}
#endif

using PassFunction = bool (*)(LinePass&);

PassFunction BestPass() {
#if defined(MIRRAVEL_VECTOR_LINE_PASS)
  __builtin_cpu_init();
  if (__builtin_cpu_supports("sse2")) return RunSse2;
#endif
  return RunPortable;
}

}  // namespace

IndexedLines IndexLinesInPlace(char* text, std::size_t length, std::vector<std::int32_t>& lineStarts) {
  static const PassFunction run = BestPass();
  // Catalogue lines average over 40 characters; a text of shorter lines grows the index as vectors do.
  lineStarts.reserve(lineStarts.size() + length / 32 + 1);
  LinePass pass{text, length, lineStarts};
  run(pass);
  return pass.Finish();
}

}  // namespace mirravel

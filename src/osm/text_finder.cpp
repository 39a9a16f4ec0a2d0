#include "osm/text_finder.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "osm/text_search.h"

namespace waymint::osm {
namespace {

#if defined(__SSE2__)
// Both ends of a pattern, compared 16 positions at a time: a set bit j of the result means
// that the pattern's first byte matches at p + j and its last byte at p + j + lastOffset.
// Most blocks of a text have no such position, so the full comparison runs rarely.
class EndsFilter {
 public:
  EndsFilter(char first, char firstFold, char last, char lastFold, size_t lastOffset)
      : m_first(_mm_set1_epi8(first)),
        m_firstFold(_mm_set1_epi8(firstFold)),
        m_last(_mm_set1_epi8(last)),
        m_lastFold(_mm_set1_epi8(lastFold)),
        m_lastOffset(lastOffset) {}

  unsigned candidates(const char* p) const {
    const __m128i head = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i tail = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + m_lastOffset));
    const __m128i both = _mm_and_si128(_mm_cmpeq_epi8(_mm_or_si128(head, m_firstFold), m_first),
                                       _mm_cmpeq_epi8(_mm_or_si128(tail, m_lastFold), m_last));
    return static_cast<unsigned>(_mm_movemask_epi8(both));
  }

 private:
  __m128i m_first, m_firstFold, m_last, m_lastFold;
  size_t m_lastOffset;
};
#endif

}  // namespace

TextFinder::TextFinder(std::string_view text, Case letterCase)
    : m_pattern(text), m_fold(text.size(), '\0') {
  if (letterCase == Case::Exact) return;
  for (size_t i = 0; i < m_pattern.size(); ++i) {
    m_pattern[i] = lowerAscii(m_pattern[i]);
    if (m_pattern[i] >= 'a' && m_pattern[i] <= 'z') m_fold[i] = 0x20;
  }
}

bool TextFinder::matchesAt(const char* p) const {
  for (size_t k = 0; k < m_pattern.size(); ++k) {
    if (static_cast<char>(p[k] | m_fold[k]) != m_pattern[k]) return false;
  }
  return true;
}

size_t TextFinder::findIn(std::string_view haystack, size_t from) const {
  const size_t n = m_pattern.size();
  if (from > haystack.size()) return npos;
  if (n == 0) return from;
  if (haystack.size() - from < n) return npos;
  const char* base = haystack.data();
  const size_t lastStart = haystack.size() - n;
  size_t i = from;
#if defined(__SSE2__)
  const EndsFilter filter(m_pattern[0], m_fold[0], m_pattern[n - 1], m_fold[n - 1], n - 1);
  for (; i + 16 <= lastStart + 1; i += 16) {
    for (unsigned mask = filter.candidates(base + i); mask != 0; mask &= mask - 1) {
      const size_t at = i + static_cast<size_t>(__builtin_ctz(mask));
      if (matchesAt(base + at)) return at;
    }
  }
#endif
  for (; i <= lastStart; ++i) {
    if (matchesAt(base + i)) return i;
  }
  return npos;
}

size_t findLastText(std::string_view text, std::string_view needle, size_t from, size_t to) {
  const size_t n = needle.size();
  if (to > text.size()) to = text.size();
  if (from > to || to - from < n) return npos;
  if (n == 0) return to;
  const char* base = text.data();
  size_t top = to - n + 1;  // candidates lie in [from, top)
#if defined(__SSE2__)
  const EndsFilter filter(needle[0], 0, needle[n - 1], 0, n - 1);
  for (; top >= from + 16; top -= 16) {
    const size_t block = top - 16;
    for (unsigned mask = filter.candidates(base + block); mask != 0;) {
      const unsigned j = 31u - static_cast<unsigned>(__builtin_clz(mask));
      if (std::memcmp(base + block + j, needle.data(), n) == 0) return block + j;
      mask &= ~(1u << j);
    }
  }
#endif
  while (top > from) {
    --top;
    if (std::memcmp(base + top, needle.data(), n) == 0) return top;
  }
  return npos;
}

}  // namespace waymint::osm

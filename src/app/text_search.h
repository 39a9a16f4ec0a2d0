#pragma once

#include <cstring>
#include <string_view>

namespace waymint::app {

// Position of the first `needle` in `haystack` at or after `from`, or npos. Uses the C
// library's memmem, much faster than a byte-by-byte search on long texts.
inline size_t findText(std::string_view haystack, std::string_view needle, size_t from = 0) {
  if (from > haystack.size()) return std::string_view::npos;
  if (needle.empty()) return from;
  const void* hit = ::memmem(haystack.data() + from, haystack.size() - from, needle.data(),
                             needle.size());
  if (!hit) return std::string_view::npos;
  return static_cast<size_t>(static_cast<const char*>(hit) - haystack.data());
}

inline bool containsText(std::string_view haystack, std::string_view needle) {
  return findText(haystack, needle) != std::string_view::npos;
}

// Lower-casing for tests of containment: only the letters A to Z change, so the bytes of a
// UTF-8 sequence stay as they are.
inline char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

}  // namespace waymint::app

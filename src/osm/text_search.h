#pragma once

#include <cstring>
#include <string>
#include <string_view>

namespace waymint::osm {

// "Not found", for every search of the program.
inline constexpr size_t npos = std::string_view::npos;

// Position of the first `needle` in `haystack` at or after `from`, or npos. Uses the C
// library's memmem, much faster than a byte-by-byte search on long texts.
inline size_t findText(std::string_view haystack, std::string_view needle, size_t from = 0) {
  if (from > haystack.size()) return npos;
  if (needle.empty()) return from;
  const void* hit = ::memmem(haystack.data() + from, haystack.size() - from, needle.data(),
                             needle.size());
  if (!hit) return npos;
  return static_cast<size_t>(static_cast<const char*>(hit) - haystack.data());
}

inline bool containsText(std::string_view haystack, std::string_view needle) {
  return findText(haystack, needle) != npos;
}

// Lower-casing for tests of containment: only the letters A to Z change, so the bytes of a
// UTF-8 sequence stay as they are.
inline char lowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

inline std::string lowerCase(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = lowerAscii(c);
  return lower;
}

// Appends `text` to `out` with every occurrence of `from` (exact, left to right, not
// overlapping) replaced by `to`; an empty `to` removes them.
void replaceAll(std::string& out, std::string_view text, std::string_view from,
                std::string_view to);
// The same into a new text.
std::string replaceAll(std::string_view text, std::string_view from, std::string_view to);

}  // namespace waymint::osm

#pragma once

#include <string>
#include <string_view>

namespace waymint::gpx {

// A text searched for regardless of case, the way records are selected: only A to Z fold
// onto a to z, every other byte (a UTF-8 byte among them) matches itself. Searching needs no
// copy of the text searched, lower-cased or not.
class FoldedText {
 public:
  explicit FoldedText(std::string_view text);

  // Position of the first occurrence in `haystack` at or after `from`, or npos.
  size_t findIn(std::string_view haystack, size_t from = 0) const;
  bool occursIn(std::string_view haystack) const {
    return findIn(haystack) != std::string_view::npos;
  }
  size_t size() const { return m_lower.size(); }

 private:
  bool matchesAt(const char* p) const;

  std::string m_lower;
  std::string m_fold;  // 0x20 where the text has a letter: OR-ed into the byte compared
};

// Position of the last occurrence of `needle` lying wholly inside [from, to) of `text`, or
// npos. Exact comparison.
size_t findLastText(std::string_view text, std::string_view needle, size_t from, size_t to);

}  // namespace waymint::gpx

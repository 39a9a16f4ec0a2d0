#pragma once

#include <string>
#include <string_view>

#include "osm/text_search.h"

namespace waymint::osm {

// A text to search for, exactly or regardless of case. Regardless of case, only A to Z fold
// onto a to z and every other byte (a UTF-8 byte among them) matches itself. Searching needs
// no copy of the text searched, lower-cased or not, and looks at 16 positions at a time.
class TextFinder {
 public:
  enum class Case { Exact, Ignore };
  TextFinder(std::string_view text, Case letterCase);

  // Position of the first occurrence in `haystack` at or after `from`, or npos.
  size_t findIn(std::string_view haystack, size_t from = 0) const;
  bool occursIn(std::string_view haystack) const {
    return findIn(haystack) != npos;
  }
  size_t size() const { return m_pattern.size(); }

 private:
  bool matchesAt(const char* p) const;

  std::string m_pattern;  // lower-cased where letter case is ignored
  std::string m_fold;  // 0x20 where the text has a letter: OR-ed into the byte compared
};

// Position of the last occurrence of `needle` lying wholly inside [from, to) of `text`, or
// npos. Exact comparison.
size_t findLastText(std::string_view text, std::string_view needle, size_t from, size_t to);

}  // namespace waymint::osm

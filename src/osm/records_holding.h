#pragma once

#include <string_view>

#include "osm/text_finder.h"

namespace waymint::osm {

// The node records of a text that hold a given text, in file order, cut as NodeRecordCutter
// cuts them. The text is searched once for what the records must hold; only the records
// around its occurrences are cut, so a search for a rare text costs about one pass, and
// records without it are never looked at.
class RecordsHolding {
 public:
  // The records whose "<node " lies at or after `from`.
  RecordsHolding(std::string_view text, TextFinder wanted, size_t from = 0);

  // The next record holding an occurrence that starts before `upTo`, as a view into the text.
  // False when there is none; the text before `upTo` is then done.
  bool next(std::string_view& record, size_t upTo);
  // How far the text has been searched: everything before it is done.
  size_t scanned() const { return m_from; }

 private:
  std::string_view m_text;
  TextFinder m_wanted;
  size_t m_from = 0;      // where the search goes on
  size_t m_nextNode = 0;  // the first "<node " whose record has not been looked at, or npos
};

}  // namespace waymint::osm

#pragma once

#include <string_view>

#include "gpx/folded_search.h"

namespace waymint::gpx {

// The node records of a category, in file order. A record belongs to the category when it
// holds the category text in any case, and is left out when it holds a double quote directly
// followed by ref in any case (a ref key, a key or value beginning with ref). Records are
// cut as app::NodeRecordCutter cuts them.
//
// The text is searched once for the category; only the records around its occurrences are
// cut, so a rare category costs about one pass over the text.
class CategoryRecords {
 public:
  CategoryRecords(std::string_view text, std::string_view category);

  // The next record of the category holding an occurrence that starts before `upTo`, as a
  // view into the text. False when there is none; the text before `upTo` is then done.
  bool next(std::string_view& record, size_t upTo);
  // How far the text has been searched: everything before it is done.
  size_t scanned() const { return m_from; }

 private:
  std::string_view m_text;
  FoldedText m_category;
  FoldedText m_ref;
  size_t m_from = 0;      // where the search for the category goes on
  size_t m_nextNode = 0;  // the first "<node " whose record has not been looked at, or npos
};

}  // namespace waymint::gpx

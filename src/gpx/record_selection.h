#pragma once

#include <string>
#include <string_view>

#include "osm/records_holding.h"

namespace waymint::gpx {

// The node records of a category, in file order. A record belongs to the category when it
// holds the category text in any case, and is left out when it holds no tag ("<tag "), or a
// double quote directly followed by ref in any case (a ref key, a key or value beginning
// with ref).
//
// With exact categories a record belongs to the category when one of its POI keys has the
// category as its value, in any case (osm/tags.h); the category is then taken as listed,
// blanks and all.
class CategoryRecords {
 public:
  enum class Matching { Text, Exact };
  CategoryRecords(std::string_view text, std::string_view category,
                  Matching matching = Matching::Text);

  // The next record of the category holding an occurrence that starts before `upTo`, as a
  // view into the text. False when there is none; the text before `upTo` is then done.
  bool next(std::string_view& record, size_t upTo);
  // How far the text has been searched: everything before it is done.
  size_t scanned() const { return m_records.scanned(); }

 private:
  osm::RecordsHolding m_records;
  osm::TextFinder m_ref;
  std::string m_lower;  // the category lower-cased, for exact matching
  Matching m_matching;
};

}  // namespace waymint::gpx

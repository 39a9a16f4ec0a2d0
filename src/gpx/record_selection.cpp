#include "gpx/record_selection.h"

#include "osm/text_search.h"

namespace waymint::gpx {

using osm::TextFinder;

CategoryRecords::CategoryRecords(std::string_view text, std::string_view category)
    : m_records(text, TextFinder(category, TextFinder::Case::Ignore)),
      m_ref("\"ref", TextFinder::Case::Ignore) {}

bool CategoryRecords::next(std::string_view& record, size_t upTo) {
  for (std::string_view candidate; m_records.next(candidate, upTo);) {
    // A node without tags is no POI, whatever its attributes (a mapper's name) hold.
    if (!osm::containsText(candidate, "<tag ") || m_ref.occursIn(candidate)) continue;
    record = candidate;
    return true;
  }
  return false;
}

}  // namespace waymint::gpx

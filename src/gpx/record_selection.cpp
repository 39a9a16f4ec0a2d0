#include "gpx/record_selection.h"

#include "osm/tags.h"
#include "osm/text_search.h"

namespace waymint::gpx {

using osm::TextFinder;

CategoryRecords::CategoryRecords(std::string_view text, std::string_view category,
                                 Matching matching)
    : m_records(text, TextFinder(category, TextFinder::Case::Ignore)),
      m_ref("\"ref", TextFinder::Case::Ignore),
      m_lower(osm::lowerCase(category)),
      m_matching(matching) {}

bool CategoryRecords::next(std::string_view& record, size_t upTo) {
  for (std::string_view candidate; m_records.next(candidate, upTo);) {
    if (m_matching == Matching::Exact) {
      if (!osm::hasPoiValue(candidate, m_lower)) continue;
      record = candidate;
      return true;
    }
    // A node without tags is no POI, whatever its attributes (a mapper's name) hold.
    if (!osm::containsText(candidate, "<tag ") || m_ref.occursIn(candidate)) continue;
    record = candidate;
    return true;
  }
  return false;
}

}  // namespace waymint::gpx

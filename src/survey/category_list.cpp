#include "survey/category_list.h"

#include <algorithm>
#include <utility>

#include "osm/text_search.h"

namespace waymint::survey {

void CategoryList::add(std::string_view value) {
  if (value.empty()) return;
  m_lower.assign(value);
  for (char& c : m_lower) c = osm::lowerAscii(c);
  if (m_seen.contains(m_lower)) return;
  m_seen.insert(m_lower);
  m_entries.push_back(m_lower);
}

std::vector<std::string> CategoryList::takeSorted() {
  std::stable_sort(m_entries.begin(), m_entries.end(),
                   [](const std::string& a, const std::string& b) {
                     return static_cast<unsigned char>(a.front()) <
                            static_cast<unsigned char>(b.front());
                   });
  m_seen.clear();
  return std::exchange(m_entries, {});
}

}  // namespace waymint::survey

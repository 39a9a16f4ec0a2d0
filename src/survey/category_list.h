#pragma once

#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace waymint::survey {

// The distinct categories a survey finds: the lower-case form of each value, once, in the
// order of discovery.
class CategoryList {
 public:
  // Adds the lower-case form of `value` unless it is empty or already listed.
  void add(std::string_view value);
  // The entries in the order of discovery.
  const std::vector<std::string>& entries() const { return m_entries; }
  // The entries ordered by their first byte; entries with the same first byte keep their
  // order of discovery. Leaves the list empty.
  std::vector<std::string> takeSorted();

 private:
  std::unordered_set<std::string> m_seen;
  std::vector<std::string> m_entries;
  std::string m_lower;  // reused for every lookup, so a known value costs no allocation
};

}  // namespace waymint::survey

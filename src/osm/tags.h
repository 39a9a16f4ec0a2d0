#pragma once

#include <array>
#include <string_view>

namespace waymint::osm {

// One tag of a record: its key and value as the file writes them (entities as they stand).
struct Tag {
  std::string_view key;
  std::string_view value;
};

// The tag elements of a node record in file order: <tag k="…" v="…"/>, the attributes in
// either order and either quote, blanks and line breaks anywhere between them, closed by "/>"
// or by ">" and "</tag>". A tag without a key or a value is passed over. Views only.
class TagReader {
 public:
  explicit TagReader(std::string_view record) : m_rest(record) {}
  // The next tag, or false when the record holds no more.
  bool next(Tag& tag);

 private:
  std::string_view m_rest;
};

// The keys whose values are POI categories, as the survey knows them.
inline constexpr std::array<std::string_view, 11> poiKeys{
    "highway", "waterway", "railway", "amenity", "leisure", "barrier",
    "natural", "power",    "tourism", "historic", "shop"};

// Whether `key` is one of them, exactly: "disused:amenity", "was:shop" or "amenity_1" are not.
bool isPoiKey(std::string_view key);

// Whether `value`, lower-cased as the survey lower-cases (A to Z only), is `lower`.
bool equalsLowered(std::string_view value, std::string_view lower);

// Whether the record is of category `lower` (a category as the survey lists it): one of its
// POI keys has that value.
bool hasPoiValue(std::string_view record, std::string_view lower);

}  // namespace waymint::osm

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "osm/tags.h"
#include "support/case_table.h"

namespace waymint::testing {
namespace {

std::string tagsOf(std::string_view record) {
  std::string listed;
  osm::TagReader tags(record);
  for (osm::Tag tag; tags.next(tag);) listed += "[" + std::string(tag.key) + "=" + std::string(tag.value) + "]";
  return listed;
}

TEST(Tags, EachTagElementIsReadWhateverItsQuotesOrder) {
  for (const auto& c : caseTable("osm/data/tags.tsv", 2)) EXPECT_EQ(tagsOf(c[0]), c[1]) << c[0];
}

TEST(Tags, ACategoryIsTheValueOfAPoiKeyInAnyCase) {
  for (const auto& c : caseTable("osm/data/categories.tsv", 3)) {
    EXPECT_EQ(osm::hasPoiValue(c[0], c[1]), c[2] == "yes") << c[0];
  }
  for (std::string_view key : osm::poiKeys) EXPECT_TRUE(osm::isPoiKey(key));
  for (std::string_view key : {"amenity_1", "Amenity", "disused:shop", "name", ""}) {
    EXPECT_FALSE(osm::isPoiKey(key)) << key;
  }
}

}  // namespace
}  // namespace waymint::testing

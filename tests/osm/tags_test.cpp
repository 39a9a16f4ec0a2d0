#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "osm/tags.h"

namespace waymint::testing {
namespace {

std::string tagsOf(std::string_view record) {
  std::string listed;
  osm::TagReader tags(record);
  for (osm::Tag tag; tags.next(tag);) listed += "[" + std::string(tag.key) + "=" + std::string(tag.value) + "]";
  return listed;
}

TEST(Tags, EachTagElementIsReadWhateverItsQuotesOrder) {
  struct Case { const char* record; const char* tags; };
  const std::vector<Case> cases = {
      {R"(id="1"><tag k="amenity" v="cafe"/><tag k="name" v="P&amp;P"/></node>)",
       "[amenity=cafe][name=P&amp;P]"},
      {"id='1'>\n  <tag k='amenity' v='pub' />\n</node>", "[amenity=pub]"},
      {R"(><tag v="cafe" k="amenity"/><tag  k = "shop"	v="it's"></tag>)", "[amenity=cafe][shop=it's]"},
      {R"(><tag k="name" v='say "hi"'/>)", "[name=say \"hi\"]"},
      {R"(><tag k="empty" v=""/><tag k="novalue"/><tag v="nokey"/>)", "[empty=]"},
      {R"(><tagged k="amenity" v="cafe"/><tag k="a" v="b"/>)", "[a=b]"},
      {R"(><tag k="amenity" v="cafe)", ""},  // cut inside its value
      {R"(><tag k="a" v="1"/><tag k="b")", "[a=1]"},
      {"no tags at all", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(tagsOf(c.record), c.tags) << c.record;
}

TEST(Tags, ACategoryIsTheValueOfAPoiKeyInAnyCase) {
  struct Case { const char* record; const char* category; bool member; };
  const std::vector<Case> cases = {
      {R"(><tag k="amenity" v="cafe"/>)", "cafe", true},
      {R"(><tag k="amenity" v="Cafe"/>)", "cafe", true},
      {R"(><tag k="amenity" v="internet_cafe"/>)", "cafe", false},
      {R"(><tag k="name" v="cafe"/><tag k="amenity" v="restaurant"/>)", "cafe", false},
      {R"(><tag k="disused:amenity" v="cafe"/>)", "cafe", false},
      {R"(><tag k="was:amenity" v="cafe"/><tag k="shop" v="bakery"/>)", "bakery", true},
      {R"(><tag k="shop" v="coffee"/><tag k="amenity" v="cafe"/>)", "coffee", true},
      {R"(><tag k="historic" v="memorial"/>)", "memorial", true},
      {R"(><tag k="cuisine" v="cafe"/>)", "cafe", false},
      {R"(><tag k="amenity" v="fast food"/>)", "fast food", true},
      {R"(><tag k="amenity" v="CAFÉ"/>)", "cafÉ", true},  // only A to Z are lower-cased
  };
  for (const Case& c : cases) EXPECT_EQ(osm::hasPoiValue(c.record, c.category), c.member) << c.record;
  for (std::string_view key : osm::poiKeys) EXPECT_TRUE(osm::isPoiKey(key));
  for (std::string_view key : {"amenity_1", "Amenity", "disused:shop", "name", ""}) {
    EXPECT_FALSE(osm::isPoiKey(key)) << key;
  }
}

}  // namespace
}  // namespace waymint::testing

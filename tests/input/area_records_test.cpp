#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "input/area_records.h"
#include "platform/byte_buffer.h"
#include "reading.h"
#include "support/case_table.h"
#include "support/compressed_files.h"
#include "support/open_descriptors.h"
#include "support/osm_text.h"
#include "support/run_program.h"
#include "support/temp_folder.h"
#include "support/test_data.h"

namespace waymint::testing {
namespace {

using input::NodeIndex;

// Four times the usual room: the index of the areas' nodes is chosen to fit it.
constexpr std::uint64_t room = 4 * plenty;

// Says stop at report `stop` + 1.
Progress stoppingAfter(int stop) {
  Progress progress;
  progress.goOn = [stop](int report) { return report <= stop; };
  return progress;
}

// The records the areas of a file add: from "waymint:area" on, as they stand.
std::string areaRecords(const std::string& path, NodeIndex index = NodeIndex::Chosen,
                        input::AreaReport* report = nullptr) {
  platform::ByteBuffer text(std::string("<osm>...</osm>\n"));
  Progress progress;
  const input::AreaReport made = input::appendAreaRecords(path, text, progress, room, index);
  if (report) *report = made;
  return std::string(text.view().substr(15));
}

std::string way(int id, std::vector<int> nodes, const std::string& tags) {
  std::string text = "  <way id=\"" + std::to_string(id) + "\">\n";
  for (int n : nodes) text += "    <nd ref=\"" + std::to_string(n) + "\"/>\n";
  return text + tags + "  </way>\n";
}

std::string tag(const char* k, const char* v) {
  return std::string("    <tag k=\"") + k + "\" v=\"" + v + "\"/>\n";
}

// A multipolygon of the members given ("way 11" for one outer way), tagged `key`=`value`.
std::string multipolygon(int id, std::vector<std::string> members, const char* key, const char* value) {
  std::string text = "  <relation id=\"" + std::to_string(id) + "\">\n";
  for (const std::string& m : members) {
    text += "    <member type=\"" + m.substr(0, m.find(' ')) + "\" ref=\"" + m.substr(m.find(' ') + 1) +
            "\" role=\"outer\"/>\n";
  }
  return text + tag("type", "multipolygon") + tag(key, value) + "  </relation>\n";
}

// Four squares of 0.0001 degrees, nodes 1 to 16, a square per four ids, at longitudes 2 to 5.
std::string squares() {
  const char* corners[][2] = {{"0000000", "0000000"}, {"0000000", "0001000"},
                              {"0001000", "0001000"}, {"0001000", "0000000"}};
  std::string text;
  for (int i = 0; i < 16; ++i) {
    text += "  <node id=\"" + std::to_string(i + 1) + "\" lat=\"1." + corners[i % 4][0] + "\" lon=\"" +
            std::to_string(i / 4 + 2) + "." + corners[i % 4][1] + "\"/>\n";
  }
  return text;
}

TEST(AreaRecords, EachTaggedAreaIsANodeRecordAtAPointInside) {
  TempFolder folder;
  const std::string file = folder.write("a.osm", osmFile(
      squares() + way(10, {1, 2, 3, 4, 1}, tag("amenity", "parking") + tag("name", "P&amp;&quot;Q&quot;")) +
      way(11, {5, 6, 7, 8, 5}, "") +                                      // no tags: no POI
      way(12, {9, 10, 11, 12, 9}, tag("amenity", "parking") + tag("area", "no")) +
      way(13, {13, 14, 15}, tag("amenity", "parking")) +                  // not closed
      multipolygon(5, {"way 11"}, "leisure", "park")));
  EXPECT_EQ(areaRecords(file), slurp(std::string(WAYMINT_SOURCE_DIR) + "/tests/input/data/area_records.osm"));
}

TEST(AreaRecords, BrokenAreasAreLeftOutAndTheRestGoesOn) {
  TempFolder folder;
  const std::string good = way(10, {1, 2, 3, 4, 1}, tag("amenity", "parking"));
  const std::string goodRecord =
      "  <node waymint:area=\"w10\" lat=\"1.00005\" lon=\"2.00005\">\n"
      "    <tag k=\"amenity\" v=\"parking\"/>\n  </node>\n";
  struct Case { const char* what; std::string body; };
  const std::vector<Case> cases = {
      {"a way cut at the extract's border", way(20, {5, 6, 99, 8, 5}, tag("amenity", "parking"))},
      {"a multipolygon whose ring does not close",
       way(21, {5, 6, 7}, "") + multipolygon(6, {"way 21"}, "amenity", "parking")},
      {"a multipolygon of a missing way", multipolygon(7, {"way 77"}, "amenity", "parking")},
      {"a relation that is a member of itself",
       multipolygon(8, {"relation 8"}, "amenity", "parking")},
      {"a multipolygon without members", multipolygon(9, {}, "amenity", "parking")},
      {"two rings crossing", way(22, {5, 7, 6, 8, 5}, tag("amenity", "parking"))},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string file = folder.write("b.osm", osmFile(squares() + good + c.body));
    EXPECT_EQ(areaRecords(file), goodRecord);
  }
}

TEST(AreaRecords, EveryFormatAndEitherIndexGiveTheSameRecords) {
  if (!onPath("osmium")) GTEST_SKIP() << "osmium-tool is not installed";
  const std::string monaco = unpackedExtract("monaco.osm");
  input::AreaReport report;
  const std::string records = areaRecords(monaco, NodeIndex::Memory, &report);
  EXPECT_FALSE(report.indexInFile);
  EXPECT_GT(report.areas, 10000U);
  EXPECT_GE(report.indexBytes, 180000U * 16);  // the locations of Monaco's 180 118 nodes
  EXPECT_EQ(areaRecords(monaco, NodeIndex::File, &report), records);
  EXPECT_TRUE(report.indexInFile);
  EXPECT_GE(report.indexBytes, 180000U * 16);
  EXPECT_EQ(areaRecords(testDataPath("monaco.osm.pbf")), records);
  EXPECT_EQ(areaRecords(testDataPath("monaco.osm.bz2")), records);
  TempFolder folder;
  const std::string small = folder.write("s.osm", osmFile(squares() + way(10, {1, 2, 3, 4, 1}, tag("shop", "x"))));
  const std::string gz = folder.write("s.osm.gz", gzipOf(slurp(small)));
  EXPECT_EQ(areaRecords(gz), areaRecords(small));
}

// With areas, a load gives the text of a load without them, byte for byte, its area records
// after it; a .pbf's tagged nodes come from the pass that indexes their locations.
TEST(AreaRecords, ALoadWithAreasIsTheLoadWithoutThemAndTheRecords) {
  for (const std::string& path : {testDataPath("monaco.osm.pbf"), unpackedExtract("monaco.osm")}) {
    SCOPED_TRACE(path);
    Progress progress;
    input::AreaReport report;
    const platform::ByteBuffer loaded = input::readOsmFileWithAreas(path, progress, room, &report);
    const std::string plain(input::readOsmFile(path, progress, room).view());
    EXPECT_GT(report.areas, 10000U);
    ASSERT_GT(loaded.size(), plain.size());
    EXPECT_TRUE(loaded.view().starts_with(plain));
    EXPECT_EQ(loaded.view().substr(plain.size()), areaRecords(path));
  }
}

TEST(AreaRecords, TheUserMayCancelAndNoFileStaysOpen) {
  const long before = openDescriptors();
  const std::pair<std::string, std::vector<int>> cancelled[] = {
      {testDataPath("monaco.osm.pbf"), {0, 12}}, {testDataPath("monaco.osm.bz2"), {12}}};
  for (const auto& [path, stops] : cancelled) {
    for (const int reports : stops) {  // in the first pass, and in the second
      SCOPED_TRACE(path + " after " + std::to_string(reports));
      Progress progress = stoppingAfter(reports);
      platform::ByteBuffer text(std::string("<osm/>"));
      EXPECT_THROW(input::appendAreaRecords(path, text, progress, room), input::Cancelled);
      EXPECT_EQ(text.view(), "<osm/>");
      progress = stoppingAfter(reports);
      EXPECT_THROW(input::readOsmFileWithAreas(path, progress, room), input::Cancelled);
    }
  }
  // A .pbf cut short is damaged: said, and its file closed all the same.
  TempFolder folder;
  const std::string whole = slurp(testDataPath("monaco.osm.pbf"));
  const std::string cut = folder.write("cut.osm.pbf", whole.substr(0, whole.size() * 3 / 5));
  Progress progress;
  platform::ByteBuffer text(std::string("<osm/>"));
  EXPECT_THROW(input::appendAreaRecords(cut, text, progress, room), input::InputError);
  EXPECT_THROW(input::readOsmFileWithAreas(cut, progress, room), input::InputError);
  EXPECT_EQ(openDescriptors(), before);
}

// --- every area record against the polygon osmium export makes of that area ---

using Polygon = std::vector<std::vector<std::pair<double, double>>>;  // rings of (lon, lat)

// The rings of a GeoJSON MultiPolygon's "coordinates" (all its polygons' rings together).
Polygon ringsOf(const std::string& feature) {
  Polygon rings;
  const size_t start = feature.find("\"coordinates\":");
  std::vector<std::pair<double, double>> ring;
  int depth = 0;
  for (size_t at = start + 14; at < feature.size(); ++at) {
    const char c = feature[at];
    if (c == '[') {
      ++depth;
      if (depth == 4) {
        char* end = nullptr;
        const double lon = std::strtod(feature.c_str() + at + 1, &end);
        const double lat = std::strtod(end + 1, &end);
        ring.emplace_back(lon, lat);
        at = static_cast<size_t>(end - feature.c_str());
        --depth;
        continue;
      }
    } else if (c == ']') {
      if (depth == 3) rings.push_back(std::move(ring)), ring.clear();
      if (--depth == 0) break;
    }
  }
  return rings;
}

// Even-odd, strictly inside: a point on an edge is not.
bool strictlyInside(double x, double y, const Polygon& rings) {
  bool inside = false;
  for (const auto& ring : rings) {
    for (size_t i = 0; i + 1 < ring.size(); ++i) {
      const auto [ax, ay] = ring[i];
      const auto [bx, by] = ring[i + 1];
      const double cross = (bx - ax) * (y - ay) - (x - ax) * (by - ay);
      if (std::abs(cross) < 1e-18 && std::min(ax, bx) <= x && x <= std::max(ax, bx) &&
          std::min(ay, by) <= y && y <= std::max(ay, by)) {
        return false;
      }
      if ((ay > y) != (by > y) && x < ax + (y - ay) * (bx - ax) / (by - ay)) inside = !inside;
    }
  }
  return inside;
}

TEST(AreaRecords, EveryAreaOsmiumExportsHasItsPointInsideIt) {
  if (!onPath("osmium")) GTEST_SKIP() << "osmium-tool is not installed";
  TempFolder folder;
  for (const char* extract : {"liechtenstein-2013-08-03.osm", "monaco.osm"}) {
    SCOPED_TRACE(extract);
    const std::string path = unpackedExtract(extract);
    input::AreaReport report;
    const std::string records = areaRecords(path, NodeIndex::Chosen, &report);
    std::map<std::string, std::pair<double, double>> points;  // "a<area id>" -> (lon, lat)
    const std::regex record(R"re(waymint:area="([wr])(\d+)" lat="([^"]+)" lon="([^"]+)")re");
    for (std::sregex_iterator it(records.begin(), records.end(), record), end; it != end; ++it) {
      const long long id = std::stoll((*it)[2]) * 2 + ((*it)[1] == "r" ? 1 : 0);
      points["a" + std::to_string(id)] = {std::stod((*it)[4]), std::stod((*it)[3])};
    }
    const std::string exported = folder / "areas.geojsonseq";
    ASSERT_EQ(runProgram({"osmium", "export", path, "-f", "geojsonseq", "--add-unique-id=type_id",
                          "--geometry-types=polygon", "-O", "-o", exported}).status, 0);
    size_t tagged = 0, inside = 0;
    for (const std::string& feature : linesOf(slurp(exported))) {
      if (feature.find("\"properties\":{}") != std::string::npos) continue;
      const size_t idAt = feature.find("\"id\":\"a");
      if (idAt == std::string::npos) continue;
      ++tagged;
      const std::string id = feature.substr(idAt + 6, feature.find('"', idAt + 6) - idAt - 6);
      const auto point = points.find(id);
      if (point == points.end()) continue;  // one that no grid point lies inside
      const auto [x, y] = point->second;
      if (strictlyInside(x, y, ringsOf(feature))) {
        ++inside;
      } else {
        ADD_FAILURE() << id << " at " << x << "," << y;
      }
    }
    EXPECT_EQ(points.size(), report.areas);
    EXPECT_EQ(tagged, report.areas + report.unplaced);
    EXPECT_EQ(inside, report.areas);
    EXPECT_LT(report.unplaced * 1000, tagged + 1);  // thinner than 1 cm: hardly any
  }
}

}  // namespace
}  // namespace waymint::testing

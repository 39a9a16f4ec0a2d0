// Monaco in every format the program opens gives the same categories, POIs and GPX bytes as
// the .osm file (a .osm.pbf as the XML that osmium writes from it).
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "support/compressed_files.h"
#include "support/program_fixture.h"
#include "support/run_program.h"
#include "support/test_data.h"

namespace waymint::testing {
namespace {

// What a file gives: its categories, the POIs of a few of them, and their GPX files.
struct Results {
  std::vector<std::string> categories;
  std::map<std::string, std::vector<std::string>> pois;
  std::map<std::string, std::string> gpx;
  bool operator==(const Results&) const = default;
};

class FormatsTest : public ProgramTest {
 protected:
  void SetUp() override {
    start();
    program->f1.Check2.setValue(1);
  }
  Results resultsOf(const std::string& path) {
    Results results;
    machine.chooseNext(path);
    program->f1.mf_Click(2);
    results.categories = program->f1.List1(2).items();
    for (const char* category : {"cafe", "restaurant", "fuel", "bench", "hotel"}) {
      press(category);
      results.pois[category] = program->f1.List1(0).items();
      create();
      results.gpx[category] = slurp(gpxOf(category));
      std::filesystem::remove_all(gpxFolder() + "/" + category);
    }
    return results;
  }
};

TEST_F(FormatsTest, CompressedAndPbfFilesGiveWhatTheirXmlGives) {
  const std::string monaco = unpackedExtract("monaco.osm");
  const std::string text = slurp(monaco);
  const Results plain = resultsOf(monaco);
  ASSERT_EQ(plain.categories.size(), 108u);
  ASSERT_EQ(plain.pois.at("hotel").size(), 31u);
  const std::string third = text.substr(0, text.size() / 3);
  for (const auto& [name, bytes] :
       {std::pair{"monaco.osm.gz", gzipOf(text)},
        std::pair{"parts.osm.gz", gzipOf(third) + gzipOf(text.substr(third.size()))},
        std::pair{"parts.osm.bz2", bzip2Of(third, 1) + bzip2Of(text.substr(third.size()))}}) {
    SCOPED_TRACE(name);
    EXPECT_TRUE(resultsOf(folder.write(name, bytes)) == plain);
  }
  if (!onPath("osmium")) GTEST_SKIP() << "osmium-tool is not installed";
  const std::string pbf = testDataPath("monaco.osm.pbf");
  const std::string xml = folder / "from-pbf.osm";
  ASSERT_EQ(runProgram({"osmium", "cat", pbf, "-f", "osm", "-o", xml}).status, 0);
  const Results fromXml = resultsOf(xml);
  EXPECT_EQ(fromXml.categories.size(), 108u);
  EXPECT_TRUE(resultsOf(pbf) == fromXml);
}

}  // namespace
}  // namespace waymint::testing

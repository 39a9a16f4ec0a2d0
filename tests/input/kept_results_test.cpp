#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "gpx/create_gpx.h"
#include "platform/files.h"
#include "reading.h"
#include "support/kept_text.h"
#include "support/program_fixture.h"
#include "support/test_data.h"
#include "survey/get_tags.h"

namespace waymint::testing {
namespace {

using List = std::vector<std::string>;

// What the program makes of a loaded text: the survey's list and messages, and for each
// category the names a listing run lists, the GPX a writing run writes and their messages.
struct Results {
  List categories;
  std::map<std::string, List> listed;
  std::map<std::string, std::string> written;
  List messages;
  bool operator==(const Results&) const = default;
};

class KeptTextResults : public ProgramTest {
 protected:
  void SetUp() override { start(); }

  Results resultsOf(std::string text, const List& also, size_t every = 1) {
    Results results;
    load(std::move(text));
    survey::get_tags(*program);
    results.categories = program->f1.List1(2).items();
    List categories;
    for (size_t i = 0; i < results.categories.size(); i += every) categories.push_back(results.categories[i]);
    categories.insert(categories.end(), also.begin(), also.end());
    for (const std::string& category : categories) {
      choose(category);
      gpx::create_gpx(*program, false);
      results.listed[category] = program->f1.List1(0).items();
      choose(category);
      gpx::create_gpx(*program, true);
      results.written[category] = slurp(program->state.gpxpath);
      std::filesystem::remove_all(gpxFolder() + "/" + program->state.category);
    }
    results.messages = takeMessages();
    return results;
  }
};

TEST_F(KeptTextResults, AwkwardTextsGiveWhatTheirWholeTextGives) {
  std::mt19937 random(30);
  const List also = {"restaurant", "amenity", "node"};
  for (int round = 0; round < 60; ++round) {
    const std::string text = awkwardOsmText(random, 1 + round % 30);
    ASSERT_TRUE(resultsOf(filtered(text), also) == resultsOf(text, also)) << text;
  }
}

TEST_F(KeptTextResults, RealExtractsGiveWhatTheirWholeTextGives) {
  for (const char* name : {"monaco.osm", "liechtenstein-2013-08-03.osm"}) {
    const std::string text = platform::files::readWhole(unpackedExtract(name));
    const std::string kept = filtered(text);
    EXPECT_LT(kept.size(), text.size() / 10) << name;
    const Results whole = resultsOf(text, {"restaurant"}, 7);
    EXPECT_GT(whole.listed.size(), 10u) << name;
    EXPECT_TRUE(resultsOf(kept, {"restaurant"}, 7) == whole) << name;
  }
}

}  // namespace
}  // namespace waymint::testing

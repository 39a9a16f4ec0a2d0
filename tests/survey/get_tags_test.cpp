#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "survey/survey_fixture.h"

namespace waymint::testing {
namespace {

using Entries = std::vector<std::string>;
const std::string invalidCall = "Invalid procedure call or argument";

TEST_F(SurveyTest, EachValueIsListedOnce) {
  EXPECT_EQ(survey(osm(node(tag("amenity", "restaurant")) + node(tag("amenity", "restaurant")))),
            Entries{"restaurant"});
  EXPECT_TRUE(machine.messages().empty());
}

TEST_F(SurveyTest, ValuesContainedInListedOnesAreListedToo) {
  EXPECT_EQ(survey(osm(node(tag("amenity", "parking_entrance")) + node(tag("amenity", "parking")) +
                       node(tag("amenity", "king")))),
            (Entries{"king", "parking_entrance", "parking"}));
}

TEST_F(SurveyTest, ValuesDifferingOnlyInCaseGiveOneLowerCaseEntry) {
  EXPECT_EQ(survey(osm(node(tag("amenity", "Cafe")) + node(tag("amenity", "cafe")) +
                       node(tag("amenity", "CAFE")))),
            Entries{"cafe"});
}

TEST_F(SurveyTest, LowerCasingKeepsUtf8Bytes) {
  // Only A-Z change: the two bytes of an upper-case E with acute accent stay.
  EXPECT_EQ(survey(osm(node(tag("amenity", "CAF\xC3\x89")))), Entries{"caf\xC3\x89"});
}

TEST_F(SurveyTest, KeyChoiceAndExclusionsDecideWhatIsListed) {
  std::string body = node(tag("highway", "bus_stop") + tag("amenity", "shelter")) +
                     node(tag("tourism", "hotel") + tag("amenity", "cafe")) +
                     node(tag("historic", "memorial")) + node(tag("name", "Leisure Park")) +
                     node(tag("name", "leisure park")) + node(tag("name:en", "amenity")) +
                     node(tag("ref:bus", "highway 7")) + node(tag("source", "amenity")) +
                     node(tag("direction", "highway")) + node(tag("source:amenity", "survey"));
  EXPECT_EQ(survey(osm(body)), (Entries{"cafe", "memorial", "shelter", "survey"}));
}

TEST_F(SurveyTest, SpellingsOfTheTagEnd) {
  std::string body = node("    <tag k=\"amenity\" v=\"bar\" />\n") + node(tag("amenity", "bar")) +
                     node("    <tag k=\"amenity\" v='pub'/>\n") +
                     node("    <tag k=\"amenity\" v=\"bank\"></tag>\n");
  EXPECT_EQ(survey(osm(body)), (Entries{"'pub", "bar"}));
}

TEST_F(SurveyTest, TheLastNodeOfTheFileIsExaminedButNotWhatFollowsIt) {
  std::string ways = "  <way id=\"9\">\n    <nd ref=\"1\"/>\n" + tag("amenity", "parking") +
                     "  </way>\n  <relation id=\"5\">\n" + tag("amenity", "school") +
                     "  </relation>\n";
  EXPECT_EQ(survey(osm(node(tag("amenity", "bench")) + node(tag("amenity", "pub")) + ways)),
            (Entries{"bench", "pub"}));
  // Even when nothing at all follows the last node.
  EXPECT_EQ(survey(node(tag("amenity", "pub")) + node(tag("shop", "kiosk"))),
            (Entries{"kiosk", "pub"}));
}

TEST_F(SurveyTest, FilesWithoutTaggedNodesGiveAnEmptyList) {
  EXPECT_TRUE(survey(osm("  <way id=\"9\">\n" + tag("amenity", "pub") + "  </way>\n")).empty());
  EXPECT_TRUE(survey(osm(node("") + node("") + node(""))).empty());
  EXPECT_TRUE(survey("").empty());
  EXPECT_TRUE(machine.messages().empty());
}

TEST_F(SurveyTest, RecordAcrossAChunkBoundaryGivesItsValueOnce) {
  std::string bytes(static_cast<size_t>(app::chunkSize) - 40, ' ');
  bytes += node(tag("amenity", "townhall"));  // starts in chunk 0 and ends in chunk 1
  ASSERT_GT(bytes.size(), static_cast<size_t>(app::chunkSize));
  bytes += node(tag("amenity", "library"));   // wholly in chunk 1
  bytes += node(tag("amenity", "townhall"));
  EXPECT_EQ(survey(bytes), (Entries{"library", "townhall"}));
}

TEST_F(SurveyTest, KeyWithoutValueIsReportedAndTheSurveyGoesOn) {
  std::string broken = node("    <tag k=\"amenity\"/>\n" + tag("amenity", "pub"));
  EXPECT_EQ(survey(osm(node(tag("shop", "bakery")) + broken + node(tag("amenity", "atm")))),
            (Entries{"atm", "bakery", "pub"}));
  EXPECT_EQ(machine.messageTexts(), std::vector<std::string>{invalidCall});
  EXPECT_EQ(machine.messages()[0].buttons, platform::Buttons::Ok);
}

TEST_F(SurveyTest, UnreadableTagsAreReportedOncePerSurvey) {
  std::string body;
  for (int i = 0; i < 500; ++i) body += node("    <tag k=\"amenity\"/>\n");
  body += node(tag("amenity", "atm"));
  EXPECT_EQ(survey(osm(body)), Entries{"atm"});
  EXPECT_EQ(machine.messageTexts(), std::vector<std::string>{invalidCall});
  // The next survey says it again.
  EXPECT_EQ(survey(osm(body)), Entries{"atm"});
  EXPECT_EQ(machine.messageTexts().size(), 2u);
}

TEST_F(SurveyTest, ValueEndingRightAfterItsMarkIsReported) {
  EXPECT_EQ(survey(osm(node("    <tag k=\"amenity\" v=/>\n") + node(tag("amenity", "atm")))),
            Entries{"atm"});
  EXPECT_EQ(machine.messageTexts(), std::vector<std::string>{invalidCall});
}

TEST_F(SurveyTest, EntriesAreOrderedByFirstByteOnlyKeepingDiscoveryOrder) {
  std::string body;
  for (const char* value : {"zoo", "bench", "\xC3\xBC" "bung", "_private", "bar", "Zebra", "9a",
                            "atm", "2b", "bakery", "apotheke"}) {
    body += node(tag("amenity", value));
  }
  EXPECT_EQ(survey(osm(body)),
            (Entries{"2b", "9a", "_private", "atm", "apotheke", "bench", "bar", "bakery", "zoo",
                     "zebra", "\xC3\xBC" "bung"}));
}

TEST_F(SurveyTest, NothingLoadedIsReportedOnceAndGivesAnEmptyList) {
  program->f1.List1(2).setItems({"left over"});
  EXPECT_TRUE(run().empty());
  EXPECT_EQ(machine.messageTexts(), std::vector<std::string>{"No OSM file is loaded."});
  EXPECT_FALSE(machine.busyPointer());
}

TEST_F(SurveyTest, ANewSurveyReplacesTheList) {
  survey(osm(node(tag("amenity", "pub"))));
  EXPECT_EQ(survey(osm(node(tag("shop", "kiosk")))), Entries{"kiosk"});
  EXPECT_TRUE(survey(osm(node(""))).empty());
}

TEST_F(SurveyTest, TheListChangesOnceWithAllEntries) {
  std::string body;
  for (int i = 0; i < 300; ++i) body += node(tag("amenity", "v" + std::to_string(i)));
  load(osm(body));
  // The list also takes no clicks while the survey runs; what matters is that its entries
  // change once, not entry by entry.
  std::vector<size_t> sizesSeen{0};
  program->f1.List1(2).watch([&] {
    const size_t size = program->f1.List1(2).items().size();
    if (size != sizesSeen.back()) sizesSeen.push_back(size);
  });
  EXPECT_EQ(run().size(), 300u);
  EXPECT_EQ(sizesSeen, (std::vector<size_t>{0, 300}));
}

TEST_F(SurveyTest, ProgressIsShownWhileScanningAndHiddenAtTheEnd) {
  std::string body;
  for (int i = 0; i < 20000; ++i) body += node(i % 2 ? "" : tag("amenity", "bench"));
  load(osm(body));
  std::vector<std::optional<double>> reports;
  machine.onProgress([&](std::optional<double> fraction) { reports.push_back(fraction); });
  int yieldsBefore = machine.yields();
  int busyInYields = 0;
  machine.duringYield([&] { busyInYields += machine.busyPointer() ? 1 : 0; });

  EXPECT_EQ(run(), Entries{"bench"});

  ASSERT_GE(reports.size(), 4u);
  EXPECT_EQ(reports.back(), std::nullopt);
  double last = 0.0;
  for (size_t i = 0; i + 1 < reports.size(); ++i) {
    ASSERT_TRUE(reports[i].has_value());
    EXPECT_GT(*reports[i], last);
    EXPECT_LE(*reports[i], 1.0);
    last = *reports[i];
  }
  EXPECT_GE(machine.yields() - yieldsBefore, 4);
  EXPECT_EQ(busyInYields, machine.yields() - yieldsBefore);
}

TEST_F(SurveyTest, BusyPointerIsSetPerChunkAndRestoredAtTheEnd) {
  load(osm(node(tag("amenity", "pub"))));
  program->state.chunks.chunkmax = 3;
  int before = machine.busyChanges();
  run();
  EXPECT_EQ(machine.busyChanges() - before, 3 + 1 + 1);  // busy_on for chunks 0 to 3, busy_off
  EXPECT_FALSE(machine.busyPointer());
}

TEST_F(SurveyTest, CloseRequestDuringTheSurveyWaitsForTheList) {
  std::string body;
  for (int i = 0; i < 10000; ++i) body += node(tag("amenity", "bench"));
  load(osm(body));
  bool endedInside = false;
  machine.duringYield([&] {
    program->f1.requestClose();
    endedInside = endedInside || machine.processEnded();
  });
  EXPECT_EQ(run(), Entries{"bench"});
  EXPECT_FALSE(endedInside);
  EXPECT_TRUE(machine.processEnded());
}

}  // namespace
}  // namespace waymint::testing

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <functional>
#include <new>
#include <string>
#include <tuple>
#include <vector>

#include "reading.h"
#include "support/compressed_files.h"
#include "support/kept_text.h"
#include "support/osm_text.h"
#include "support/temp_folder.h"
#include "support/test_data.h"

namespace waymint::testing {
namespace {

std::string repeated(std::string_view text, size_t times) {
  std::string out;
  out.reserve(text.size() * times);
  for (size_t i = 0; i < times; ++i) out += text;
  return out;
}

// `text` written as .osm, .osm.gz and .osm.bz2 (the last one last).
std::vector<std::string> everyForm(const TempFolder& folder, const std::string& text) {
  return {folder.write("a.osm", text), folder.write("a.osm.gz", gzipOf(text, 1)),
          folder.write("a.osm.bz2", bzip2Of(text, 9))};
}

// Blanks and untagged nodes, however many, cost no memory: they read to their end in 1 MB.
TEST(BadInput, BlanksAndUntaggedNodesCostNoMemory) {
  TempFolder folder;
  const std::string head = "<?xml version='1.0'?>\n<osm>\n";
  const std::string blanks = head + std::string(40 * megabyte, ' ') + osmNode({{"shop", "kiosk"}}) + "</osm>\n";
  const std::string untagged = head + repeated("  <node id=\"1\" lat=\"43.7\" lon=\"7.4\"/>\n", 400'000) +
                               osmNode({{"shop", "kiosk"}});
  for (const std::string* text : {&blanks, &untagged}) {
    const std::string kept = keptReference(*text);
    ASSERT_LT(kept.size(), megabyte);
    for (const std::string& path : everyForm(folder, *text)) EXPECT_TRUE(read(path, megabyte) == kept) << path;
  }
}

// Tagged nodes cost what they hold: beyond the memory allowed, the reading ends.
TEST(BadInput, TaggedNodesBeyondTheMemoryAllowedEndTheReading) {
  TempFolder folder;
  const std::string text = "<osm>\n" + repeated(osmNode({{"amenity", "bench"}}), 80'000);
  for (const std::string& path : everyForm(folder, text)) {
    EXPECT_THROW(read(path, 4 * megabyte), std::bad_alloc) << path;
  }
}

// Node elements that never close run to the next "<node ": the last one through the ways; one
// whose end never comes is cut at the longest a record is kept.
TEST(BadInput, RecordsWithoutEnd) {
  TempFolder folder;
  const std::string unclosed = "<osm>\n" + repeated("<node id=\"1\" lat=\"1\" lon=\"2\"><tag k=\"a\" v=\"b\"/>\n", 50000) +
                               repeated("<way id=\"2\"><nd ref=\"1\"/><tag k=\"highway\" v=\"x\"/></way>\n", 50000);
  const std::string endless = "<osm>\n<node id=\"1\" lat=\"1\" lon=\"2\"><tag k=\"a\" v=\"b\"/>" +
                              std::string(input::longestRecord + megabyte, ' ') + osmNode({{"amenity", "bar"}});
  std::string cut = endless.substr(0, endless.find("<node ") + 6 + input::longestRecord);
  const std::string bar = osmNode({{"amenity", "bar"}});
  cut += bar.substr(2, bar.size() - 3);  // from its "<node " to its end
  for (const auto& [text, kept, limit] : {std::tuple{&unclosed, keptReference(unclosed), 16 * megabyte},
                                          std::tuple{&endless, cut, 140 * megabyte}}) {
    for (const std::string& path : everyForm(folder, *text)) EXPECT_TRUE(read(path, limit) == kept) << path;
  }
}

// A record of 100 MB is kept whole, in memory for itself.
TEST(BadInput, ARecordOfAHundredMegabytes) {
  TempFolder folder;
  const std::string big = "<osm>\n" + osmNode({{"amenity", "x"}}) +
                          osmNode({{"amenity", "cafe"}, {"name", std::string(100 * megabyte, 'n')}}) +
                          osmNode({{"amenity", "bar"}});
  const std::string kept = keptReference(big);
  const std::vector<std::string> paths = everyForm(folder, big);
  for (const std::string& path : paths) EXPECT_TRUE(read(path, 110 * megabyte) == kept) << path;
  EXPECT_THROW(read(paths.back(), 50 * megabyte), std::bad_alloc);
}

// A .pbf still being written grows, or shrinks when it is made anew, while it is read: it is
// refused as a changing .osm is, not read as whole nor called damaged.
TEST(BadInput, APbfThatChangesWhileItIsReadIsRefused) {
  TempFolder folder;
  const std::string pbf = slurp(testDataPath("monaco.osm.pbf"));
  const std::string path = folder / "growing.osm.pbf";
  const std::function<void()> changes[] = {
      [&] { std::ofstream(path, std::ios::app | std::ios::binary) << std::string(70000, 'x'); },
      [&] { EXPECT_EQ(::truncate(path.c_str(), static_cast<off_t>(pbf.size() / 2)), 0); }};
  for (const auto& change : changes) {
    folder.write("growing.osm.pbf", pbf);
    Progress changing;
    changing.goOn = [&](int report) {
      if (report == 3) change();
      return true;
    };
    EXPECT_EQ(read(path, 64 * megabyte, changing), "refused: " + path + " changed on disk while it was read.");
  }
}

}  // namespace
}  // namespace waymint::testing

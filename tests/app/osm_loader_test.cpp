#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <utility>
#include <string>
#include <vector>

#include "app/osm_loader.h"
#include "app/program.h"
#include "input/ordered_work.h"
#include "support/bad_osm_files.h"
#include "support/compressed_files.h"
#include "support/open_descriptors.h"
#include "support/program_fixture.h"
#include "support/test_data.h"

namespace waymint::testing {
namespace {

class OsmLoaderTest : public ProgramTest {
 protected:
  void SetUp() override {
    start();
    const std::string text = manyNodes(90000);  // 15 MB: several pieces and many blocks
    files = {folder.write("big.osm", text), folder.write("big.osm.gz", gzipOf(text)),
             folder.write("big.osm.bz2", bzip2Of(text, 1)),
             folder.write("monaco.osm.pbf", slurp(testDataPath("monaco.osm.pbf")))};
    machine.onProgress([this](const std::string& activity, std::optional<double> fraction) {
      if (fraction && activity.starts_with("Reading ")) reported(*fraction);
    });
  }

  // What each report of the reading does.
  void reported(double fraction) {
    std::lock_guard lock(mutex);
    fractions.push_back(fraction);
    if (fractions.size() == cancelAt) machine.requestCancel();
    changed.notify_all();
  }

  app::Loaded load(const std::string& path) {
    fractions.clear();
    app::ChunkTable table;
    const app::Loaded loaded = app::loadbinary(*program, path, table);
    EXPECT_EQ(table.loaded, loaded == app::Loaded::Yes);
    return loaded;
  }

  std::vector<std::string> files;
  std::vector<double> fractions;
  size_t cancelAt = 0;
  std::mutex mutex;
  std::condition_variable changed;
};

// The progress of a reading moves piece by piece, never back, up to the whole file; the user
// may cancel at any report: nothing is loaded nor said, and no file stays open.
TEST_F(OsmLoaderTest, TheProgressMovesAndACancelEndsTheReadingAtAnyReport) {
  for (const std::string& path : files) {
    SCOPED_TRACE(path);
    ASSERT_EQ(load(path), app::Loaded::Yes);
    const std::vector<double> whole = fractions;
    ASSERT_GE(whole.size(), 4u);
    EXPECT_TRUE(std::is_sorted(whole.begin(), whole.end()));
    EXPECT_GT(whole.back(), 0.99);
    // How many reports a reading makes depends on how fast its threads are; four at least.
    for (size_t at : {1, 2, 3, 4}) {
      const long descriptors = openDescriptors();
      cancelAt = at;
      EXPECT_EQ(load(path), app::Loaded::Cancelled);
      EXPECT_EQ(fractions.size(), at);
      EXPECT_FALSE(machine.cancelRequested());
      EXPECT_EQ(openDescriptors(), descriptors);
    }
    cancelAt = 0;
  }
}

// While a piece takes long on its thread (a slow block, a slow disk), the window still hears
// from the reading, and may cancel it.
TEST_F(OsmLoaderTest, WhileAPieceTakesLongTheProgressGoesOn) {
  for (const std::string& path : files) {
    SCOPED_TRACE(path);
    bool first = true;
    size_t whileWaiting = 0;
    input::setBeforeJob([&] {
      std::unique_lock lock(mutex);
      if (!std::exchange(first, false)) return;
      const size_t from = fractions.size();
      changed.wait_for(lock, std::chrono::seconds(60), [&] { return fractions.size() >= from + 5; });
      whileWaiting = fractions.size() - from;
    });
    EXPECT_EQ(load(path), app::Loaded::Yes);
    input::setBeforeJob({});
    EXPECT_GE(whileWaiting, 5u);
  }
}

}  // namespace
}  // namespace waymint::testing

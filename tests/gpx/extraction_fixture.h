#pragma once

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "app/program.h"
#include "app/state.h"
#include "gpx/create_gpx.h"
#include "platform/files.h"
#include "support/program_fixture.h"

namespace waymint::testing {

// A started program with an OSM text loaded and a GPX folder of its own, ready for runs.
class ExtractionTest : public ProgramTest {
 protected:
  app::Program& p = start();
  std::string gpxFolder = folder / "gpx";

  ExtractionTest() {
    platform::files::makeFolder(gpxFolder);
    p.f1.Text1.setText(gpxFolder);
  }

  // Puts `text` in memory as a loaded OSM file is.
  void load(std::string text) {
    app::ChunkTable& chunks = p.state.chunks;
    chunks.bytes = std::move(text);
    chunks.chunkmax = static_cast<std::int32_t>(
        std::max<std::int64_t>(1, static_cast<std::int64_t>(chunks.bytes.size()) / app::chunkSize));
    chunks.loaded = true;
  }
  // Lists `categories` in List1(2) and selects `chosen`.
  void choose(const std::string& chosen, std::vector<std::string> categories = {}) {
    if (categories.empty()) categories = {chosen};
    p.f1.List1(2).setItems(categories);
    auto at = std::find(categories.begin(), categories.end(), chosen);
    p.f1.List1(2).setSelectedIndex(static_cast<int>(at - categories.begin()));
  }
  // A writing run as the create button starts it.
  void write() {
    p.state.addmode = true;
    p.f1.List2.clear();
    gpx::create_gpx(p, true);
  }
  void list() { gpx::create_gpx(p, false); }

  std::string gpxOf(const std::string& name) const {
    return gpxFolder + "/" + name + "/" + name + ".gpx";
  }
  const std::vector<std::string>& found() const { return p.f1.List1(0).items(); }
  const std::vector<std::string>& added() const { return p.f1.List2.items(); }
};

// A node element with the given attributes after its id, and tags given as key, value pairs.
inline std::string node(std::string_view id, std::string_view lat, std::string_view lon,
                        std::vector<std::pair<std::string, std::string>> tags) {
  std::string text = "  <node id=\"" + std::string(id) + "\" lat=\"" + std::string(lat) +
                     "\" lon=\"" + std::string(lon) + "\"";
  if (tags.empty()) return text + "/>\n";
  text += ">\n";
  for (const auto& [k, v] : tags) text += "    <tag k=\"" + k + "\" v=\"" + v + "\"/>\n";
  return text + "  </node>\n";
}

inline std::string osm(const std::string& body) {
  return "<?xml version='1.0' encoding='UTF-8'?>\n<osm version=\"0.6\">\n" + body + "</osm>\n";
}

}  // namespace waymint::testing

// Measures the program's passes over one big OSM file (.osm, .osm.gz, .osm.bz2 or .osm.pbf):
// load, survey, a listing run and a writing run of one category, against a plain memmem pass
// over the loaded text.
//
//   waymint-bench OSM_FILE [CATEGORY] [--areas[=memory|file]]
//
// With --areas the file's areas are added to the loaded text as the choice of areas adds them,
// their node locations in the index the program chooses, or in the one named.
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/osm_loader.h"
#include "input/area_records.h"
#include "app/program.h"
#include "osm/text_search.h"
#include "gpx/create_gpx.h"
#include "platform/files.h"
#include "platform/headless/headless_platform.h"
#include "survey/get_tags.h"
#include "workflow/connect.h"

namespace {

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

struct Row {
  std::string pass;
  double seconds;
};

long peakKilobytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

template <typename F>
double timed(F&& work) {
  auto start = Clock::now();
  work();
  return secondsSince(start);
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> arguments(argv + 1, argv + argc);
  std::optional<waymint::input::NodeIndex> areas;
  for (auto it = arguments.begin(); it != arguments.end();) {
    if (it->starts_with("--areas")) {
      areas = *it == "--areas=memory" ? waymint::input::NodeIndex::Memory
              : *it == "--areas=file" ? waymint::input::NodeIndex::File
                                      : waymint::input::NodeIndex::Chosen;
      it = arguments.erase(it);
    } else {
      ++it;
    }
  }
  if (arguments.empty()) {
    std::fprintf(stderr, "usage: waymint-bench OSM_FILE [CATEGORY] [--areas[=memory|file]]\n");
    return 2;
  }
  const std::string file = arguments[0];
  const std::string category = arguments.size() > 1 ? arguments[1] : "restaurant";
  namespace files = waymint::platform::files;

  waymint::platform::HeadlessPlatform machine;
  auto output = std::filesystem::temp_directory_path() / "waymint-bench-gpx";
  std::filesystem::remove_all(output);
  std::filesystem::create_directories(output);
  machine.setExecutableFolder(output.string());
  machine.onMessage([](const std::string& text) { std::fprintf(stderr, "message: %s\n", text.c_str()); });
  waymint::app::Program program(machine);
  waymint::workflow::connect(program);
  program.f1.Form_Load();
  program.f1.Text1.setText(output.string());

  std::vector<Row> rows;
  waymint::app::ChunkTable table;
  rows.push_back({"load", timed([&] { waymint::app::loadbinary(program, file, table); })});
  if (!table.loaded) return 1;
  waymint::input::AreaReport areaReport;
  double areaSeconds = 0;
  const size_t textOfNodes = table.bytes.size();
  if (areas) {
    struct : waymint::input::ReadProgress {
      bool proceed(std::uint64_t) override { return true; }
    } quiet;
    areaSeconds = timed([&] {
      areaReport = waymint::input::appendAreaRecords(file, table.bytes, quiet,
                                                     machine.memoryForLoading(), *areas);
    });
    table.chunkmax = waymint::app::chunkmaxFor(table.bytes.size());
  }
  program.state.chunks = std::move(table);
  const std::string_view bytes = program.state.chunks.bytes;
  const double megabytes = static_cast<double>(bytes.size()) / 1e6;

  size_t nodes = 0;
  const double reference = timed([&] {
    for (size_t at = 0; (at = waymint::osm::findText(bytes, "<node ", at)) != std::string::npos; at += 6) ++nodes;
  });
  rows.push_back({"survey", timed([&] { waymint::survey::get_tags(program); })});

  auto& categories = program.f1.List1(2);
  int index = -1;
  for (int i = 0; i < categories.count(); ++i) {
    if (categories.item(i) == category) index = i;
  }
  if (index < 0) {
    std::fprintf(stderr, "no category %s in %s\n", category.c_str(), file.c_str());
    return 1;
  }
  categories.setSelectedIndex(index);
  rows.push_back({"listing run", timed([&] { waymint::gpx::create_gpx(program, false); })});
  const int found = program.f1.List1(0).count();
  program.state.addmode = true;
  program.f1.List2.clear();
  rows.push_back({"writing run", timed([&] { waymint::gpx::create_gpx(program, true); })});
  const std::string gpx = files::readWhole(program.state.gpxpath);
  const double writeOnce = timed([&] { files::replaceWhole((output / "copy.gpx").string(), gpx); });

  std::printf("file: %s (loaded text %.1f MB, %zu nodes)\n", file.c_str(), megabytes, nodes);
  if (areas) {
    std::printf("areas: %llu as records (%.1f MB of the text; %llu left out), read in %.3f s; "
                "node locations %s, %.0f MB\n",
                static_cast<unsigned long long>(areaReport.areas),
                static_cast<double>(bytes.size() - textOfNodes) / 1e6,
                static_cast<unsigned long long>(areaReport.unplaced), areaSeconds,
                areaReport.indexInFile ? "in a temporary file" : "in memory",
                static_cast<double>(areaReport.indexBytes) / 1048576.0);
  }
  std::printf("category %s: %d POIs found, %d written, GPX %.1f MB\n", category.c_str(), found,
              program.f1.List2.count(), static_cast<double>(gpx.size()) / 1e6);
  std::printf("%-22s %9s %10s %8s\n", "pass", "seconds", "MB/s", "x ref");
  auto print = [&](const std::string& pass, double seconds) {
    std::printf("%-22s %9.3f %10.0f %8.2f\n", pass.c_str(), seconds, megabytes / seconds,
                seconds / reference);
  };
  print("memmem (reference)", reference);
  for (const Row& row : rows) print(row.pass, row.seconds);
  print("load + survey", rows[0].seconds + rows[1].seconds);
  std::printf("%-22s %9.3f\n", "write output once", writeOnce);
  std::printf("targets: load+survey <= 3.00 x ref; listing <= 2.00 x ref; "
              "writing <= listing + write once (%.3f s)\n",
              rows[2].seconds + writeOnce);
  std::printf("peak memory: %.0f MB (loaded text %.0f MB + %.0f MB)\n", peakKilobytes() / 1024.0,
              megabytes / 1.048576, peakKilobytes() / 1024.0 - megabytes / 1.048576);
  std::filesystem::remove_all(output);
  return 0;
}

#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "support/run_program.h"

namespace waymint::testing {

// A BMP file as a test describes it, written by the test's own code.
struct BmpPicture {
  int width = 1;
  int height = 1;
  int bits = 8;
  std::vector<std::uint32_t> pixels;   // top row first: palette indices, or 0xAARRGGBB
  std::vector<std::uint32_t> palette;  // 0xRRGGBB
  bool topDown = false;
  std::uint32_t compression = 0;
  std::uint32_t headerSize = 40;
  std::uint32_t masks[3] = {0xFF0000, 0xFF00, 0xFF};  // written with bit fields (compression 3)
};
std::string bmpFile(const BmpPicture& picture);

// The bytes of a hand-written hex description: pairs of hex digits, "quoted ASCII text",
// XX*N for N bytes XX; "#" comments to the end of the line.
std::string bytesFromHex(std::string_view description);

// A file of tests/gpi/golden.
std::string goldenFile(std::string_view name);

// A golden case: tests/gpi/golden/<name>/ holds input.gpx, icon.bmp and expected.hex, the bytes
// written by hand, and read-back.tsv, what gpsbabel reads from them; the README says what the
// case shows. `gpsbabelOptions` ask gpsbabel for the same file.
struct GoldenCase {
  std::string name, category, gpsbabelOptions;
};
extern const std::vector<GoldenCase> goldenCases;
void PrintTo(const GoldenCase& c, std::ostream* out);
std::string caseName(const ::testing::TestParamInfo<GoldenCase>& info);

// Both byte for byte the same, or where they first differ.
void expectSameBytes(const std::string& ours, const std::string& theirs);

// A waypoint as a test writes it into a GPX, its texts as UTF-8.
struct TestWaypoint {
  std::string lat{}, lon{}, name{}, comment{};
  std::string proximity{}, street{}, city{}, postalCode{}, phone{};
};
// A UTF-8 GPX of the waypoints, texts escaped (&amp; &lt;); empty fields left out.
std::string gpxOf(const std::vector<TestWaypoint>& waypoints);

// Runs gpsbabel with its clock frozen (creation time 0 in a GPI it writes).
Finished runGpsbabel(const std::vector<std::string>& arguments);
// What gpsbabel reads from a GPI file, as rows of its unicsv output (column name to value,
// texts in UTF-8); empty when it cannot read the file.
std::vector<std::map<std::string, std::string>> gpsbabelReads(const std::string& gpiPath);
// The same for a file of another format gpsbabel reads ("gpx").
std::vector<std::map<std::string, std::string>> gpsbabelReads(const std::string& format,
                                                              const std::string& path);

}  // namespace waymint::testing

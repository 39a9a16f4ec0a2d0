#include "support/bad_osm_files.h"

#include <utility>

#include "support/compressed_files.h"
#include "support/osm_text.h"

namespace waymint::testing {

std::string manyNodes(int count) {
  const char* values[] = {"cafe", "bench", "restaurant", "post_box", "fuel", "pharmacy"};
  std::string body;
  for (int i = 0; i < count; ++i) {
    body += osmNode(std::to_string(1000 + i), "43." + std::to_string(700000 + i * 37),
                    "7." + std::to_string(400000 + i * 53),
                    {{"amenity", values[i % 6]}, {"name", "Place " + std::to_string(i * 7919 % 10007)}});
  }
  return osmFile(body);
}

std::vector<BadFile> badOsmFiles(const TempFolder& folder) {
  const std::string text = manyNodes(3000);
  const std::string png = "\x89PNG\r\n\x1A\n" + std::string(5000, 'p');
  std::string damagedBlock = bzip2Of(text, 1);
  damagedBlock.replace(damagedBlock.size() / 2, 64, std::string(64, 'x'));
  // Every block sound, but the CRC of the stream, made of theirs, wrong or cut off.
  std::string wrongCrc = bzip2Of(text, 1) + bzip2Of(text, 2);
  wrongCrc[lastStreamCrcBit(bzip2Of(text, 1)) / 8 + 1] ^= 0x10;
  const std::string packed = bzip2Of(text, 1);
  const std::string cutCrc = packed.substr(0, lastStreamCrcBit(packed) / 8 + 2);
  const std::string notOsm = " is not an OpenStreetMap file (.osm, .osm.pbf, .osm.bz2, .osm.gz).";
  const std::string incomplete = " is incomplete: it ends inside its compressed data.";
  const std::string damaged = " is damaged: its compressed data cannot be read.";
  const std::pair<const char*, std::pair<std::string, std::string>> files[] = {
      {"cut.osm.gz", {gzipOf(text).substr(0, 20000), incomplete}},
      {"cut.osm.bz2", {bzip2Of(text).substr(0, 20000), incomplete}},
      {"damaged.osm.gz", {gzipOf(text).replace(3000, 40, std::string(40, 'x')), damaged}},
      {"damaged.osm.bz2", {damagedBlock, damaged}},
      {"crc-wrong.osm.bz2", {wrongCrc, damaged}},
      {"crc-cut.osm.bz2", {cutCrc, incomplete}},
      {"picture.png", {png, notOsm}},
      {"picture.osm.gz", {gzipOf(png), notOsm}},
      {"picture.osm.bz2", {bzip2Of(png), notOsm}},
      {"empty.osm", {"", notOsm}},
      {"empty.osm.gz", {"", notOsm}},
      {"empty.osm.bz2", {"", notOsm}},
      {"empty.osm.pbf", {"", notOsm}},
      {"nothing.osm.gz", {gzipOf(""), notOsm}},
      {"nothing.osm.bz2", {bzip2Of(""), notOsm}},
      // Blanks without end (a few hundred MB here) are refused after their first 64 KiB.
      {"blanks.osm.gz", {gzipOf(std::string(size_t{300} << 20, ' '), 9), notOsm}},
  };
  std::vector<BadFile> bad;
  for (const auto& [name, content] : files) {
    const std::string path = folder.write(name, content.first);
    bad.push_back({path, path + content.second});
  }
  return bad;
}

}  // namespace waymint::testing

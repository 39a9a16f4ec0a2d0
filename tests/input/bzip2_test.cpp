// The layout of bzip2 files, checked against what libbz2 decodes of each block alone; which
// way a file is decoded; and files cut short, at every kind of place.
#include <bzlib.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "input/bzip2_blocks.h"
#include "input/decoders.h"
#include "reading.h"
#include "support/bad_osm_files.h"
#include "support/compressed_files.h"
#include "support/kept_text.h"
#include "support/open_descriptors.h"
#include "support/osm_text.h"
#include "support/temp_folder.h"

namespace waymint::testing {
namespace {

using input::Bzip2Layout;
using Shape = Bzip2Layout::Shape;

// An OSM text whose body is random bytes: bzip2 cannot make it smaller.
std::string incompressibleOsm(size_t size) {
  std::string body(size, '\0');
  std::uint64_t state = 0x9E3779B97F4A7C15;
  for (char& byte : body) {
    state ^= state << 13, state ^= state >> 7, state ^= state << 17;
    byte = static_cast<char>(state >> 24);
  }
  return osmFile(body);
}

// What libbz2 makes of one stream in one call, or nothing when it refuses it.
std::optional<std::string> libbz2Decode(const std::string& stream) {
  std::string text(std::size_t{4} << 20, '\0');
  auto length = static_cast<unsigned>(text.size());
  if (BZ2_bzBuffToBuffDecompress(text.data(), &length, const_cast<char*>(stream.data()),
                                 static_cast<unsigned>(stream.size()), 0, 0) != BZ_OK) {
    return std::nullopt;
  }
  text.resize(length);
  return text;
}

// Files of several blocks, compressible and not, of several streams, with bytes after them,
// made by libbz2 at its smallest block size: each with the text it holds and how many blocks
// it has at least.
struct Bzip2File {
  const char* name;
  std::string bytes;
  std::string text;
  size_t blocks;
};

std::vector<Bzip2File> bzip2Files() {
  const std::string nodes = manyNodes(3000), noise = incompressibleOsm(250'000);
  const std::string cafe = osmFile(osmNode({{"amenity", "cafe"}}));
  const std::string a = nodes.substr(0, 150'000), b = nodes.substr(150'000);
  return {
      {"one block", bzip2Of(cafe), cafe, 1},
      {"blocks", bzip2Of(nodes, 1), nodes, 3},
      {"incompressible blocks", bzip2Of(noise, 1), noise, 3},
      {"streams", bzip2Of(a, 1) + bzip2Of(b, 2), nodes, 3},
      {"an empty stream between", bzip2Of(a, 1) + bzip2Of("", 9) + bzip2Of(b, 1), nodes, 3},
      {"zeros after", bzip2Of(nodes, 1) + std::string(512, '\0'), nodes, 3},
      {"text after", bzip2Of(nodes, 1) + "BZh0 and so on", nodes, 3},
  };
}

// Each block, wrapped as a stream of its own, is what libbz2 decodes of it, and the blocks in
// order are the whole text: their positions are right. So is a layout searched in pieces
// whose borders cut through a magic number at every place.
TEST(Bzip2Layout, EveryBlockDecodesAloneIntoItsPartOfTheText) {
  for (const Bzip2File& file : bzip2Files()) {
    SCOPED_TRACE(file.name);
    const Bzip2Layout layout = input::bzip2Layout(file.bytes);
    ASSERT_EQ(layout.shape, Shape::Regular);
    EXPECT_GE(layout.blocks.size(), file.blocks);
    std::string text;
    for (const input::Bzip2Block& block : layout.blocks) {
      const auto decoded = libbz2Decode(input::standaloneStream(file.bytes, block));
      ASSERT_TRUE(decoded) << "the block at bit " << block.begin;
      text += *decoded;
    }
    EXPECT_TRUE(text == file.text);
    for (const input::Bzip2Block& block : layout.blocks) {
      for (const std::uint64_t magic : {block.begin, block.end}) {  // a block's, a stream's end
        for (size_t piece = magic / 8; piece <= magic / 8 + 7; ++piece) {
          if (piece == 0) continue;
          const Bzip2Layout searched = input::bzip2Layout(file.bytes, {}, piece);
          EXPECT_TRUE(searched.shape == layout.shape && searched.blocks == layout.blocks)
              << "pieces of " << piece << " bytes";
        }
      }
    }
  }
}

// The file's blocks decoded on every core, when they can be told apart; else (and to say what
// is wrong) the file read from the start, as bzip2 does.
TEST(Bzip2Decode, FilesWhoseBlocksAreToldApartAreDecodedInParallel) {
  TempFolder folder;
  const long descriptors = openDescriptors();
  for (const Bzip2File& file : bzip2Files()) {
    SCOPED_TRACE(file.name);
    platform::files::Reader reader(folder.write("a.osm.bz2", file.bytes));
    input::DecodedText text(reader.path(), plenty);
    Progress progress;
    EXPECT_EQ(input::decodeBzip2(reader, text, progress), input::Bzip2Path::Parallel);
    EXPECT_TRUE(text.finish().view() == keptReference(file.text));
  }
  EXPECT_EQ(openDescriptors(), descriptors);
}

// The message for a file that ends too early, wherever it ends: in a block, right after a
// block's magic number, inside the end-of-stream marker or the stream's CRC, inside the header
// of the next stream. Its layout says so too: cut short, not irregular.
TEST(Bzip2Decode, AFileCutAnywhereIsIncomplete) {
  TempFolder folder;
  const std::string nodes = manyNodes(3000);
  const std::string first = bzip2Of(nodes.substr(0, 250'000), 1);
  const std::string whole = first + bzip2Of(nodes.substr(250'000), 1);
  const Bzip2Layout layout = input::bzip2Layout(whole);
  ASSERT_EQ(layout.shape, Shape::Regular);
  std::vector<size_t> cuts = {first.size() + 1, first.size() + 2, first.size() + 3,
                              first.size() + 4, whole.size() - 1};
  for (const input::Bzip2Block& block : layout.blocks) {
    cuts.push_back((block.begin + block.end) / 16);  // inside the block
    cuts.push_back((block.begin + 48 + 7) / 8);      // right after its magic number
    for (size_t k = 1; k <= 9; ++k) {                // in the end-of-stream marker, in the CRC
      if (block.end / 8 + k < whole.size()) cuts.push_back(block.end / 8 + k);
    }
  }
  for (const size_t cut : cuts) {
    if (cut == first.size()) continue;  // the first stream whole
    SCOPED_TRACE("cut after " + std::to_string(cut) + " bytes");
    const std::string path = folder.write("cut.osm.bz2", whole.substr(0, cut));
    EXPECT_EQ(input::bzip2Layout(whole.substr(0, cut)).shape, Shape::Truncated);
    EXPECT_EQ(read(path), "refused: " + path + " is incomplete: it ends inside its compressed data.");
  }
}

// A stream's CRC is made of its blocks' CRCs: a file where it is not is damaged, although
// each block decodes.
TEST(Bzip2Decode, AStreamWhoseCrcIsNotThatOfItsBlocksIsDamaged) {
  TempFolder folder;
  std::string bytes = bzip2Of(manyNodes(3000), 1);
  const std::uint64_t crc = input::bzip2Layout(bytes).blocks.back().end + 48;
  bytes[crc / 8 + 1] ^= 0x10;
  EXPECT_EQ(input::bzip2Layout(bytes).shape, Shape::Irregular);
  const std::string path = folder.write("a.osm.bz2", bytes);
  EXPECT_EQ(read(path), "refused: " + path + " is damaged: its compressed data cannot be read.");
}

}  // namespace
}  // namespace waymint::testing

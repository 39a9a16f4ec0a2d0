#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace waymint::input {

// Where the blocks of a bzip2 file lie. Blocks start at any bit, each with a 48-bit magic
// number; a stream ("BZh" and its level) ends with another. A block is decoded on its own by
// wrapping it as a stream of one block: so the blocks of one file can be decoded at once on
// several cores, as parallel decompressors do.
struct Bzip2Block {
  char level;          // '1'..'9': the block size of its stream
  std::uint64_t begin;  // bit position of its magic number
  std::uint64_t end;    // bit position of the next magic number
};

struct Bzip2Layout {
  enum class Shape {
    Regular,    // streams of blocks, each stream closed by its end-of-stream marker
    Truncated,  // the last stream has no end-of-stream marker: the file was cut short
    Irregular,  // something else: only a decoder reading from the start can tell what
  };
  std::vector<Bzip2Block> blocks;
  Shape shape = Shape::Irregular;
};

// `between`, when given, is called between the pieces of the file searched.
Bzip2Layout bzip2Layout(std::string_view file, const std::function<void()>& between = {});

// A stream holding just `block`: decodable by the bzip2 library, which checks the block's CRC.
std::string standaloneStream(std::string_view file, const Bzip2Block& block);

}  // namespace waymint::input

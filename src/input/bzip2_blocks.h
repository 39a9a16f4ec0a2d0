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
  bool operator==(const Bzip2Block&) const = default;
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

// The file is searched `piece` bytes at a time; `between`, when given, is called between the
// pieces. A stream whose CRC is not the one its blocks make is irregular.
inline constexpr size_t bzip2SearchPiece = size_t{8} << 20;
Bzip2Layout bzip2Layout(std::string_view file, const std::function<void()>& between = {},
                        size_t piece = bzip2SearchPiece);

// What follows a stream that ends before byte `at`: another stream ("BZh" and a level), the
// end of the file inside a stream's header (the file was cut short), or nothing: the end of
// the file, or bytes after the last stream, which are ignored as bzip2 itself ignores them.
enum class AfterStream { Stream, CutHeader, Nothing };
AfterStream afterStream(std::string_view file, size_t at);

// A stream holding just `block`: decodable by the bzip2 library, which checks the block's CRC.
std::string standaloneStream(std::string_view file, const Bzip2Block& block);

}  // namespace waymint::input

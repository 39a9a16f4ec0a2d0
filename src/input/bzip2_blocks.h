#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace waymint::input {

// Where a block of a bzip2 file lies. Blocks start at any bit, each with a 48-bit magic
// number and its 32-bit CRC; a stream ("BZh" and its level) ends with another magic number
// and the stream's CRC, made of its blocks' CRCs. A block is decoded on its own by wrapping
// it as a stream of one block: so the blocks of one file can be decoded at once on several
// cores, as parallel decompressors do.
struct Bzip2Block {
  char level = '9';         // '1'..'9': the block size of its stream
  std::uint64_t begin = 0;  // bit position of its magic number
  std::uint64_t end = 0;    // bit position of the next magic number
  bool operator==(const Bzip2Block&) const = default;
};

// Finds the blocks of a bzip2 file as its bytes come, a window at a time, so that only the
// window and the block being found are held.
class Bzip2BlockFinder {
 public:
  enum class Shape {
    Reading,    // more bytes are needed to go on
    Regular,    // streams of blocks, each closed by its end marker and a matching CRC
    Truncated,  // the file ends inside a stream (in a block, its end marker or CRC, or the
                // header of the next stream): it was cut short
    Irregular,  // something else (a CRC that does not match, bytes between streams): only a
                // decoder reading from the start can tell what
  };

  // The next bytes of the file.
  void add(std::string_view bytes);
  // The file has no more bytes.
  void end();
  // The next block found, in file order, and the stream of it alone; false when none is known
  // yet.
  bool next(Bzip2Block& block, std::string& stream);
  Shape shape() const { return m_shape; }
  // Blocks found and not yet taken.
  size_t ready() const { return m_ready.size(); }

 private:
  struct Magic {
    std::uint64_t position;  // in bits from the file's start
    bool endOfStream;
  };
  enum class Phase { Header, Opening, Blocks, Crc };

  void findMagics();
  void advance();
  bool step();
  bool stepHeader();
  void closeBlock(std::uint64_t end);
  void trim();
  bool available(std::uint64_t bitEnd) const;
  std::uint64_t bitsAt(std::uint64_t position, unsigned count) const;

  std::string m_bytes;      // the file from m_base on
  std::uint64_t m_base = 0;
  std::uint64_t m_searched = 1;  // magics whose middle bytes begin before this byte are known
  bool m_ended = false;
  std::deque<Magic> m_magics;
  std::deque<std::pair<Bzip2Block, std::string>> m_ready;
  Shape m_shape = Shape::Reading;

  Phase m_phase = Phase::Header;
  std::uint64_t m_streamStart = 0;  // byte
  char m_level = '9';
  std::uint64_t m_blockBegin = 0;   // bit position of the block being found
  std::uint32_t m_streamCrc = 0;    // of the blocks of the stream so far
  std::uint64_t m_endMarker = 0;    // bit position of the stream's end marker
};

// The layout of a whole bzip2 file in memory, found `piece` bytes at a time; `between`, when
// given, is called between the pieces.
struct Bzip2Layout {
  using Shape = Bzip2BlockFinder::Shape;
  std::vector<Bzip2Block> blocks;
  Shape shape = Shape::Irregular;
};
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

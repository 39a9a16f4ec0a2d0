#include "input/bzip2_blocks.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <span>
#include <utility>

namespace waymint::input {
namespace {

constexpr std::uint64_t blockMagic = 0x314159265359;
constexpr std::uint64_t endMagic = 0x177245385090;

unsigned bitAt(std::string_view bytes, std::uint64_t position) {
  return (static_cast<unsigned char>(bytes[position / 8]) >> (7 - position % 8)) & 1U;
}

std::uint64_t bitsAt(std::string_view bytes, std::uint64_t position, unsigned count) {
  std::uint64_t value = 0;
  for (unsigned i = 0; i < count; ++i) value = (value << 1) | bitAt(bytes, position + i);
  return value;
}

// Every bit position at which a 48-bit `magic` starts. Placed `shift` bits into an 8-byte
// window, its bits fill bytes 1 to 5 of the window whole: a byte search for those five finds
// the candidates, which are then compared bit by bit.
// The magic's candidates whose five whole bytes start in [from, to), as bit positions.
void addPositions(std::string_view bytes, std::uint64_t magic, size_t from, size_t to,
                  std::vector<std::uint64_t>& found) {
  const std::uint64_t fileBits = static_cast<std::uint64_t>(bytes.size()) * 8;
  const std::string_view searched = bytes.substr(0, std::min(bytes.size(), to + 4));
  for (unsigned shift = 0; shift < 8; ++shift) {
    const std::uint64_t window = magic << (16 - shift);
    char core[5];
    for (unsigned i = 0; i < 5; ++i) core[i] = static_cast<char>((window >> (48 - 8 * i)) & 0xFF);
    for (size_t at = std::max<size_t>(from, 1); at + 5 <= searched.size();) {
      const void* hit = ::memmem(searched.data() + at, searched.size() - at, core, 5);
      if (!hit) break;
      const size_t start = static_cast<size_t>(static_cast<const char*>(hit) - bytes.data());
      at = start + 1;
      const std::uint64_t position = static_cast<std::uint64_t>(start - 1) * 8 + shift;
      if (position + 48 <= fileBits && bitsAt(bytes, position, 48) == magic) {
        found.push_back(position);
      }
    }
  }
}

// Appends bits to a text, most significant first.
class BitWriter {
 public:
  explicit BitWriter(std::string& out) : m_out(out) {}
  void put(std::uint64_t value, unsigned count) {
    while (count > 0) {
      const unsigned take = std::min(count, 8U - m_filled);
      const auto bits = static_cast<unsigned>((value >> (count - take)) & ((1U << take) - 1));
      m_byte = static_cast<unsigned>((m_byte << take) | bits);
      m_filled += take;
      count -= take;
      if (m_filled == 8) flushByte();
    }
  }
  // Copies `count` bits of `bytes` from bit `position` on.
  void copy(std::string_view bytes, std::uint64_t position, std::uint64_t count) {
    while (count > 0 && m_filled != 0) {
      put(bitAt(bytes, position++), 1);
      --count;
    }
    // Whole bytes: each out of two neighbouring bytes of the file.
    const unsigned shift = position % 8;
    size_t at = position / 8;
    m_out.reserve(m_out.size() + count / 8 + 16);
    for (; count >= 8; count -= 8, ++at) {
      const auto high = static_cast<unsigned char>(bytes[at]);
      const unsigned low = shift ? static_cast<unsigned char>(bytes[at + 1]) : 0;
      m_out.push_back(static_cast<char>(((high << shift) | (low >> (8 - shift))) & 0xFF));
    }
    put(bitsAt(bytes, static_cast<std::uint64_t>(at) * 8 + shift, static_cast<unsigned>(count)),
        static_cast<unsigned>(count));
  }
  void finish() {
    if (m_filled > 0) put(0, 8 - m_filled);
  }

 private:
  void flushByte() {
    m_out.push_back(static_cast<char>(m_byte));
    m_byte = 0;
    m_filled = 0;
  }
  std::string& m_out;
  unsigned m_byte = 0;
  unsigned m_filled = 0;
};

// A stream's CRC, as made of its blocks' CRCs (each right after the block's magic).
std::uint64_t streamCrc(std::string_view file, std::span<const Bzip2Block> blocks) {
  std::uint32_t combined = 0;
  for (const Bzip2Block& block : blocks) {
    combined = ((combined << 1) | (combined >> 31)) ^
               static_cast<std::uint32_t>(bitsAt(file, block.begin + 48, 32));
  }
  return combined;
}

}  // namespace

AfterStream afterStream(std::string_view file, size_t at) {
  const std::string_view rest = file.substr(std::min(at, file.size()));
  if (rest.size() >= 4 && rest.starts_with("BZh") && rest[3] >= '1' && rest[3] <= '9') {
    return AfterStream::Stream;
  }
  if (!rest.empty() && rest.size() < 4 && std::string_view("BZh").starts_with(rest)) {
    return AfterStream::CutHeader;
  }
  return AfterStream::Nothing;
}

Bzip2Layout bzip2Layout(std::string_view file, const std::function<void()>& between, size_t piece) {
  // Searched a piece at a time, so that the program lives meanwhile on a big file.
  std::vector<std::uint64_t> blocks, ends;
  for (size_t from = 0; from < file.size(); from += piece) {
    addPositions(file, blockMagic, from, from + piece, blocks);
    addPositions(file, endMagic, from, from + piece, ends);
    if (between) between();
  }
  std::sort(blocks.begin(), blocks.end());
  std::sort(ends.begin(), ends.end());
  const std::uint64_t fileBits = static_cast<std::uint64_t>(file.size()) * 8;
  Bzip2Layout layout;
  const auto shaped = [&layout](Bzip2Layout::Shape shape) {
    layout.shape = shape;
    return std::move(layout);
  };
  auto nextBlock = blocks.begin();
  auto nextEnd = ends.begin();
  for (size_t stream = 0;;) {
    if (const AfterStream next = afterStream(file, stream); next != AfterStream::Stream) {
      if (stream == 0) return shaped(Bzip2Layout::Shape::Irregular);
      return shaped(next == AfterStream::CutHeader ? Bzip2Layout::Shape::Truncated
                                                    : Bzip2Layout::Shape::Regular);
    }
    const char level = file[stream + 3];
    const std::uint64_t first = (static_cast<std::uint64_t>(stream) + 4) * 8;
    nextBlock = std::lower_bound(nextBlock, blocks.end(), first);
    nextEnd = std::lower_bound(nextEnd, ends.end(), first);
    const std::uint64_t end = nextEnd == ends.end() ? fileBits : *nextEnd;
    // A stream's first block follows its header at once (or its end marker, when empty).
    const std::uint64_t opening = nextBlock != blocks.end() ? std::min(*nextBlock, end) : end;
    if (opening != first && !(nextEnd == ends.end() && nextBlock == blocks.end())) {
      return shaped(Bzip2Layout::Shape::Irregular);
    }
    const size_t streamStart = layout.blocks.size();
    while (nextBlock != blocks.end() && *nextBlock < end) {
      const std::uint64_t begin = *nextBlock++;
      const std::uint64_t blockEnd = nextBlock != blocks.end() && *nextBlock < end ? *nextBlock : end;
      layout.blocks.push_back({level, begin, blockEnd});
    }
    // The end-of-stream marker, the stream's 32-bit CRC, then padding to a whole byte; a file
    // that ends before the CRC does was cut short.
    const std::uint64_t crc = end + 48;
    if (nextEnd == ends.end() || crc + 32 > fileBits) return shaped(Bzip2Layout::Shape::Truncated);
    const auto streamBlocks = std::span(layout.blocks).subspan(streamStart);
    if (bitsAt(file, crc, 32) != streamCrc(file, streamBlocks)) {
      return shaped(Bzip2Layout::Shape::Irregular);
    }
    stream = static_cast<size_t>((crc + 32 + 7) / 8);
    ++nextEnd;
  }
}

std::string standaloneStream(std::string_view file, const Bzip2Block& block) {
  std::string stream = std::string("BZh") + block.level;
  BitWriter bits(stream);
  bits.copy(file, block.begin, block.end - block.begin);
  bits.put(endMagic, 48);
  // A stream of one block: its CRC is the block's, which follows the block's magic.
  bits.put(bitsAt(file, block.begin + 48, 32), 32);
  bits.finish();
  return stream;
}

}  // namespace waymint::input

#include "input/bzip2_blocks.h"

#include <algorithm>
#include <cstring>
#include <functional>

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

}  // namespace

Bzip2Layout bzip2Layout(std::string_view file, const std::function<void()>& between) {
  // Searched a piece at a time, so that the program lives meanwhile on a big file.
  constexpr size_t piece = size_t{8} << 20;
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
  auto nextBlock = blocks.begin();
  auto nextEnd = ends.begin();
  for (size_t stream = 0;;) {
    if (stream + 4 > file.size() || file.substr(stream, 3) != "BZh" || file[stream + 3] < '1' ||
        file[stream + 3] > '9') {
      // Past the last stream: nothing more, or bytes after it, which are ignored as bzip2
      // itself ignores them.
      layout.shape = stream == 0 ? Bzip2Layout::Shape::Irregular : Bzip2Layout::Shape::Regular;
      return layout;
    }
    const char level = file[stream + 3];
    const std::uint64_t first = (static_cast<std::uint64_t>(stream) + 4) * 8;
    nextBlock = std::lower_bound(nextBlock, blocks.end(), first);
    nextEnd = std::lower_bound(nextEnd, ends.end(), first);
    const std::uint64_t end = nextEnd == ends.end() ? fileBits : *nextEnd;
    // A stream's first block follows its header at once (or its end marker, when empty).
    const std::uint64_t opening = nextBlock != blocks.end() ? std::min(*nextBlock, end) : end;
    if (opening != first && !(nextEnd == ends.end() && nextBlock == blocks.end())) {
      layout.shape = Bzip2Layout::Shape::Irregular;
      return layout;
    }
    while (nextBlock != blocks.end() && *nextBlock < end) {
      const std::uint64_t begin = *nextBlock++;
      const std::uint64_t blockEnd = nextBlock != blocks.end() && *nextBlock < end ? *nextBlock : end;
      layout.blocks.push_back({level, begin, blockEnd});
    }
    if (nextEnd == ends.end()) {
      layout.shape = Bzip2Layout::Shape::Truncated;  // no end-of-stream marker: cut short
      return layout;
    }
    // The marker, the stream's 32-bit CRC, then padding to a whole byte.
    stream = static_cast<size_t>((*nextEnd + 48 + 32 + 7) / 8);
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

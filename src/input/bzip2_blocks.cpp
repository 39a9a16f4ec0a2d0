#include "input/bzip2_blocks.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace waymint::input {
namespace {

constexpr std::uint64_t blockMagic = 0x314159265359;
constexpr std::uint64_t endMagic = 0x177245385090;
constexpr std::uint64_t noEnd = std::numeric_limits<std::uint64_t>::max();

unsigned bitAt(std::string_view bytes, std::uint64_t position) {
  return (static_cast<unsigned char>(bytes[position / 8]) >> (7 - position % 8)) & 1U;
}

std::uint64_t bitsOf(std::string_view bytes, std::uint64_t position, unsigned count) {
  std::uint64_t value = 0;
  for (unsigned i = 0; i < count; ++i) value = (value << 1) | bitAt(bytes, position + i);
  return value;
}

// Every bit position at which a 48-bit `magic` starts whose middle bytes begin in [from, to)
// of `bytes`. Placed `shift` bits into an 8-byte window, a magic's bits fill bytes 1 to 5 of
// the window whole: a byte search for those five finds the candidates, which are then
// compared bit by bit.
void addPositions(std::string_view bytes, std::uint64_t magic, size_t from, size_t to,
                  std::vector<std::uint64_t>& found) {
  const std::uint64_t bits = static_cast<std::uint64_t>(bytes.size()) * 8;
  const std::string_view searched = bytes.substr(0, std::min(bytes.size(), to + 4));
  for (unsigned shift = 0; shift < 8; ++shift) {
    const std::uint64_t window = magic << (16 - shift);
    char middle[5];
    for (unsigned i = 0; i < 5; ++i) middle[i] = static_cast<char>((window >> (48 - 8 * i)) & 0xFF);
    for (size_t at = std::max<size_t>(from, 1); at + 5 <= searched.size();) {
      const void* hit = ::memmem(searched.data() + at, searched.size() - at, middle, 5);
      if (!hit) break;
      const size_t start = static_cast<size_t>(static_cast<const char*>(hit) - bytes.data());
      at = start + 1;
      const std::uint64_t position = static_cast<std::uint64_t>(start - 1) * 8 + shift;
      if (position + 48 <= bits && bitsOf(bytes, position, 48) == magic) found.push_back(position);
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
    put(bitsOf(bytes, static_cast<std::uint64_t>(at) * 8 + shift, static_cast<unsigned>(count)),
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

void Bzip2BlockFinder::add(std::string_view bytes) {
  m_bytes.append(bytes);
  advance();
}

void Bzip2BlockFinder::end() {
  m_ended = true;
  advance();
}

bool Bzip2BlockFinder::next(Bzip2Block& block, std::string& stream) {
  if (m_ready.empty()) return false;
  block = m_ready.front().first;
  stream = std::move(m_ready.front().second);
  m_ready.pop_front();
  return true;
}

void Bzip2BlockFinder::advance() {
  if (m_shape != Shape::Reading) return;
  findMagics();
  while (m_shape == Shape::Reading && step()) {
  }
  trim();
}

// The magics whose middle bytes begin in the bytes come since; the last bytes wait for the
// next ones, which may finish a magic begun in them.
void Bzip2BlockFinder::findMagics() {
  const std::uint64_t have = m_base + m_bytes.size();
  const std::uint64_t upTo = m_ended ? have : (have >= 6 ? have - 5 : 0);
  if (upTo <= m_searched) return;
  std::vector<std::uint64_t> blocks, ends;
  const auto from = static_cast<size_t>(m_searched - m_base);
  const auto to = static_cast<size_t>(upTo - m_base);
  addPositions(m_bytes, blockMagic, from, to, blocks);
  addPositions(m_bytes, endMagic, from, to, ends);
  std::vector<Magic> found;
  for (std::uint64_t at : blocks) found.push_back({m_base * 8 + at, false});
  for (std::uint64_t at : ends) found.push_back({m_base * 8 + at, true});
  std::sort(found.begin(), found.end(), [](const Magic& a, const Magic& b) { return a.position < b.position; });
  m_magics.insert(m_magics.end(), found.begin(), found.end());
  m_searched = upTo;
}

// One step through the file's streams; false when more bytes are needed.
bool Bzip2BlockFinder::step() {
  // Every magic before this bit position is known.
  const std::uint64_t known = m_ended ? noEnd : (m_searched - 1) * 8;
  switch (m_phase) {
    case Phase::Header:
      return stepHeader();
    case Phase::Opening: {
      // A stream's first block follows its header at once (or its end marker, when empty).
      const std::uint64_t first = (m_streamStart + 4) * 8;
      while (!m_magics.empty() && m_magics.front().position < first) m_magics.pop_front();
      if (m_magics.empty() || m_magics.front().position >= known) {
        if (m_ended) m_shape = Shape::Truncated;  // a header and nothing after it
        return false;
      }
      const Magic magic = m_magics.front();
      m_magics.pop_front();
      if (magic.position != first) {
        m_shape = Shape::Irregular;
        return false;
      }
      m_blockBegin = first;
      m_endMarker = first;
      m_phase = magic.endOfStream ? Phase::Crc : Phase::Blocks;
      return true;
    }
    case Phase::Blocks: {
      if (m_magics.empty() || m_magics.front().position >= known) {
        if (m_ended) m_shape = Shape::Truncated;  // no end marker: cut short
        return false;
      }
      const Magic magic = m_magics.front();
      m_magics.pop_front();
      closeBlock(magic.position);
      m_blockBegin = magic.position;
      if (magic.endOfStream) {
        m_endMarker = magic.position;
        m_phase = Phase::Crc;
      }
      return true;
    }
    case Phase::Crc: {
      // The marker, the stream's 32-bit CRC, then padding to a whole byte.
      const std::uint64_t crcEnd = m_endMarker + 48 + 32;
      if (!available(crcEnd)) {
        if (m_ended) m_shape = Shape::Truncated;  // cut in the marker's CRC
        return false;
      }
      if (bitsAt(m_endMarker + 48, 32) != m_streamCrc) {
        m_shape = Shape::Irregular;
        return false;
      }
      m_streamStart = (crcEnd + 7) / 8;
      m_phase = Phase::Header;
      return true;
    }
  }
  return false;
}

// A stream begins with "BZh" and its level; after the last one, bytes that are not a stream
// are ignored, as bzip2 itself ignores them.
bool Bzip2BlockFinder::stepHeader() {
  if (!m_ended && !available((m_streamStart + 4) * 8)) return false;
  const std::string_view rest = std::string_view(m_bytes).substr(
      static_cast<size_t>(std::min(m_streamStart - m_base, static_cast<std::uint64_t>(m_bytes.size()))));
  switch (afterStream(rest, 0)) {
    case AfterStream::Stream:
      m_level = rest[3];
      m_streamCrc = 0;
      m_phase = Phase::Opening;
      return true;
    case AfterStream::CutHeader:
      m_shape = Shape::Truncated;
      return false;
    case AfterStream::Nothing:
      m_shape = m_streamStart == 0 ? Shape::Irregular : Shape::Regular;
      return false;
  }
  return false;
}

void Bzip2BlockFinder::closeBlock(std::uint64_t end) {
  const Bzip2Block block{m_level, m_blockBegin, end};
  const std::uint64_t base = m_base * 8;
  const auto crc = static_cast<std::uint32_t>(bitsAt(m_blockBegin + 48, 32));
  m_streamCrc = ((m_streamCrc << 1) | (m_streamCrc >> 31)) ^ crc;
  m_ready.emplace_back(block, standaloneStream(m_bytes, {m_level, m_blockBegin - base, end - base}));
}

// Drops the bytes no longer needed: those before the block or marker being read, but for
// the one before the next search, which a magic begun in it needs.
void Bzip2BlockFinder::trim() {
  std::uint64_t keep = m_phase == Phase::Header || m_phase == Phase::Opening ? m_streamStart
                       : m_phase == Phase::Crc                              ? m_endMarker / 8
                                                                           : m_blockBegin / 8;
  keep = std::min(keep, m_searched - 1);
  if (keep > m_base) {
    m_bytes.erase(0, static_cast<size_t>(keep - m_base));
    m_base = keep;
  }
}

bool Bzip2BlockFinder::available(std::uint64_t bitEnd) const {
  return (bitEnd + 7) / 8 <= m_base + m_bytes.size();
}

std::uint64_t Bzip2BlockFinder::bitsAt(std::uint64_t position, unsigned count) const {
  return bitsOf(m_bytes, position - m_base * 8, count);
}

Bzip2Layout bzip2Layout(std::string_view file, const std::function<void()>& between, size_t piece) {
  Bzip2BlockFinder finder;
  Bzip2Layout layout;
  Bzip2Block block;
  std::string stream;
  for (size_t from = 0; from < file.size() && finder.shape() == Bzip2Layout::Shape::Reading;
       from += std::max<size_t>(piece, 1)) {
    finder.add(file.substr(from, std::max<size_t>(piece, 1)));
    while (finder.next(block, stream)) layout.blocks.push_back(block);
    if (between) between();
  }
  finder.end();
  while (finder.next(block, stream)) layout.blocks.push_back(block);
  layout.shape = finder.shape();
  return layout;
}

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

std::string standaloneStream(std::string_view file, const Bzip2Block& block) {
  std::string stream = std::string("BZh") + block.level;
  BitWriter bits(stream);
  bits.copy(file, block.begin, block.end - block.begin);
  bits.put(endMagic, 48);
  // A stream of one block: its CRC is the block's, which follows the block's magic.
  bits.put(bitsOf(file, block.begin + 48, 32), 32);
  bits.finish();
  return stream;
}

}  // namespace waymint::input

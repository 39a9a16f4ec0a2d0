#include "support/compressed_files.h"

#include <bzlib.h>
#include <zlib.h>

#include <cstdint>
#include <stdexcept>

namespace waymint::testing {

std::string gzipOf(const std::string& text, int level) {
  z_stream z{};
  if (deflateInit2(&z, level, Z_DEFLATED, 16 + MAX_WBITS, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
    throw std::runtime_error("deflateInit2");
  }
  std::string out(deflateBound(&z, text.size()), '\0');
  z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(text.data()));
  z.avail_in = static_cast<uInt>(text.size());
  z.next_out = reinterpret_cast<Bytef*>(out.data());
  z.avail_out = static_cast<uInt>(out.size());
  deflate(&z, Z_FINISH);
  out.resize(z.total_out);
  deflateEnd(&z);
  return out;
}

std::string bzip2Of(const std::string& text, int blockSize) {
  std::string out(text.size() + text.size() / 100 + 600, '\0');
  auto length = static_cast<unsigned>(out.size());
  if (BZ2_bzBuffToBuffCompress(out.data(), &length, const_cast<char*>(text.data()),
                               static_cast<unsigned>(text.size()), blockSize, 0, 0) != BZ_OK) {
    throw std::runtime_error("BZ2_bzBuffToBuffCompress");
  }
  out.resize(length);
  return out;
}

size_t lastStreamCrcBit(const std::string& bzip2) {
  const auto bit = [&](size_t at) { return (static_cast<unsigned char>(bzip2[at / 8]) >> (7 - at % 8)) & 1U; };
  constexpr std::uint64_t endMarker = 0x177245385090;
  for (size_t padding = 0; padding < 8; ++padding) {
    const size_t marker = bzip2.size() * 8 - 80 - padding;
    std::uint64_t value = 0;
    for (size_t i = 0; i < 48; ++i) value = (value << 1) | bit(marker + i);
    if (value == endMarker) return marker + 48;
  }
  throw std::runtime_error("no end marker at the end of the bzip2 file");
}

}  // namespace waymint::testing

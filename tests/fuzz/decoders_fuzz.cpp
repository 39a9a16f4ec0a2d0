// Any file given to the loader: read as .osm, .osm.gz, .osm.bz2 or .osm.pbf by its content,
// or refused with a message; never a crash, never more memory than allowed. A .bz2 or .gz
// keeps of the text that libbz2 or zlib decodes of it on its own, stream after stream, what
// the plain record cutter keeps of that text, or is refused where they refuse it: the
// parallel bzip2 path included, which falls back to the reading from the start whenever it
// cannot tell the blocks apart.
#include <bzlib.h>
#include <zlib.h>

#include <cstdint>
#include <new>
#include <string>
#include <string_view>

#include "../input/reading.h"
#include "fuzz_program.h"
#include "input/decoders.h"
#include "input/format.h"
#include "platform/files.h"
#include "support/kept_text.h"

using namespace waymint;

namespace {

constexpr std::uint64_t memoryLimit = std::uint64_t{64} << 20;
// How far past the text a decoder may ask for room (a piece of its output).
constexpr std::uint64_t outputPiece = std::uint64_t{4} << 20;

// What the library decodes of a file: its text (the first `memoryLimit` + 1 bytes at most),
// or a refusal.
struct Decoded {
  bool refused = false;
  std::string text;
};

// libbz2 on its own: stream after stream, each over the rest of the file at once. After a
// stream, what begins like a stream header ("BZh" and a level) is the next stream, a piece of
// one at the end of the file is a cut, and anything else is ignored, as bzip2 does.
Decoded libbz2Decode(std::string_view file) {
  Decoded decoded;
  for (size_t at = 0; decoded.text.size() <= memoryLimit;) {
    const std::string_view rest = file.substr(at);
    if (at > 0) {
      if (rest.empty()) return decoded;
      if (rest.size() < 4 && std::string_view("BZh").starts_with(rest)) return {true, {}};
      if (!rest.starts_with("BZh") || rest[3] < '1' || rest[3] > '9') return decoded;
    }
    bz_stream bz{};
    if (BZ2_bzDecompressInit(&bz, 0, 0) != BZ_OK) return {true, {}};
    bz.next_in = const_cast<char*>(rest.data());
    bz.avail_in = static_cast<unsigned>(rest.size());
    int result = BZ_OK;
    while (result == BZ_OK && decoded.text.size() <= memoryLimit) {
      char out[65536];
      bz.next_out = out;
      bz.avail_out = sizeof out;
      result = BZ2_bzDecompress(&bz);
      decoded.text.append(out, sizeof out - bz.avail_out);
      if (result == BZ_OK && bz.avail_in == 0 && bz.avail_out != 0) result = BZ_UNEXPECTED_EOF;
    }
    at += rest.size() - bz.avail_in;
    BZ2_bzDecompressEnd(&bz);
    if (result != BZ_STREAM_END && result != BZ_OK) return {true, {}};
  }
  return decoded;
}

// zlib on its own: member after member, each over the rest of the file at once. After a
// member, only the two bytes of a member's magic number begin another; anything else is
// ignored, as zlib's own file reading does.
Decoded zlibDecode(std::string_view file) {
  Decoded decoded;
  for (size_t at = 0; decoded.text.size() <= memoryLimit;) {
    const std::string_view rest = file.substr(at);
    if (at > 0 && !rest.starts_with("\x1F\x8B")) return decoded;
    z_stream z{};
    if (inflateInit2(&z, 16 + MAX_WBITS) != Z_OK) return {true, {}};
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(rest.data()));
    z.avail_in = static_cast<uInt>(rest.size());
    int result = Z_OK;
    while (result == Z_OK && decoded.text.size() <= memoryLimit) {
      unsigned char out[65536];
      z.next_out = out;
      z.avail_out = sizeof out;
      result = inflate(&z, Z_NO_FLUSH);
      decoded.text.append(reinterpret_cast<const char*>(out), sizeof out - z.avail_out);
    }
    at += rest.size() - z.avail_in;
    inflateEnd(&z);
    if (result != Z_STREAM_END && result != Z_OK) return {true, {}};
  }
  return decoded;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  static fuzzing::FuzzProgram fuzz;
  const std::string_view file(reinterpret_cast<const char*>(data), size);
  const std::string path = fuzz.write("input.osm", file);
  const input::Format format = input::formatOf(file.substr(0, input::headSize));
  const bool compressed = format == input::Format::Bzip2 || format == input::Format::Gzip;
  const Decoded library = !compressed                        ? Decoded{}
                          : format == input::Format::Bzip2 ? libbz2Decode(file)
                                                           : zlibDecode(file);
  testing::Progress progress;
  try {
    const platform::ByteBuffer text = input::readOsmFile(path, progress, memoryLimit);
    fuzzing::require(text.size() <= memoryLimit, "within the memory allowed");
    fuzzing::require(!compressed || (!library.refused && testing::keptReference(library.text) == text.view()),
                     "what is kept of the text the library decodes");
  } catch (const input::InputError&) {
    fuzzing::require(!compressed || library.refused || !input::beginsLikeOsm(library.text),
                     "refused where the library refuses, or no OSM text");
  } catch (const platform::files::IoError&) {
  } catch (const std::bad_alloc&) {
    fuzzing::require(!compressed || library.refused ||
                         library.text.size() + outputPiece > memoryLimit,
                     "out of memory only on a text near the limit");
  }
  // The blocks of a file that libbz2 reads whole can be told apart (a magic number by chance
  // inside a block would break its CRC): it is decoded on every core.
  if (format == input::Format::Bzip2 && !library.refused && input::beginsLikeOsm(library.text) &&
      library.text.size() + outputPiece <= memoryLimit) {
    platform::files::Reader reader(path);
    input::DecodedText text(path, memoryLimit);
    fuzzing::require(input::decodeBzip2(reader, text, progress) == input::Bzip2Path::Parallel,
                     "a file libbz2 reads decoded in parallel");
  }
  return 0;
}

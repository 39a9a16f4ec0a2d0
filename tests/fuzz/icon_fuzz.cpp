// Any bytes as a category's icon: a named problem, or a bitmap of at most 24x24 pixels whose
// rows and palette are as long as the GPI's header for them says.
#include <cstdint>
#include <string>

#include "fuzz_program.h"
#include "gpi/gpi_encoder.h"
#include "gpi/icon.h"

using namespace waymint;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  const gpi::IconRead read =
      gpi::readIcon("fuzz.bmp", std::string_view(reinterpret_cast<const char*>(data), size));
  if (!read.check.fine()) {
    fuzzing::require(read.check.message.starts_with("fuzz.bmp "), "the problem names the file");
    return 0;
  }
  const gpi::Bitmap& b = read.bitmap;
  fuzzing::require(b.width >= 1 && b.width <= 24 && b.height >= 1 && b.height <= 24,
                   "an icon's size");
  fuzzing::require(b.bitsPerPixel == 8 || b.bitsPerPixel == 32, "8 or 32 bits a pixel");
  fuzzing::require(b.pixels.size() == size_t{b.rowBytes()} * b.height, "whole rows");
  fuzzing::require(b.palette.size() == (b.bitsPerPixel == 8 ? 1024u : 0u), "a whole palette");
  gpi::Waypoint poi;
  poi.name = poi.description = "n";
  const gpi::Encoded encoded = gpi::encode({&poi, 1}, "Fuzz", b, {}, 1);
  fuzzing::require(encoded.bytes.find(b.pixels) != std::string::npos, "the pixels are in the file");
  return 0;
}

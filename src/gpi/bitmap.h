#pragma once

#include <cstdint>
#include <string>

namespace waymint::gpi {

// The colour navigators draw transparent, as 0xRRGGBB.
inline constexpr std::uint32_t transparentColour = 0xFF00FF;

// An icon as a GPI file holds it: 8 bits a pixel with a palette of 256 colours, or 32 bits a
// pixel (blue, green, red, 0). Pixels of the transparent colour are not drawn.
struct Bitmap {
  std::uint16_t width = 0;
  std::uint16_t height = 0;
  std::uint16_t bitsPerPixel = 8;
  std::string pixels;   // the rows, top row first, each rowBytes() long
  std::string palette;  // 8 bits a pixel: 256 entries of red, green, blue, 0

  // ceil(width * bits / 8), rounded up to a multiple of 4
  std::uint32_t rowBytes() const { return (width * bitsPerPixel / 8u + 3u) / 4u * 4u; }
};

}  // namespace waymint::gpi

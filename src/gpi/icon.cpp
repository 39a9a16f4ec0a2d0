#include "gpi/icon.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "gpi/default_icon.h"
#include "messages/messages.h"
#include "platform/files.h"

namespace waymint::gpi {
namespace {

std::uint32_t u16At(std::string_view bytes, size_t at) {
  return static_cast<unsigned char>(bytes[at]) | static_cast<unsigned char>(bytes[at + 1]) << 8;
}

std::uint32_t u32At(std::string_view bytes, size_t at) {
  return u16At(bytes, at) | u16At(bytes, at + 2) << 16;
}

// What the 40-byte (or longer) header of a BMP says.
struct BmpHeader {
  std::uint32_t pixelOffset = 0;
  std::uint32_t headerSize = 0;
  std::int64_t width = 0;
  std::int64_t height = 0;  // negative: the top row comes first
  std::uint32_t planes = 0;
  std::uint32_t bits = 0;
  std::uint32_t compression = 0;
  std::uint32_t colours = 0;
};

constexpr std::uint32_t uncompressed = 0;
constexpr std::uint32_t bitFields = 3;

IconCheck problem(IconProblem kind, std::string message) { return {kind, std::move(message)}; }

std::string otherKind(std::string_view bytes) {
  if (bytes.starts_with("\x89PNG")) return messages::otherPicture("PNG");
  if (bytes.starts_with("\xFF\xD8\xFF")) return messages::otherPicture("JPEG");
  if (bytes.starts_with("GIF8")) return messages::otherPicture("GIF");
  return "";
}

std::string compressionName(std::uint32_t compression) {
  switch (compression) {
    case 1:
    case 2:
      return std::string(messages::rleCompression);
    case 3:
      return std::string(messages::bitFieldsCompression);
    case 4:
      return std::string(messages::jpegCompression);
    case 5:
      return std::string(messages::pngCompression);
    default:
      return messages::otherCompression(compression);
  }
}

// The header's problem, if any, in the order a user would mend them.
IconCheck checkHeader(const std::string& path, std::string_view bytes, const BmpHeader& h) {
  const std::string size = std::to_string(h.width) + "x" + std::to_string(std::llabs(h.height));
  if (h.width < 0 || h.height == INT32_MIN || h.planes != 1) {
    return problem(IconProblem::Damaged, messages::bmpSizeMakesNoSense(path));
  }
  if (h.width == 0 || h.height == 0) {
    return problem(IconProblem::Empty, messages::iconHasNoPixels(path, size));
  }
  if (h.width > largestIcon || std::llabs(h.height) > largestIcon) {
    return problem(IconProblem::TooLarge, messages::iconTooLarge(path, size));
  }
  if (h.bits != 8 && h.bits != 24 && h.bits != 32) {
    return problem(IconProblem::ColourDepth, messages::iconColourDepth(path, h.bits));
  }
  const bool plainMasks = h.compression == bitFields && h.bits == 32 && bytes.size() >= 66 &&
                          u32At(bytes, 54) == 0xFF0000 && u32At(bytes, 58) == 0xFF00 &&
                          u32At(bytes, 62) == 0xFF;
  if (h.compression != uncompressed && !plainMasks) {
    return problem(IconProblem::Compressed,
                   messages::compressedBmp(path, compressionName(h.compression)));
  }
  if (h.bits == 8 && h.colours > 256) {
    return problem(IconProblem::Damaged, messages::bmpPaletteTooLarge(path, h.colours));
  }
  return {};
}

IconCheck truncated(const std::string& path, size_t size, std::uint64_t needed) {
  return problem(IconProblem::Truncated, messages::bmpCutShort(path, size, needed));
}

// The colours of a 24- or 32-bit BMP's pixels as 0xRRGGBB, top row first.
std::vector<std::uint32_t> truePixels(std::string_view bytes, const BmpHeader& h, size_t rowBytes) {
  const size_t width = h.width;
  const size_t height = std::llabs(h.height);
  const size_t step = h.bits / 8;
  bool alphaUsed = false;
  if (step == 4) {
    for (size_t row = 0; row < height && !alphaUsed; ++row) {
      for (size_t x = 0; x < width; ++x)
        alphaUsed |= bytes[h.pixelOffset + row * rowBytes + x * 4 + 3] != 0;
    }
  }
  std::vector<std::uint32_t> colours;
  colours.reserve(width * height);
  for (size_t y = 0; y < height; ++y) {
    const size_t row = h.height > 0 ? height - 1 - y : y;
    const size_t start = h.pixelOffset + row * rowBytes;
    for (size_t x = 0; x < width; ++x) {
      const size_t at = start + x * step;
      const auto byte = [&](size_t i) { return static_cast<unsigned char>(bytes[at + i]); };
      const bool clear = alphaUsed && byte(3) < 128;
      colours.push_back(clear ? transparentColour : (byte(2) << 16 | byte(1) << 8 | byte(0)));
    }
  }
  return colours;
}

void appendPaletteEntry(std::string& palette, std::uint32_t colour) {
  palette.push_back(static_cast<char>(colour >> 16));
  palette.push_back(static_cast<char>(colour >> 8));
  palette.push_back(static_cast<char>(colour));
  palette.push_back('\0');
}

// 8 bits a pixel with the colours in the order they first appear, when there are at most 256;
// 32 bits otherwise.
Bitmap fromTrueColour(const std::vector<std::uint32_t>& colours, std::uint16_t width,
                      std::uint16_t height) {
  Bitmap bitmap{width, height, 8, {}, {}};
  std::vector<std::uint32_t> palette;
  std::string indices;
  for (std::uint32_t colour : colours) {
    size_t index = 0;
    while (index < palette.size() && palette[index] != colour) ++index;
    if (index == palette.size()) palette.push_back(colour);
    indices.push_back(static_cast<char>(index));
    if (palette.size() > 256) break;
  }
  if (palette.size() > 256) bitmap.bitsPerPixel = 32;
  const size_t pixelBytes = bitmap.bitsPerPixel / 8;
  for (size_t y = 0; y < height; ++y) {
    for (size_t x = 0; x < width; ++x) {
      const std::uint32_t colour = colours[y * width + x];
      if (pixelBytes == 1) {
        bitmap.pixels.push_back(indices[y * width + x]);
      } else {
        const char bgr0[4] = {static_cast<char>(colour), static_cast<char>(colour >> 8),
                              static_cast<char>(colour >> 16), 0};
        bitmap.pixels.append(bgr0, 4);
      }
    }
    bitmap.pixels.append(bitmap.rowBytes() - width * pixelBytes, '\0');
  }
  if (pixelBytes == 1) {
    for (std::uint32_t colour : palette) appendPaletteEntry(bitmap.palette, colour);
    bitmap.palette.resize(256 * 4, '\0');
  }
  return bitmap;
}

Bitmap fromPalette(std::string_view bytes, const BmpHeader& h, size_t paletteStart, size_t entries,
                   size_t rowBytes) {
  const auto width = static_cast<std::uint16_t>(h.width);
  const auto height = static_cast<std::uint16_t>(std::llabs(h.height));
  Bitmap bitmap{width, height, 8, {}, {}};
  const auto byte = [&](size_t at) -> std::uint32_t {
    return static_cast<unsigned char>(bytes[at]);
  };
  for (size_t i = 0; i < entries; ++i) {
    const size_t at = paletteStart + i * 4;  // blue, green, red, unused
    appendPaletteEntry(bitmap.palette, byte(at + 2) << 16 | byte(at + 1) << 8 | byte(at));
  }
  bitmap.palette.resize(256 * 4, '\0');
  for (size_t y = 0; y < height; ++y) {
    const size_t row = h.height > 0 ? height - 1 - y : y;
    bitmap.pixels.append(bytes.substr(h.pixelOffset + row * rowBytes, width));
    bitmap.pixels.append(bitmap.rowBytes() - width, '\0');
  }
  return bitmap;
}

}  // namespace

IconRead readIcon(std::string_view path, std::string_view bytes) {
  const std::string name(path);
  if (!bytes.starts_with("BM")) {
    return {problem(IconProblem::NotBmp, messages::notBmp(name, otherKind(bytes))), {}};
  }
  if (bytes.size() < 18) return {truncated(name, bytes.size(), 54), {}};
  BmpHeader h;
  h.pixelOffset = u32At(bytes, 10);
  h.headerSize = u32At(bytes, 14);
  if (h.headerSize != 40 && h.headerSize != 52 && h.headerSize != 56 && h.headerSize != 108 &&
      h.headerSize != 124) {
    return {problem(IconProblem::Damaged, messages::unknownBmpHeader(name, h.headerSize)), {}};
  }
  if (bytes.size() < 14 + h.headerSize)
    return {truncated(name, bytes.size(), 14 + h.headerSize), {}};
  h.width = static_cast<std::int32_t>(u32At(bytes, 18));
  h.height = static_cast<std::int32_t>(u32At(bytes, 22));
  h.planes = u16At(bytes, 26);
  h.bits = u16At(bytes, 28);
  h.compression = u32At(bytes, 30);
  h.colours = u32At(bytes, 46);
  if (IconCheck header = checkHeader(name, bytes, h); !header.fine()) return {header, {}};

  const size_t rowBytes = (h.width * h.bits + 31) / 32 * 4;
  const size_t entries = h.bits == 8 ? (h.colours == 0 ? 256 : h.colours) : 0;
  const size_t paletteStart = 14 + h.headerSize;
  const std::uint64_t needed = std::max<std::uint64_t>(
      paletteStart + entries * 4, std::uint64_t{h.pixelOffset} + rowBytes * std::llabs(h.height));
  if (bytes.size() < needed) return {truncated(name, bytes.size(), needed), {}};

  if (h.bits == 8) return {{}, fromPalette(bytes, h, paletteStart, entries, rowBytes)};
  return {{},
          fromTrueColour(truePixels(bytes, h, rowBytes), static_cast<std::uint16_t>(h.width),
                         static_cast<std::uint16_t>(std::llabs(h.height)))};
}

IconRead readIconFile(std::string_view path) {
  std::string bytes;
  try {
    // A picture larger than any icon is refused on its header: its first kilobytes tell all.
    platform::files::Reader reader(path);
    bytes.resize(std::min<std::uint64_t>(reader.length(), 1 << 20));
    size_t got = 0;
    while (got < bytes.size()) {
      const size_t read = reader.read(bytes.data() + got, bytes.size() - got);
      if (read == 0) break;
      got += read;
    }
    bytes.resize(got);
  } catch (const platform::files::IoError& error) {
    return {problem(IconProblem::Unreadable, messages::cannotBeRead(path, error.what())), {}};
  }
  return readIcon(path, bytes);
}

std::string_view defaultIconBmp() { return detail::defaultIconBytes(); }

const Bitmap& defaultBitmap() {
  static const Bitmap bitmap = readIcon("default icon", defaultIconBmp()).bitmap;
  return bitmap;
}

void writeDefaultIcon(std::string_view path) {
  platform::files::replaceWhole(path, defaultIconBmp());
}

}  // namespace waymint::gpi

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "gpi/gpi_test_files.h"
#include "gpi/icon.h"
#include "support/case_table.h"
#include "support/temp_folder.h"

namespace waymint::testing {
namespace {

using gpi::IconProblem;

constexpr std::uint32_t magenta = 0xFF00FF, red = 0xFF0000, green = 0x00FF00, blue = 0x0000FF;

BmpPicture paletted(int width, int height) {
  return {width, height, 8, std::vector<std::uint32_t>(size_t(width) * height, 1), {magenta, red}};
}

BmpPicture trueColour(int width, int height, int bits, std::vector<std::uint32_t> pixels) {
  return {width, height, bits, std::move(pixels), {}};
}

void put32(std::string& bytes, size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>(value >> (8 * i));
}

std::string patched(std::string bytes, size_t at, std::uint32_t value) {
  put32(bytes, at, value);
  return bytes;
}

TEST(IconCheck, WhatNavigatorsCannotShowIsNamedWithItsFix) {
  const std::string fit = bmpFile(paletted(24, 24));
  BmpPicture rle = paletted(4, 4);
  rle.compression = 1;
  BmpPicture oddMasks = trueColour(2, 2, 32, std::vector<std::uint32_t>(4, 0));
  oddMasks.compression = 3;
  oddMasks.masks[0] = 0xF800;
  BmpPicture os2 = paletted(2, 2);
  os2.headerSize = 12;
  BmpPicture v5 = trueColour(2, 2, 32, {red, red, blue, blue});
  v5.topDown = true;
  v5.headerSize = 124;
  v5.compression = 3;
  const std::tuple<std::string, std::string, IconProblem> cases[] = {
      {"png", "\x89PNG\r\n\x1A\n\0\0\0\rIHDR", IconProblem::NotBmp},
      {"text", "hello", IconProblem::NotBmp},
      {"empty file", "", IconProblem::NotBmp},
      {"header cut", fit.substr(0, 30), IconProblem::Truncated},
      {"pixels cut", fit.substr(0, fit.size() - 1), IconProblem::Truncated},
      {"0x0", bmpFile(paletted(0, 0)), IconProblem::Empty},
      {"5000x5000 header", patched(patched(fit, 18, 5000), 22, 5000), IconProblem::TooLarge},
      {"48x48", bmpFile(paletted(48, 48)), IconProblem::TooLarge},
      {"25x1", bmpFile(paletted(25, 1)), IconProblem::TooLarge},
      {"4 bits", bmpFile(BmpPicture{2, 2, 4, {}, {magenta, red}}), IconProblem::ColourDepth},
      {"1 bit", bmpFile(BmpPicture{2, 2, 1, {}, {magenta, red}}), IconProblem::ColourDepth},
      {"16 bits", bmpFile(BmpPicture{2, 2, 16, {}, {}}), IconProblem::ColourDepth},
      {"RLE", bmpFile(rle), IconProblem::Compressed},
      {"odd bit fields", bmpFile(oddMasks), IconProblem::Compressed},
      {"OS/2 header", bmpFile(os2), IconProblem::Damaged},
      {"300 colours", patched(fit, 46, 300), IconProblem::Damaged},
      {"negative width", patched(fit, 18, 0xFFFFFFF0), IconProblem::Damaged},
      {"24x24, 8 bits", fit, IconProblem::None},
      {"1x1, 24 bits", bmpFile(trueColour(1, 1, 24, {red})), IconProblem::None},
      {"top-down, 32 bits, V5 header", bmpFile(v5), IconProblem::None},
  };
  std::map<std::string, std::string> messages;
  for (const auto& row : caseTable("gpi/data/icon_messages.tsv", 2)) messages[row[0]] = row[1];
  size_t named = 0;
  for (const auto& [name, bytes, problem] : cases) {
    const gpi::IconRead read = gpi::readIcon("i.bmp", bytes);
    EXPECT_EQ(read.check.problem, problem) << name;
    EXPECT_EQ(read.check.fine(), problem == IconProblem::None) << name;
    if (messages.contains(name) || problem == IconProblem::None) {
      EXPECT_EQ(read.check.message, messages[name]) << name;
    }
    if (problem != IconProblem::None) {
      EXPECT_TRUE(read.check.message.starts_with("i.bmp ")) << name;
    }
    named += messages.contains(name);
  }
  EXPECT_EQ(named, messages.size());  // every message of the table belongs to a case

  TempFolder folder;
  EXPECT_EQ(gpi::readIconFile(folder / "none.bmp").check.problem, IconProblem::Unreadable);
  EXPECT_EQ(gpi::readIconFile(folder.write("i.bmp", fit)).check.problem, IconProblem::None);
}

std::string palette(std::vector<std::uint32_t> colours) {
  std::string bytes;
  for (std::uint32_t c : colours) bytes += {char(c >> 16), char(c >> 8), char(c), '\0'};
  bytes.resize(1024, '\0');
  return bytes;
}

TEST(IconRead, PixelsTopRowFirstPaletteMadeWholeTrueColourToEightBits) {
  BmpPicture four{3, 2, 8, {0, 1, 0, 2, 3, 2}, {magenta, red, green, blue}};
  gpi::Bitmap b = gpi::readIcon("i.bmp", bmpFile(four)).bitmap;
  EXPECT_EQ(std::tuple(b.width, b.height, b.bitsPerPixel, b.rowBytes()), std::tuple(3, 2, 8, 4u));
  EXPECT_EQ(b.pixels, std::string("\0\1\0\0\2\3\2\0", 8));
  EXPECT_EQ(b.palette, palette({magenta, red, green, blue}));

  std::string reserved = bmpFile(four);
  reserved[54 + 3] = 7;  // the unused fourth byte of the first entry
  EXPECT_EQ(gpi::readIcon("i.bmp", reserved).bitmap.palette, palette({magenta, red, green, blue}));

  // 24 bits, top-down or bottom-up: the colours as they first appear, 8 bits a pixel.
  for (bool topDown : {false, true}) {
    BmpPicture p = trueColour(2, 2, 24, {magenta, red, green, magenta});
    p.topDown = topDown;
    b = gpi::readIcon("i.bmp", bmpFile(p)).bitmap;
    EXPECT_EQ(b.bitsPerPixel, 8);
    EXPECT_EQ(b.pixels, std::string("\0\1\0\0\2\0\0\0", 8));
    EXPECT_EQ(b.palette, palette({magenta, red, green}));
  }

  // 32 bits: a fourth byte not all 0 is opacity; less than half opaque is transparent.
  b = gpi::readIcon("i.bmp", bmpFile(trueColour(3, 1, 32, {0xFF0000FF, 0x7F00FF00, 0x80FF0000})))
          .bitmap;
  EXPECT_EQ(b.pixels, std::string("\0\1\2\0", 4));
  EXPECT_EQ(b.palette, palette({blue, magenta, red}));
  b = gpi::readIcon("i.bmp", bmpFile(trueColour(2, 1, 32, {0x000000FF, 0x00FF0000}))).bitmap;
  EXPECT_EQ(b.palette, palette({blue, red}));

  // More than 256 colours: 32 bits a pixel, blue green red 0, rows padded to 4 bytes (always).
  std::vector<std::uint32_t> many;
  for (std::uint32_t i = 0; i < 24 * 11; ++i) many.push_back(0xC00000 + i * 3);
  b = gpi::readIcon("i.bmp", bmpFile(trueColour(24, 11, 24, many))).bitmap;
  EXPECT_EQ(std::tuple(b.bitsPerPixel, b.rowBytes(), b.pixels.size(), b.palette.size()),
            std::tuple(32, 96u, size_t(96 * 11), size_t(0)));
  EXPECT_EQ(b.pixels.substr(4, 4), std::string("\x03\x00\xC0\x00", 4));
}

TEST(DefaultIcon, TheProgramsPinAs24x24EightBitsWrittenOnRequest) {
  const gpi::Bitmap& pin = gpi::defaultBitmap();
  EXPECT_EQ(std::tuple(pin.width, pin.height, pin.bitsPerPixel), std::tuple(24, 24, 8));
  EXPECT_EQ(pin.palette.substr(0, 4), std::string("\xFF\x00\xFF\x00", 4));  // magenta first
  EXPECT_EQ(pin.pixels[0], 0);             // the corners are transparent
  EXPECT_NE(pin.pixels[12 * 24 + 12], 0);  // the middle is not
  EXPECT_EQ(gpi::defaultIconBmp().substr(0, 2), "BM");
  EXPECT_EQ(gpi::defaultIconBmp().size(), 14 + 40 + 1024 + 24 * 24u);

  TempFolder folder;
  const std::string bad = folder.write("cafe.bmp", "\x89PNG");
  gpi::writeDefaultIcon(bad);
  const gpi::IconRead read = gpi::readIconFile(bad);
  EXPECT_TRUE(read.check.fine());
  EXPECT_EQ(read.bitmap.pixels, pin.pixels);
  EXPECT_EQ(slurp(bad), gpi::defaultIconBmp());
}

}  // namespace
}  // namespace waymint::testing

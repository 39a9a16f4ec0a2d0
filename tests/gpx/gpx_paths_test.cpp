#include <gtest/gtest.h>

#include <string>

#include "gpx/box_number.h"
#include "gpx/gpx_paths.h"
#include "platform/files.h"

namespace waymint::testing {
namespace {

constexpr char sep = platform::files::separator;

std::string joined(std::initializer_list<std::string> pieces) {
  std::string path;
  for (const auto& piece : pieces) path += (path.empty() ? "" : std::string(1, sep)) + piece;
  return path;
}

TEST(FileName, ReplacesWhatCannotStandInAFileName) {
  EXPECT_EQ(gpx::fileName("fast_food"), "fast_food");
  EXPECT_EQ(gpx::fileName("a/b\\c:d*e?f\"g<h>i|j"), "a_b_c_d_e_f_g_h_i_j");
  EXPECT_EQ(gpx::fileName(std::string("a\tb\nc\rd\x01\x1F\x7F", 10)), "a_b_c_d___");
  EXPECT_EQ(gpx::fileName("caf\xC3\xA9;&'()"), "caf\xC3\xA9;&'()");
}

TEST(FileName, ANameOfDotsOnlyBecomesUnderscores) {
  EXPECT_EQ(gpx::fileName("."), "_");
  EXPECT_EQ(gpx::fileName(".."), "__");
  EXPECT_EQ(gpx::fileName("..."), "___");
  EXPECT_EQ(gpx::fileName("..a"), "..a");
  EXPECT_EQ(gpx::fileName("a.."), "a..");
  EXPECT_EQ(gpx::fileName(""), "");
}

TEST(CategoryPathsTable, BuildsFolderGpxAndIcon) {
  auto paths = gpx::categoryPaths("/maps", "pub");
  EXPECT_EQ(paths.folder, joined({"/maps", "pub"}));
  EXPECT_EQ(paths.gpx, joined({"/maps", "pub", "pub.gpx"}));
  EXPECT_EQ(paths.icon, joined({"/maps", "pub", "pub.bmp"}));
}

TEST(CategoryPathsTable, CollapsesDoubledSeparatorsInTheGpxPathOnly) {
  auto paths = gpx::categoryPaths(std::string("/maps") + sep, "pub");
  EXPECT_EQ(paths.gpx, joined({"/maps", "pub", "pub.gpx"}));
  EXPECT_EQ(paths.icon, std::string("/maps") + sep + sep + "pub" + sep + "pub.bmp");
  EXPECT_EQ(paths.folder, std::string("/maps") + sep + sep + "pub");
}

TEST(CategoryPathsTable, UsesTheCleanedName) {
  auto up = gpx::categoryPaths("/maps", "..");
  EXPECT_EQ(up.folder, joined({"/maps", "__"}));
  EXPECT_EQ(up.gpx, joined({"/maps", "__", "__.gpx"}));
  auto slash = gpx::categoryPaths("/maps", "a/../../b\\c");
  EXPECT_EQ(slash.gpx, joined({"/maps", "a_.._.._b_c", "a_.._.._b_c.gpx"}));
}

TEST(CollapseSeparators, OnePassEachFromLeftToRight) {
  EXPECT_EQ(gpx::collapseSeparators("C:\\\\maps\\\\pub"), "C:\\maps\\pub");
  EXPECT_EQ(gpx::collapseSeparators("\\\\\\"), "\\\\");
  EXPECT_EQ(gpx::collapseSeparators("a///b"), "a//b");
  EXPECT_EQ(gpx::collapseSeparators("a////b"), "a//b");
  EXPECT_EQ(gpx::collapseSeparators("/a/b"), "/a/b");
}

TEST(SoundLink, EndsInTheFormatChosen) {
  const std::string base = "file://" + joined({"/maps", "pub", "pub"});
  EXPECT_EQ(gpx::soundLink("/maps", "pub", "pub", gpx::SoundFormat::Wav), base + ".wav");
  EXPECT_EQ(gpx::soundLink("/maps", "pub", "pub", gpx::SoundFormat::Mp3), base + ".mp3");
  EXPECT_EQ(gpx::soundLink("/maps", "pub", "pub", gpx::SoundFormat::None), base);
  EXPECT_EQ(gpx::soundLink("/maps", "a:b", "x", gpx::SoundFormat::None),
            "file://" + joined({"/maps", "a_b", "x"}));
}

TEST(BoxNumber, ReadsTheLeadingNumber) {
  EXPECT_EQ(gpx::boxNumber("25m"), 25);
  EXPECT_EQ(gpx::boxNumber(""), 0);
  EXPECT_EQ(gpx::boxNumber("m25"), 0);
  EXPECT_EQ(gpx::boxNumber("  -40"), -40);
  EXPECT_EQ(gpx::boxNumber("1e2"), 100);
  EXPECT_EQ(gpx::boxNumber("3,7"), 3);
}

TEST(BoxNumber, RoundsHalvesToTheEvenNeighbour) {
  EXPECT_EQ(gpx::boxNumber("2.5"), 2);
  EXPECT_EQ(gpx::boxNumber("3.5"), 4);
  EXPECT_EQ(gpx::boxNumber("-2.5"), -2);
  EXPECT_EQ(gpx::boxNumber("-3.5"), -4);
  EXPECT_EQ(gpx::boxNumber("2.51"), 3);
  EXPECT_EQ(gpx::boxNumber("0.49"), 0);
}

TEST(BoxNumber, Takes16BitsOnly) {
  EXPECT_EQ(gpx::boxNumber("32767"), 32767);
  EXPECT_EQ(gpx::boxNumber("-32768"), -32768);
  EXPECT_EQ(gpx::boxNumber("32767.5"), std::nullopt);
  EXPECT_EQ(gpx::boxNumber("32768"), std::nullopt);
  EXPECT_EQ(gpx::boxNumber("-32769"), std::nullopt);
  EXPECT_EQ(gpx::boxNumber("1e5"), std::nullopt);
  EXPECT_EQ(gpx::boxNumber("1e999"), std::nullopt);
  EXPECT_EQ(gpx::boxNumber("-1e999"), std::nullopt);
  EXPECT_EQ(gpx::boxNumber("1e-999"), 0);
  EXPECT_EQ(gpx::boxNumber("-32768.5"), -32768);
}

}  // namespace
}  // namespace waymint::testing

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "gpx/gpx_document.h"
#include "gpx/gpx_paths.h"
#include "gpx/parse.h"

namespace waymint::testing {
namespace {

TEST(GpxPaths, FileNamesPathsAndSoundLinks) {
  const std::pair<std::string_view, std::string_view> names[] = {
      {"cafe", "cafe"},   {"a/b\\c:d*e?f\"g<h>i|j", "a_b_c_d_e_f_g_h_i_j"}, {"\t\x7F\x1F", "___"},
      {".", "_"},         {"..", "__"}, {"..a", "..a"}, {"caf\xC3\xA9", "caf\xC3\xA9"}, {"", ""},
  };
  for (const auto& [category, name] : names) EXPECT_EQ(gpx::fileName(category), name) << category;

  // Only the GPX path loses its doubled separators.
  gpx::CategoryPaths paths = gpx::categoryPaths("/g/", "a:b");
  EXPECT_EQ(paths.folder, "/g//a_b");
  EXPECT_EQ(paths.gpx, "/g/a_b/a_b.gpx");
  EXPECT_EQ(paths.icon, "/g//a_b/a_b.bmp");

  // Where "/" is the separator, "\\" belongs to names: only "//" is doubled.
  const std::pair<std::string_view, std::string_view> collapsed[] = {
      {"a\\\\b", "a\\\\b"}, {"a//b", "a/b"}, {"a///b", "a//b"}, {"////", "//"},
      {"\\\\//x", "\\\\/x"}, {"a/\\b", "a/\\b"},
  };
  for (const auto& [path, result] : collapsed) EXPECT_EQ(gpx::collapseSeparators(path), result);

  using gpx::SoundFormat;
  EXPECT_EQ(gpx::soundLink("/g", "a*b", "tone", SoundFormat::Wav), "file:///g/a_b/tone.wav");
  EXPECT_EQ(gpx::soundLink("/g", "pub", "pub", SoundFormat::Mp3), "file:///g/pub/pub.mp3");
  EXPECT_EQ(gpx::soundLink("/g", "pub", "pub", SoundFormat::None), "file:///g/pub/pub");
}

TEST(Parse, WaypointNamesKeepOnlyBytesUpToZ) {
  const std::pair<std::string_view, std::string_view> cases[] = {
      {"Caf\xC3\xA9", "Caf__"}, {"{Blue}|~\x7F", "_Blue____"},
      {"A z,\t09&amp;'\"", "A z,\t09&amp;'\""}, {"", ""},
  };
  for (const auto& [text, name] : cases) EXPECT_EQ(gpx::fnstrip(text), name) << text;
}

TEST(Parse, RawNamesAndAttributeValues) {
  const std::pair<std::string_view, std::string_view> names[] = {
      {"<tag k=\"amenity\" v=\"cafe\"/><tag k=\"name\" v=\"Blue\"/>", "Blue"},
      {"<tag k=\"name:en\" v=\"A\"/><tag k=\"name\" v=\"B\"/>", "A"},
      {"<tag k=\"amenity\" v=\"cafe\"/><tag k=\"shop\" v=\"x\"/>", "cafe"},
      {"<tag k=\"name\" v=\"X\"/>", "X"},
      {"<tag k=\"name\" v=\"\"/>", ""},
      {"<tag k=\"name\" v=\"Blue\" />", "Blue\""},
      {"k=\"name\" v=\"Blue\">", "Blue\">"},  // no "/>" after the value
      {"k=\"name\" v=\"Blue\"><tag k=\"a\" v=\"b\"/>", "Blue\"><tag k=\"a\" v=\"b"},
      {"<tag k='name' v='Blue'/>", "Blue"},
      {"<tag k='amenity' v='pub'/><tag k='name' v='Blue'/>", "pub"},
  };
  for (const auto& [record, name] : names) EXPECT_EQ(gpx::rawName(record), name) << record;

  const std::tuple<std::string_view, std::string_view, std::optional<std::string_view>> values[] = {
      {"id=\"1\" lat=\"43.5\" lon=\"7.4\">", "lat=", "43.5"},
      {"id=\"1\" lat=\"43.5\" lon=\"7.4\">", "lon=", "7.4"},
      {"lat='43.5' lon='7.4'/>", "lon=", "7.4"},
      {"lat=\"43.5' lon='7.4\"/>", "lat=", "43.5' lon='7.4"},
      {"lat=43.5 lon=7.4/>", "lat=", "43.5"},
      {"lat=1 lon=7.4>", "lon=", "7.4"},
      {"lat=1 lon=7.4\r\n>", "lon=", "7.4"},
      {"lat=1 lon=7.4 x", "lon=", "7.4"},
      {"lat=\"1", "lat=", "1"},
      {"lat=\"\" lon=\"7\"", "lat=", ""},
      {"id=\"1\" lat=\"1\"/>", "lon=", std::nullopt},
  };
  for (const auto& [record, key, value] : values) {
    EXPECT_EQ(gpx::attributeValue(record, key), value) << record << " " << key;
  }
}

TEST(GpxDocument, WaypointStartTagsLoseCrs) {
  const std::tuple<std::string_view, std::string_view, std::string_view> cases[] = {
      {"43.7", "7.4", "<wpt lat=\"43.7\" lon=\"7.4\">"},
      {"43.7", "7.4\r\r", "<wpt lat=\"43.7\" lon=\"7.4\">"},
      {"43.7>\r", "7.4", "<wpt lat=\"43.7\" lon=\"7.4\">"},
      {"43.7>", "7.4", "<wpt lat=\"43.7>\" lon=\"7.4\">"},
      {"43.7\r", "7.4", "<wpt lat=\"43.7\r\" lon=\"7.4\">"},
  };
  for (const auto& [lat, lon, line] : cases) EXPECT_EQ(gpx::wptLine(lat, lon), line);
}

}  // namespace
}  // namespace waymint::testing

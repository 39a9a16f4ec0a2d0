#include "gpi/gpi_test_files.h"

#include <algorithm>
#include <stdexcept>

#include "osm/text_search.h"
#include "support/temp_folder.h"

namespace waymint::testing {
namespace {

void put16(std::string& out, std::uint32_t value) {
  out.push_back(static_cast<char>(value));
  out.push_back(static_cast<char>(value >> 8));
}

void put32(std::string& out, std::uint32_t value) {
  put16(out, value & 0xFFFF);
  put16(out, value >> 16);
}

std::string escaped(std::string_view text) {
  return osm::replaceAll(osm::replaceAll(text, "&", "&amp;"), "<", "&lt;");
}

}  // namespace

std::string bmpFile(const BmpPicture& p) {
  const size_t rowBytes = (static_cast<size_t>(p.width) * p.bits + 31) / 32 * 4;
  std::string pixels;
  for (int y = 0; y < p.height; ++y) {
    const int row = p.topDown ? y : p.height - 1 - y;  // a BMP stores the bottom row first
    std::string line;
    for (int x = 0; x < p.width && !p.pixels.empty(); ++x) {
      const std::uint32_t value = p.pixels[static_cast<size_t>(row) * p.width + x];
      if (p.bits == 8) line.push_back(static_cast<char>(value));
      if (p.bits >= 24) {
        for (int shift : {0, 8, 16}) line.push_back(static_cast<char>(value >> shift));
      }
      if (p.bits == 32) line.push_back(static_cast<char>(value >> 24));
    }
    line.resize(rowBytes, '\0');
    pixels += line;
  }
  std::string header;
  put32(header, p.headerSize);
  put32(header, static_cast<std::uint32_t>(p.width));
  put32(header, static_cast<std::uint32_t>(p.topDown ? -p.height : p.height));
  put16(header, 1);
  put16(header, static_cast<std::uint32_t>(p.bits));
  put32(header, p.compression);
  put32(header, static_cast<std::uint32_t>(pixels.size()));
  put32(header, 2835);
  put32(header, 2835);
  put32(header, static_cast<std::uint32_t>(p.palette.size()));
  put32(header, 0);
  if (p.headerSize > 40 || p.compression == 3) {
    for (std::uint32_t mask : p.masks) put32(header, mask);
  }
  if (p.headerSize > 40) header.resize(p.headerSize, '\0');
  for (std::uint32_t colour : p.palette) put32(header, colour);  // blue, green, red, 0
  std::string file = "BM";
  put32(file, static_cast<std::uint32_t>(14 + header.size() + pixels.size()));
  put32(file, 0);
  put32(file, static_cast<std::uint32_t>(14 + header.size()));
  return file + header + pixels;
}

std::string bytesFromHex(std::string_view text) {
  std::string bytes;
  size_t at = 0;
  const auto hex = [&](char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    throw std::invalid_argument("not a hex digit in the description: " + std::string(1, c));
  };
  while (at < text.size()) {
    const char c = text[at];
    if (c == '#') {
      at = text.find('\n', at);
      if (at == std::string_view::npos) break;
    } else if (c == '"') {
      const size_t close = text.find('"', at + 1);
      bytes.append(text.substr(at + 1, close - at - 1));
      at = close + 1;
    } else if (c == ' ' || c == '\n' || c == '\r' || c == '\t') {
      ++at;
    } else {
      const char byte = static_cast<char>(hex(c) * 16 + hex(text[at + 1]));
      at += 2;
      size_t count = 1;
      if (at < text.size() && text[at] == '*') {
        const size_t end = text.find_first_of(" \r\n#", at);
        count = std::stoul(std::string(text.substr(at + 1, end - at - 1)));
        at = end;
      }
      bytes.append(count, byte);
    }
  }
  return bytes;
}

std::string goldenFile(std::string_view name) {
  return std::string(WAYMINT_SOURCE_DIR) + "/tests/gpi/golden/" + std::string(name);
}

const std::vector<GoldenCase> goldenCases = {
    {"program-1252", "cafe", ""},
    {"program-1252-alert", "pub", ",alerts=1"},
    {"utf8-address-phone", "L\xC3\xA4" "den", ",alerts=1,writecodec=utf8"},
};

void PrintTo(const GoldenCase& c, std::ostream* out) { *out << c.name; }

std::string caseName(const ::testing::TestParamInfo<GoldenCase>& info) {
  std::string name = info.param.name;
  std::replace(name.begin(), name.end(), '-', '_');
  return name;
}

void expectSameBytes(const std::string& ours, const std::string& theirs) {
  EXPECT_EQ(ours.size(), theirs.size());
  EXPECT_TRUE(ours == theirs)
      << "first difference at "
      << std::mismatch(ours.begin(), ours.end(), theirs.begin(), theirs.end()).first - ours.begin();
}

std::string gpxOf(const std::vector<TestWaypoint>& waypoints) {
  std::string gpx =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<gpx version=\"1.1\" creator=\"test\" "
      "xmlns=\"http://www.topografix.com/GPX/1/1\" "
      "xmlns:gpxx=\"http://www.garmin.com/xmlschemas/GpxExtensions/v3\">\n";
  const auto element = [](std::string_view tag, const std::string& text) {
    return text.empty()
               ? std::string()
               : "<" + std::string(tag) + ">" + escaped(text) + "</" + std::string(tag) + ">";
  };
  for (const TestWaypoint& w : waypoints) {
    gpx += "<wpt lat=\"" + w.lat + "\" lon=\"" + w.lon + "\">" + element("name", w.name) +
           element("cmt", w.comment);
    const std::string address = element("gpxx:StreetAddress", w.street) +
                                element("gpxx:City", w.city) +
                                element("gpxx:PostalCode", w.postalCode);
    const std::string extension =
        element("gpxx:Proximity", w.proximity) +
        (address.empty() ? "" : "<gpxx:Address>" + address + "</gpxx:Address>") +
        element("gpxx:PhoneNumber", w.phone);
    if (!extension.empty()) {
      gpx += "<extensions><gpxx:WaypointExtension>" + extension +
             "</gpxx:WaypointExtension></extensions>";
    }
    gpx += "</wpt>\n";
  }
  return gpx + "</gpx>\n";
}

Finished runGpsbabel(const std::vector<std::string>& arguments) {
  std::vector<std::string> command = {"env", "GPSBABEL_FREEZE_TIME=1", "gpsbabel"};
  command.insert(command.end(), arguments.begin(), arguments.end());
  return runProgram(command);
}

std::vector<std::map<std::string, std::string>> gpsbabelReads(const std::string& gpiPath) {
  return gpsbabelReads("garmin_gpi", gpiPath);
}

std::vector<std::map<std::string, std::string>> gpsbabelReads(const std::string& format,
                                                              const std::string& path) {
  const Finished read = runGpsbabel({"-i", format, "-f", path, "-o", "unicsv", "-F", "-"});
  std::vector<std::map<std::string, std::string>> rows;
  if (read.status != 0) return rows;
  // CSV: fields separated by commas, texts in double quotes (a quote doubled inside), CR LF.
  std::vector<std::vector<std::string>> table(1, std::vector<std::string>(1));
  bool quoted = false;
  for (size_t i = 0; i < read.out.size(); ++i) {
    const char c = read.out[i];
    if (quoted && c == '"' && i + 1 < read.out.size() && read.out[i + 1] == '"') {
      table.back().back() += c, ++i;
    } else if (c == '"') {
      quoted = !quoted;
    } else if (quoted || (c != ',' && c != '\n' && c != '\r')) {
      table.back().back() += c;
    } else if (c == ',') {
      table.back().emplace_back();
    } else if (c == '\n') {
      table.emplace_back(1);
    }
  }
  for (size_t r = 1; r < table.size(); ++r) {
    if (table[r].size() != table[0].size()) continue;
    std::map<std::string, std::string>& row = rows.emplace_back();
    for (size_t c = 0; c < table[0].size(); ++c) row[table[0][c]] = table[r][c];
  }
  return rows;
}

}  // namespace waymint::testing

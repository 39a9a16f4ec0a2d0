// Any bytes as a category's GPX: either a clear refusal, or waypoints whose texts lie in the
// file, in the declared code page, and a GPI file whose records nest exactly.
#include <cstdint>
#include <string>

#include "fuzz_program.h"
#include "gpi/gpi_encoder.h"
#include "gpi/gpx_waypoints.h"
#include "gpi/icon.h"

using namespace waymint;

namespace {

std::uint32_t u32At(const std::string& bytes, size_t at) {
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

// The records in [at, end) as siblings; counts the POIs among those of `type` 8's children.
bool siblings(const std::string& gpi, size_t at, size_t end, size_t& pois) {
  while (at < end) {
    if (end - at < 8) return false;
    const std::uint32_t type = u32At(gpi, at) & 0xFFFF;
    const bool nested = (u32At(gpi, at) >> 16) == 8;
    const size_t header = nested ? 12 : 8;
    const size_t size = u32At(gpi, at + 4);
    if (end - at < header + size || (nested && u32At(gpi, at + 8) > size)) return false;
    if (type == 8 && !siblings(gpi, at + header + 23, at + header + size, pois)) return false;
    pois += type == 2 ? 1 : 0;
    at += header + size;
  }
  return at == end;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  const gpi::GpxWaypoints gpx =
      gpi::readGpxWaypoints(std::string(reinterpret_cast<const char*>(data), size), "fuzz.gpx");
  if (!gpx.error.empty()) {
    fuzzing::require(gpx.waypoints.empty(), "a refused file gives no waypoints");
    fuzzing::require(gpx.error.starts_with("fuzz.gpx "), "the refusal names the file");
    return 0;
  }
  const std::string& bytes = *gpx.bytes;
  for (const gpi::Waypoint& w : gpx.waypoints) {
    fuzzing::require(!w.name.empty() && !w.description.empty(),
                     "every POI has a name and a description");
    fuzzing::require(w.lat >= -90 && w.lat <= 90 && w.lon >= -180 && w.lon <= 180,
                     "positions in range");
    const auto inFile = [&](std::string_view text) {
      return text.data() >= bytes.data() &&
             text.data() + text.size() <= bytes.data() + bytes.size();
    };
    fuzzing::require(inFile(w.name) || w.name.starts_with("WPT"),
                     "names lie in the file or are made");
    for (std::string_view text :
         {w.name, w.description, w.street, w.city, w.state, w.country, w.postalCode, w.phone}) {
      fuzzing::require(text.empty() || inFile(text) || text.data() == w.name.data(),
                       "texts lie in the file");
      fuzzing::require(gpx.codePage != gpi::CodePage::Utf8 || gpi::isWellFormedUtf8(text),
                       "UTF-8 texts are well-formed");
    }
  }
  const gpi::Encoded encoded =
      gpi::encode(gpx.waypoints, "Fuzz", gpi::defaultBitmap(), gpi::EncodeOptions{gpx.codePage}, 1);
  const std::string& gpi = encoded.bytes;
  fuzzing::require(gpi.size() > 58 && gpi.ends_with(std::string("\xFF\xFF\0\0\0\0\0\0", 8)),
                   "the file ends");
  const size_t group = 50;
  const size_t areas = group + 12 + 4 + u32At(gpi, group + 12);
  size_t pois = 0;
  fuzzing::require(siblings(gpi, 0, gpi.size(), pois), "the records nest exactly");
  fuzzing::require(siblings(gpi, areas, group + 12 + u32At(gpi, group + 8), pois),
                   "the areas fill the group");
  fuzzing::require(pois == gpx.waypoints.size(), "one POI per waypoint");
  return 0;
}

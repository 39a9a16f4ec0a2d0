#include "gpi/gpi_encoder.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>
#include <vector>

#include "gpi/areas.h"

namespace waymint::gpi {
namespace {

enum RecordType : std::uint16_t {
  FileHeader = 0x0,
  PoiHeader = 0x1,
  Poi = 0x2,
  Alert = 0x3,
  IconReference = 0x4,
  Icon = 0x5,
  Area = 0x8,
  Group = 0x9,
  Description = 0xA,
  Address = 0xB,
  Contact = 0xC,
  End = 0xFFFF,
};

// Latitude or longitude in 2^31ths of 180 degrees, rounded; +180 is written as -180, the
// same meridian.
std::int32_t semicircles(double degrees) {
  const long long value = std::llround(degrees * 2147483648.0 / 180.0);
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

// Writes records into one buffer: a record's sizes are filled in when it is complete.
class RecordWriter {
 public:
  RecordWriter(std::string& out, CodePage page) : m_out(out), m_page(page) {}

  // Starts a record; a nested one holds records after its own fields.
  size_t open(RecordType type, bool nested) {
    const size_t record = m_out.size();
    u16(type);
    u16(nested ? 8 : 0);
    u32(0);
    if (nested) u32(0);
    return record;
  }
  // The record's own fields end here; what follows are the records it holds.
  void endFields(size_t record) { patch(record + 8, m_out.size() - (record + 12)); }
  void close(size_t record) {
    const bool nested = m_out[record + 2] == 8;
    patch(record + 4, m_out.size() - (record + (nested ? 12 : 8)));
  }

  void u8(std::uint8_t value) { m_out.push_back(static_cast<char>(value)); }
  void u16(std::uint16_t value) {
    u8(value & 0xFF);
    u8(value >> 8);
  }
  void u32(std::uint32_t value) {
    u16(value & 0xFFFF);
    u16(value >> 16);
  }
  void bytes(std::string_view value) { m_out.append(value); }
  // A text in one language: total length, "EN", length, bytes.
  void text(std::string_view value) {
    value = cut(value);
    u32(static_cast<std::uint32_t>(4 + value.size()));
    bytes("EN");
    u16(static_cast<std::uint16_t>(value.size()));
    bytes(value);
  }
  // A text without language: length, bytes.
  void shortText(std::string_view value) {
    value = cut(value);
    u16(static_cast<std::uint16_t>(value.size()));
    bytes(value);
  }

  bool textCut = false;
  bool tooLarge = false;

 private:
  std::string_view cut(std::string_view value) {
    if (value.size() <= longestText) return value;
    textCut = true;
    return cutToCharacters(value, longestText, m_page);
  }
  void patch(size_t at, size_t value) {
    if (value > std::numeric_limits<std::uint32_t>::max()) tooLarge = true;
    for (int i = 0; i < 4; ++i) m_out[at + i] = static_cast<char>(value >> (8 * i));
  }

  std::string& m_out;
  CodePage m_page;
};

void writeHeaders(RecordWriter& out, CodePage page, std::uint32_t creationTime) {
  const size_t file = out.open(FileHeader, false);
  out.bytes("GRMREC00");
  out.u32(creationTime);
  out.u16(0);  // not obfuscated
  out.u16(6);
  out.bytes("my.gpi");
  out.close(file);
  const size_t poi = out.open(PoiHeader, false);
  out.bytes(
      std::string_view("POI\0\0\0"
                       "00",
                       8));
  out.u16(static_cast<std::uint16_t>(page));
  out.u16(0);
  out.close(poi);
}

void writeAddress(RecordWriter& out, const Waypoint& w) {
  // The fields in the order of their bits.
  const std::string_view fields[] = {w.city, w.country, w.state, w.postalCode, w.street};
  std::uint16_t mask = 0;
  for (size_t i = 0; i < std::size(fields); ++i) mask |= fields[i].empty() ? 0 : 1 << i;
  if (mask == 0) return;
  const size_t address = out.open(Address, true);
  out.u16(mask);
  out.endFields(address);
  for (size_t i = 0; i < std::size(fields); ++i) {
    if (fields[i].empty()) continue;
    if (i == 3) {  // the postal code has no language
      out.shortText(fields[i]);
    } else {
      out.text(fields[i]);
    }
  }
  out.close(address);
}

void writePoi(RecordWriter& out, const Waypoint& w, bool alerts) {
  const size_t poi = out.open(Poi, true);
  out.u32(static_cast<std::uint32_t>(semicircles(w.lat)));
  out.u32(static_cast<std::uint32_t>(semicircles(w.lon)));
  out.u16(1);  // one flag byte follows
  out.u8(alerts ? 1 : 0);
  out.text(w.name);
  out.endFields(poi);
  if (w.proximity > 0) {
    const size_t alert = out.open(Alert, false);
    out.u16(w.proximity);
    out.u16(0);  // no speed
    out.bytes(std::string_view("\x00\x01\x10\x00\x01\x01\x04\x10", 8));
    out.close(alert);
  }
  const size_t icon = out.open(IconReference, false);
  out.u16(0);
  out.close(icon);
  const size_t description = out.open(Description, false);
  out.text(w.description);
  out.close(description);
  writeAddress(out, w);
  if (!w.phone.empty()) {
    const size_t contact = out.open(Contact, true);
    out.u16(1);  // phone
    out.endFields(contact);
    out.shortText(w.phone);
    out.close(contact);
  }
  out.close(poi);
}

void writeIcon(RecordWriter& out, const Bitmap& icon) {
  const size_t record = out.open(Icon, false);
  const auto pixelBytes = static_cast<std::uint32_t>(icon.pixels.size());
  constexpr std::uint32_t pixelsAt = 0x2C;
  out.u16(0);  // the index the POIs refer to
  out.u16(icon.height);
  out.u16(icon.width);
  out.u16(static_cast<std::uint16_t>(icon.rowBytes()));
  out.u16(icon.bitsPerPixel);
  out.u16(0);
  out.u32(pixelBytes);
  out.u32(pixelsAt);
  out.u32(static_cast<std::uint32_t>(icon.palette.size() / 4));
  out.u32(transparentColour);
  out.u32(1);  // transparency on
  out.u32(pixelBytes + pixelsAt);
  out.bytes(icon.pixels);
  out.bytes(icon.palette);
  out.close(record);
}

}  // namespace

std::uint32_t garminTime(std::int64_t unixSeconds) {
  constexpr std::int64_t garminEpoch = 631065600;  // 1989-12-31 00:00:00 UTC
  return static_cast<std::uint32_t>(std::clamp<std::int64_t>(
      unixSeconds - garminEpoch, 0, std::numeric_limits<std::uint32_t>::max()));
}

Encoded encode(std::span<const Waypoint> waypoints, std::string_view category, const Bitmap& icon,
               const EncodeOptions& options, std::uint32_t creationTime) {
  Encoded result;
  RecordWriter out(result.bytes, options.codePage);
  writeHeaders(out, options.codePage, creationTime);
  const size_t group = out.open(Group, true);
  out.text(category);

  std::vector<std::uint32_t> order(waypoints.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
    return sortsBefore(waypoints[a].name, waypoints[b].name, options.codePage);
  });
  const bool alerts = std::any_of(waypoints.begin(), waypoints.end(),
                                  [](const Waypoint& w) { return w.proximity > 0; });
  for (const AreaRange range : splitIntoAreas(waypoints, order)) {
    std::int32_t north = std::numeric_limits<std::int32_t>::min(), east = north;
    std::int32_t south = std::numeric_limits<std::int32_t>::max(), west = south;
    bool areaAlerts = false;
    for (size_t i = range.begin; i < range.end; ++i) {
      const Waypoint& w = waypoints[order[i]];
      north = std::max(north, semicircles(w.lat));
      south = std::min(south, semicircles(w.lat));
      east = std::max(east, semicircles(w.lon));
      west = std::min(west, semicircles(w.lon));
      areaAlerts |= w.proximity > 0;
    }
    const size_t area = out.open(Area, true);
    for (std::int32_t edge : {north, east, south, west}) out.u32(static_cast<std::uint32_t>(edge));
    out.u32(0);
    out.u16(1);  // one flag byte follows
    out.u8(areaAlerts ? 1 : 0);
    out.endFields(area);
    for (size_t i = range.begin; i < range.end; ++i) {
      out.textCut = false;
      writePoi(out, waypoints[order[i]], alerts);
      result.cutWaypoints += out.textCut ? 1 : 0;
    }
    out.close(area);
  }
  out.endFields(group);
  writeIcon(out, icon);
  out.close(group);
  out.close(out.open(End, false));
  if (out.tooLarge) {
    result.bytes.clear();
    result.tooLarge = true;
  }
  return result;
}

}  // namespace waymint::gpi

#include "gpx/waypoint_details.h"

#include <array>
#include <cctype>

#include "osm/tags.h"

namespace waymint::gpx {
namespace {

// Values longer than this are cut at a whole character: an address field or a phone number
// of more is no address or phone, and a navigator shows far less.
constexpr size_t longestValue = 255;

// Countries that write the house number before the street (their codes as the survey
// lower-cases).
constexpr std::array<std::string_view, 7> numberFirst{"us", "gb", "ie", "fr", "ca", "au", "nz"};

enum Key {
  Full, HouseNumber, Street, City, Place, Postcode, Country, State, Phone, ContactPhone,
  OpeningHours, Website, ContactWebsite, Brand, Operator, KeyCount
};
constexpr std::array<std::string_view, KeyCount> keyNames{
    "addr:full", "addr:housenumber", "addr:street", "addr:city", "addr:place",
    "addr:postcode", "addr:country", "addr:state", "phone", "contact:phone",
    "opening_hours", "website", "contact:website", "brand", "operator"};

// The first value of each key the details are made of.
std::array<std::string_view, KeyCount> valuesOf(std::string_view record) {
  std::array<std::string_view, KeyCount> values{};
  osm::TagReader tags(record);
  for (osm::Tag tag; tags.next(tag);) {
    for (size_t k = 0; k < KeyCount; ++k) {
      if (tag.key == keyNames[k] && values[k].data() == nullptr) values[k] = tag.value;
    }
  }
  return values;
}

bool writesNumberFirst(std::string_view country) {
  for (std::string_view code : numberFirst) {
    if (osm::equalsLowered(country, code)) return true;
  }
  return false;
}

std::string streetOf(const std::array<std::string_view, KeyCount>& v, GpxEncoding encoding) {
  if (!v[Full].empty()) return gpxText(v[Full], encoding, longestValue);
  const std::string number = gpxText(v[HouseNumber], encoding, longestValue);
  const std::string street = gpxText(v[Street], encoding, longestValue);
  if (number.empty() || street.empty()) return number.empty() ? street : number;
  return writesNumberFirst(v[Country]) ? number + " " + street : street + " " + number;
}

// The first ";" of a text that ends no entity or character reference ("&amp;", "&#xA;").
size_t firstSeparator(std::string_view text) {
  size_t entity = std::string_view::npos;  // where an entity may have begun
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '&') {
      entity = i;
    } else if (c == ';') {
      if (entity == std::string_view::npos) return i;
      entity = std::string_view::npos;
    } else if (entity != std::string_view::npos && !std::isalnum(static_cast<unsigned char>(c)) && c != '#') {
      entity = std::string_view::npos;
    }
  }
  return std::string_view::npos;
}

void addPart(std::string& description, std::string_view label, const std::string& text) {
  if (text.empty()) return;
  if (!description.empty()) description += " | ";
  description.append(label).append(text);
}

}  // namespace

WaypointDetails detailsOf(std::string_view record, GpxEncoding encoding) {
  const auto v = valuesOf(record);
  const auto text = [&](Key key) { return gpxText(v[key], encoding, longestValue); };
  WaypointDetails details;
  details.street = streetOf(v, encoding);
  details.city = text(v[City].empty() ? Place : City);
  details.state = text(State);
  details.country = text(Country);
  details.postalCode = text(Postcode);
  // Several numbers are separated by ";": the first is the one a navigator dials, the others
  // go into the description.
  const std::string_view phones = v[Phone].empty() ? v[ContactPhone] : v[Phone];
  const size_t split = firstSeparator(phones);
  details.phone = gpxText(phones.substr(0, split), encoding, longestValue);
  const std::string others =
      split == std::string_view::npos ? "" : gpxText(phones.substr(split + 1), encoding, longestValue);
  addPart(details.description, "Opening hours: ", text(OpeningHours));
  addPart(details.description, "Website: ", text(v[Website].empty() ? ContactWebsite : Website));
  addPart(details.description, "Phone: ", others);
  return details;
}

std::string_view brandOrOperator(std::string_view record) {
  const auto v = valuesOf(record);
  return v[Brand].empty() ? v[Operator] : v[Brand];
}

bool hasNameTag(std::string_view record) {
  osm::TagReader tags(record);
  for (osm::Tag tag; tags.next(tag);) {
    if (tag.key.starts_with("name")) return true;
  }
  return false;
}

}  // namespace waymint::gpx

#include "input/osmium_xml.h"

#include <osmium/osm/location.hpp>
#include <osmium/osm/node.hpp>

#include <charconv>
#include <algorithm>
#include <cstring>
#include <iterator>
#include <limits>

namespace waymint::input {

void appendCoordinate(std::string& out, std::int32_t coordinate) {
  osmium::detail::append_location_coordinate_to_string(std::back_inserter(out), coordinate);
}

void appendEscaped(std::string& out, std::string_view value) {
  for (const char c : value) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&apos;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '\n': out += "&#xA;"; break;
      case '\r': out += "&#xD;"; break;
      case '\t': out += "&#x9;"; break;
      default: out += c; break;
    }
  }
}

void appendTagElement(std::string& out, std::string_view key, std::string_view value) {
  out += "    <tag k=\"";
  appendEscaped(out, key);
  out += "\" v=\"";
  appendEscaped(out, value);
  out += "\"/>\n";
}

namespace {

template <typename Number>
void appendAttribute(std::string& out, const char* name, Number value) {
  char digits[24];
  out += ' ';
  out += name;
  out += "=\"";
  out.append(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
  out += '"';
}

}  // namespace

void appendNodeElement(std::string& out, const osmium::Node& node) {
  out += "  <node";
  appendAttribute(out, "id", node.id());
  if (node.version()) appendAttribute(out, "version", node.version());
  if (node.timestamp()) {
    out += " timestamp=\"";
    out += node.timestamp().to_iso_all();
    out += '"';
  }
  if (node.uid()) appendAttribute(out, "uid", node.uid());
  if (node.user()[0] != '\0') {
    out += " user=\"";
    appendEscaped(out, node.user());
    out += '"';
  }
  if (node.changeset()) appendAttribute(out, "changeset", node.changeset());
  if (node.location()) {
    out += " lat=\"";
    appendCoordinate(out, node.location().y());
    out += "\" lon=\"";
    appendCoordinate(out, node.location().x());
    out += '"';
  }
  out += ">\n";
  for (const osmium::Tag& tag : node.tags()) appendTagElement(out, tag.key(), tag.value());
  out += "  </node>\n";
}

void appendText(platform::ByteBuffer& text, std::string_view bytes, std::uint64_t limit) {
  if (bytes.empty()) return;
  if (!text.growable()) {
    const auto room = static_cast<size_t>(std::max<std::uint64_t>(limit, text.size() + bytes.size()));
    platform::ByteBuffer grown = platform::ByteBuffer::growable(room);
    std::memcpy(grown.extend(text.size()), text.data(), text.size());
    text = std::move(grown);
  }
  std::memcpy(text.extend(bytes.size()), bytes.data(), bytes.size());
}

}  // namespace waymint::input

#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/byte_buffer.h"

namespace osmium {
class Node;
}

namespace waymint::input {

// Pieces of OSM XML as osmium writes them, so that what the program makes of a .pbf or of an
// area reads as osmium's XML of it.

// A coordinate in 10^-7 degrees as osmium writes it ("47.1", "-0.0000001", "9.5123456").
void appendCoordinate(std::string& out, std::int32_t coordinate);
// A value escaped as osmium escapes attribute values (&, ", ', <, >, LF, CR and TAB).
void appendEscaped(std::string& out, std::string_view value);
// One tag element of a node: four blanks, <tag k="…" v="…"/>, LF.
void appendTagElement(std::string& out, std::string_view key, std::string_view value);
// The node element osmium writes for a node: its id, the metadata it has, its position and
// its tags.
void appendNodeElement(std::string& out, const osmium::Node& node);

// What osmium writes before the first element of an XML file, and after the last.
inline constexpr std::string_view osmXmlHead =
    "<?xml version='1.0' encoding='UTF-8'?>\n<osm version=\"0.6\">\n";
inline constexpr std::string_view osmXmlEnd = "</osm>\n";

// Appends `bytes` to a text that may grow (one read or decoded from a file); a text handed
// over whole is copied once into memory that may grow to `limit` bytes.
void appendText(platform::ByteBuffer& text, std::string_view bytes, std::uint64_t limit);

}  // namespace waymint::input

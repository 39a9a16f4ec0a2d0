#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace waymint::app {
class Program;
}

namespace waymint::gpx {

class GpxDocument;

// The waypoint name of a text: every byte above "z" (code 122) becomes "_", so a character
// stored in UTF-8 as n bytes gives n underscores.
std::string fnstrip(std::string_view s1);

// A control character (below code 32) other than TAB, CR and LF has no place in an XML
// document, nor has a character reference to one ("&#0;", "&#x1b;") or to another character
// XML cannot hold, nor a "<" or an "&" that begins no reference: a GPX holding one is refused
// whole by its readers. Each becomes "_", in place.
void replaceControls(std::string& name);

// The value of the first attribute `key` (such as "lat=") in a record: after a double or
// single quote, the text up to the next such quote; otherwise up to the first blank, ">",
// "/", CR or LF. Nothing when the record does not hold `key`.
std::optional<std::string_view> attributeValue(std::string_view s1, std::string_view key);

// The raw name of a node record: the value of the first tag whose key begins with "name",
// or, lacking one, the first tag value. The value is taken as lying between `v="` and the
// `"/>` that follows it.
std::string_view rawName(std::string_view s1);

// Takes one node record of the run's category: lists its name (gpx/poi_name.h) in List1(0)
// unless a POI of that name was taken before in this run (with exact categories every POI is
// taken), and, in a writing run (`aa`), puts it into
// `document` as a waypoint and lists it in List2, unless the file being extended holds its
// position already. A record without a position is no POI and is skipped.
void parse(app::Program& program, std::string_view s1, bool aa, GpxDocument& document);

}  // namespace waymint::gpx

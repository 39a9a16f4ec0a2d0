#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace waymint::gpx {

// The encodings a GPX may be written in: UTF-8, Windows-1252 (the program's own files, and
// Latin-1 ones), or any other, which then receives ASCII only.
enum class GpxEncoding { Utf8, Windows1252, Ascii };

// The encoding a GPX declares in its XML declaration; UTF-8 when it declares none.
GpxEncoding declaredEncoding(std::string_view gpx);

// A value of an OSM file (entities as the file writes them) as the text of a GPX element in
// `encoding`: entities and character references decoded; control characters, a byte that
// begins no UTF-8 character and blanks at either end or in a row made one blank or none;
// cut at the last whole character within `limit` bytes; then written with & < > escaped, a
// character that `encoding` lacks as a character reference. Never a byte the GPX cannot hold.
std::string gpxText(std::string_view value, GpxEncoding encoding,
                    size_t limit = std::string_view::npos);

}  // namespace waymint::gpx

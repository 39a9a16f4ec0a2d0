#pragma once

#include <string_view>

namespace waymint::input {

enum class Format { Xml, Gzip, Bzip2, Pbf, Unknown };

// The format of a file from its first bytes (64 KiB are enough), whatever its name: PBF (a
// 4-byte length, then a BlobHeader of type "OSMHeader"), bzip2 ("BZh" and a digit), gzip
// (1F 8B), else XML when the text begins like an OSM file.
Format formatOf(std::string_view head);

// Whether a text begins like an OSM file: after an optional UTF-8 byte-order mark and blanks,
// "<?xml" or "<osm", within its first 64 KiB.
bool beginsLikeOsm(std::string_view text);

// How much of a text is looked at for that.
inline constexpr size_t headSize = 64 * 1024;

}  // namespace waymint::input

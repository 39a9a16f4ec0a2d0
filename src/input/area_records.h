#pragma once

#include <cstdint>
#include <string>

#include "input/read_progress.h"
#include "platform/byte_buffer.h"

namespace waymint::input {

// Where the locations of the file's nodes are kept while its areas are built.
enum class NodeIndex {
  Chosen,  // in memory when the file's nodes fit well into it, else in a temporary file
  Memory,  // libosmium's flex_mem index
  File,    // libosmium's sparse_file_array, in a temporary file that nobody else sees
};

// What reading the areas did.
struct AreaReport {
  std::uint64_t areas = 0;     // tagged areas written as records
  std::uint64_t unplaced = 0;  // tagged areas left out: no grid point lies inside them
  bool indexInFile = false;    // the node locations were kept in a temporary file
  std::uint64_t indexBytes = 0;  // what the index of node locations took, at its largest
};

// Appends to `text` one node record for each tagged area of the OSM file at `path` (any
// format the program reads): closed ways and multipolygon relations, assembled as libosmium
// assembles them with its default rules (every closed way of four nodes or more but one
// tagged area=no; every relation of type multipolygon or boundary). The record stands at a
// point inside the area (input/inner_point.h), holds the area's tags as osmium writes them in
// XML, and is marked by its attribute waymint:area="w<id>" or "r<id>" instead of an id, so
// that it is never taken for a node of the file:
//
//   <node waymint:area="w123" lat="47.1234567" lon="9.5123456">
//     <tag k="amenity" v="parking"/>
//   </node>
//
// Areas that cannot be built (a way cut at the extract's border, broken rings) are left out,
// as osmium leaves them out. The file is read twice: its relations (of a plain .osm, only the
// part from its first relation on), then its nodes and ways; the progress counts the two
// passes as one read of the file. Throws as readOsmFile() does.
AreaReport appendAreaRecords(const std::string& path, platform::ByteBuffer& text,
                             ReadProgress& progress, std::uint64_t memoryLimit,
                             NodeIndex index = NodeIndex::Chosen);

// The loaded text of the file at `path` as readOsmFile() gives it, its area records appended
// (appendAreaRecords()). A .osm.pbf is read twice only, not three times: its tagged nodes are
// written from the pass that keeps their locations, byte for byte as readOsmFile() writes them.
platform::ByteBuffer readOsmFileWithAreas(const std::string& path, ReadProgress& progress,
                                          std::uint64_t memoryLimit, AreaReport* report = nullptr);

}  // namespace waymint::input

#pragma once

#include <cstdint>
#include <string>

namespace waymint::app {

class Program;
struct ChunkTable;

enum class Loaded { Yes, Failed, Cancelled };

// Reads the OSM file `name` (.osm, .osm.gz, .osm.bz2 or .osm.pbf) into a new chunk table: the
// whole text in one buffer, the chunk bookkeeping over it; with the choice of areas, a node
// record for each of the file's tagged areas follows the file's text (input/area_records.h).
// The caption is set first, from `osmfile`; the progress names the file, and the user may
// cancel. A file that cannot be read
// is reported with a message naming it (or the system's description of the failure) and leaves
// `into` empty; a cancelled one says nothing.
Loaded loadbinary(Program& program, const std::string& name, ChunkTable& into);

// chunkmax for a file of `length` bytes: length / chunkSize, at least 1.
std::int32_t chunkmaxFor(std::uint64_t length);

}  // namespace waymint::app

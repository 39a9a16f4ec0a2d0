#pragma once

#include <cstdint>
#include <string>

namespace waymint::app {

class Program;
struct ChunkTable;

// Reads the OSM file `name` into a new chunk table: the whole file in one buffer, the
// chunk bookkeeping over it. The caption is set first, from `osmfile`. True when it was read; false after the platform's description
// of the failure has been shown, with `into` left empty.
bool loadbinary(Program& program, const std::string& name, ChunkTable& into);

// chunkmax for a file of `length` bytes: length / chunkSize, at least 1.
std::int32_t chunkmaxFor(std::uint64_t length);

}  // namespace waymint::app

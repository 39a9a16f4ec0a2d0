#pragma once

#include <cstdint>
#include <string>

#include "input/read_progress.h"
#include "platform/byte_buffer.h"

namespace waymint::input {

// The OSM text of the file at `path`, whatever its format (.osm, .osm.gz, .osm.bz2, .osm.pbf,
// told by content), read or decoded into memory of at most `memoryLimit` bytes. Throws InputError (a file that is none of these, damaged or
// incomplete), Cancelled, platform::files::IoError (the system's reason) and std::bad_alloc.
platform::ByteBuffer readOsmFile(const std::string& path, ReadProgress& progress,
                                 std::uint64_t memoryLimit);

}  // namespace waymint::input

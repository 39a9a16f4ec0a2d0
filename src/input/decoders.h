#pragma once

#include <cstdint>
#include <string>

#include "input/decoded_text.h"
#include "input/read_progress.h"
#include "platform/byte_buffer.h"
#include "platform/files.h"

namespace waymint::input {

// An .osm file read as it is into memory of at most `memoryLimit` bytes.
platform::ByteBuffer readXml(platform::files::Reader& file, ReadProgress& progress,
                             std::uint64_t memoryLimit);

// Each decoder reads the whole file and writes the OSM text it holds into `text`, telling
// `progress` how far it has come; it throws InputError for a damaged or incomplete file and
// Cancelled when `progress` says so.
void inflateGzip(platform::files::Reader& file, DecodedText& text, ReadProgress& progress);
// A bzip2 file is decoded block by block on every core when its blocks can be told apart, else
// stream after stream from the start; the decoder says which it did.
enum class Bzip2Path { Parallel, InOrder };
Bzip2Path decodeBzip2(platform::files::Reader& file, DecodedText& text, ReadProgress& progress);
// The nodes with tags only, written as osmium writes them in XML.
void decodePbf(const std::string& path, DecodedText& text, ReadProgress& progress);

}  // namespace waymint::input

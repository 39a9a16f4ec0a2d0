#pragma once

#include <cstdint>
#include <string>

#include "input/decoded_text.h"
#include "input/read_progress.h"
#include "platform/files.h"

namespace waymint::input {

// Each reader reads the whole file and keeps, in `text`, what can be a POI of the OSM text it
// holds, telling `progress` how far it has come; it throws InputError for a damaged or
// incomplete file and Cancelled when `progress` says so.
void readXml(platform::files::Reader& file, DecodedText& text, ReadProgress& progress);
void inflateGzip(platform::files::Reader& file, DecodedText& text, ReadProgress& progress);
// A bzip2 file is decoded block by block on every core when its blocks can be told apart, else
// stream after stream from the start; the decoder says which it did.
enum class Bzip2Path { Parallel, InOrder };
Bzip2Path decodeBzip2(platform::files::Reader& file, DecodedText& text, ReadProgress& progress);
// The nodes with tags only, written as osmium writes them in XML.
void decodePbf(platform::files::Reader& file, DecodedText& text, ReadProgress& progress);

}  // namespace waymint::input

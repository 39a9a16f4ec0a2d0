#include "input/osm_input.h"

#include "input/decoders.h"
#include "input/format.h"
#include "input/input_error.h"
#include "platform/files.h"

namespace waymint::input {

namespace files = platform::files;

std::string notOsmMessage(const std::string& path) {
  return path + " is not an OpenStreetMap file (.osm, .osm.pbf, .osm.bz2, .osm.gz).";
}

std::string incompleteMessage(const std::string& path) {
  return path + " is incomplete: it ends inside its compressed data.";
}

std::string damagedMessage(const std::string& path) {
  return path + " is damaged: its compressed data cannot be read.";
}

platform::ByteBuffer readOsmFile(const std::string& path, ReadProgress& progress,
                                 std::uint64_t memoryLimit) {
  files::Reader file(path);
  std::string head(headSize, '\0');
  head.resize(file.read(head.data(), head.size()));
  const Format format = formatOf(head);
  if (format == Format::Unknown) throw InputError(notOsmMessage(path));
  if (format == Format::Xml) return readXml(file, progress, memoryLimit);
  DecodedText text(path, memoryLimit);
  if (format == Format::Pbf) {
    decodePbf(path, text, progress);
  } else {
    files::Reader stream(path);
    if (format == Format::Gzip) {
      inflateGzip(stream, text, progress);
    } else {
      decodeBzip2(stream, text, progress);
    }
  }
  return text.finish();
}

}  // namespace waymint::input

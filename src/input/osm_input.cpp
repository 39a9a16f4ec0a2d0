#include "input/osm_input.h"

#include "input/decoders.h"
#include "input/format.h"
#include "input/input_error.h"
#include "messages/messages.h"
#include "platform/files.h"

namespace waymint::input {

namespace files = platform::files;

platform::ByteBuffer readOsmFile(const std::string& path, ReadProgress& progress,
                                 std::uint64_t memoryLimit) {
  files::Reader file(path);
  std::string head(headSize, '\0');
  head.resize(file.read(head.data(), head.size()));
  const Format format = formatOf(head);
  if (format == Format::Unknown) throw InputError(messages::notOsmFile(path));
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

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
  head.resize(file.readAt(head.data(), head.size(), 0));
  const Format format = formatOf(head);
  if (format == Format::Unknown) throw InputError(messages::notOsmFile(path));
  DecodedText text(path, memoryLimit);
  // A file that grows or shrinks while it is read (one still being written) is not taken
  // for whole, nor called damaged.
  const auto changed = [&] { return file.currentLength() != file.length(); };
  try {
    switch (format) {
      case Format::Xml: readXml(file, text, progress); break;
      case Format::Gzip: inflateGzip(file, text, progress); break;
      case Format::Bzip2: decodeBzip2(file, text, progress); break;
      case Format::Pbf: decodePbf(file, text, progress); break;
      case Format::Unknown: break;
    }
  } catch (const InputError&) {
    if (changed()) throw InputError(messages::changedWhileRead(path));
    throw;
  }
  if (changed()) throw InputError(messages::changedWhileRead(path));
  return text.finish();
}

}  // namespace waymint::input

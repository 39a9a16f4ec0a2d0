// .osm.pbf: decoded by libosmium on every core, nodes only. Each node with tags becomes the
// node element that osmium writes for it in XML, byte for byte, so that a .pbf gives the
// categories, POIs and GPX files of that XML file; nodes without tags are no POIs and are left
// out, so the text holds the tagged nodes only.
#include <osmium/io/pbf_input.hpp>
#include <osmium/io/reader.hpp>
#include <osmium/osm/node.hpp>

#include <exception>
#include <string>

#include "input/decoders.h"
#include "input/input_error.h"
#include "input/left_open.h"
#include "input/osmium_xml.h"
#include "messages/messages.h"

namespace waymint::input {

void decodePbf(const std::string& path, DecodedText& text, ReadProgress& progress) {
  text.append(osmXmlHead);
  const ClosesWhatIsLeftOpen closer(path);
  try {
    osmium::io::Reader reader(osmium::io::File(path, "pbf"), osmium::osm_entity_bits::node);
    std::string nodes;
    while (osmium::memory::Buffer buffer = reader.read()) {
      nodes.clear();
      for (const osmium::Node& node : buffer.select<osmium::Node>()) {
        if (!node.tags().empty()) appendNodeElement(nodes, node);
      }
      text.append(nodes);
      if (!progress.proceed(reader.offset())) {
        reader.close();
        throw Cancelled{};
      }
    }
    reader.close();
  } catch (const std::bad_alloc&) {
    throw;
  } catch (const std::exception& error) {
    // osmium's own words for what it could not decode ("PBF error: truncated data...").
    throw InputError(messages::damagedPbf(path, error.what()));
  }
  text.append(osmXmlEnd);
}

}  // namespace waymint::input

// .osm.pbf: its blobs read in order and decoded on every core by libosmium's decoder, nodes
// only. Each node with tags becomes the node element that osmium writes for it in XML, byte
// for byte, so that a .pbf gives the categories, POIs and GPX files of that XML file; nodes
// without tags are no POIs and are left out, so the text holds the tagged nodes only.
#include <osmium/io/detail/pbf_decoder.hpp>
#include <osmium/osm/node.hpp>
#include <protozero/pbf_message.hpp>

#include <chrono>
#include <exception>
#include <string>

#include "input/decoders.h"
#include "input/input_error.h"
#include "input/ordered_work.h"
#include "input/osmium_xml.h"
#include "messages/messages.h"
#include "platform/threads.h"

namespace waymint::input {
namespace {

namespace pbf = osmium::io::detail;
constexpr auto patience = std::chrono::milliseconds(20);

// The blobs of a .pbf, in order: each a 4-byte length, a BlobHeader of that length giving the
// blob's type and size, then the blob. Checked as libosmium checks them, in its words.
class BlobReader {
 public:
  explicit BlobReader(platform::files::Reader& file) : m_file(file) {}

  // The next blob, which must be of `type`; false at the end of the file.
  bool next(const char* type, std::string& blob) {
    char size[4];
    if (!readExactly(size, sizeof size)) return false;  // the end, as libosmium takes it
    const auto byte = [&](int i) { return static_cast<std::uint32_t>(static_cast<unsigned char>(size[i])); };
    const std::uint32_t headerSize = (byte(0) << 24) | (byte(1) << 16) | (byte(2) << 8) | byte(3);
    if (headerSize > static_cast<std::uint32_t>(pbf::max_blob_header_size)) {
      throw osmium::pbf_error("invalid BlobHeader size (> max_blob_header_size)");
    }
    const std::string header = readChecked(headerSize);
    readChecked(blobSize(header, type)).swap(blob);
    return true;
  }
  std::uint64_t offset() const { return m_offset; }

 private:
  static size_t blobSize(const std::string& header, const char* type) {
    protozero::pbf_message<pbf::FileFormat::BlobHeader> message{header};
    protozero::data_view found;
    size_t size = 0;
    while (message.next()) {
      switch (message.tag_and_type()) {
        case protozero::tag_and_type(pbf::FileFormat::BlobHeader::required_string_type,
                                     protozero::pbf_wire_type::length_delimited):
          found = message.get_view();
          break;
        case protozero::tag_and_type(pbf::FileFormat::BlobHeader::required_int32_datasize,
                                     protozero::pbf_wire_type::varint):
          size = static_cast<size_t>(message.get_int32());
          break;
        default:
          message.skip();
      }
    }
    if (size == 0) throw osmium::pbf_error("PBF format error: BlobHeader.datasize missing or zero.");
    if (std::string_view(found.data(), found.size()) != type) {
      throw osmium::pbf_error("blob does not have expected type (OSMHeader in first blob, OSMData in following blobs)");
    }
    return size;
  }

  std::string readChecked(size_t size) {
    if (size > pbf::max_uncompressed_blob_size) throw osmium::pbf_error("invalid blob size: " + std::to_string(size));
    std::string bytes(size, '\0');
    if (!readExactly(bytes.data(), size)) throw osmium::pbf_error("unexpected EOF");
    return bytes;
  }

  bool readExactly(char* into, size_t size) {
    for (size_t got = 0; got < size;) {
      const size_t more = m_file.read(into + got, size - got);
      if (more == 0) return false;
      got += more;
    }
    m_offset += size;
    return true;
  }

  platform::files::Reader& m_file;
  std::uint64_t m_offset = 0;
};

void appendTaggedNodes(std::string& out, const osmium::memory::Buffer& buffer) {
  for (const osmium::Node& node : buffer.select<osmium::Node>()) {
    if (!node.tags().empty()) appendNodeElement(out, node);
  }
}

// The node elements of the tagged nodes of a data blob. The decoder's buffer holds the
// buffers it filled before, the oldest the most deeply nested.
std::string taggedNodesOf(std::string& blob, std::string&) {
  pbf::PBFDataBlobDecoder decode(std::move(blob), osmium::osm_entity_bits::node, osmium::io::read_meta::yes);
  osmium::memory::Buffer buffer = decode();
  std::string nodes;
  while (buffer.has_nested_buffers()) appendTaggedNodes(nodes, *buffer.get_last_nested());
  appendTaggedNodes(nodes, buffer);
  return nodes;
}

void decodeBlobs(platform::files::Reader& file, DecodedText& text, ReadProgress& progress) {
  BlobReader blobs(file);
  std::string blob;
  if (!blobs.next("OSMHeader", blob)) throw osmium::pbf_error("truncated data (EOF encountered)");
  pbf::decode_header(blob);  // refuses what libosmium cannot read
  OrderedWork<std::string, std::string> nodes(taggedNodesOf, platform::coreCount(), 2 * platform::coreCount());
  for (bool ended = false;;) {
    while (!ended && nodes.hasRoom()) {
      if (blobs.next("OSMData", blob)) {
        nodes.add(std::move(blob));
      } else {
        ended = true;
      }
    }
    if (!nodes.pending()) break;
    if (auto next = nodes.next(patience)) text.append(*next);
    if (!progress.proceed(blobs.offset())) throw Cancelled{};
  }
}

}  // namespace

void decodePbf(platform::files::Reader& file, DecodedText& text, ReadProgress& progress) {
  text.append(osmXmlHead);
  try {
    decodeBlobs(file, text, progress);
  } catch (const std::bad_alloc&) {
    throw;
  } catch (const platform::files::IoError&) {
    throw;
  } catch (const std::exception& error) {
    // libosmium's and protozero's own words for what they could not decode ("PBF error:
    // unexpected EOF", "end of buffer exception").
    throw InputError(messages::damagedPbf(file.path(), error.what()));
  }
  text.append(osmXmlEnd);
}

}  // namespace waymint::input

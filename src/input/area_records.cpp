// Areas as POIs: libosmium's multipolygon manager assembles the file's areas in two passes
// (its relations first, then everything, with the node locations in an index), and each
// tagged area becomes a node record at a point inside it, appended to the loaded text.
#include "input/area_records.h"

// GCC 12 takes the empty user name that libosmium's assembler copies for a string it reads
// past (its bug 105329 and kin): a false alarm inside libosmium, silenced for this file only.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wstringop-overread"
#endif

#include <osmium/area/assembler.hpp>
#include <osmium/area/multipolygon_manager.hpp>
#include <osmium/handler/node_locations_for_ways.hpp>
#include <osmium/index/map/flex_mem.hpp>
#include <osmium/index/map/sparse_file_array.hpp>
#include <osmium/io/any_input.hpp>
#include <osmium/osm/area.hpp>
#include <osmium/visitor.hpp>

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <iterator>
#include <memory>
#include <string>

#include "input/format.h"
#include "input/inner_point.h"
#include "input/input_error.h"
#include "input/left_open.h"
#include "input/osm_input.h"
#include "input/osmium_xml.h"
#include "messages/messages.h"
#include "platform/files.h"

namespace waymint::input {
namespace {

using LocationIndex = osmium::index::map::Map<osmium::unsigned_object_id_type, osmium::Location>;
using MemoryIndex = osmium::index::map::FlexMem<osmium::unsigned_object_id_type, osmium::Location>;
using FileIndex =
    osmium::index::map::SparseFileArray<osmium::unsigned_object_id_type, osmium::Location>;
using Manager = osmium::area::MultipolygonManager<osmium::area::Assembler>;

// The fewest bytes a node takes in each format, so that the nodes of a file are never
// underestimated: a bare node element in XML, the same compressed, a dense node in a .pbf.
std::uint64_t fewestBytesPerNode(Format format) {
  switch (format) {
    case Format::Xml: return 40;
    case Format::Gzip: return 4;
    case Format::Bzip2: return 3;
    default: return 4;
  }
}

// A sparse index takes 16 bytes a node (its id and location). It stays in memory when that
// takes at most half of what is left beside the loaded text.
bool indexFitsInMemory(std::uint64_t fileSize, Format format, std::uint64_t memoryLeft) {
  const std::uint64_t nodes = fileSize / fewestBytesPerNode(format) + 1;
  return nodes * 16 <= memoryLeft / 2;
}

const char* osmiumFormat(Format format) {
  switch (format) {
    case Format::Gzip: return "osm.gz";
    case Format::Bzip2: return "osm.bz2";
    case Format::Pbf: return "pbf";
    default: return "osm";
  }
}

// A file of its own for the index, gone from the folder at once: it vanishes with the
// program, however the program ends.
class TemporaryFile {
 public:
  TemporaryFile() {
    const char* folder = std::getenv("TMPDIR");
    std::string name = std::string(folder && *folder ? folder : "/tmp") + "/waymint-nodes-XXXXXX";
    m_descriptor = ::mkstemp(name.data());
    if (m_descriptor < 0) throw platform::files::IoError(name, std::strerror(errno));
    ::unlink(name.c_str());
  }
  ~TemporaryFile() { ::close(m_descriptor); }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  int descriptor() const { return m_descriptor; }

 private:
  int m_descriptor = -1;
};

void appendNumber(std::string& out, std::int64_t value) {
  char digits[24];
  out.append(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
}

void appendRecord(std::string& out, const osmium::Area& area, GridPoint point) {
  out += "  <node waymint:area=\"";
  out += area.from_way() ? 'w' : 'r';
  appendNumber(out, area.orig_id());
  out += "\" lat=\"";
  appendCoordinate(out, point.y);
  out += "\" lon=\"";
  appendCoordinate(out, point.x);
  out += "\">\n";
  for (const osmium::Tag& tag : area.tags()) appendTagElement(out, tag.key(), tag.value());
  out += "  </node>\n";
}

void ringOf(const osmium::NodeRefList& nodes, Ring& ring) {
  ring.clear();
  for (const osmium::NodeRef& node : nodes) ring.push_back({node.location().x(), node.location().y()});
}

// The records of the areas, in the order libosmium builds them; they follow the file's nodes.
class AreaWriter {
 public:
  explicit AreaWriter(AreaReport& report) : m_report(report) {}

  void take(const osmium::memory::Buffer& buffer) {
    for (const osmium::Area& area : buffer.select<osmium::Area>()) {
      if (area.tags().empty()) continue;
      ringsOf(area);
      if (m_rings.outer.empty()) continue;
      if (const auto point = innerPoint(m_rings)) {
        appendRecord(m_records, area, *point);
        ++m_report.areas;
      } else {
        ++m_report.unplaced;
      }
    }
  }
  const std::string& records() const { return m_records; }

 private:
  void ringsOf(const osmium::Area& area) {
    m_rings.outer.clear();
    m_rings.inner.clear();
    for (const osmium::OuterRing& outer : area.outer_rings()) {
      ringOf(outer, m_rings.outer.emplace_back());
      for (const osmium::InnerRing& inner : area.inner_rings(outer)) {
        ringOf(inner, m_rings.inner.emplace_back());
      }
    }
  }

  AreaReport& m_report;
  AreaRings m_rings;
  std::string m_records;
};

// The relations of a plain XML file, as a document of their own: relations follow the nodes
// and ways, so everything from the first "<relation" on holds them all, and the relations pass
// parses that part alone. Empty when the file has none.
std::string xmlRelations(const std::string& path) {
  constexpr size_t piece = size_t{4} << 20;
  constexpr std::string_view start = "<relation";
  platform::files::Reader file(path);
  std::string relations;
  std::string window(piece + start.size(), '\0');
  size_t kept = 0;  // bytes of the piece before carried over, in case "<relation" spans two
  for (bool found = false;;) {
    const size_t got = file.read(window.data() + kept, piece);
    if (got == 0) break;
    const std::string_view read(window.data(), kept + got);
    if (found) {
      relations.append(read.substr(kept));
      continue;
    }
    const size_t at = read.find(start);
    if (at != std::string_view::npos) {
      found = true;
      relations.assign(osmXmlHead).append(read.substr(at));
      kept = 0;
      continue;
    }
    kept = std::min(read.size(), start.size() - 1);
    std::memmove(window.data(), read.data() + read.size() - kept, kept);
  }
  return relations;
}

// The relations pass: which relations make areas and which ways they need.
void readRelations(const osmium::io::File& file, Manager& manager, ReadProgress& progress) {
  osmium::io::Reader reader(file, osmium::osm_entity_bits::relation, osmium::io::read_meta::no);
  while (osmium::memory::Buffer buffer = reader.read()) {
    osmium::apply(buffer, manager);
    if (!progress.proceed(reader.offset() / 2)) throw Cancelled{};
  }
  reader.close();
}

// What the second pass reads and where it puts what it makes.
struct SecondPass {
  const osmium::io::File& file;
  std::uint64_t fileSize;
  platform::ByteBuffer* nodesInto;  // the tagged nodes as osmium writes them, or none
  std::uint64_t memoryLimit;
};

// The second pass: node locations into `index`, ways into areas (and, when asked for, the
// tagged nodes into the text). Gives the bytes the index took.
std::uint64_t assembleAreas(const SecondPass& pass, Manager& manager, LocationIndex& index,
                            AreaWriter& writer, ReadProgress& progress) {
  osmium::handler::NodeLocationsForWays<LocationIndex> locations(index);
  locations.ignore_errors();  // nodes missing from an extract leave their ways out, no more
  auto& areas = manager.handler([&](osmium::memory::Buffer&& built) { writer.take(built); });
  osmium::io::Reader reader(pass.file, osmium::osm_entity_bits::node | osmium::osm_entity_bits::way,
                            pass.nodesInto ? osmium::io::read_meta::yes : osmium::io::read_meta::no);
  std::string nodes;
  while (osmium::memory::Buffer buffer = reader.read()) {
    osmium::apply(buffer, locations, areas);
    if (pass.nodesInto) {
      nodes.clear();
      for (const osmium::Node& node : buffer.select<osmium::Node>()) {
        if (!node.tags().empty()) appendNodeElement(nodes, node);
      }
      appendText(*pass.nodesInto, nodes, pass.memoryLimit);
    }
    if (!progress.proceed(pass.fileSize / 2 + reader.offset() / 2)) throw Cancelled{};
  }
  reader.close();
  areas.flush();
  return index.used_memory();
}

}  // namespace

namespace {

// Reads the areas of the file at `path` into records appended to `text`, after the tagged
// nodes when `nodesToo` (the text then holds the head of the document already).
AreaReport readAreas(const std::string& path, platform::ByteBuffer& text, bool nodesToo,
                     ReadProgress& progress, std::uint64_t memoryLimit, NodeIndex index) {
  std::uint64_t fileSize = 0;
  Format format = Format::Unknown;
  {
    platform::files::Reader file(path);
    std::string head(headSize, '\0');
    head.resize(file.read(head.data(), head.size()));
    format = formatOf(head);
    fileSize = file.length();
  }
  if (format == Format::Unknown) throw InputError(messages::notOsmFile(path));
  const std::uint64_t memoryLeft = memoryLimit > text.size() ? memoryLimit - text.size() : 0;
  const bool inFile = index == NodeIndex::File ||
                      (index == NodeIndex::Chosen && !indexFitsInMemory(fileSize, format, memoryLeft));
  AreaReport report;
  report.indexInFile = inFile;
  const ClosesWhatIsLeftOpen closer(path);
  try {
    osmium::area::Assembler::config_type config;
    config.create_empty_areas = false;
    Manager manager(config);
    const osmium::io::File file(path, osmiumFormat(format));
    if (format == Format::Xml) {
      const std::string relations = xmlRelations(path);
      if (!relations.empty()) {
        readRelations(osmium::io::File(relations.data(), relations.size(), "osm"), manager, progress);
      }
    } else {
      readRelations(file, manager, progress);
    }
    manager.prepare_for_lookup();
    AreaWriter writer(report);
    const SecondPass pass{file, fileSize, nodesToo ? &text : nullptr, memoryLimit};
    if (inFile) {
      const TemporaryFile storage;
      FileIndex locations(storage.descriptor());
      report.indexBytes = assembleAreas(pass, manager, locations, writer, progress);
    } else {
      MemoryIndex locations;
      report.indexBytes = assembleAreas(pass, manager, locations, writer, progress);
    }
    if (nodesToo) appendText(text, osmXmlEnd, memoryLimit);
    appendText(text, writer.records(), memoryLimit);
  } catch (const std::bad_alloc&) {
    throw;
  } catch (const Cancelled&) {
    throw;
  } catch (const platform::files::IoError&) {
    throw;
  } catch (const std::exception& error) {
    throw InputError(messages::damagedForLibosmium(path, error.what()));
  }
  return report;
}

}  // namespace

AreaReport appendAreaRecords(const std::string& path, platform::ByteBuffer& text,
                             ReadProgress& progress, std::uint64_t memoryLimit, NodeIndex index) {
  return readAreas(path, text, false, progress, memoryLimit, index);
}

platform::ByteBuffer readOsmFileWithAreas(const std::string& path, ReadProgress& progress,
                                          std::uint64_t memoryLimit, AreaReport* report) {
  std::string head(headSize, '\0');
  {
    platform::files::Reader file(path);
    head.resize(file.read(head.data(), head.size()));
  }
  AreaReport made;
  platform::ByteBuffer text;
  if (formatOf(head) == Format::Pbf) {
    // The nodes the load keeps come from the pass that indexes their locations anyway.
    text = platform::ByteBuffer::growable(memoryLimit);
    appendText(text, osmXmlHead, memoryLimit);
    made = readAreas(path, text, true, progress, memoryLimit, NodeIndex::Chosen);
  } else {
    text = readOsmFile(path, progress, memoryLimit);
    made = readAreas(path, text, false, progress, memoryLimit, NodeIndex::Chosen);
  }
  if (report) *report = made;
  return text;
}

}  // namespace waymint::input

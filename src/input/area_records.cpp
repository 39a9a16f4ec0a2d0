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
#include "input/osmium_xml.h"
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

class AreaWriter {
 public:
  AreaWriter(platform::ByteBuffer& text, std::uint64_t memoryLimit, AreaReport& report)
      : m_text(text), m_memoryLimit(memoryLimit), m_report(report) {}

  void take(const osmium::memory::Buffer& buffer) {
    m_records.clear();
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
    appendText(m_text, m_records, m_memoryLimit);
  }

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

  platform::ByteBuffer& m_text;
  std::uint64_t m_memoryLimit;
  AreaReport& m_report;
  AreaRings m_rings;
  std::string m_records;
};

// The relations pass: which relations make areas and which ways they need.
void readRelations(const osmium::io::File& file, Manager& manager, ReadProgress& progress) {
  osmium::io::Reader reader(file, osmium::osm_entity_bits::relation, osmium::io::read_meta::no);
  while (osmium::memory::Buffer buffer = reader.read()) {
    osmium::apply(buffer, manager);
    if (!progress.proceed(reader.offset() / 2)) throw Cancelled{};
  }
  reader.close();
  manager.prepare_for_lookup();
}

// The second pass: node locations into `index`, ways and relations into areas.
std::uint64_t assembleAreas(const osmium::io::File& file, std::uint64_t fileSize, Manager& manager,
                            LocationIndex& index, AreaWriter& writer, ReadProgress& progress) {
  osmium::handler::NodeLocationsForWays<LocationIndex> locations(index);
  locations.ignore_errors();  // nodes missing from an extract leave their ways out, no more
  auto& areas = manager.handler([&](osmium::memory::Buffer&& built) { writer.take(built); });
  osmium::io::Reader reader(file, osmium::io::read_meta::no);
  while (osmium::memory::Buffer buffer = reader.read()) {
    osmium::apply(buffer, locations, areas);
    if (!progress.proceed(fileSize / 2 + reader.offset() / 2)) throw Cancelled{};
  }
  reader.close();
  areas.flush();
  return index.used_memory();
}

}  // namespace

AreaReport appendAreaRecords(const std::string& path, platform::ByteBuffer& text,
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
  if (format == Format::Unknown) throw InputError(notOsmMessage(path));
  const std::uint64_t memoryLeft = memoryLimit > text.size() ? memoryLimit - text.size() : 0;
  const bool inFile = index == NodeIndex::File ||
                      (index == NodeIndex::Chosen && !indexFitsInMemory(fileSize, format, memoryLeft));
  AreaReport report;
  report.indexInFile = inFile;
  try {
    osmium::area::Assembler::config_type config;
    config.create_empty_areas = false;
    Manager manager(config);
    const osmium::io::File file(path, osmiumFormat(format));
    readRelations(file, manager, progress);
    AreaWriter writer(text, memoryLimit, report);
    if (inFile) {
      const TemporaryFile storage;
      FileIndex locations(storage.descriptor());
      report.indexBytes = assembleAreas(file, fileSize, manager, locations, writer, progress);
    } else {
      MemoryIndex locations;
      report.indexBytes = assembleAreas(file, fileSize, manager, locations, writer, progress);
    }
  } catch (const std::bad_alloc&) {
    throw;
  } catch (const Cancelled&) {
    throw;
  } catch (const platform::files::IoError&) {
    throw;
  } catch (const std::exception& error) {
    throw InputError(path + " is damaged or incomplete: " + error.what() + ".");
  }
  return report;
}

}  // namespace waymint::input

// .osm.pbf: decoded by libosmium on every core, nodes only. Each node with tags becomes the
// node element that osmium writes for it in XML, byte for byte, so that a .pbf gives the
// categories, POIs and GPX files of that XML file; nodes without tags are no POIs and are left
// out, so the text holds the tagged nodes only.
#include <osmium/io/pbf_input.hpp>
#include <osmium/io/reader.hpp>
#include <osmium/osm/location.hpp>
#include <osmium/osm/node.hpp>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <exception>
#include <iterator>
#include <string>
#include <vector>

#include "input/decoders.h"
#include "input/input_error.h"
#include "messages/messages.h"

namespace waymint::input {
namespace {

template <typename Number>
void appendNumber(std::string& out, Number value) {
  char digits[24];
  out.append(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
}

template <typename Number>
void appendAttribute(std::string& out, const char* name, Number value) {
  out += ' ';
  out += name;
  out += "=\"";
  appendNumber(out, value);
  out += '"';
}

// As osmium escapes attribute values.
void appendEscaped(std::string& out, const char* text) {
  for (; *text != '\0'; ++text) {
    switch (*text) {
      case '&': out += "&amp;"; break;
      case '"': out += "&quot;"; break;
      case '\'': out += "&apos;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '\n': out += "&#xA;"; break;
      case '\r': out += "&#xD;"; break;
      case '\t': out += "&#x9;"; break;
      default: out += *text; break;
    }
  }
}

// The node element osmium writes: its id, the metadata it has, its position and its tags.
void appendNode(std::string& out, const osmium::Node& node) {
  out += "  <node";
  appendAttribute(out, "id", node.id());
  if (node.version()) appendAttribute(out, "version", node.version());
  if (node.timestamp()) {
    out += " timestamp=\"";
    out += node.timestamp().to_iso_all();
    out += '"';
  }
  if (node.uid()) appendAttribute(out, "uid", node.uid());
  if (node.user()[0] != '\0') {
    out += " user=\"";
    appendEscaped(out, node.user());
    out += '"';
  }
  if (node.changeset()) appendAttribute(out, "changeset", node.changeset());
  if (node.location()) {
    out += " lat=\"";
    osmium::detail::append_location_coordinate_to_string(std::back_inserter(out), node.location().y());
    out += "\" lon=\"";
    osmium::detail::append_location_coordinate_to_string(std::back_inserter(out), node.location().x());
    out += '"';
  }
  out += ">\n";
  for (const osmium::Tag& tag : node.tags()) {
    out += "    <tag k=\"";
    appendEscaped(out, tag.key());
    out += "\" v=\"";
    appendEscaped(out, tag.value());
    out += "\"/>\n";
  }
  out += "  </node>\n";
}

// The file descriptors the process holds, as /proc/self/fd lists them (none where there is no
// such list), but the one that reads the list.
std::vector<int> openDescriptors() {
  std::vector<int> open;
  DIR* entries = ::opendir("/proc/self/fd");
  if (!entries) return open;
  while (const dirent* entry = ::readdir(entries)) {
    const int fd = std::atoi(entry->d_name);
    if (entry->d_name[0] != '.' && fd != ::dirfd(entries)) open.push_back(fd);
  }
  ::closedir(entries);
  std::sort(open.begin(), open.end());
  return open;
}

// libosmium's PBF parser closes the file it reads only when it has read it to the end: a file
// cut short or damaged, or a read cancelled, leaves it open. What was opened on the file while
// this lived, and is open still, is closed when it goes (after the reader has gone).
class ClosesWhatIsLeftOpen {
 public:
  explicit ClosesWhatIsLeftOpen(const std::string& path) : m_before(openDescriptors()) {
    m_known = ::stat(path.c_str(), &m_file) == 0;
  }
  ~ClosesWhatIsLeftOpen() {
    if (!m_known) return;
    for (const int fd : openDescriptors()) {
      struct stat info {};
      if (!std::binary_search(m_before.begin(), m_before.end(), fd) && ::fstat(fd, &info) == 0 &&
          info.st_dev == m_file.st_dev && info.st_ino == m_file.st_ino) {
        ::close(fd);
      }
    }
  }
  ClosesWhatIsLeftOpen(const ClosesWhatIsLeftOpen&) = delete;
  ClosesWhatIsLeftOpen& operator=(const ClosesWhatIsLeftOpen&) = delete;

 private:
  std::vector<int> m_before;
  struct stat m_file {};
  bool m_known = false;
};

}  // namespace

void decodePbf(const std::string& path, DecodedText& text, ReadProgress& progress) {
  text.append("<?xml version='1.0' encoding='UTF-8'?>\n<osm version=\"0.6\">\n");
  const ClosesWhatIsLeftOpen closer(path);
  try {
    osmium::io::Reader reader(osmium::io::File(path, "pbf"), osmium::osm_entity_bits::node);
    std::string nodes;
    while (osmium::memory::Buffer buffer = reader.read()) {
      nodes.clear();
      for (const osmium::Node& node : buffer.select<osmium::Node>()) {
        if (!node.tags().empty()) appendNode(nodes, node);
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
  text.append("</osm>\n");
}

}  // namespace waymint::input

#include "gpi/gpx_waypoints.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstring>
#include <optional>

#include "gpi/xml_text.h"
#include "messages/messages.h"
#include "osm/text_search.h"
#include "platform/files.h"

namespace waymint::gpi {
namespace {

enum Field {
  Name, Comment, Description, Proximity, Phone, Street, City, State, Country, Postal, FieldCount
};

struct Span {
  size_t begin = 0;
  size_t end = 0;
  bool present = false;
};

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::string_view trimBlanks(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

std::string_view localName(std::string_view name) {
  const size_t colon = name.rfind(':');
  return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return osm::lowerAscii(x) == osm::lowerAscii(y);
         });
}

std::optional<CodePage> codePageNamed(std::string_view encoding) {
  for (std::string_view name : {"utf-8", "utf8"}) {
    if (equalsIgnoringCase(encoding, name)) return CodePage::Utf8;
  }
  for (std::string_view name : {"windows-1252", "cp1252", "iso-8859-1", "iso8859-1", "iso_8859-1",
                                "latin1", "us-ascii", "ascii"}) {
    if (equalsIgnoringCase(encoding, name)) return CodePage::Windows1252;
  }
  return std::nullopt;
}

// The value of attribute `wanted` (its local name) in the attribute text of a tag.
std::optional<std::string_view> attribute(std::string_view attributes, std::string_view wanted) {
  size_t at = 0;
  while (true) {
    while (at < attributes.size() && isBlank(attributes[at])) ++at;
    const size_t nameStart = at;
    while (at < attributes.size() && !isBlank(attributes[at]) && attributes[at] != '=') ++at;
    const std::string_view name = attributes.substr(nameStart, at - nameStart);
    while (at < attributes.size() && isBlank(attributes[at])) ++at;
    if (name.empty() || at + 1 >= attributes.size() || attributes[at] != '=') return std::nullopt;
    ++at;
    while (at < attributes.size() && isBlank(attributes[at])) ++at;
    if (at >= attributes.size() || (attributes[at] != '"' && attributes[at] != '\'')) {
      return std::nullopt;
    }
    const size_t close = attributes.find(attributes[at], at + 1);
    if (close == std::string_view::npos) return std::nullopt;
    if (name == wanted) return attributes.substr(at + 1, close - at - 1);
    at = close + 1;
  }
}

// A decimal number as GPX writes them (blanks around it and a leading "+" allowed).
std::optional<double> number(std::string_view text) {
  text = trimBlanks(text);
  if (text.size() > 1 && text[0] == '+' && text[1] != '-') text.remove_prefix(1);
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

std::uint16_t proximityOf(std::string_view text) {
  const std::optional<double> metres = number(text);
  if (!metres || *metres < 1) return 0;
  return static_cast<std::uint16_t>(std::min(*metres, 65535.0));
}

// One pass over a GPX document: checks that its markup is closed and nested, and collects
// the waypoints of its root element.
class GpxScanner {
 public:
  GpxScanner(std::string_view path, GpxWaypoints& result)
      : m_path(path), m_result(result), m_text(*result.bytes) {}

  void run();

 private:
  bool prolog();
  bool step(size_t open);
  bool startTag(size_t open);
  bool endTag(size_t open);
  void opened(std::string_view name, std::string_view attributes, size_t contentStart);
  void closed(size_t tagStart);
  void finishWaypoint();
  std::string_view fieldText(const Span& span);
  bool fail(size_t at, std::string_view what);
  bool notGpx();

  std::string_view m_path;
  GpxWaypoints& m_result;
  std::string& m_text;
  size_t m_at = 0;
  bool m_rootSeen = false;
  bool m_done = false;
  std::vector<std::string_view> m_open;  // the names of the elements open at m_at

  bool m_inWaypoint = false;
  size_t m_waypointNumber = 0;
  std::optional<double> m_lat, m_lon;
  std::array<Span, FieldCount> m_fields;
  int m_field = -1;  // the field whose element is open
  size_t m_fieldDepth = 0;
  size_t m_fieldStart = 0;
};

bool GpxScanner::fail(size_t at, std::string_view what) {
  const size_t line =
      1 + std::count(m_text.begin(), m_text.begin() + std::min(at, m_text.size()), '\n');
  m_result.error = messages::malformedGpx(m_path, line, what);
  return false;
}

bool GpxScanner::notGpx() {
  m_result.error = messages::notGpxFile(m_path);
  return false;
}

bool GpxScanner::prolog() {
  if (m_text.starts_with("\xEF\xBB\xBF")) m_at = 3;
  if (m_text.compare(m_at, 5, "<?xml") != 0 || m_at + 5 >= m_text.size() ||
      !isBlank(m_text[m_at + 5])) {
    return true;  // no declaration: UTF-8
  }
  const size_t close = m_text.find("?>", m_at);
  if (close == std::string::npos) return fail(m_at, messages::declarationNotClosed);
  const std::string_view declaration(m_text.data() + m_at + 5, close - m_at - 5);
  m_at = close + 2;
  const std::optional<std::string_view> encoding = attribute(declaration, "encoding");
  if (!encoding) return true;
  const std::optional<CodePage> page = codePageNamed(*encoding);
  if (!page) {
    const bool printable =
        std::all_of(encoding->begin(), encoding->end(), [](char c) { return c > ' ' && c < 0x7F; });
    m_result.error =
        messages::gpxEncodingNotTaken(m_path, printable ? *encoding : messages::unknownEncoding);
    return false;
  }
  m_result.codePage = *page;
  return true;
}

void GpxScanner::run() {
  if (!prolog()) return;
  while (!m_done) {
    const void* found = std::memchr(m_text.data() + m_at, '<', m_text.size() - m_at);
    const size_t open = found ? static_cast<const char*>(found) - m_text.data() : m_text.size();
    if (m_open.empty() && !m_rootSeen &&
        !trimBlanks(std::string_view(m_text).substr(m_at, open - m_at)).empty()) {
      notGpx();
      return;
    }
    if (!found) break;
    if (!step(open)) return;
  }
  if (!m_rootSeen) {
    notGpx();
  } else if (!m_open.empty()) {
    fail(m_text.size(), messages::elementsNotClosed);
  }
}

bool GpxScanner::step(size_t open) {
  const std::string_view rest = std::string_view(m_text).substr(open);
  const auto skipTo = [&](std::string_view close, std::string_view what) {
    const size_t end = rest.find(close, 2);
    if (end == std::string_view::npos) return fail(open, what);
    m_at = open + end + close.size();
    return true;
  };
  if (rest.starts_with("<!--")) return skipTo("-->", messages::commentNotClosed);
  if (rest.starts_with("<![CDATA[")) {
    if (m_open.empty()) return fail(open, messages::textOutsideRoot);
    return skipTo("]]>", messages::cdataNotClosed);
  }
  if (rest.starts_with("<?")) return skipTo("?>", messages::instructionNotClosed);
  if (rest.starts_with("<!")) {
    if (!m_open.empty() || m_rootSeen) return fail(open, messages::declarationInside);
    // <!DOCTYPE ...>; an internal subset in brackets may hold ">" of its own
    size_t end = rest.find('>');
    const size_t subset = rest.find('[');
    if (subset < end) {
      const size_t subsetEnd = rest.find(']', subset);
      end = subsetEnd == std::string_view::npos ? subsetEnd : rest.find('>', subsetEnd);
    }
    if (end == std::string_view::npos) return fail(open, messages::doctypeNotClosed);
    m_at = open + end + 1;
    return true;
  }
  if (rest.starts_with("</")) return endTag(open);
  return startTag(open);
}

bool GpxScanner::startTag(size_t open) {
  if (open + 1 == m_text.size() || isBlank(m_text[open + 1]) || m_text[open + 1] == '>') {
    return fail(open, messages::strayLessThan);
  }
  size_t at = open + 1;
  char quote = 0;
  for (; at < m_text.size(); ++at) {
    const char c = m_text[at];
    if (quote) {
      if (c == quote) quote = 0;
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == '>') {
      break;
    } else if (c == '<') {
      return fail(open, messages::tagNotClosed);
    }
  }
  if (at >= m_text.size()) return fail(open, messages::tagNotClosed);
  const bool empty = m_text[at - 1] == '/' && at - 1 > open;
  const std::string_view inside(m_text.data() + open + 1, at - open - 1 - (empty ? 1 : 0));
  size_t nameEnd = 0;
  while (nameEnd < inside.size() && !isBlank(inside[nameEnd])) ++nameEnd;
  const std::string_view name = inside.substr(0, nameEnd);
  if (m_open.empty()) {
    if (m_rootSeen) return fail(open, messages::secondRoot);
    if (localName(name) != "gpx") return notGpx();
    m_rootSeen = true;
  }
  m_at = at + 1;
  m_open.push_back(name);
  opened(name, inside.substr(nameEnd), m_at);
  if (empty) {
    closed(open);
    m_open.pop_back();
    m_done = m_open.empty();
  }
  return true;
}

bool GpxScanner::endTag(size_t open) {
  const size_t close = m_text.find('>', open);
  if (close == std::string::npos) return fail(open, messages::tagNotClosed);
  const std::string_view name =
      trimBlanks(std::string_view(m_text).substr(open + 2, close - open - 2));
  if (m_open.empty() || m_open.back() != name) {
    return fail(open, messages::endTagMismatch);
  }
  closed(open);
  m_open.pop_back();
  m_at = close + 1;
  m_done = m_open.empty();
  return true;
}

// Where the element just opened stands among a waypoint's children: which field it holds.
void GpxScanner::opened(std::string_view name, std::string_view attributes, size_t contentStart) {
  const size_t depth = m_open.size();
  const std::string_view local = localName(name);
  if (depth == 2 && local == "wpt") {
    m_inWaypoint = true;
    ++m_waypointNumber;
    m_fields = {};
    m_field = -1;
    const auto coordinate = [&](std::string_view key) -> std::optional<double> {
      const std::optional<std::string_view> value = attribute(attributes, key);
      return value ? number(*value) : std::nullopt;
    };
    m_lat = coordinate("lat");
    m_lon = coordinate("lon");
    return;
  }
  if (!m_inWaypoint || m_field >= 0) return;
  const auto parentIs = [&](size_t index, std::string_view wanted) {
    return localName(m_open[index]) == wanted;
  };
  int field = -1;
  if (depth == 3) {
    if (local == "name") field = Name;
    if (local == "cmt") field = Comment;
    if (local == "desc") field = Description;
  } else if (depth >= 5 && parentIs(2, "extensions") && parentIs(3, "WaypointExtension")) {
    if (depth == 5 && local == "Proximity") field = Proximity;
    if (depth == 5 && local == "PhoneNumber") field = Phone;
    if (depth == 6 && parentIs(4, "Address")) {
      if (local == "StreetAddress") field = Street;
      if (local == "City") field = City;
      if (local == "State") field = State;
      if (local == "Country") field = Country;
      if (local == "PostalCode") field = Postal;
    }
  }
  if (field >= 0) {
    m_field = field;
    m_fieldDepth = depth;
    m_fieldStart = contentStart;
  }
}

void GpxScanner::closed(size_t tagStart) {
  const size_t depth = m_open.size();
  if (m_field >= 0 && depth == m_fieldDepth) {
    m_fields[m_field] = {m_fieldStart, std::max(tagStart, m_fieldStart), true};
    m_field = -1;
  } else if (depth == 2 && m_inWaypoint) {
    finishWaypoint();
    m_inWaypoint = false;
  }
}

std::string_view GpxScanner::fieldText(const Span& span) {
  if (!span.present) return {};
  char* begin = m_text.data() + span.begin;
  const std::string_view text = decodeXmlText(begin, m_text.data() + span.end, m_result.codePage);
  if (m_result.codePage == CodePage::Utf8) repairUtf8(begin, text.size());
  return trimmed(text, m_result.codePage);
}

void GpxScanner::finishWaypoint() {
  const bool placed =
      m_lat && m_lon && *m_lat >= -90 && *m_lat <= 90 && *m_lon >= -180 && *m_lon <= 180;
  if (!placed) {
    ++m_result.leftOut;
    return;
  }
  Waypoint waypoint;
  waypoint.lat = *m_lat;
  waypoint.lon = *m_lon;
  const std::string_view name = fieldText(m_fields[Name]);
  const std::string_view comment = fieldText(m_fields[Comment]);
  const std::string_view description = fieldText(m_fields[Description]);
  waypoint.name = !name.empty() ? name : !comment.empty() ? comment : description;
  if (waypoint.name.empty()) {
    std::string made = std::to_string(m_waypointNumber);
    made.insert(0, made.size() < 3 ? 3 - made.size() : 0, '0');
    waypoint.name = m_result.madeNames.emplace_back("WPT" + made);
  }
  waypoint.description = !comment.empty()       ? comment
                         : !description.empty() ? description
                                                : waypoint.name;
  // The program's own GPX files hold "; " for a street they do not know.
  waypoint.street = fieldText(m_fields[Street]);
  if (waypoint.street.find_first_not_of(';') == std::string_view::npos) waypoint.street = {};
  waypoint.city = fieldText(m_fields[City]);
  waypoint.state = fieldText(m_fields[State]);
  waypoint.country = fieldText(m_fields[Country]);
  waypoint.postalCode = fieldText(m_fields[Postal]);
  waypoint.phone = fieldText(m_fields[Phone]);
  waypoint.proximity = proximityOf(fieldText(m_fields[Proximity]));
  m_result.waypoints.push_back(waypoint);
}

}  // namespace

GpxWaypoints readGpxWaypoints(std::string bytes, std::string_view path) {
  GpxWaypoints result;
  result.bytes = std::make_unique<std::string>(std::move(bytes));
  GpxScanner(path, result).run();
  if (!result.error.empty()) result.waypoints.clear();
  return result;
}

GpxWaypoints readGpxFile(std::string_view path) {
  try {
    return readGpxWaypoints(platform::files::readWhole(path), path);
  } catch (const platform::files::IoError& error) {
    GpxWaypoints result;
    result.error = messages::cannotBeRead(path, error.what());
    return result;
  }
}

}  // namespace waymint::gpi

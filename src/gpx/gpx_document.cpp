#include "gpx/gpx_document.h"

#include <algorithm>

#include "app/program.h"
#include "osm/text_search.h"
#include "app/web_addresses.h"
#include "gpx/gpx_paths.h"
#include "platform/files.h"

namespace waymint::gpx {
namespace {

constexpr std::string_view crlf = "\r\n";
using osm::npos;

constexpr std::string_view gpxNamespace = "http://www.topografix.com/GPX/1/1";
constexpr std::string_view garminNamespace = "http://www.garmin.com/xmlschemas/GpxExtensions/v3";
constexpr std::string_view schemaInstanceNamespace = "http://www.w3.org/2001/XMLSchema-instance";
constexpr std::string_view garminSchema =
    "http://www.garmin.com/xmlschemas/GpxExtensions/v3/GpxExtensionsv3.xsd";

// The 'lat="…" lon="…"' part of a start tag written by wptLine().
std::string_view positionOf(std::string_view wptLine) {
  constexpr std::string_view open = "<wpt ";
  return wptLine.substr(open.size(), wptLine.size() - open.size() - 1);
}

// Every 'lat="X" lon="Y"' of a text whose X and Y hold no double quote, each once.
void collectPositions(std::string_view text, std::unordered_set<std::string>& positions) {
  constexpr std::string_view latOpen = "lat=\"";
  constexpr std::string_view lonOpen = "\" lon=\"";
  for (size_t at = osm::findText(text, latOpen); at != npos;
       at = osm::findText(text, latOpen, at + 1)) {
    const size_t latEnd = text.find('"', at + latOpen.size());
    if (latEnd == npos) break;
    if (text.compare(latEnd, lonOpen.size(), lonOpen) != 0) continue;
    const size_t lonEnd = text.find('"', latEnd + lonOpen.size());
    if (lonEnd == npos) break;
    positions.emplace(text.substr(at, lonEnd + 1 - at));
  }
}

}  // namespace

void GpxDocument::procsave(std::string_view s) {
  m_bytes.append(s);
  m_bytes.append(crlf);
  m_started = true;
}

void GpxDocument::extend(std::string oldBody) {
  collectPositions(oldBody, m_oldPositions);
  m_encoding = declaredEncoding(oldBody);
  m_bytes = std::move(oldBody);
  procsave("");
}

void GpxDocument::continueFrom(std::string existing) {
  m_encoding = declaredEncoding(existing);
  m_bytes = std::move(existing);
  m_started = true;
}

bool GpxDocument::holds(std::string_view line) const {
  return m_oldPositions.count(std::string(positionOf(line))) != 0;
}

std::string gpxHead(GpxEncoding encoding) {
  const std::string q = "\"";
  const char* name = encoding == GpxEncoding::Utf8 ? "UTF-8" : "Windows-1252";
  std::string head;
  head += "<?xml version=" + q + "1.0" + q + "  encoding=" + q + name + q +
          " standalone=" + q + "no" + q + " ?>";
  head += std::string(crlf) + "<gpx xmlns=" + q + std::string(gpxNamespace) + q +
          " xmlns:gpxx = " + q + std::string(garminNamespace) + q + " creator=" + q + "Veltrana" +
          q + " version=" + q + "1.1" + q + " xmlns:xsi = " + q +
          std::string(schemaInstanceNamespace) + q + " xsi:schemaLocation=" + q +
          std::string(gpxNamespace) + " " + std::string(gpxNamespace) + "/gpx.xsd " +
          std::string(garminNamespace) + " " + std::string(garminSchema) + q + ">";
  head += std::string(crlf) + "<metadata>";
  head += std::string(crlf) + "    <link href=" + q + std::string(app::makerSite) +
          std::string(app::programPage) + q + ">" + "<text>Free OSM tools for easy mapping.</text>";
  head += std::string(crlf) + " </link>";
  head += std::string(crlf) + "</metadata>";
  return head;
}

std::string wptLine(std::string_view lat, std::string_view lon) {
  const std::string line =
      "<wpt lat=\"" + std::string(lat) + "\" lon=\"" + osm::replaceAll(lon, "\r", "") + "\">";
  return osm::replaceAll(line, ">\r", "");
}

void GpxDocument::addWaypoint(std::string_view lat, std::string_view lon, std::string_view nam,
                              const WaypointOptions& options) {
  const std::string proximity = std::to_string(options.proximity);
  const std::string_view alertOpen = options.alert ? "  <gpxx:Proximity>" : "  <!--<gpxx:Proximity>";
  const std::string_view alertClose = options.alert ? "</gpxx:Proximity>" : "</gpxx:Proximity>-->";
  // Without details the address is the program's first one: "; " for the street it does
  // not know, the other fields empty, no phone.
  const WaypointDetails none{"; ", "", "", "", "", "", ""};
  const WaypointDetails& d = options.details ? *options.details : none;
  const bool phone = !d.phone.empty();
  const std::string_view lines[] = {
      "<name>", nam, "</name>", crlf, "<cmt>This is ", nam, "</cmt>", crlf,
      "   <desc>", d.description, "</desc>", crlf,
      options.sound ? "   <link href=\"" : "", options.sound ? options.soundlink : "",
      options.sound ? "\" />\r\n" : "",
      "  <extensions>", crlf, " <gpxx:WaypointExtension>", crlf,
      alertOpen, proximity, alertClose, crlf,
      " <gpxx:DisplayMode>SymbolAndName</gpxx:DisplayMode>", crlf,
      " <gpxx:Categories>", crlf, "   <gpxx:Category>Category1</gpxx:Category>", crlf,
      " </gpxx:Categories>", crlf, "  <gpxx:Address>", crlf,
      " <gpxx:StreetAddress>", d.street, "</gpxx:StreetAddress>", crlf,
      "  <gpxx:City>", d.city, "</gpxx:City>", crlf,
      "  <gpxx:State>", d.state, "</gpxx:State>", crlf,
      " <gpxx:Country>", d.country, "</gpxx:Country>", crlf,
      "<gpxx:PostalCode>", d.postalCode, "</gpxx:PostalCode>", crlf, " </gpxx:Address>", crlf,
      phone ? " <gpxx:PhoneNumber>" : "", d.phone, phone ? "</gpxx:PhoneNumber>\r\n" : "",
      "</gpxx:WaypointExtension>", crlf, "</extensions>", crlf, "</wpt>", crlf};
  const std::string start = wptLine(lat, lon);
  // The block goes straight into the document, room made for it at once (and for the closing
  // line), so that a long name is held in the document and nowhere else on the way.
  constexpr size_t closing = 64;
  size_t length = start.size() + crlf.size();
  for (std::string_view piece : lines) length += piece.size();
  if (m_bytes.capacity() < m_bytes.size() + length + closing) {
    m_bytes.reserve(std::max(m_bytes.size() + length + closing, m_bytes.capacity() * 2));
  }
  m_bytes.append(start);
  m_bytes.append(crlf);
  for (std::string_view piece : lines) m_bytes.append(piece);
  m_started = true;
}

void initgpx(GpxDocument& document, const std::string& categoryFolder) {
  if (!platform::files::exists(categoryFolder)) platform::files::makeFolder(categoryFolder);
  document.procsave(gpxHead(document.encoding()));
}

void addgpx(app::Program& program, GpxDocument& document, std::string_view lat,
            std::string_view lon, std::string_view nam, std::string_view record) {
  WaypointOptions options;
  WaypointDetails details;
  if (program.state.choices.details) {
    details = detailsOf(record, document.encoding());
    options.details = &details;
  }
  options.sound = program.f1.Check1.value() == 1;
  options.alert = program.f1.Check2.value() == 1;
  options.proximity = program.state.proximity;
  options.soundlink = program.state.soundlink;
  document.addWaypoint(lat, lon, nam, options);
}

}  // namespace waymint::gpx

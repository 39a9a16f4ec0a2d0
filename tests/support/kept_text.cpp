#include "support/kept_text.h"

#include <algorithm>
#include <array>

#include "input/format.h"
#include "osm/node_records.h"
#include "osm/text_search.h"

namespace waymint::testing {

std::string keptReference(std::string_view text) {
  const size_t first = osm::findText(text, "<node ");
  std::string kept(text.substr(0, std::min(first, input::headSize)));
  osm::NodeRecordCutter cutter(text);
  for (std::string_view record; cutter.next(record);) {
    if (osm::containsText(record, "<tag ")) kept.append("<node ").append(record);
  }
  return kept;
}

std::string awkwardOsmText(std::mt19937& random, int count) {
  static const std::array<std::string_view, 34> pieces = {
      "<?xml version='1.0' encoding='UTF-8'?>\n<osm version=\"0.6\">\n",
      "  <node id=\"1\" lat=\"43.7\" lon=\"7.4\"/>\n",
      "  <node id=\"2\" lat=\"43.7\" lon=\"7.4\" user=\"a\">\n    <tag k=\"amenity\" v=\"cafe\"/>\n  </node>\n",
      "  <node id=\"3\" lat=\"43.1\" lon=\"7.2\">\r\n    <tag k=\"shop\" v=\"bakery\"/>\r\n    <tag k=\"name\" v=\"Caf\xC3\xA9 \xE2\x82\xAC\"/>\r\n  </node>\r\n",
      "  <node id=\"4\" lat=\"43.2\" lon=\"7.3\">\n    <tag k=\"amenity\" v=\"pub\"/>\n",  // no end
      "  <node id=\"5\" lat=\"43.3\" lon=\"7.3\"",                                           // start tag cut
      "  <node id=\"6\" lat=\"43.4\" lon=\"7.5\" note=\"a>b\">\n    <tag k=\"tourism\" v=\"hotel\"/>\n  </node>\n",
      "  <node id=\"7\" lat=\"43.5\" lon=\"7.6\"></node>\n",
      "<nodes>", "</node>", "<node", "<tag", "<tag ", "</nod", "<no", "/>", ">", "<", "/", "\n  ", " ",
      "  <way id=\"8\">\n    <nd ref=\"1\"/>\n    <tag k=\"highway\" v=\"bus_stop\"/>\n  </way>\n",
      "  <way id=\"9\">\n    <nd ref=\"2\"/>\n    <nd ref=\"3\"/>\n    <nd ref=\"2\"/>\n    <tag k=\"building\" v=\"yes\"/>\n    <tag k=\"amenity\" v=\"school\"/>\n  </way>\n",
      "  <relation id=\"10\">\n    <member type=\"node\" ref=\"1\" role=\"\"/>\n    <tag k=\"type\" v=\"route\"/>\n  </relation>\n",
      "  <node id=\"11\" lat=\"1\" lon=\"2\" />\n",
      "  <node id=\"12\" lat=\"43.6\" lon=\"7.1\">\n    <tag k=\"amenity\" v=\"restaurant\"/>\n    <tag k=\"ref\" v=\"A1\"/>\n  </node>\n",
      "  <node id=\"13\" lat=\"43.8\" lon=\"7.0\">\n    <tag k=\"amenity\" v=\"restaurant\"/>\n    <tag k=\"name\" v=\"Chez &quot;Max&quot;\"/>\n  </node>\n",
      "  <node id=\"14\" lat=\"43.9\" lon=\"7.9\"/>\n    <tag k=\"amenity\" v=\"bench\"/>\n",  // a tag after "/>"
      "  <node id=\"15\" lat=\"44.0\" lon=\"8.0\">\n    <tag k=\"amenity\" v=\"cafe\" />\n  </node >\n",
      "<tag k=\"amenity\" v=\"bar\"/>", "\xEF\xBB\xBF", "<node <node ", "</osm>\n",
  };
  std::uniform_int_distribution<size_t> pick(0, pieces.size() - 1);
  std::string text;
  if (random() % 4 != 0) text += pieces[0];
  for (int i = 0; i < count; ++i) text += pieces[pick(random)];
  return text;
}

std::vector<size_t> randomCuts(std::mt19937& random, size_t size, size_t pieces) {
  std::vector<size_t> cuts{0, size};
  std::uniform_int_distribution<size_t> at(0, size);
  for (size_t i = 1; i < pieces; ++i) cuts.push_back(at(random));
  std::sort(cuts.begin(), cuts.end());
  return cuts;
}

}  // namespace waymint::testing

#include "input/format.h"

namespace waymint::input {
namespace {

bool startsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

bool isPbf(std::string_view head) {
  // The BlobHeader's first field is its type: key 0x0A (field 1, bytes), length 9.
  constexpr std::string_view headerType = "\x0A\x09OSMHeader";
  if (head.size() < 4 + headerType.size()) return false;
  const auto byte = [&](size_t i) { return static_cast<unsigned char>(head[i]); };
  const unsigned long length = (byte(0) << 24) | (byte(1) << 16) | (byte(2) << 8) | byte(3);
  return length >= headerType.size() && length < 64 * 1024 &&
         head.substr(4, headerType.size()) == headerType;
}

}  // namespace

bool beginsLikeOsm(std::string_view text) {
  text = text.substr(0, headSize);
  if (startsWith(text, "\xEF\xBB\xBF")) text.remove_prefix(3);
  const size_t first = text.find_first_not_of(" \t\r\n");
  if (first == std::string_view::npos) return false;
  text.remove_prefix(first);
  return startsWith(text, "<?xml") || startsWith(text, "<osm");
}

Format formatOf(std::string_view head) {
  if (isPbf(head)) return Format::Pbf;
  if (head.size() >= 4 && startsWith(head, "BZh") && head[3] >= '1' && head[3] <= '9') {
    return Format::Bzip2;
  }
  if (startsWith(head, "\x1F\x8B")) return Format::Gzip;
  return beginsLikeOsm(head) ? Format::Xml : Format::Unknown;
}

}  // namespace waymint::input

#include "osm/text_search.h"

namespace waymint::osm {

void replaceAll(std::string& out, std::string_view text, std::string_view from,
                std::string_view to) {
  if (from.empty()) {
    out.append(text);
    return;
  }
  size_t start = 0;
  for (size_t at; (at = findText(text, from, start)) != npos; start = at + from.size()) {
    out.append(text.substr(start, at - start));
    out.append(to);
  }
  out.append(text.substr(start));
}

std::string replaceAll(std::string_view text, std::string_view from, std::string_view to) {
  std::string result;
  result.reserve(text.size());
  replaceAll(result, text, from, to);
  return result;
}

}  // namespace waymint::osm

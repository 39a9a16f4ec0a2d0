#pragma once

#include <string>
#include <string_view>

namespace waymint::app {

// The maker's web site and its pages about this program. The program never contacts them
// itself: it hands the addresses to the desktop's browser.
inline constexpr std::string_view makerSite = "https://veltrana.example";
inline constexpr std::string_view programPage = "/osm";
inline constexpr std::string_view downloadPage = "/osm/download";
inline constexpr std::string_view manualPage = "/osm/docs/waymint_doc.pdf";

inline std::string webAddress(std::string_view page) {
  return std::string(makerSite) + std::string(page);
}

}  // namespace waymint::app

# The GPI writer (src/gpi): a layer of the core above osm and platform, below the workflow.
# Included by src/CMakeLists.txt; adds its files to the core's lists and embeds the default
# icon (default_icon.bmp, made by tools/make-default-icon) as bytes.
list(APPEND WAYMINT_CORE_SOURCES
  gpi/areas.cpp gpi/category_gpi.cpp gpi/code_page.cpp gpi/gpi_encoder.cpp
  gpi/gpx_waypoints.cpp gpi/icon.cpp gpi/xml_text.cpp)
list(APPEND WAYMINT_CORE_HEADERS
  gpi/areas.h gpi/bitmap.h gpi/category_gpi.h gpi/code_page.h gpi/default_icon.h
  gpi/gpi_encoder.h gpi/gpx_waypoints.h gpi/icon.h gpi/waypoint.h gpi/xml_text.h)

set(waymint_default_icon ${CMAKE_CURRENT_LIST_DIR}/default_icon.bmp)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${waymint_default_icon})
file(READ ${waymint_default_icon} waymint_icon_hex HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," waymint_icon_bytes "${waymint_icon_hex}")
string(REGEX REPLACE "(('[^']+',){16})" "\\1\n    " waymint_icon_bytes "${waymint_icon_bytes}")
file(CONFIGURE OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/gpi/default_icon_data.cpp CONTENT
"// Made by the build from src/gpi/default_icon.bmp.
#include \"gpi/default_icon.h\"

namespace waymint::gpi::detail {
namespace {
constexpr char bytes[] = {
    @waymint_icon_bytes@};
}  // namespace

std::string_view defaultIconBytes() { return std::string_view(bytes, sizeof bytes); }

}  // namespace waymint::gpi::detail
" @ONLY)
list(APPEND WAYMINT_CORE_SOURCES ${CMAKE_CURRENT_BINARY_DIR}/gpi/default_icon_data.cpp)

# The GPI writer (src/gpi): a layer of the core above osm and platform, below the workflow.
# Included by src/CMakeLists.txt; makes the layer's library and embeds the default icon
# (default_icon.bmp, made by tools/make-default-icon) as bytes.
waymint_layer(gpi BELOW osm platform
  SOURCES areas.cpp category_gpi.cpp code_page.cpp gpi_encoder.cpp gpx_waypoints.cpp icon.cpp
          xml_text.cpp
  HEADERS areas.h bitmap.h category_gpi.h code_page.h default_icon.h gpi_encoder.h
          gpx_waypoints.h icon.h waypoint.h xml_text.h)

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
target_sources(waymint_gpi PRIVATE ${CMAKE_CURRENT_BINARY_DIR}/gpi/default_icon_data.cpp)

#pragma once

#include <string>
#include <string_view>

namespace waymint::testing {

// A file of the project's own test data, tests/data: the compressed real extracts, Monaco as
// .osm.pbf and the GPX schemas (xsd/).
std::string testDataPath(std::string_view relative);

// A real extract of tests/data as plain OSM XML ("monaco.osm", "liechtenstein-2013-08-03.osm"),
// unpacked with bzip2 into the build folder by the test TestData.Unpack before the tests that
// read it.
std::string unpackedExtract(std::string_view name);

}  // namespace waymint::testing

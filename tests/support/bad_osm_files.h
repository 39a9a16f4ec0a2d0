#pragma once

#include <string>
#include <vector>

#include "support/temp_folder.h"

namespace waymint::testing {

// Files the program must refuse, written into `folder`: each path with the message that names
// it (damaged, incomplete, empty, not OSM at all, compressed blanks without end).
struct BadFile {
  std::string path;
  std::string message;
};
std::vector<BadFile> badOsmFiles(const TempFolder& folder);

// An OSM text of `count` tagged nodes, varied enough to compress like a real one.
std::string manyNodes(int count);

}  // namespace waymint::testing

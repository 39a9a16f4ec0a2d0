#include "support/test_data.h"

namespace waymint::testing {

std::string testDataPath(std::string_view relative) {
  return std::string(WAYMINT_TEST_DATA_DIR) + "/" + std::string(relative);
}

std::string unpackedExtract(std::string_view name) {
  return std::string(WAYMINT_UNPACKED_DATA_DIR) + "/" + std::string(name);
}

}  // namespace waymint::testing

#pragma once

#include <cstdint>

namespace waymint::input {

// Told, between two pieces of a file, how many of its bytes have been consumed; it lets the
// program live meanwhile (the window repaints, the user may cancel). Always called on the
// thread that reads the file.
class ReadProgress {
 public:
  virtual ~ReadProgress() = default;
  // False when the reading is to end now.
  virtual bool proceed(std::uint64_t consumed) = 0;
};

}  // namespace waymint::input

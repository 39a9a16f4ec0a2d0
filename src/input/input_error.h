#pragma once

#include <stdexcept>
#include <string>

namespace waymint::input {

// A file that cannot be taken as an OpenStreetMap file: what() is the message for the user,
// naming the file.
class InputError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The user ended the reading early.
struct Cancelled {};

}  // namespace waymint::input

#pragma once

#include <streambuf>
#include <vector>

namespace waymint::cli {

// The tool's standard output: bytes go to a file descriptor through a buffer of their own,
// and the first write that fails is remembered with the system's error number, so that the
// tool can say why its output was lost. What follows a failure is dropped.
class DescriptorOutput : public std::streambuf {
 public:
  explicit DescriptorOutput(int descriptor);
  DescriptorOutput(const DescriptorOutput&) = delete;
  DescriptorOutput& operator=(const DescriptorOutput&) = delete;

  // The error number of the first failed write; 0 while every write went through.
  int error() const { return m_error; }

 protected:
  int_type overflow(int_type c) override;
  int sync() override;

 private:
  // Writes out what the buffer holds; false once a write has failed.
  bool drain();

  int m_descriptor;
  int m_error = 0;
  std::vector<char> m_buffer;
};

}  // namespace waymint::cli

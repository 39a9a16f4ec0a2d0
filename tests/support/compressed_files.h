#pragma once

#include <string>

namespace waymint::testing {

// Texts compressed as the usual tools do, made in the test: a gzip member (`level` 0 stores
// the text uncompressed) and a bzip2 stream (`blockSize` 1 to 9, in 100 000 bytes).
std::string gzipOf(const std::string& text, int level = 6);
std::string bzip2Of(const std::string& text, int blockSize = 9);

// The bit position of the CRC of a bzip2 file's last stream: the 32 bits after its end
// marker, which the file's last 11 bytes hold.
size_t lastStreamCrcBit(const std::string& bzip2);

}  // namespace waymint::testing

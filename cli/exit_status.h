#pragma once

namespace waymint::cli {

// What the tool's exit status tells a script.
inline constexpr int exitOk = 0;
// A run reported a failure: the message is on standard error.
inline constexpr int exitFailure = 1;
// The command line is wrong, or the OSM file cannot be read.
inline constexpr int exitUsage = 2;

}  // namespace waymint::cli

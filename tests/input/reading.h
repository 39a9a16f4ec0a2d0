#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "input/input_error.h"
#include "input/osm_input.h"
#include "input/tagged_node_filter.h"

namespace waymint::testing {

constexpr std::uint64_t megabyte = std::uint64_t{1} << 20;
constexpr std::uint64_t plenty = std::uint64_t{1} << 30;

// Counts the reports of progress; `goOn` says at each (numbered from 1) whether to go on.
struct Progress : input::ReadProgress {
  std::function<bool(int)> goOn = [](int) { return true; };
  int reports = 0;
  bool proceed(std::uint64_t) override { return goOn(++reports); }
};

// The kept text of a file, or "refused: " and the message that refuses it.
inline std::string read(const std::string& path, std::uint64_t limit = plenty, Progress progress = {}) {
  try {
    return std::string(input::readOsmFile(path, progress, limit).view());
  } catch (const input::InputError& error) {
    return std::string("refused: ") + error.what();
  }
}

// The filter's text of `text` handed over in the pieces between `cuts`.
inline std::string filtered(std::string_view text, const std::vector<size_t>& cuts) {
  input::StringOutput out;
  input::TaggedNodeFilter filter(out);
  for (size_t i = 0; i + 1 < cuts.size(); ++i) filter.feed(text.substr(cuts[i], cuts[i + 1] - cuts[i]));
  filter.finish();
  return out.text;
}

inline std::string filtered(std::string_view text) { return filtered(text, {0, text.size()}); }

}  // namespace waymint::testing

#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "app/program.h"
#include "app/state.h"
#include "support/program_fixture.h"
#include "survey/get_tags.h"

namespace waymint::testing {

// A started program whose loaded file is given as text, and the survey run over it.
class SurveyTest : public ProgramTest {
 protected:
  SurveyTest() { start(); }

  void load(std::string bytes) {
    auto& table = program->state.chunks;
    table.bytes = std::move(bytes);
    table.chunkmax = std::max<std::int32_t>(
        1, static_cast<std::int32_t>(table.bytes.size() / static_cast<size_t>(app::chunkSize)));
    table.loaded = true;
  }
  const std::vector<std::string>& survey(std::string bytes) {
    load(std::move(bytes));
    return run();
  }
  const std::vector<std::string>& run() {
    survey::get_tags(*program);
    return program->f1.List1(2).items();
  }
};

inline std::string tag(const std::string& k, const std::string& v) {
  return "    <tag k=\"" + k + "\" v=\"" + v + "\"/>\n";
}
inline std::string node(const std::string& tags) {
  if (tags.empty()) return "  <node id=\"1\" lat=\"43.7\" lon=\"7.4\"/>\n";
  return "  <node id=\"1\" lat=\"43.7\" lon=\"7.4\">\n" + tags + "  </node>\n";
}
inline std::string osm(const std::string& body) {
  return "<?xml version='1.0' encoding='UTF-8'?>\n<osm version=\"0.6\">\n" + body + "</osm>\n";
}

}  // namespace waymint::testing

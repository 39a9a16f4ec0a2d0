#include "survey/get_tags.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "app/node_records.h"
#include "app/program.h"
#include "app/utilities.h"
#include "survey/category_list.h"
#include "survey/record_value.h"

namespace waymint::survey {
namespace {

using platform::Buttons;

constexpr std::string_view notLoadedMessage = "No OSM file is loaded.";
// Records between two progress reports: often enough for the window to repaint many times a
// second, rarely enough to cost nothing.
constexpr unsigned reportEvery = 4096;

void reportProgress(app::Program& program, const app::NodeRecordCutter& records) {
  const auto size = program.state.chunks.bytes.size();
  const double done = size == 0 ? 1.0 : static_cast<double>(std::min(records.position(), size)) /
                                            static_cast<double>(size);
  program.platform.progress(done);
  program.platform.yield();
}

void surveyChunk(app::Program& program, std::int32_t c, CategoryList& categories) {
  auto records = app::chunkRecords(program.state.chunks, c);
  RecordValue found;
  unsigned count = 0;
  for (std::string_view record; records.next(record);) {
    recordValue(record, found);
    for (int i = 0; i < found.failures; ++i) {
      program.platform.messageBox(std::string(invalidCallMessage), Buttons::Ok);
    }
    categories.add(found.value);
    if (++count % reportEvery == 0) reportProgress(program, records);
  }
}

}  // namespace

void get_tags(app::Program& program) {
  auto& list = program.f1.List1(2);
  list.clear();
  if (!program.state.chunks.loaded) {
    program.platform.messageBox(std::string(notLoadedMessage), Buttons::Ok);
    app::busy_off(program);
    return;
  }
  // The scan yields: this keeps a new load from replacing the text under it.
  app::f1::Operation operation(program.f1);
  CategoryList categories;
  for (std::int32_t c = 0; c <= program.state.chunks.chunkmax; ++c) {
    app::busy_on(program);
    surveyChunk(program, c, categories);
  }
  program.platform.yield();
  list.setItems(categories.takeSorted());
  program.platform.progress(std::nullopt);
  app::busy_off(program);
}

}  // namespace waymint::survey

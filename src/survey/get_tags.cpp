#include "survey/get_tags.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "app/messages.h"
#include "app/program.h"
#include "app/utilities.h"
#include "osm/records_holding.h"
#include "survey/category_list.h"
#include "survey/record_value.h"

namespace waymint::survey {
namespace {

using platform::Buttons;

constexpr std::string_view notLoadedMessage = "No OSM file is loaded.";
// Records between two progress reports, and the most text searched between two: often
// enough for the window to repaint many times a second, rarely enough to cost nothing.
constexpr unsigned reportEvery = 4096;
constexpr size_t scanWindow = size_t{8} << 20;

void reportProgress(app::Program& program, const osm::RecordsHolding& records) {
  const auto size = program.state.chunks.bytes.size();
  const double done = size == 0 ? 1.0 : static_cast<double>(std::min(records.scanned(), size)) /
                                            static_cast<double>(size);
  program.platform.progress(done);
  program.platform.yield();
}

// The records whose "<node " starts in chunk c are those that hold a "<tag " before the
// chunk's end (a record without one gives no value and need not be cut at all).
void surveyChunk(app::Program& program, std::int32_t c, osm::RecordsHolding& records,
                 CategoryList& categories, bool& failureShown) {
  const size_t end = program.state.chunks.chunkEnd(c);
  RecordValue found;
  unsigned count = 0;
  while (records.scanned() < end) {
    const size_t upTo = std::min(end, records.scanned() + scanWindow);
    for (std::string_view record; records.next(record, upTo);) {
      recordValue(record, found);
      // One box says that tags could not be read; a box for each of them would bury the
      // user under thousands on a damaged file.
      if (found.failures > 0 && !failureShown) {
        failureShown = true;
        program.platform.messageBox(std::string(app::invalidCallMessage), Buttons::Ok);
      }
      categories.add(found.value);
      if (++count % reportEvery == 0) reportProgress(program, records);
    }
    reportProgress(program, records);
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
  app::f1::Operation operation(program.f1, app::f1::Operation::Kind::Load);
  CategoryList categories;
  bool failureShown = false;
  osm::RecordsHolding records(program.state.chunks.bytes,
                              osm::TextFinder("<tag ", osm::TextFinder::Case::Exact));
  for (std::int32_t c = 0; c <= program.state.chunks.chunkmax; ++c) {
    app::busy_on(program);
    surveyChunk(program, c, records, categories, failureShown);
  }
  program.platform.yield();
  list.setItems(categories.takeSorted());
  program.platform.progress(std::nullopt);
  app::busy_off(program);
}

}  // namespace waymint::survey

#include "survey/get_tags.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "app/program.h"
#include "app/utilities.h"
#include "messages/messages.h"
#include "osm/records_holding.h"
#include "osm/tags.h"
#include "osm/text_search.h"
#include "platform/threads.h"
#include "survey/category_list.h"
#include "survey/record_value.h"

namespace waymint::survey {
namespace {

using platform::Buttons;

// The most text searched before a part says how far it has come and looks whether to stop.
constexpr size_t scanWindow = size_t{8} << 20;
// Below this much text per core, fewer parts do the work as fast.
constexpr size_t smallestPart = size_t{16} << 20;
constexpr auto patience = std::chrono::milliseconds(20);

// The records whose "<node " starts in [begin, end) of the text, surveyed on a thread of its
// own. The parts' values, taken part after part, are the values of the whole text in the
// order of their discovery.
struct Part {
  size_t begin = 0;
  size_t end = 0;
  CategoryList values;
  bool unreadableTags = false;
  std::atomic<size_t> scanned{0};
};

// With exact categories a record gives the value of each of its POI keys, as the runs take
// it: a cafe that is also a shop=coffee is listed under both.
void addExactValues(std::string_view record, CategoryList& values) {
  osm::TagReader tags(record);
  for (osm::Tag tag; tags.next(tag);) {
    if (osm::isPoiKey(tag.key)) values.add(tag.value);
  }
}

// Surveys a part a window at a time; after each, `goOn` says whether to go on.
template <typename GoOn>
void surveyPart(std::string_view text, Part& part, bool exact, GoOn&& goOn) {
  osm::RecordsHolding records(text, osm::TextFinder("<tag ", osm::TextFinder::Case::Exact),
                              part.begin);
  RecordValue found;
  while (records.scanned() < part.end && goOn()) {
    const size_t upTo = std::min(part.end, records.scanned() + scanWindow);
    for (std::string_view record; records.next(record, upTo);) {
      if (exact) {
        addExactValues(record, part.values);
        continue;
      }
      recordValue(record, found);
      part.unreadableTags = part.unreadableTags || found.failures > 0;
      part.values.add(found.value);
    }
    part.scanned = records.scanned() - part.begin;
  }
}

// The text cut into one part per core, each starting at a "<node ".
std::vector<std::unique_ptr<Part>> partsOf(std::string_view text) {
  const size_t cores = platform::coreCount();
  const size_t count = std::clamp<size_t>(text.size() / smallestPart, 1, cores);
  std::vector<std::unique_ptr<Part>> parts;
  size_t begin = 0;
  for (size_t i = 1; i <= count; ++i) {
    size_t end = i == count ? text.size() : osm::findText(text, "<node ", text.size() / count * i);
    if (end == osm::npos) end = text.size();
    if (end <= begin && i < count) continue;
    auto part = std::make_unique<Part>();
    part->begin = begin;
    part->end = end;
    parts.push_back(std::move(part));
    begin = end;
  }
  return parts;
}

// Shows how far the survey has come and lets the window live; false when the user cancels.
bool report(app::Program& program, std::string_view text, const std::vector<std::unique_ptr<Part>>& parts) {
  size_t scanned = 0;
  for (const auto& part : parts) scanned += part->scanned;
  program.platform.progress(std::string(messages::surveying),
                            text.empty() ? 1.0 : static_cast<double>(scanned) / static_cast<double>(text.size()),
                            true);
  program.platform.yield();
  return !program.platform.cancelRequested();
}

// Runs the parts on threads of their own while the window lives; the parts no thread could
// be started for run here, between reports. False when the user cancelled.
bool surveyParts(app::Program& program, std::string_view text,
                 std::vector<std::unique_ptr<Part>>& parts) {
  const bool exact = program.state.choices.exact;
  std::atomic<bool> stop{false};
  std::mutex mutex;
  std::condition_variable finished;
  size_t running = parts.size();
  platform::ThreadGroup threads;
  size_t started = 0;
  while (started < parts.size() && threads.start([&, &part = *parts[started]] {
    surveyPart(text, part, exact, [&] { return !stop; });
    std::lock_guard lock(mutex);
    --running;
    finished.notify_one();
  })) {
    ++started;
  }
  {
    std::lock_guard lock(mutex);
    running -= parts.size() - started;
  }
  bool cancelled = false;
  for (size_t i = started; i < parts.size() && !cancelled; ++i) {
    surveyPart(text, *parts[i], exact, [&] { return !(cancelled = !report(program, text, parts)); });
  }
  for (bool done = cancelled; !done;) {
    {
      std::unique_lock lock(mutex);
      done = finished.wait_for(lock, patience, [&] { return running == 0; });
    }
    cancelled = !report(program, text, parts);
    done = done || cancelled;
  }
  stop = true;
  threads.join();
  return !cancelled;
}

}  // namespace

bool get_tags(app::Program& program) {
  auto& list = program.f1.List1(2);
  list.clear();
  if (!program.state.chunks.loaded) {
    program.platform.messageBox(std::string(messages::noOsmFileLoaded), Buttons::Ok);
    app::busy_off(program);
    return true;
  }
  // The scan yields: this keeps a new load from replacing the text under it.
  app::f1::Operation operation(program.f1, app::f1::Operation::Kind::Load);
  app::busy_on(program);
  const std::string_view text = program.state.chunks.bytes;
  std::vector<std::unique_ptr<Part>> parts = partsOf(text);
  const bool completed = surveyParts(program, text, parts);
  program.platform.progressDone();
  if (completed) {
    CategoryList categories;
    bool unreadableTags = false;
    for (const auto& part : parts) {
      for (const std::string& value : part->values.entries()) categories.add(value);
      unreadableTags = unreadableTags || part->unreadableTags;
    }
    // One box says that tags could not be read; a box for each of them would bury the user
    // under thousands on a damaged file.
    if (unreadableTags) {
      program.platform.messageBox(std::string(messages::invalidCall), Buttons::Ok);
    }
    list.setItems(categories.takeSorted());
  }
  app::busy_off(program);
  return completed;
}

}  // namespace waymint::survey

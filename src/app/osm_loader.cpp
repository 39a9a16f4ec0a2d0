#include "app/osm_loader.h"

#include <algorithm>
#include <new>

#include "app/caption.h"
#include "app/program.h"
#include "app/utilities.h"
#include "input/area_records.h"
#include "input/input_error.h"
#include "input/osm_input.h"
#include "messages/messages.h"
#include "platform/files.h"

namespace waymint::app {
namespace {

namespace files = platform::files;

// Shows how much of the file has been read, lets the window live between pieces, and passes
// on the user's wish to cancel.
class LoadProgress : public input::ReadProgress {
 public:
  LoadProgress(platform::Platform& machine, const std::string& name, std::uint64_t length)
      : m_machine(machine), m_activity(messages::reading(fileNameOf(name))), m_length(length) {}

  bool proceed(std::uint64_t consumed) override {
    const double fraction =
        m_length == 0 ? 1.0 : std::min(1.0, static_cast<double>(consumed) / static_cast<double>(m_length));
    m_machine.progress(m_activity, fraction, true);
    m_machine.yield();
    return !m_machine.cancelRequested();
  }

 private:
  static std::string fileNameOf(const std::string& path) {
    const size_t cut = path.find_last_of("/\\");
    return cut == std::string::npos ? path : path.substr(cut + 1);
  }

  platform::Platform& m_machine;
  std::string m_activity;
  std::uint64_t m_length;
};

std::uint64_t lengthOf(const std::string& name) {
  try {
    return files::length(name);
  } catch (const files::IoError&) {
    return 0;  // the reading says why
  }
}

}  // namespace

std::int32_t chunkmaxFor(std::uint64_t length) {
  return static_cast<std::int32_t>(
      std::max<std::uint64_t>(1, length / static_cast<std::uint64_t>(chunkSize)));
}

Loaded loadbinary(Program& program, const std::string& name, ChunkTable& into) {
  platform::Platform& machine = program.platform;
  cap(program);
  machine.yield();
  program.state.starttime = machine.secondsSinceMidnight();
  busy_on(program);
  LoadProgress progress(machine, name, lengthOf(name));
  std::string failure;
  try {
    if (!progress.proceed(0)) throw input::Cancelled{};
    const std::uint64_t memory = machine.memoryForLoading();
    if (program.state.choices.areas) {
      into.bytes = input::readOsmFileWithAreas(name, progress, memory);
      into.withAreas = true;
    } else {
      into.bytes = input::readOsmFile(name, progress, memory);
    }
    into.file = name;
    into.chunkmax = chunkmaxFor(into.bytes.size());
    into.loaded = true;
  } catch (const input::Cancelled&) {
    into = ChunkTable{};
    machine.progressDone();
    busy_off(program);
    return Loaded::Cancelled;
  } catch (const input::InputError& error) {
    failure = error.what();
  } catch (const files::IoError& error) {
    failure = messages::fileFailure(name, error.what());
  } catch (const std::bad_alloc&) {
    failure = messages::outOfMemory;
  } catch (const std::length_error&) {
    failure = messages::outOfMemory;
  }
  machine.yield();
  if (!failure.empty()) {
    into = ChunkTable{};
    machine.progressDone();
    machine.messageBox(failure, platform::Buttons::Ok);
    busy_off(program);
    return Loaded::Failed;
  }
  busy_off(program);
  return Loaded::Yes;
}

}  // namespace waymint::app

#include "app/osm_loader.h"

#include <algorithm>
#include <new>

#include "app/caption.h"
#include "app/messages.h"
#include "app/program.h"
#include "app/utilities.h"
#include "platform/files.h"

namespace waymint::app {
namespace {

namespace files = platform::files;

// Shows how much of the file has been read, and lets the window repaint between pieces.
void onPiece(void* context, double fraction) {
  auto& machine = *static_cast<platform::Platform*>(context);
  machine.progress(fraction);
  machine.yield();
}

}  // namespace

std::int32_t chunkmaxFor(std::uint64_t length) {
  return static_cast<std::int32_t>(
      std::max<std::uint64_t>(1, length / static_cast<std::uint64_t>(chunkSize)));
}

bool loadbinary(Program& program, const std::string& name, ChunkTable& into) {
  platform::Platform& machine = program.platform;
  cap(program);
  machine.yield();
  program.state.starttime = machine.secondsSinceMidnight();
  busy_on(program);
  machine.progress(0.0);
  std::string failure;
  try {
    into.bytes = files::readWholeBuffer(name, onPiece, &machine);
    into.chunkmax = chunkmaxFor(into.bytes.size());
    into.loaded = true;
  } catch (const files::IoError& error) {
    failure = error.what();
  } catch (const std::bad_alloc&) {
    failure = outOfMemoryMessage;
  } catch (const std::length_error&) {
    failure = outOfMemoryMessage;
  }
  machine.yield();
  if (!failure.empty()) {
    into = ChunkTable{};
    machine.progress(std::nullopt);
    machine.messageBox(failure, platform::Buttons::Ok);
    busy_off(program);
    return false;
  }
  busy_off(program);
  return true;
}

}  // namespace waymint::app

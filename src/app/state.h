#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "app/choices.h"
#include "app/state_file_extras.h"
#include "app/state_location.h"
#include "platform/byte_buffer.h"

namespace waymint::app {

// Bytes of the chunk size: the loaded file is kept as chunks of this many characters.
inline constexpr std::int64_t chunkSize = 48673404;

// The loaded OSM file: its bytes, held once, and the chunk table over them. Chunk k holds
// the bytes from chunkSize × k on (at most chunkSize of them); the blanks that would pad a
// short chunk are not stored.
struct ChunkTable {
  platform::ByteBuffer bytes;
  std::int32_t chunkmax = 0;
  bool loaded = false;
  // The file it was read from, and whether its areas were added to it as node records.
  std::string file;
  bool withAreas = false;

  // Where the text ends whose node records start in chunks 0 to k: the start of chunk k + 1,
  // or the end of the file for the last chunk, which takes every record up to it.
  size_t chunkEnd(std::int32_t k) const;
};

// The process-wide record of named fields that every part of the program reads and writes.
// Created zero-initialised at start; alive until the process ends.
struct State {
  std::string apppath;
  std::string osmfile;
  std::string crlf;
  std::string quote;
  std::string stylepath;
  float version = 0.0f;
  std::string spare;
  std::array<std::string, 3> restemplates;
  bool alert = false;
  std::string gpxfolder;
  std::string loaderpath;
  std::optional<std::string> lastosm;
  // What the user chose beside the first behaviour; kept in the state file's extra lines.
  Choices choices;
  // The state file's lines after its 22 values, this program's and a later one's.
  StateFileExtras extras;
  // Where the state file is kept, decided at start-up.
  StateLocation statelocation;
  ChunkTable chunks;
  double starttime = 0.0;

  // Fields of the category extraction run.
  std::string category;
  std::string gpxpath;
  bool merging = false;
  std::string soundlink;
  std::int16_t proximity = 0;
  std::int16_t speed = 0;
  // The names taken by the current run, by their hash: each is an entry of List1(0), by its
  // index, where it is compared; so a name is held once however long it is.
  std::unordered_multimap<std::size_t, int> seennames;
  bool addmode = false;

  // The icon expected beside the chosen category's GPX.
  std::string bmppath;
  // The entry of List1(2) whose POIs and GPX the window shows (a category press sets it);
  // nothing while it shows none.
  std::optional<std::string> shownCategory;
};

}  // namespace waymint::app

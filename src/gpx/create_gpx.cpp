#include "gpx/create_gpx.h"

#include <algorithm>
#include <cstdint>
#include <exception>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/program.h"
#include "app/utilities.h"
#include "gpx/gpx_document.h"
#include "gpx/gpx_lock.h"
#include "gpx/gpx_paths.h"
#include "gpx/parse.h"
#include "gpx/record_selection.h"
#include "messages/messages.h"
#include "osm/number_text.h"
#include "platform/files.h"

namespace waymint::gpx {
namespace {

namespace files = platform::files;
using platform::Buttons;

// The event loop gets a turn after this many records taken, and after each stretch of text
// searched, so that the window stays alive on big files.
constexpr int recordsPerYield = 4096;
constexpr size_t scanWindow = size_t{8} << 20;

class ExtractionRun {
 public:
  ExtractionRun(app::Program& program, bool aa)
      : m_program(program),
        m_state(program.state),
        m_window(program.f1),
        m_aa(aa),
        m_listed2(program.f1.List2.count()) {}

  RunResult execute();
  // Ends the run after a failure: reports it once. The file on disk was not touched unless
  // `written` (the GPX was replaced, only its folder's flush failed): else no POI counts as
  // added.
  RunResult fail(const std::string& description, bool written = false);
  // The same when memory ran out, saying what the run was doing: writing the GPX or listing
  // the category.
  RunResult failOutOfMemory();

 private:
  RunResult::End takeCategory();
  bool makeFolder();
  RunResult::End lockGpxFile();
  void removeMadeFolder();
  void showIcon();
  bool prepareWriting();
  void readAlertValues();
  bool mergeOldFile();
  void scan();
  void scanUpTo(CategoryRecords& records, size_t end);
  // Lets the window live and shows how far the text has been searched.
  void breathe(const CategoryRecords& records);
  void finish();
  void message(std::string_view text) {
    m_program.platform.messageBox(std::string(text), Buttons::Ok);
  }

  app::Program& m_program;
  app::State& m_state;
  app::f1& m_window;
  const bool m_aa;
  const int m_listed2;  // entries of List2 before the run
  std::string m_category;
  std::string m_listed;  // the category as the list shows it, blanks and all
  CategoryPaths m_paths;
  GpxDocument m_document;
  int m_taken = 0;
  bool m_madeFolder = false;  // the category folder is this run's
  std::optional<files::FolderLock> m_lock;  // held from reading the GPX to replacing it
};

RunResult ExtractionRun::execute() {
  using End = RunResult::End;
  if (const End taken = takeCategory(); taken != End::Complete) return {taken};
  if (!makeFolder()) return {End::NoFolder};
  if (m_aa) {
    if (const End locked = lockGpxFile(); locked != End::Complete) return {locked};
  }
  m_state.gpxpath = m_paths.gpx;
  showIcon();
  m_state.merging = false;
  // A new GPX with details is UTF-8; one being extended keeps the encoding it declares.
  if (m_state.choices.details) m_document.setEncoding(GpxEncoding::Utf8);
  if (m_aa && !prepareWriting()) return {End::NotMerged};
  scan();
  if (m_aa) {
    m_document.procsave("</gpx>");
    files::replaceWhole(m_paths.gpx, m_document.bytes());
  }
  finish();
  return {End::Complete, m_window.List2.count() - m_listed2};
}

RunResult ExtractionRun::fail(const std::string& description, bool written) {
  // The window lists as added what the GPX holds, already while the message is up (the window
  // shows itself meanwhile).
  if (!written && m_window.List2.count() > m_listed2) {
    std::vector<std::string> kept(m_window.List2.items().begin(),
                                  m_window.List2.items().begin() + m_listed2);
    m_window.List2.setItems(std::move(kept));
  }
  if (!written) removeMadeFolder();
  message(description);
  finish();
  return {RunResult::End::Failed, written ? m_window.List2.count() - m_listed2 : 0};
}

RunResult ExtractionRun::failOutOfMemory() {
  m_document = GpxDocument();  // what ran out, given back before the message is made
  return fail(m_aa && !m_paths.gpx.empty() ? messages::outOfMemoryWriting(m_paths.gpx)
                                           : messages::outOfMemoryListing(m_category));
}

RunResult::End ExtractionRun::takeCategory() {
  const platform::ListBox& categories = m_window.List1(2);
  if (categories.selectedIndex() < 0) {
    message(messages::pleaseSelect);
    return RunResult::End::NothingSelected;
  }
  const std::string& listed = categories.item(categories.selectedIndex());
  m_category = listed;
  std::erase(m_category, ' ');
  // Blanks alone would search for nothing, so find every node, and name a GPX of no name.
  if (m_category.empty()) {
    message(messages::blankCategory(listed));
    return RunResult::End::BlankCategory;
  }
  m_window.Text4.setText(listed);
  m_listed = listed;
  m_state.category = m_category;
  m_paths = categoryPaths(m_state.gpxfolder, m_category);
  m_window.Text4.setText(fileName(m_category));
  return RunResult::End::Complete;
}

bool ExtractionRun::makeFolder() {
  if (!m_aa || files::exists(m_paths.folder)) return true;
  if (!app::makdir(m_program, m_paths.folder)) return false;
  m_madeFolder = true;
  return true;
}

RunResult::End ExtractionRun::lockGpxFile() {
  const auto take = [this] {
    if (auto lock = lockGpx(m_program, m_paths.gpx)) m_lock.emplace(std::move(*lock));
  };
  try {
    take();
  } catch (const files::IoError&) {
    // The run this one waited for failed and took away the folder it had made: made again.
    if (files::exists(m_paths.folder)) throw;
    if (!makeFolder()) return RunResult::End::NoFolder;
    take();
  }
  return m_lock ? RunResult::End::Complete : RunResult::End::InUse;
}

// A run that failed leaves no empty folder of its own making. Only while it holds the lock:
// then no other run is writing into it, and one that waits for it makes it again.
void ExtractionRun::removeMadeFolder() {
  if (m_madeFolder && m_lock) files::removeEmptyFolder(m_paths.folder);
}

void ExtractionRun::showIcon() {
  platform::Picture& icon = m_window.Image1;
  const platform::Picture& fallback = m_window.Picture1;
  if (files::isOrdinaryFile(m_paths.icon)) {
    icon.showFile(m_paths.icon);
  } else if (!fallback.file().empty()) {
    icon.showFile(fallback.file());
  } else {
    icon.showResource(fallback.resource());
  }
}

bool ExtractionRun::prepareWriting() {
  const SoundFormat format = m_window.Opt(0).value()   ? SoundFormat::Wav
                             : m_window.Opt(1).value() ? SoundFormat::Mp3
                                                       : SoundFormat::None;
  m_state.soundlink = soundLink(m_state.gpxfolder, m_category, m_window.Text4.text(), format);
  readAlertValues();
  if (!files::isOrdinaryFile(m_paths.gpx)) return true;
  if (m_state.addmode) return mergeOldFile();
  // Without the create button's request the new waypoints follow the file as it stands.
  m_document.continueFrom(files::readWhole(m_paths.gpx));
  return true;
}

void ExtractionRun::readAlertValues() {
  if (auto speed = osm::boxNumber(m_window.Text3(0).text())) {
    m_state.speed = *speed;
  } else {
    message(messages::overflow);
  }
  if (auto proximity = osm::boxNumber(m_window.Text3(1).text())) {
    m_state.proximity = *proximity;
  } else {
    message(messages::overflow);
  }
}

bool ExtractionRun::mergeOldFile() {
  // As loadtext reads, except that a read that fails ends the run with its one message.
  m_state.starttime = m_program.platform.secondsSinceMidnight();
  m_state.osmfile = m_paths.gpx;
  app::busy_on(m_program);
  // Room for the closing line beside the old text, so that the document does not grow twice
  // as big as the file to take it.
  std::string old = files::readWhole(m_paths.gpx, 4096);
  m_program.platform.yield();
  const size_t closing = old.rfind("</gpx>");
  if (closing == std::string::npos) {
    message(messages::errorMerging(m_paths.gpx));
    return false;
  }
  // The body goes on up to the closing line, less the one character just before it.
  old.resize(closing > 0 ? closing - 1 : 0);
  m_document.extend(std::move(old));
  m_state.merging = true;
  return true;
}

void ExtractionRun::scan() {
  m_window.List1(0).clear();
  m_state.seennames.clear();
  const app::ChunkTable& chunks = m_state.chunks;
  const std::string_view text = chunks.bytes;
  CategoryRecords records = m_state.choices.exact
                                ? CategoryRecords(text, m_listed, CategoryRecords::Matching::Exact)
                                : CategoryRecords(text, m_category);
  for (std::int32_t k = 0; k <= chunks.chunkmax; ++k) {
    app::busy_on(m_program);
    m_program.platform.yield();
    if (m_aa && !m_document.started()) initgpx(m_document, m_paths.folder);
    scanUpTo(records, chunks.chunkEnd(k));
  }
}

void ExtractionRun::scanUpTo(CategoryRecords& records, size_t end) {
  while (records.scanned() < end) {
    const size_t upTo = std::min(end, records.scanned() + scanWindow);
    for (std::string_view record; records.next(record, upTo);) {
      parse(m_program, record, m_aa, m_document);
      if (++m_taken % recordsPerYield == 0) breathe(records);
    }
    breathe(records);
  }
}

void ExtractionRun::breathe(const CategoryRecords& records) {
  m_program.platform.yield();
  const auto size = static_cast<double>(m_state.chunks.bytes.size());
  const double done = size == 0 ? 1.0 : std::min(1.0, static_cast<double>(records.scanned()) / size);
  m_program.platform.progress(
      m_aa ? messages::writingProgress(m_category) : messages::listingProgress(m_category), done,
      false);
}

void ExtractionRun::finish() {
  app::busy_off(m_program);
  m_program.platform.progressDone();
}

}  // namespace

RunResult create_gpx(app::Program& program, bool aa) {
  if (program.f1.loadOrRunInProgress()) return {};
  app::f1::Operation running(program.f1, app::f1::Operation::Kind::Run);
  ExtractionRun run(program, aa);
  try {
    return run.execute();
  } catch (const platform::files::FolderNotFlushed& error) {
    return run.fail(error.message(), true);
  } catch (const platform::files::IoError& error) {
    return run.fail(error.message());
  } catch (const std::bad_alloc&) {
    return run.failOutOfMemory();
  } catch (const std::exception& error) {
    return run.fail(error.what());
  }
}

}  // namespace waymint::gpx

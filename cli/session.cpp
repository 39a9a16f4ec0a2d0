#include "cli/session.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>

#include "cli/escape.h"
#include "messages/messages.h"
#include "platform/files.h"
#include "workflow/connect.h"

namespace waymint::cli {
namespace {

namespace files = platform::files;

constexpr std::string_view clearToEnd = "\033[K";

// Why `path` cannot be opened as an OSM file, checked before the window tries (File > Open
// would pass over a folder or a missing file without a word).
std::optional<std::string> unreadable(const std::string& path) {
  if (files::isFolder(path)) return std::strerror(EISDIR);
  if (files::isOrdinaryFile(path)) {
    if (path.find('*') != std::string::npos) return std::string(messages::starNotOpened);
    return std::nullopt;
  }
  if (path.empty()) return std::strerror(ENOENT);
  try {
    files::length(path);
  } catch (const files::IoError& error) {
    return error.what();
  }
  return std::string(messages::notOrdinaryFile);
}

}  // namespace

Session::Session(std::ostream& out, std::ostream& err, bool progressShown)
    : m_out(out), m_err(err), m_showProgress(progressShown), m_program(m_machine) {
  workflow::connect(m_program);
  // A script waits for a run of another process on the same GPX rather than giving up.
  m_machine.setWaitsForBusyFiles(true);
  m_machine.onMessage([this](const std::string& text) { showMessage(text); });
  m_machine.onProgress([this](const std::string& activity, std::optional<double> fraction) {
    showProgress(activity, fraction);
  });
  window().startUp(false);
}

bool Session::load(const std::string& osmFile) {
  if (auto why = unreadable(osmFile)) {
    complain(messages::cannotRead(osmFile, *why));
    return false;
  }
  m_loading = osmFile;
  const std::optional<app::Loaded> loaded = window().openChosen(osmFile);
  m_loading.clear();
  clearProgress();
  if (loaded == app::Loaded::Yes) return true;
  // A read that failed has been reported by the loader, naming the file; a file passed over
  // (gone since the check above) or a cancelled load has not.
  if (loaded != app::Loaded::Failed) complain(messages::cannotRead(osmFile, messages::notOpened));
  return false;
}

bool Session::choose(const std::string& category) {
  platform::ListBox& categories = window().List1(2);
  for (int i = 0; i < categories.count(); ++i) {
    if (escaped(categories.item(i)) == category) {
      categories.setSelectedIndex(i);
      return true;
    }
  }
  // A category whose characters the tool escapes only since it escapes them (a direction
  // override, a C1 control) is still found as it is written.
  for (int i = 0; i < categories.count(); ++i) {
    if (categories.item(i) == category) {
      categories.setSelectedIndex(i);
      return true;
    }
  }
  categories.setSelectedIndex(-1);
  return false;
}

void Session::print(std::initializer_list<std::string_view> fields) {
  clearProgress();
  const char* separator = "";
  for (std::string_view field : fields) {
    m_out << separator << escaped(field);
    separator = "\t";
  }
  m_out << '\n';
}

void Session::complain(std::string_view text) {
  clearProgress();
  m_out.flush();
  m_err << messages::cliPrefix << escapedMessage(text) << '\n';
  m_err.flush();
}

void Session::showMessage(const std::string& text) {
  // While the file is being read, a message is the loader's: say which file it concerns,
  // unless it does. In a run, say which category it concerns.
  if (!m_loading.empty() && text.rfind(m_loading, 0) != 0) {
    complain(messages::cannotRead(m_loading, text));
  } else if (!m_subject.empty()) {
    complain(messages::aboutCategory(m_subject, text));
  } else {
    complain(text);
  }
}

void Session::showProgress(const std::string& activity, std::optional<double> fraction) {
  if (!m_showProgress) return;
  if (!fraction) {
    clearProgress();
    return;
  }
  const int percent = static_cast<int>(std::floor(std::clamp(*fraction, 0.0, 1.0) * 100.0));
  // The activity names the file or the category: escaped as every other text of a file.
  std::string line = escaped(activity) + " " + std::to_string(percent) + "%";
  if (line == m_progressLine) return;
  m_progressLine = std::move(line);
  m_err << '\r' << m_progressLine << clearToEnd;
  m_err.flush();
}

void Session::clearProgress() {
  if (m_progressLine.empty()) return;
  m_err << '\r' << clearToEnd;
  m_err.flush();
  m_progressLine.clear();
}

}  // namespace waymint::cli

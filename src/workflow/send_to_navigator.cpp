// GPI files beside the GPX files, and onto a connected navigator.
#include "workflow/send_to_navigator.h"

#include <optional>

#include "app/program.h"
#include "gpi/icon.h"
#include "gpx/gpx_paths.h"
#include "messages/messages.h"
#include "navigator/navigator.h"
#include "navigator/send.h"
#include "platform/files.h"

namespace waymint::workflow {
namespace files = platform::files;
using platform::Answer;
using platform::Buttons;

namespace {

using Lines = std::vector<std::string>;

std::string joinedLines(const Lines& lines) {
  std::string text;
  for (const std::string& line : lines) {
    if (!text.empty()) text += "\r\n";
    text += line;
  }
  return text;
}

void tell(app::Program& program, const std::string& text) {
  program.platform.messageBox(text, Buttons::Ok);
}

std::string iconBeside(const std::string& gpxPath) {
  std::string icon = gpi::gpiPathFor(gpxPath);
  return icon.replace(icon.size() - 4, 4, ".bmp");
}

// The folder of the navigator to send to, after saying why there is none.
std::optional<std::string> chooseNavigator(app::Program& program, const SendRequest& request) {
  if (!request.navigator.empty()) {
    if (files::isFolder(request.navigator)) return request.navigator;
    tell(program, messages::notAFolder(request.navigator));
    return std::nullopt;
  }
  const Lines found = navigator::navigatorFolders(program.platform.mountPlaces());
  if (found.size() == 1) return found.front();
  if (found.empty()) {
    tell(program, messages::noNavigatorFound(request.askWhichNavigator ? messages::nameItInWindow
                                                                        : messages::nameItWithDevice));
    return std::nullopt;
  }
  if (!request.askWhichNavigator) {
    std::string list;
    for (const std::string& folder : found) {
      list += navigator::describeNavigator(folder, navigator::modelOf(folder)) + "\r\n";
    }
    tell(program, messages::severalNavigators(list));
    return std::nullopt;
  }
  for (const std::string& folder : found) {
    const std::string name = navigator::describeNavigator(folder, navigator::modelOf(folder));
    if (program.platform.messageBox(messages::sendToThisNavigator(name), Buttons::YesNo,
                                    Answer::No) == Answer::Yes) {
      return folder;
    }
  }
  tell(program, std::string(messages::noNavigatorChosen));
  return std::nullopt;
}

// The category folders to send, by name; those asked for that are missing go into `notes`.
Lines categoriesToSend(app::Program& program, const SendRequest& request, Lines& notes) {
  if (request.categories.empty()) {
    Lines all = navigator::categoryFolders(request.gpxFolder);
    if (all.empty()) tell(program, messages::noCategoryFolders(request.gpxFolder));
    return all;
  }
  Lines chosen;
  for (const std::string& category : request.categories) {
    const std::string name = gpx::fileName(category);
    if (files::isOrdinaryFile(navigator::categoryFile(request.gpxFolder, name, ".gpx"))) {
      chosen.push_back(name);
    } else {
      notes.push_back(messages::noSuchCategoryFolder(request.gpxFolder, name));
    }
  }
  return chosen;
}

// Asks whether an icon navigators cannot show is to become the default icon, and makes it so.
void offerDefaultIcon(app::Program& program, const std::string& iconPath) {
  if (!files::isOrdinaryFile(iconPath)) return;
  const gpi::IconRead read = gpi::readIconFile(iconPath);
  if (read.check.fine()) return;
  if (program.platform.messageBox(messages::offerDefaultIcon(read.check.message, iconPath),
                                  Buttons::YesNo, Answer::No) != Answer::Yes) {
    return;
  }
  try {
    gpi::writeDefaultIcon(iconPath);
  } catch (const files::IoError& error) {
    tell(program, error.message());
  }
}

// The sending itself, once the navigator and the categories are known.
class Sending {
 public:
  Sending(app::Program& program, const SendRequest& request, std::string folder, Lines notes)
      : m_program(program), m_request(request), m_folder(std::move(folder)),
        m_notes(std::move(notes)) {}

  SendOutcome run(const Lines& categories) {
    const navigator::Model model = navigator::modelOf(m_folder);
    m_name = navigator::describeNavigator(m_folder, model);
    if (!model.note.empty()) m_notes.insert(m_notes.begin(), model.note);
    SendOutcome outcome;
    const navigator::Written prepared = navigator::preparePoiFolder(m_program.platform, m_folder);
    if (prepared.outcome != navigator::Outcome::Written) {
      tell(m_program, prepared.message + "\r\n" + messages::nothingSentTo(m_name));
      return outcome;
    }
    // Categories asked for and not found have been noted: the sending is not complete.
    outcome.complete = m_notes.size() == (model.note.empty() ? 0u : 1u);
    for (size_t i = 0; i < categories.size() && !m_stopped; ++i) {
      if (i > 0) m_program.platform.yield();  // the window repaints between files
      m_program.platform.progress(std::string(messages::sendingTo),
                                  static_cast<double>(i) / categories.size(), false);
      if (!sendOne(categories[i], outcome)) outcome.complete = false;
      if (m_stopped && i + 1 < categories.size()) {
        m_notes.push_back(messages::notSentAfter(categories.size() - i - 1));
      }
    }
    m_program.platform.progressDone();
    report(outcome);
    return outcome;
  }

 private:
  bool sendOne(const std::string& category, SendOutcome& outcome) {
    const std::string gpx = navigator::categoryFile(m_request.gpxFolder, category, ".gpx");
    if (m_request.offerDefaultIcon) offerDefaultIcon(m_program, iconBeside(gpx));
    const gpi::GpiReport made =
        gpi::writeCategoryGpi(gpx, iconBeside(gpx), category, gpi::freshCreationTime());
    if (!made.written) {
      m_notes.push_back(made.error);
      return false;
    }
    for (std::string& note : made.notes()) m_notes.push_back(std::move(note));
    std::string bytes;
    try {
      bytes = files::readWhole(made.gpiPath);
    } catch (const files::IoError& error) {
      m_notes.push_back(error.message());
      return false;
    }
    const navigator::Written written =
        navigator::writeGpi(m_program.platform, m_folder, category, bytes);
    if (written.outcome == navigator::Outcome::Written) {
      outcome.sent.push_back({category, written.path, made.pois});
      return true;
    }
    m_failure = written.message;
    m_stopped = written.outcome != navigator::Outcome::Failed;
    if (!m_stopped) m_notes.push_back(std::exchange(m_failure, ""));
    return false;
  }

  void report(const SendOutcome& outcome) {
    Lines lines;
    if (outcome.sent.empty()) {
      lines.push_back(messages::nothingSentTo(m_name));
    } else {
      lines.push_back(messages::sentTo(m_name));
      for (const SentFile& file : outcome.sent) {
        lines.push_back(messages::gpiSent(file.path, file.pois));
      }
    }
    if (!m_failure.empty()) lines.push_back(m_failure);
    lines.insert(lines.end(), m_notes.begin(), m_notes.end());
    if (files::isFolder(m_folder)) {
      if (auto room = files::freeBytes(m_folder)) {
        lines.push_back(messages::roomLeft(navigator::roomText(*room)));
      }
    }
    tell(m_program, joinedLines(lines));
  }

  app::Program& m_program;
  const SendRequest& m_request;
  const std::string m_folder;
  Lines m_notes;
  std::string m_name;
  std::string m_failure;  // what ended the sending
  bool m_stopped = false;
};

}  // namespace

gpi::GpiReport writeGpiBeside(app::Program& program, const std::string& gpxPath,
                              const std::string& category) {
  gpi::GpiReport report =
      gpi::writeCategoryGpi(gpxPath, iconBeside(gpxPath), category, gpi::freshCreationTime());
  if (!report.written) tell(program, report.error);
  for (const std::string& note : report.notes()) tell(program, note);
  return report;
}

SendOutcome sendToNavigator(app::Program& program, const SendRequest& request) {
  if (!files::isFolder(request.gpxFolder)) {
    tell(program, messages::notAFolder(request.gpxFolder));
    return {};
  }
  Lines notes;
  const Lines categories = categoriesToSend(program, request, notes);
  if (categories.empty()) {
    if (!notes.empty()) tell(program, joinedLines(notes));
    return {};
  }
  const std::optional<std::string> folder = chooseNavigator(program, request);
  if (!folder) return {};
  return Sending(program, request, *folder, std::move(notes)).run(categories);
}

void Command6_Click(app::Program& program) {
  app::f1& window = program.f1;
  if (window.operationInProgress()) return;
  app::f1::Operation operation(window);
  SendRequest request;
  request.gpxFolder = program.state.gpxfolder;
  request.askWhichNavigator = true;
  request.offerDefaultIcon = true;
  program.platform.setBusyPointer(true);
  sendToNavigator(program, request);
  program.platform.setBusyPointer(false);
}

}  // namespace waymint::workflow

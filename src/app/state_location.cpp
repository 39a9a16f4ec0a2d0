#include "app/state_location.h"

#include <optional>

#include "app/program.h"
#include "messages/messages.h"
#include "platform/files.h"
#include "platform/platform.h"

namespace waymint::app {
namespace {

namespace files = platform::files;

const char* const stateFileName = "/osm_pois.dat";

std::string withoutTrailingSeparators(std::string folder) {
  while (!folder.empty() && folder.back() == '/') folder.pop_back();
  return folder;
}

bool installedAsLinuxPrograms(const std::string& programFolder) {
  const std::string folder = withoutTrailingSeparators(programFolder);
  if (!folder.ends_with("/bin")) return false;
  return files::isOrdinaryFile(folder + "/../share/applications/" + std::string(desktopId) +
                               ".desktop");
}

}  // namespace

std::string configFolder(platform::Platform& machine) {
  const std::optional<std::string> configHome = machine.environmentVariable("XDG_CONFIG_HOME");
  if (configHome && configHome->starts_with('/')) {
    return withoutTrailingSeparators(*configHome) + "/waymint";
  }
  return withoutTrailingSeparators(machine.homeFolder()) + "/.config/waymint";
}

StateLocation locateStateFile(platform::Platform& machine, const std::string& programFolder) {
  StateLocation location;
  const std::string beside = programFolder + stateFileName;
  if (!installedAsLinuxPrograms(programFolder) && !machine.whyNotWritable(programFolder)) {
    location.folder = programFolder;
    if (files::isOrdinaryFile(beside)) location.readFrom = beside;
    return location;
  }
  location.folder = configFolder(machine);
  location.inConfigFolder = true;
  const std::string kept = location.folder + stateFileName;
  if (files::isOrdinaryFile(kept)) {
    location.readFrom = kept;
  } else if (files::isOrdinaryFile(beside)) {
    location.readFrom = beside;
  }
  return location;
}

bool stateFolderReady(Program& program) {
  StateLocation& location = program.state.statelocation;
  if (!location.inConfigFolder) return true;
  std::optional<std::string> problem;
  try {
    if (!files::isFolder(location.folder)) files::makePrivateFolders(location.folder);
    problem = program.platform.whyNotWritable(location.folder);
  } catch (const files::IoError& error) {
    problem = error.what();
  }
  if (!problem) return true;
  if (!location.toldUnwritable) {
    location.toldUnwritable = true;
    program.platform.messageBox(messages::choicesNotKept(location.folder, *problem),
                                platform::Buttons::Ok);
  }
  return false;
}

}  // namespace waymint::app

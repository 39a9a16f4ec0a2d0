#include "dialogs/folders.h"

#include "app/program.h"
#include "app/utilities.h"
#include "dialogs/folder_lists.h"
#include "messages/messages.h"
#include "platform/files.h"

namespace waymint::dialogs {

namespace files = platform::files;

folders::folders(app::Program& program) : Window("folders", "Select Folder"), m_program(program) {
  own(Text1);
  own(Dir1);
  own(Drive1);
  own(Label1);
  own(Command1.add(0, "Command1", "OK"));
  own(Command1.add(1, "Command1", "Cancel"));
  Dir1.onChange([this] { Dir1_Change(); });
}

void folders::Form_Load() {
  Drive1.setDrives(mountedVolumes());
  // The lists start at the program's working folder, until activation moves them.
  try {
    moveDir(".");
  } catch (const files::IoError&) {
  }
  Drive1.setDrive(volumeOf(Dir1.path(), Drive1.drives()));
  Text1.setText(m_program.state.gpxfolder);
}

void folders::Form_Activate() {
  std::string& gpxfolder = m_program.state.gpxfolder;
  app::fixpath(gpxfolder);
  try {
    moveDir(gpxfolder);
    Drive1.setDrive(volumeOf(Dir1.path(), Drive1.drives()));
  } catch (const files::IoError&) {
    // A GPX folder that is not there leaves the lists where they were.
  }
}

void folders::Dir1_Change() { Text1.setText(Dir1.path()); }

void folders::Dir1_DblClick() {
  const int entry = Dir1.selectedIndex();
  if (entry < 0) return;
  try {
    moveDir(Dir1.entries()[static_cast<size_t>(entry)]);
  } catch (const files::IoError&) {
    // A folder that is gone or cannot be read is not opened, without a word: the list stays.
  }
}

void folders::Drive1_Change() {
  try {
    moveDir(Drive1.drive());
  } catch (const files::IoError& error) {
    report(error.what());
  }
}

void folders::Command1_Click(int Index) {
  if (Index == 1) {
    close();
    return;
  }
  std::string text = Text1.text();
  if (text.empty() || !files::exists(text)) {
    report(std::string(messages::invalidFolder));
    return;
  }
  m_program.state.gpxfolder = app::fixpath(text);
  m_confirmed = true;
  close();
}

void folders::moveDir(const std::string& path) {
  std::string full = folderPath(path);
  FolderEntries list = folderEntries(full);
  Dir1.show(std::move(full), std::move(list.entries), list.current);
}

void folders::report(const std::string& text) {
  m_program.platform.messageBox(text, platform::Buttons::Ok);
}

}  // namespace waymint::dialogs

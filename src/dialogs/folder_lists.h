#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace waymint::dialogs {

// What the folder picker's drive list offers: the mounted volumes a user browses, read from
// the system's mount table. "/" always comes first; pseudo file systems (proc, sysfs,
// cgroup, devpts, run-time tmpfs...) are left out.
std::vector<std::string> mountedVolumes();
// The same from the text of a mount table ("device mount-point type options ..." lines).
std::vector<std::string> volumesIn(std::string_view mountTable);
// The volume of `volumes` that holds the full path `path`: the longest one that is a
// leading folder of it; "/" when none is.
std::string volumeOf(std::string_view path, const std::vector<std::string>& volumes);

// The full path of the folder `path`: absolute, no "." or ".." steps, no separator at the
// end (the root aside). Throws platform::files::IoError when no folder is there.
std::string folderPath(std::string_view path);

// What a folder list shows for the folder at the full path `path`: the folders from the
// root down to it, then its subfolders by name (hidden ones left out), and which entry is
// `path` itself. Throws platform::files::IoError when the folder cannot be read.
struct FolderEntries {
  std::vector<std::string> entries;
  int current = 0;
};
FolderEntries folderEntries(const std::string& path);

}  // namespace waymint::dialogs

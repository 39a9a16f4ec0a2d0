#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace waymint::platform {

class Window;

// The buttons of a message box; every box shows the program's title and no icon.
enum class Buttons { Ok, OkCancel, YesNo };
enum class Answer { Ok, Cancel, Yes, No };

// What a file-open dialog is preset with. The file name field starts as `pattern`
// (for example "*.osm"), so the dialog first lists the matching files.
// `filters`, when given, are the named choices of file types it offers, such as
// "GPX files (*.gpx)".
struct OpenDialogRequest {
  std::string pattern;
  std::string defaultExtension;
  std::string initialFolder;
  std::vector<std::string> filters;
};

// Where navigators and other removable drives appear: the system's table of mounted file
// systems, and folders whose sub-sub-folders are drives mounted by the desktop
// (/media/<user>/<label>).
struct MountPlaces {
  std::string mountTable = "/proc/self/mounts";
  std::vector<std::string> mediaFolders = {"/media", "/run/media"};
};

// The machine as the program's logic sees it: dialogs, pointer, event loop, clock,
// shell, memory status and modal windows. The headless implementation answers from a
// script (tests, the command-line tool); the Qt one drives the desktop.
class Platform {
 public:
  virtual ~Platform() = default;

  // Shows text with the given buttons and waits for the user's answer; Enter gives `preset`.
  virtual Answer messageBox(const std::string& text, Buttons buttons, Answer preset) = 0;
  // The same with the first button (OK or Yes) for Enter.
  Answer messageBox(const std::string& text, Buttons buttons) {
    return messageBox(text, buttons, buttons == Buttons::YesNo ? Answer::Yes : Answer::Ok);
  }
  // The chosen path, or nothing when the user cancels.
  virtual std::optional<std::string> openFileDialog(const OpenDialogRequest& request) = 0;

  // The program-wide mouse pointer: busy or default. One setting, no nesting.
  virtual void setBusyPointer(bool busy) = 0;
  virtual bool busyPointer() const = 0;

  // Lets the event loop run: windows repaint and other handlers may run inside.
  virtual void yield() = 0;
  // Seconds since local midnight.
  virtual double secondsSinceMidnight() = 0;

  // Hands a file, program or web address to the desktop: a program is started, anything else
  // opened with the program the desktop has for it. Never blocks. False when the desktop could
  // not do it (no program for the file, nothing to start). `show` is the show-window value
  // (0 hidden, 1 normal).
  virtual bool shellOpen(const std::string& verb, const std::string& target,
                         const std::string& workingFolder, int show) = 0;
  // Percentage of physical memory in use, 0 to 100, when it can be told.
  virtual std::optional<int> memoryLoadPercent() = 0;
  // Bytes of memory the program holds, when it can be told.
  virtual std::optional<std::uint64_t> residentMemory();

  // Shows a window modally, its activation handler (Form_Activate) run as it opens; returns
  // when it has closed.
  virtual void showModal(Window& window) = 0;
  // How far a long operation has come: what it does ("Reading monaco.osm.pbf") and the
  // fraction done, 0 to 1. A cancellable one offers the user a way to end it early.
  virtual void progress(const std::string& activity, double fraction, bool cancellable) = 0;
  // The operation has ended: the indicator goes, and a request to cancel is forgotten.
  virtual void progressDone() = 0;
  // Whether the user asked to end the cancellable operation in progress.
  virtual bool cancelRequested() = 0;
  // How many bytes of memory a file being loaded may take.
  virtual std::uint64_t memoryForLoading() = 0;
  // Whether a run that finds its files in use by another run waits for it (scripts) rather
  // than saying so and ending (the window, which must not freeze).
  virtual bool waitsForBusyFiles() { return false; }

  // The user's decimal separator, for numbers shown on screen.
  virtual std::string decimalSeparator() { return "."; }

  // The folder that holds the running program.
  virtual std::string executableFolder() = 0;
  // Where the user's files may go. By default these ask the machine; the headless platform
  // answers from its script.
  // The value of an environment variable; nothing when it is not set.
  virtual std::optional<std::string> environmentVariable(const std::string& name);
  // The user's home folder: $HOME, or the account's own when HOME is not set.
  virtual std::string homeFolder();
  // Why no file can be made in `folder`, in the system's words ("Permission denied"); nothing
  // when one can.
  virtual std::optional<std::string> whyNotWritable(const std::string& folder);
  // Where to look for connected navigators.
  virtual MountPlaces mountPlaces() { return {}; }
  // Ends the process, with every window of the program.
  virtual void endProcess() = 0;
};

}  // namespace waymint::platform

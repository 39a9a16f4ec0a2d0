#pragma once

#include <optional>
#include <string>

#include "app/osm_loader.h"
#include "platform/controls.h"
#include "platform/window.h"

namespace waymint::app {

class Program;

using platform::CheckBox;
using platform::CommandButton;
using platform::ControlArray;
using platform::Frame;
using platform::Label;
using platform::ListBox;
using platform::MenuEntry;
using platform::OptionButton;
using platform::Picture;
using platform::Shape;
using platform::TextBox;

// The main window: every control and menu entry with its design caption, index and start
// state, and the handlers of the application shell. Created once at start, never re-created.
class f1 : public platform::Window {
 public:
  explicit f1(Program& program);

  // --- controls, in the order the window holds them ---
  ControlArray<Picture> Picture5;  // (1) POI Loader, (0) Pixmold
  Frame Frame1{"Frame1", ""};
  Label Label6{"Label6", "Existing GPX not found"};
  CommandButton command5{"command5", ">>"};
  TextBox Text1{"Text1", "Text1"};
  ListBox List3{"List3"};
  CheckBox Check2{"Check2", "Alert"};
  CheckBox Check1{"Check1", "Sound"};
  ControlArray<OptionButton> Opt;  // (1) "MP3", (0) "WAV"
  Picture Picture1{"Picture1"};
  CommandButton Command4{"Command4", "Delete GPX"};
  ListBox List2{"List2"};
  CommandButton Command3{"Command3", "Show GPX"};
  ControlArray<CommandButton> Command2;  // (0) "Load OSM"
  ControlArray<ListBox> List1;           // (0) POIs found, (2) categories
  TextBox Text4{"Text4", " "};
  ControlArray<TextBox> Text3;  // (1) proximity, (0) speed
  CommandButton Command1{"Command1", "Create GPX"};
  ControlArray<Label> Label4;
  Label Label7{"Label7", "GPX Contents"};
  ControlArray<Label> Label3;  // the workflow's step numbers
  ControlArray<Label> Label1;
  Label Label5{"Label5", "POIs in Current GPX:"};
  Picture Image1{"Image1"};
  ControlArray<Label> Label2;
  Shape Shape1{"Shape1"};
  ControlArray<Shape> Shape2;
  ControlArray<Shape> Shape3;
  Shape Shape4{"Shape4"};
  Shape Shape5{"Shape5"};
  Shape Shape6{"Shape6"};
  ControlArray<Shape> v;
  // The choices beside the first behaviour, under "Load OSM": what a POI is and what its
  // waypoint holds, each with one line that says what it does.
  CheckBox Check3{"Check3", "Areas too"};
  CheckBox Check4{"Check4", "Exact categories"};
  CheckBox Check5{"Check5", "Details from OSM"};
  ControlArray<Label> Label8;  // (0) areas, (1) exact categories, (2) details
  // Beside the POI Loader button: the GPI files of the GPX folder's categories onto the
  // navigator connected, without POI Loader.
  CommandButton Command6{"Command6", "Send to navigator"};
  // The filter over the category list: the entries of List1(2) shown are those that hold its
  // text. Emptied when another file is loaded or the list is emptied.
  TextBox Text5{"Text5", ""};

  // --- menus: the entries of each top-level menu form one indexed group ---
  MenuEntry mfile{"mfile", "File"};
  ControlArray<MenuEntry> mf;
  MenuEntry med{"med", "Edit"};
  ControlArray<MenuEntry> medd;
  MenuEntry mtls{"mtls", "Tools"};
  ControlArray<MenuEntry> mtl;
  MenuEntry mhelp{"mhelp", "Help"};
  ControlArray<MenuEntry> mhlp;

  // --- re-entry ---
  // Marks a load, a category press, a create or a category run in progress for as long as
  // it lives. While one is in progress, the handlers that would start another ignore their
  // event, the two lists take no clicks, and a close request waits until it has ended.
  class Operation {
   public:
    enum class Kind { Load, Run, Other };
    // A load or a category run must not start inside one another (see loadOrRunInProgress()).
    explicit Operation(f1& window, Kind kind = Kind::Other);
    ~Operation();
    Operation(const Operation&) = delete;
    Operation& operator=(const Operation&) = delete;

   private:
    f1& m_window;
    Kind m_kind;
  };
  bool operationInProgress() const { return m_operations > 0; }
  bool loadOrRunInProgress() const { return m_loadsAndRuns > 0; }
  // What the window's close box (or File > Exit) asks for: the window closes now, or, when
  // an operation is in progress, as soon as it has ended. Closing writes the state file and
  // ends the process.
  void requestClose();
  bool closePending() const { return m_closePending; }

  // --- event handlers of the application shell; the workflow's are in workflow/ ---
  void Form_Load();
  // Start-up as Form_Load runs it, with or without the state file (the command-line tool
  // neither reads nor writes it).
  void startUp(bool withStateFile);
  // A close request: writes the state file; never refuses.
  void Form_QueryUnload();
  // The window has closed: the process ends.
  void Form_Unload();
  void Text1_Change();
  // The File menu (and "Load OSM", which runs its "Open").
  void mf_Click(int Index);
  // A file dropped on the window: opened as File > Open opens the file picked.
  void Form_OLEDragDrop(const std::string& path);
  // A file named on the program's command line (the desktop hands one over so): opened as
  // File > Open opens the file picked; one that cannot be read is reported as any file is.
  void openCommandLineFile(const std::string& path);
  // Opens `name` as File > Open opens the file picked, and says how its load ended (a file
  // that could not be read has been reported, naming it). A name that is not an ordinary
  // file, or holds "*", is passed over without a word: nothing.
  std::optional<Loaded> openChosen(const std::string& name);
  // Reads the loaded OSM file again, as its recent entry does (after the choice of areas
  // changed); false when it could not be read or the user cancelled, the text before staying.
  bool reloadOsm();

 private:
  Loaded openAsPicked(const std::string& name);

  Program& m_program;
  int m_operations = 0;
  int m_loadsAndRuns = 0;
  bool m_closePending = false;
};

}  // namespace waymint::app

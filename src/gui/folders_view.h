#pragma once

#include "gui/window_dialog.h"

class QComboBox;
class QListWidget;

namespace waymint::dialogs {
class folders;
}

namespace waymint::gui {

// The folder picker on screen: the folder list shows the path from the root down to the
// current folder, then its subfolders, indented; activating an entry (a double click)
// opens it.
class FoldersView : public WindowDialog {
 public:
  FoldersView(dialogs::folders& window, QWidget* parent);

 private:
  void bindFolderList(QListWidget* view);
  void bindDriveList(QComboBox* view);

  dialogs::folders& m_window;
};

}  // namespace waymint::gui

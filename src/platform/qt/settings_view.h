#pragma once

#include "platform/qt/window_dialog.h"

namespace waymint::dialogs {
class settings;
}

namespace waymint::qt {

class QtPlatform;

// The settings window on screen.
class SettingsView : public WindowDialog {
 public:
  SettingsView(dialogs::settings& window, QWidget* parent);
};

// Tells the platform how to show the settings window and the folder picker.
void registerDialogViews(QtPlatform& desktop);

}  // namespace waymint::qt

#pragma once

#include "gui/window_dialog.h"

namespace waymint::qt {
class QtPlatform;
}

namespace waymint::dialogs {
class settings;
}

namespace waymint::gui {

// The settings window on screen.
class SettingsView : public WindowDialog {
 public:
  SettingsView(dialogs::settings& window, QWidget* parent);
};

// Tells the platform how to show the settings window and the folder picker.
void registerDialogViews(qt::QtPlatform& desktop);

}  // namespace waymint::gui

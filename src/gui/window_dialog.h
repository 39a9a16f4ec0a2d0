#pragma once

#include <QDialog>

#include "platform/window.h"

namespace waymint::gui {

class Bindings;

// The common part of the views of the program's modal windows: the window's name and
// caption, and the view's closing when the model has closed. The close box and Escape close
// the model as its own "Close". (The platform runs the window's activation handler as it
// opens.)
class WindowDialog : public QDialog {
 public:
  WindowDialog(platform::Window& window, QWidget* parent);
  ~WindowDialog() override;

 protected:
  Bindings& bindings() { return *m_bindings; }
  // The window is shown with every change of its models made so far, those of its activation
  // handler included.
  void showEvent(QShowEvent* event) override;
  void reject() override;

 private:
  void follow();

  platform::Window& m_window;
  Bindings* m_bindings;
  bool m_finished = false;
};

}  // namespace waymint::gui

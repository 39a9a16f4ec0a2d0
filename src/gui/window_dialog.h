#pragma once

#include <QDialog>

#include "platform/window.h"

namespace waymint::gui {

class Bindings;

// The common part of the views of the program's modal windows: the window's name and
// caption, the window's activation handler once per opening (on the view's first
// activation), and the view's closing when the model has closed. The close box and Escape close the model as its own "Close".
class WindowDialog : public QDialog {
 public:
  WindowDialog(platform::Window& window, QWidget* parent);
  ~WindowDialog() override;

 protected:
  Bindings& bindings() { return *m_bindings; }
  bool event(QEvent* event) override;
  void reject() override;

 private:
  void follow();

  platform::Window& m_window;
  Bindings* m_bindings;
  bool m_finished = false;
  bool m_activated = false;
};

}  // namespace waymint::gui

#include "gui/window_dialog.h"

#include <QEvent>

#include "gui/bindings.h"
#include "platform/qt/text.h"

namespace waymint::gui {

WindowDialog::WindowDialog(platform::Window& window, QWidget* parent)
    : QDialog(parent), m_window(window), m_bindings(new Bindings(this)) {
  setObjectName(QString::fromStdString(window.name()));
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  follow();
  window.watch([this] { follow(); });
}

WindowDialog::~WindowDialog() {
  // The models outlive their view: they must not call into the widgets that go now.
  m_window.watch({});
  for (platform::Control* control : m_window.controls()) control->watch({});
}

void WindowDialog::follow() {
  setWindowTitle(qt::toQString(m_window.caption()));
  if (m_window.closed() && !m_finished) {
    m_finished = true;
    QDialog::done(QDialog::Accepted);
  }
}

// Every window of the program is modal, so once it is up only its own message boxes and
// file dialogs, or another program, can take the activation from it; coming back from those
// is no activation of the window. A view lives for one opening: its first activation is the
// window's.
bool WindowDialog::event(QEvent* event) {
  bool handled = QDialog::event(event);
  if (event->type() == QEvent::WindowActivate && !m_activated && !m_window.closed()) {
    m_activated = true;
    m_window.Form_Activate();
  }
  return handled;
}

void WindowDialog::reject() {
  if (m_window.closed()) {
    QDialog::reject();
    return;
  }
  m_window.close();
}

}  // namespace waymint::gui

#include "gui/window_dialog.h"

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

void WindowDialog::showEvent(QShowEvent* event) {
  m_bindings->flush();
  QDialog::showEvent(event);
}

void WindowDialog::reject() {
  if (m_window.closed()) {
    QDialog::reject();
    return;
  }
  m_window.close();
}

}  // namespace waymint::gui

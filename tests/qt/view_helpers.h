#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <QMouseEvent>
#include <QWidget>

#include <string>

#include "platform/window.h"

namespace waymint::testing {

// The widget (or action) of a view that shows the control named `name`.
template <typename T = QObject>
T* child(QWidget& root, const std::string& name) {
  return root.findChild<T*>(QString::fromStdString(name));
}

// Every control of the model has a widget under its own name.
inline void expectEveryControlShown(QWidget& view, const platform::Window& window) {
  for (platform::Control* control : window.controls()) {
    EXPECT_NE(child(view, control->name()), nullptr) << control->name();
  }
}

// The window becomes the program's active window, as when it is shown.
inline void activate(QWidget& view) {
  QEvent activation(QEvent::WindowActivate);
  QCoreApplication::sendEvent(&view, &activation);
}

// Shows the view and makes it the active window, as opening it does.
inline void showActivated(QWidget& view) {
  view.show();
  activate(view);
  QCoreApplication::processEvents();
}

// A press and release of the left mouse button in the middle of the widget.
inline void clickWithMouse(QWidget* widget) {
  QPointF centre(widget->width() / 2.0, widget->height() / 2.0);
  QPointF global = widget->mapToGlobal(centre);
  QMouseEvent press(QEvent::MouseButtonPress, centre, global, Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
  QMouseEvent release(QEvent::MouseButtonRelease, centre, global, Qt::LeftButton, Qt::NoButton,
                      Qt::NoModifier);
  QCoreApplication::sendEvent(widget, &press);
  QCoreApplication::sendEvent(widget, &release);
  QCoreApplication::processEvents();
}

}  // namespace waymint::testing

#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/controls.h"

namespace waymint::platform {

// A window as a model: its caption, its controls (listed in the order the window holds
// them) and whether it has been closed. Views show it; the logic never sees a widget.
class Window {
 public:
  Window(std::string name, std::string caption)
      : m_name(std::move(name)), m_caption(std::move(caption)) {}
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  virtual ~Window() = default;

  const std::string& name() const { return m_name; }
  const std::string& caption() const { return m_caption; }
  void setCaption(std::string caption) {
    if (caption == m_caption) return;
    m_caption = std::move(caption);
    if (m_observer) m_observer();
  }

  // Run when the window becomes active on being shown: once per opening, since every
  // window of the program but the main one is modal (its own message boxes and dialogs
  // closing do not run it again).
  virtual void Form_Activate() {}

  // Closes the window (its own "OK", "Close" or "Exit"); the view follows.
  void close() {
    m_closed = true;
    if (m_observer) m_observer();
  }
  bool closed() const { return m_closed; }

  const std::vector<Control*>& controls() const { return m_controls; }
  void watch(std::function<void()> observer) { m_observer = std::move(observer); }

 protected:
  template <typename T>
  T& own(T& control) {
    m_controls.push_back(&control);
    return control;
  }

 private:
  std::string m_name;
  std::string m_caption;
  bool m_closed = false;
  std::vector<Control*> m_controls;
  std::function<void()> m_observer;
};

}  // namespace waymint::platform

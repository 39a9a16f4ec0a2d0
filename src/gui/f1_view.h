#pragma once

#include <QMainWindow>
#include <QProgressBar>

#include <optional>

namespace waymint::app {
class Program;
}

namespace waymint::gui {

class Bindings;

// The main window on screen: shows the model `f1` and forwards every event to its handlers.
class F1View : public QMainWindow {
 public:
  explicit F1View(app::Program& program);

  // The progress bar of a long load or survey; nothing hides it.
  void showProgress(std::optional<double> fraction);
  Bindings& bindings() { return *m_bindings; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  QWidget* buildWorkflow();
  void buildMenus();

  app::Program& m_program;
  Bindings* m_bindings;
  QProgressBar* m_progress = nullptr;
};

}  // namespace waymint::gui

#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "platform/platform.h"

class QDialog;

namespace waymint::qt {

// The desktop behind the program: Qt's message boxes and file dialogs, the override cursor,
// a rate-limited event loop, the desktop's opener and modal windows.
class QtPlatform : public platform::Platform {
 public:
  using ViewFactory = std::function<std::unique_ptr<QDialog>(platform::Window&, QWidget* parent)>;

  QtPlatform();

  // The window that owns dialogs and message boxes.
  void setMainWidget(QWidget* widget) { m_mainWidget = widget; }
  // How a modal window of the given name is shown.
  void registerView(const std::string& windowName, ViewFactory factory) {
    m_views[windowName] = std::move(factory);
  }
  // Where progress is shown: the activity, its fraction done and whether it can be cancelled,
  // or nothing when the operation has ended.
  struct Shown {
    std::string activity;
    double fraction;
    bool cancellable;
  };
  void onProgress(std::function<void(const std::optional<Shown>&)> sink) {
    m_progressSink = std::move(sink);
  }
  // The user's Cancel (the button or Escape) for the operation in progress.
  void requestCancel() { m_cancel = true; }

  using Platform::messageBox;
  platform::Answer messageBox(const std::string& text, platform::Buttons buttons,
                              platform::Answer preset) override;
  std::optional<std::string> openFileDialog(const platform::OpenDialogRequest& request) override;
  void setBusyPointer(bool busy) override;
  bool busyPointer() const override { return m_busy; }
  void yield() override;
  double secondsSinceMidnight() override;
  bool shellOpen(const std::string& verb, const std::string& target,
                 const std::string& workingFolder, int show) override;
  std::optional<int> memoryLoadPercent() override;
  void showModal(platform::Window& window) override;
  void progress(const std::string& activity, double fraction, bool cancellable) override;
  void progressDone() override;
  bool cancelRequested() override { return m_cancel; }
  std::uint64_t memoryForLoading() override;
  std::string decimalSeparator() override;
  std::string executableFolder() override;
  void endProcess() override;

 private:
  QPointer<QWidget> m_mainWidget;
  std::map<std::string, ViewFactory> m_views;
  std::function<void(const std::optional<Shown>&)> m_progressSink;
  bool m_cancel = false;
  QElapsedTimer m_sinceEvents;
  bool m_busy = false;
};

}  // namespace waymint::qt

#pragma once

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QLineEdit>
#include <QPointer>
#include <QStringList>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <deque>
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "app/program.h"
#include "gui/edit_view.h"
#include "gui/f1_view.h"
#include "gui/info_views.h"
#include "gui/settings_view.h"
#include "platform/qt/qt_platform.h"
#include "platform/window.h"
#include "support/temp_folder.h"
#include "workflow/connect.h"

// Texts in failure messages as text, not as arrays of 16-bit units.
inline void PrintTo(const QString& text, std::ostream* out) {
  *out << '"' << text.toStdString() << '"';
}

namespace waymint::testing {

// Answers the modal windows a test expects, from a timer, one step per window in the order
// they come; a step looks at its window and closes it as a user would, and may open another
// window for the next step. When a step's expectations fail or it leaves its window open, or
// when a window comes that no step expects, the modal windows are closed and the test fails:
// it never waits for a user who is not there. An expected window that never came fails it too.
class ModalAnswers {
 public:
  using Step = std::function<void(QWidget& window)>;

  explicit ModalAnswers(std::vector<Step> steps) : m_steps(steps.begin(), steps.end()) {
    QTimer::singleShot(tickMs, &m_ticks, [this] { tick(); });
  }
  ~ModalAnswers() {
    if (!m_steps.empty()) ADD_FAILURE() << m_steps.size() << " expected modal window(s) never came";
  }

 private:
  static constexpr int tickMs = 10;

  // A fresh single-shot timer per tick: a timer never fires inside its own handler, and the
  // window of a step runs its event loop inside it.
  void tick() {
    QTimer::singleShot(tickMs, &m_ticks, [this] { tick(); });
    QWidget* window = QApplication::activeModalWidget();
    if (window && std::ranges::find(m_answering, window) == m_answering.end()) answer(*window);
  }

  void answer(QWidget& window) {
    const std::string name = std::string(window.metaObject()->className()) + " " +
                             window.objectName().toStdString();
    if (m_steps.empty()) {
      ADD_FAILURE() << "a modal window no step expects: " << name;
      return closeModalWindows();
    }
    const Step step = std::move(m_steps.front());
    m_steps.pop_front();
    // The step's results are caught to tell whether it failed, then reported as they were
    // (without the traces of the scopes around, which are added again).
    ::testing::TestPartResultArray results;
    QPointer<QWidget> watched(&window);
    m_answering.push_back(&window);
    {
      ::testing::ScopedFakeTestPartResultReporter catcher(
          ::testing::ScopedFakeTestPartResultReporter::INTERCEPT_ONLY_CURRENT_THREAD, &results);
      step(window);
    }
    m_answering.pop_back();
    bool failed = false;
    for (int i = 0; i < results.size(); ++i) {
      const ::testing::TestPartResult& result = results.GetTestPartResult(i);
      const std::string message = result.message();
      failed = failed || result.failed();
      GTEST_MESSAGE_AT_(result.file_name(), result.line_number(),
                        message.substr(0, message.find("\nGoogle Test trace:")).c_str(),
                        result.type());
    }
    const bool leftOpen = watched && watched->isVisible();
    if (leftOpen && !failed) ADD_FAILURE() << "the step left its window open: " << name;
    if (leftOpen || failed) closeModalWindows();
  }

  static void closeModalWindows() {
    while (QWidget* window = QApplication::activeModalWidget()) {
      if (auto* dialog = qobject_cast<QDialog*>(window)) dialog->reject();
      if (QApplication::activeModalWidget() == window) window->hide();
    }
  }

  std::deque<Step> m_steps;
  std::vector<QWidget*> m_answering;  // the windows whose steps run, innermost last
  QObject m_ticks;                    // the pending tick goes with the answers
};

// The widget, or the menu action, that shows the control named `name`.
template <typename T = QObject>
T* child(QWidget& view, const std::string& name) {
  T* found = view.findChild<T*>(QString::fromStdString(name));
  EXPECT_NE(found, nullptr) << name;
  return found;
}

inline void expectEveryControlShown(QWidget& view, const platform::Window& window) {
  for (const platform::Control* control : window.controls()) child(view, control->name());
}

inline QStringList rows(QAbstractItemView* list) {
  QStringList texts;
  for (int row = 0; row < list->model()->rowCount(); ++row) {
    texts << list->model()->index(row, 0).data().toString();
  }
  return texts;
}

// The desktop, with the program's folder in a test's folder, a shell that only notes what it
// is given, and a process that only notes that it would end (the tests go on in it).
class TestDesktop : public qt::QtPlatform {
 public:
  explicit TestDesktop(std::string folder) : m_folder(std::move(folder)) {}
  std::string executableFolder() override { return m_folder; }
  bool shellOpen(const std::string&, const std::string& target, const std::string&, int) override {
    opened.push_back(target);
    return true;
  }
  void endProcess() override { ended = true; }
  std::vector<std::string> opened;
  bool ended = false;

 private:
  std::string m_folder;
};

// The program started on the desktop, every window's view registered, the main window shown
// and active (as the user's: shortcuts and focus work in it).
class WindowViews : public ::testing::Test {
 protected:
  TempFolder folder;
  TestDesktop desktop{folder.path()};
  app::Program program{desktop};
  std::unique_ptr<gui::F1View> main;

  void SetUp() override {
    gui::registerInfoViews(desktop);
    gui::registerEditorViews(desktop);
    gui::registerDialogViews(desktop);
    workflow::connect(program);
    program.f1.Form_Load();
    main = std::make_unique<gui::F1View>(program);
    desktop.setMainWidget(main.get());
    desktop.onProgress([this](const auto& shown) {
      main->showProgress(shown);
      if (onProgress) onProgress();
    });
    main->onCancel([this] { desktop.requestCancel(); });
    main->show();
    main->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(main.get()));
  }
  std::function<void()> onProgress;
};

// A user who picks the file at `path` in a file dialog.
inline ModalAnswers::Step pickFile(const std::string& path) {
  return [path](QWidget& window) {
    auto* dialog = qobject_cast<QFileDialog*>(&window);
    ASSERT_NE(dialog, nullptr);
    auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
    ASSERT_NE(name, nullptr);
    name->setText(QString::fromStdString(path));
    static_cast<QDialog*>(dialog)->accept();  // as its Open button does
  };
}

}  // namespace waymint::testing

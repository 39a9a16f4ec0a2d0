// What the Qt tests share: answers to modal windows, the program on a test desktop, its views.
#pragma once

#include <gtest/gtest-spi.h>

#include <QtTest>
#include <QtWidgets>

#include "app/program.h"
#include "app/web_addresses.h"
#include "gui/edit_view.h"
#include "gui/f1_view.h"
#include "gui/info_views.h"
#include "gui/settings_view.h"
#include "gui/shown_text.h"
#include "platform/qt/qt_platform.h"
#include "support/osm_text.h"
#include "support/temp_folder.h"
#include "workflow/connect.h"

// Texts in failure messages as text, not as arrays of 16-bit units.
inline void PrintTo(const QString& s, std::ostream* out) { *out << '"' << s.toStdString() << '"'; }

// Waits, the events processed meanwhile, until `actual` equals `expected` (at most 5 s), then
// compares them as EXPECT_EQ / ASSERT_EQ do: a Qt test waits for a state, never for a time.
#define WAYMINT_EVENTUALLY_EQ(check, actual, expected)                   \
  do {                                                                   \
    (void)QTest::qWaitFor([&] { return (actual) == (expected); }, 5000); \
    check(actual, expected);                                             \
  } while (false)
#define EXPECT_EVENTUALLY_EQ(actual, expected) WAYMINT_EVENTUALLY_EQ(EXPECT_EQ, actual, expected)
#define ASSERT_EVENTUALLY_EQ(actual, expected) WAYMINT_EVENTUALLY_EQ(ASSERT_EQ, actual, expected)

namespace waymint::testing {

// Answers the modal windows a test expects, from a timer, one step per window as they come;
// a step looks at its window and closes it as a user would (it may open the next window). A
// failed step, a window left open or not expected, closes the modal windows and fails the
// test, which never waits for a user who is not there; so does an expected window not come.
class ModalAnswers {
 public:
  using Step = std::function<void(QWidget& window)>;

  explicit ModalAnswers(std::vector<Step> steps) : m_steps(std::move(steps)) { later(); }
  ~ModalAnswers() {
    if (!m_steps.empty()) ADD_FAILURE() << m_steps.size() << " expected modal window(s) never came";
  }
  // Every expected window has come and been answered, and none is up.
  bool finished() const {
    return m_steps.empty() && m_answering.empty() && !QApplication::activeModalWidget();
  }

 private:
  // A fresh single-shot timer per tick: a timer never fires inside its own handler, and the
  // window of a step runs its event loop inside it.
  void later() { QTimer::singleShot(10, &m_ticks, [this] { tick(); }); }
  void tick() {
    later();
    QWidget* window = QApplication::activeModalWidget();
    if (window && std::ranges::find(m_answering, window) == m_answering.end()) answer(*window);
  }

  void answer(QWidget& window) {
    const std::string name =
        window.metaObject()->className() + (" " + window.objectName().toStdString());
    if (m_steps.empty()) {
      ADD_FAILURE() << "a modal window no step expects: " << name;
      return closeModalWindows();
    }
    const Step step = std::move(m_steps.front());
    m_steps.erase(m_steps.begin());
    // The step's results are caught to tell whether it failed, then reported as they were
    // (without the traces of the scopes around, which are added again).
    ::testing::TestPartResultArray results;
    QPointer<QWidget> watched(&window);
    m_answering.push_back(&window);
    {
      ::testing::ScopedFakeTestPartResultReporter catcher(&results);
      step(window);
    }
    m_answering.pop_back();
    bool failed = false;
    for (int i = 0; i < results.size(); ++i) {
      const ::testing::TestPartResult& result = results.GetTestPartResult(i);
      const std::string message = result.message();
      failed |= result.failed();
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

  std::vector<Step> m_steps;
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

inline QStringList rows(QAbstractItemView* list) {
  QStringList texts;
  const QAbstractItemModel* model = list->model();
  for (int row = 0; row < model->rowCount(); ++row) texts << model->index(row, 0).data().toString();
  return texts;
}

// A mouse click on a row of a list (what it starts runs once the events are processed).
inline void click(QAbstractItemView* list, int row) {
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                    list->visualRect(list->model()->index(row, 0)).center());
}

// The desktop, with the program's folder in a test's folder, a shell that only notes what it
// is given, and a process that only notes that it would end (the tests go on in it).
struct TestDesktop : qt::QtPlatform {
  std::string executableFolder() override { return folder; }
  bool shellOpen(const std::string&, const std::string& target, const std::string&, int) override {
    opened.push_back(target);
    return true;
  }
  void endProcess() override { ended = true; }
  // No navigator is connected unless a test says where one is.
  platform::MountPlaces mountPlaces() override { return places; }
  platform::MountPlaces places{"/nonexistent/mounts", {}};
  std::string folder;
  std::vector<std::string> opened;
  bool ended = false;
};

// The program started on the desktop, every window's view registered, the main window shown
// and active (as the user's: shortcuts and focus work in it).
class WindowViews : public ::testing::Test {
 protected:
  TempFolder folder;
  TestDesktop desktop;
  app::Program program{desktop};
  std::unique_ptr<gui::F1View> main;
  std::function<void()> onProgress;  // run after each showing of the progress

  void SetUp() override {
    desktop.folder = folder.path();
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
  // The rows the main window's list `name` shows.
  QStringList listed(const std::string& name) { return rows(child<QListView>(*main, name)); }
};

// A user who picks the file at `path` in a file dialog.
inline ModalAnswers::Step pickFile(const std::string& path) {
  return [path](QWidget& window) {
    auto* name = window.findChild<QLineEdit*>("fileNameEdit");
    ASSERT_TRUE(qobject_cast<QFileDialog*>(&window) && name) << "not a file dialog";
    name->setText(QString::fromStdString(path));
    static_cast<QDialog&>(window).accept();  // as its Open button does
  };
}

// A user who presses `button` in a message box, its text noted in `text` when one is given.
inline ModalAnswers::Step press(QMessageBox::StandardButton button, QString* text = nullptr) {
  return [button, text](QWidget& window) {
    auto* box = qobject_cast<QMessageBox*>(&window);
    ASSERT_NE(box, nullptr) << "not a message box";
    if (text) *text = box->text();
    box->button(button)->click();
  };
}

}  // namespace waymint::testing

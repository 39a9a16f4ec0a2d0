#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCoreApplication>
#include <QEvent>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>

#include <string>
#include <vector>

#include "app/program.h"
#include "editors/edall.h"
#include "editors/edit.h"
#include "platform/headless/headless_platform.h"
#include "platform/qt/edall_view.h"
#include "platform/qt/edit_view.h"
#include "platform/qt/qt_platform.h"
#include "support/temp_folder.h"
#include "view_helpers.h"

namespace waymint::testing {
namespace {

// Messages go to a headless machine, so that nothing waits for a click on a box.
class EditorViewsTest : public ::testing::Test {
 protected:
  TempFolder folder;
  platform::HeadlessPlatform machine;
  app::Program program{machine};

  EditorViewsTest() { machine.setExecutableFolder(folder.path()); }
};

// --- the waypoint viewer ---

TEST_F(EditorViewsTest, EditViewShowsItsModel) {
  editors::edit window(program);
  window.Form_Load();
  qt::EditView view(window, nullptr);
  view.show();
  QCoreApplication::processEvents();
  EXPECT_EQ(view.objectName(), "edit");
  EXPECT_EQ(view.windowTitle(), "Edit");
  expectEveryControlShown(view, window);
  EXPECT_EQ(child<QLineEdit>(view, "Text1(2)")->text(), "Text1");
  EXPECT_EQ(child<QPushButton>(view, "Command1")->text(), "Close");
  EXPECT_EQ(child<QAction>(view, "mf")->text(), "File");
  EXPECT_EQ(child<QAction>(view, "mff(0)")->text(), "Open GPX");
  EXPECT_TRUE(child<QAction>(view, "mff(1)")->isSeparator());
  EXPECT_EQ(child<QAction>(view, "mff(4)")->text(), "Exit");
}

TEST_F(EditorViewsTest, EditViewOpensAFileFromItsMenu) {
  editors::edit window(program);
  window.Form_Load();
  qt::EditView view(window, nullptr);
  machine.chooseNext(folder.write("two.gpx", "<wpt lat=\"1\"><name>A</name><wpt ><name>B</name>"));
  child<QAction>(view, "mff(0)")->trigger();
  QCoreApplication::processEvents();
  EXPECT_EQ(machine.messageTexts(), std::vector<std::string>{"2"});
  auto* list = child<QListView>(view, "List1");
  ASSERT_EQ(list->model()->rowCount(), 2);
  EXPECT_EQ(list->model()->index(1, 0).data().toString(), "B");
}

TEST_F(EditorViewsTest, EditViewRunsActivationAndCloses) {
  editors::edit window(program);
  window.Form_Load();
  qt::EditView view(window, nullptr);
  view.show();
  machine.setBusyPointer(true);
  activate(view);
  EXPECT_FALSE(machine.busyPointer());
  child<QPushButton>(view, "Command1")->click();
  EXPECT_TRUE(window.closed());
  EXPECT_FALSE(view.isVisible());
}

TEST_F(EditorViewsTest, EditViewExitAndTheCloseBoxCloseTheModel) {
  editors::edit window(program);
  qt::EditView view(window, nullptr);
  view.show();
  child<QAction>(view, "mff(4)")->trigger();
  EXPECT_TRUE(window.closed());
  EXPECT_FALSE(view.isVisible());

  editors::edit second(program);
  qt::EditView secondView(second, nullptr);
  secondView.show();
  secondView.close();
  EXPECT_TRUE(second.closed());
}

// --- the bulk proximity editor ---

TEST_F(EditorViewsTest, EdallViewShowsItsModel) {
  editors::edall window(program);
  window.Form_Load();
  qt::EdallView view(window, nullptr);
  view.show();
  QCoreApplication::processEvents();
  EXPECT_EQ(view.objectName(), "edall");
  EXPECT_EQ(view.windowTitle(), "Form1");
  expectEveryControlShown(view, window);
  EXPECT_EQ(child<QPushButton>(view, "Command2")->text(), "Load GPX");
  EXPECT_EQ(child<QLineEdit>(view, "Text3(1)")->text(), "150");
  EXPECT_EQ(child<QCheckBox>(view, "Check2")->text(), "Alert");
  EXPECT_TRUE(child<QCheckBox>(view, "Check2")->styleSheet().contains("rgb(255,255,255)"));
  EXPECT_EQ(child<QPushButton>(view, "Command1(0)")->text(), "Apply");
}

TEST_F(EditorViewsTest, EdallViewApplyRunsTheRewrite) {
  editors::edall window(program);
  window.Form_Load();
  qt::EdallView view(window, nullptr);
  child<QPushButton>(view, "Command1(0)")->click();
  EXPECT_EQ(machine.messageTexts(), std::vector<std::string>{"Please select file."});
  EXPECT_FALSE(window.closed());

  child<QLineEdit>(view, "Text3(1)")->setText("42");
  child<QLineEdit>(view, "Text3(1)")->textEdited("42");
  EXPECT_EQ(window.Text3(1).text(), "42");

  child<QPushButton>(view, "Command1(1)")->click();
  EXPECT_TRUE(window.closed());
}

TEST_F(EditorViewsTest, EdallViewAlertBoxWritesTheFlagOnMouseReleaseOnly) {
  editors::edall window(program);
  window.Form_Load();
  qt::EdallView view(window, nullptr);
  view.show();
  QCoreApplication::processEvents();
  auto* box = child<QCheckBox>(view, "Check2");
  box->click();  // as from the keyboard: no mouse button involved
  QCoreApplication::processEvents();
  EXPECT_EQ(window.Check2.value(), 1);
  EXPECT_FALSE(program.state.alert);

  box->setChecked(false);
  clickWithMouse(box);
  EXPECT_EQ(window.Check2.value(), 1);
  EXPECT_TRUE(program.state.alert);
}

TEST_F(EditorViewsTest, RegisteredViewsShowTheirWindowsModally) {
  qt::QtPlatform desktop;
  qt::registerEditorViews(desktop);
  editors::edit viewer(program);
  viewer.Form_Load();
  editors::edall editor(program);
  editor.Form_Load();

  std::vector<std::string> shown;
  auto note = [&shown] {
    if (QWidget* modal = QApplication::activeModalWidget()) {
      shown.push_back(modal->objectName().toStdString());
    }
  };
  QTimer::singleShot(0, [&] {
    note();
    viewer.Command1_Click();
  });
  desktop.showModal(viewer);
  QTimer::singleShot(0, [&] {
    note();
    editor.Command1_Click(1);
  });
  desktop.showModal(editor);
  EXPECT_EQ(shown, (std::vector<std::string>{"edit", "edall"}));
  EXPECT_TRUE(viewer.closed());
  EXPECT_TRUE(editor.closed());
}

}  // namespace
}  // namespace waymint::testing

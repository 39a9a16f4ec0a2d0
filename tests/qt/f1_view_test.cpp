#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>

#include "app/program.h"
#include "platform/headless/headless_platform.h"
#include "platform/qt/f1_view.h"
#include "platform/qt/qt_platform.h"
#include "support/temp_folder.h"
#include "view_helpers.h"

namespace waymint::testing {
namespace {

QAction* menuAction(QWidget& root, const std::string& name) {
  return root.findChild<QAction*>(QString::fromStdString(name));
}

class F1ViewTest : public ::testing::Test {
 protected:
  TempFolder folder;
  platform::HeadlessPlatform machine;
  app::Program program{machine};

  F1ViewTest() {
    machine.setExecutableFolder(folder.path());
    program.f1.Form_Load();
  }
};

TEST_F(F1ViewTest, ShowsEveryControlOfTheModelUnderItsName) {
  qt::F1View view(program);
  view.show();
  QCoreApplication::processEvents();
  EXPECT_EQ(view.windowTitle(), "WAYMINT .27 :");
  EXPECT_EQ(view.objectName(), "f1");
  for (platform::Control* control : program.f1.controls()) {
    bool found = child(view, control->name()) || menuAction(view, control->name());
    EXPECT_TRUE(found) << control->name();
  }
  EXPECT_EQ(child<QPushButton>(view, "Command2(0)")->text(), "Load OSM");
  EXPECT_FALSE(child<QPushButton>(view, "Command1")->isEnabled());
  EXPECT_EQ(child<QLineEdit>(view, "Text1")->text().toStdString(), folder.path());
  EXPECT_EQ(child<QLineEdit>(view, "Text3(1)")->text(), "25");
  EXPECT_FALSE(child<QLineEdit>(view, "Text3(1)")->isEnabled());
  EXPECT_EQ(child<QCheckBox>(view, "Check2")->text(), "Alert");
}

TEST_F(F1ViewTest, MenusAreAsTheWindowDeclaresThem) {
  qt::F1View view(program);
  QStringList tops;
  for (QAction* top : view.menuBar()->actions()) tops << top->text();
  EXPECT_EQ(tops, (QStringList{"File", "Edit", "Tools", "Help"}));
  EXPECT_EQ(menuAction(view, "mf(2)")->text(), "Open");
  EXPECT_FALSE(menuAction(view, "mf(3)")->isVisible());
  EXPECT_FALSE(menuAction(view, "mf(4)")->isVisible());
  EXPECT_TRUE(menuAction(view, "mf(5)")->isSeparator());
  EXPECT_TRUE(menuAction(view, "mf(8)")->isVisible());
  EXPECT_TRUE(menuAction(view, "mf(16)")->isEnabled());
  EXPECT_EQ(menuAction(view, "medd(0)")->text(), "Indivudual POIs");
  EXPECT_FALSE(menuAction(view, "medd(0)")->isEnabled());
  EXPECT_FALSE(menuAction(view, "medd(2)")->isEnabled());
  EXPECT_FALSE(menuAction(view, "mtl(0)")->isVisible());
  EXPECT_FALSE(menuAction(view, "mtl(1)")->isVisible());
  EXPECT_TRUE(menuAction(view, "mtl(2)")->isVisible());
  EXPECT_EQ(menuAction(view, "mhlp(2)")->text(), "Check for Updates");
}

TEST_F(F1ViewTest, FollowsTheModelAndForwardsTyping) {
  qt::F1View view(program);
  program.f1.List1(2).addItem("caf\xc3\xa9");
  program.f1.List1(2).addItem("bar\xe9");  // not UTF-8: shown as Windows-1252
  program.f1.Command1.setEnabled(true);
  program.f1.setCaption("WAYMINT .27 :/maps/x.osm");
  QCoreApplication::processEvents();
  auto* list = child<QListView>(view, "List1(2)");
  ASSERT_EQ(list->model()->rowCount(), 2);
  EXPECT_EQ(list->model()->index(0, 0).data().toString(), QString::fromUtf8("café"));
  EXPECT_EQ(list->model()->index(1, 0).data().toString(), QString::fromUtf8("baré"));
  EXPECT_TRUE(child<QPushButton>(view, "Command1")->isEnabled());
  EXPECT_EQ(view.windowTitle(), "WAYMINT .27 :/maps/x.osm");

  auto* folderBox = child<QLineEdit>(view, "Text1");
  folderBox->selectAll();
  folderBox->insert("/gpx/here");
  EXPECT_EQ(program.state.gpxfolder, "/gpx/here");
}

TEST_F(F1ViewTest, FileOpenThroughTheMenuFillsTheCategoryList) {
  qt::F1View view(program);
  view.show();
  std::string path = folder.write("town.osm",
                                  "<osm><node id=\"1\" lat=\"1\" lon=\"2\"><tag k=\"amenity\" "
                                  "v=\"cafe\"/></node><node id=\"2\" lat=\"1\" lon=\"3\"><tag "
                                  "k=\"shop\" v=\"books\"/></node></osm>");
  machine.chooseNext(path);
  menuAction(view, "mf(2)")->trigger();
  QCoreApplication::processEvents();
  auto* categories = child<QListView>(view, "List1(2)");
  ASSERT_EQ(categories->model()->rowCount(), 2);
  EXPECT_EQ(categories->model()->index(0, 0).data().toString(), "books");
  EXPECT_EQ(view.windowTitle().toStdString(), "WAYMINT .27 :" + path);
  EXPECT_EQ(menuAction(view, "mf(9)")->text().toStdString(), path);
  EXPECT_TRUE(child<QPushButton>(view, "Command2(0)")->isEnabled());
}

TEST_F(F1ViewTest, AlertBoxRunsItsHandlerOnAMouseReleaseOnly) {
  qt::F1View view(program);
  view.show();
  auto* alert = child<QCheckBox>(view, "Check2");
  alert->setFocus();
  QTest::keyClick(alert, Qt::Key_Space);
  QCoreApplication::processEvents();
  EXPECT_EQ(program.f1.Check2.value(), 1);
  EXPECT_FALSE(program.state.alert);
  EXPECT_FALSE(child<QLineEdit>(view, "Text3(1)")->isEnabled());

  clickWithMouse(alert);
  EXPECT_EQ(program.f1.Check2.value(), 0);
  EXPECT_FALSE(program.state.alert);
  clickWithMouse(alert);
  EXPECT_EQ(program.f1.Check2.value(), 1);
  EXPECT_TRUE(program.state.alert);
  QCoreApplication::processEvents();
  EXPECT_TRUE(child<QLineEdit>(view, "Text3(1)")->isEnabled());
}

TEST_F(F1ViewTest, ClosingWritesTheStateFile) {
  qt::F1View view(program);
  view.show();
  view.close();
  EXPECT_NE(slurp(folder / "osm_pois.dat"), "<missing>");
  EXPECT_TRUE(machine.processEnded());
}

}  // namespace
}  // namespace waymint::testing

#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QTest>

#include "app/program.h"
#include "platform/headless/headless_platform.h"
#include "platform/qt/f1_view.h"
#include "support/temp_folder.h"

namespace waymint::testing {
namespace {

// One whole path through the real widgets: open an extract, click a category, create its
// GPX, read the report, see the waypoints listed.
TEST(WorkflowView, FromOsmFileToGpxThroughTheWidgets) {
  TempFolder folder;
  platform::HeadlessPlatform machine;
  machine.setExecutableFolder(folder.path());
  app::Program program(machine);
  program.f1.Form_Load();
  program.f1.Text1.setText(folder / "gpx");
  qt::F1View view(program);
  view.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));

  machine.chooseNext(sharedPath("data/liechtenstein-2013-08-03.osm"));
  view.findChild<QAction*>("mf(2)")->trigger();
  QCoreApplication::processEvents();

  auto* categories = view.findChild<QListView*>("List1(2)");
  int row = -1;
  for (int i = 0; i < categories->model()->rowCount(); ++i) {
    if (categories->model()->index(i, 0).data().toString() == "fuel") row = i;
  }
  ASSERT_GE(row, 0);
  categories->scrollTo(categories->model()->index(row, 0));
  QRect item = categories->visualRect(categories->model()->index(row, 0));
  QTest::mouseClick(categories->viewport(), Qt::LeftButton, {}, item.center());
  QTest::qWait(50);
  EXPECT_EQ(program.state.category, "fuel");
  auto* found = view.findChild<QLabel*>("Label1(0)");
  EXPECT_TRUE(found->text().startsWith("POIS found: "));
  int count = found->text().mid(12).toInt();
  EXPECT_GT(count, 5);
  EXPECT_EQ(view.findChild<QListView*>("List1(0)")->model()->rowCount(), count);

  auto* create = view.findChild<QPushButton*>("Command1");
  EXPECT_EQ(create->text(), "Create GPX");
  ASSERT_TRUE(create->isEnabled());
  QTest::mouseClick(create, Qt::LeftButton);
  QCoreApplication::processEvents();

  ASSERT_EQ(machine.messages().size(), 1u);
  EXPECT_EQ(machine.messages()[0].text.rfind("GPX created\r\n\r\nNew POIs added: " + std::to_string(count) + "\r\n", 0), 0u);
  EXPECT_EQ(view.findChild<QListView*>("List3")->model()->rowCount(), count);
  EXPECT_EQ(view.findChild<QListView*>("List2")->model()->rowCount(), count);
  EXPECT_FALSE(view.findChild<QWidget*>("Frame1")->isVisible());
  EXPECT_TRUE(create->isEnabled());
  EXPECT_NE(slurp(folder / "gpx/fuel/fuel.gpx"), "<missing>");
}

}  // namespace
}  // namespace waymint::testing

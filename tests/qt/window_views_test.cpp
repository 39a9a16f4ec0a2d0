#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QLocale>
#include <QMessageBox>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QUrl>
#include <QTest>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "app/program.h"
#include "dialogs/folders.h"
#include "dialogs/info.h"
#include "dialogs/settings.h"
#include "dialogs/updat.h"
#include "editors/edall.h"
#include "editors/edit.h"
#include "gui/edit_view.h"
#include "gui/f1_view.h"
#include "gui/info_views.h"
#include "gui/settings_view.h"
#include "support/compressed_files.h"
#include "support/osm_text.h"
#include "support/temp_folder.h"
#include "view_support.h"
#include "workflow/connect.h"

namespace waymint::testing {
namespace {

// Each window: a widget under the name of each control, a change of the model shown by its
// widget, and a user event on a widget reaching the window's handler.
TEST_F(WindowViews, EveryWindowShowsItsModelAndForwardsUserEvents) {
  std::filesystem::create_directories(folder / "gpx/cafe");
  const std::string loader = folder.write("POILoader.exe", "MZ");
  app::f1& f1 = program.f1;
  {
    SCOPED_TRACE("f1");
    EXPECT_EQ(main->objectName(), QStringLiteral("f1"));
    expectEveryControlShown(*main, f1);
    f1.List1(2).setItems({"caf\xc3\xa9", "bar\xe9"});  // UTF-8, then Windows-1252
    f1.Command1.setEnabled(true);
    QCoreApplication::processEvents();
    EXPECT_EQ(rows(child<QListView>(*main, "List1(2)")), QStringList({"café", "baré"}));
    EXPECT_TRUE(child<QPushButton>(*main, "Command1")->isEnabled());
    auto* gpxFolder = child<QLineEdit>(*main, "Text1");
    gpxFolder->selectAll();
    QTest::keyClicks(gpxFolder, QString::fromStdString(folder / "gpx"));
    EXPECT_EQ(program.state.gpxfolder, folder / "gpx");
    ModalAnswers answers({[](QWidget& window) {
      EXPECT_EQ(window.objectName(), QStringLiteral("settings"));
      child<QPushButton>(window, "Command3")->click();
    }});
    child<QAction>(*main, "mtl(2)")->trigger();  // Tools > Settings
  }

  editors::edit edit(program);
  editors::edall edall(program);
  dialogs::settings settings(program);
  dialogs::folders folders(program);
  dialogs::Info info(program);
  dialogs::updat updat(program);
  edit.Form_Load();
  edall.Form_Load();
  settings.Form_Load();
  folders.Form_Load();
  updat.Form_Load();
  struct Walk {
    platform::Window& window;
    std::vector<ModalAnswers::Step> steps;  // the window's, then those of windows it opens
  };
  std::vector<Walk> walks = {
      {edit, {[&](QWidget& view) {
         edit.List1.setItems({"Harbour &amp; Quay"});
         QCoreApplication::processEvents();
         EXPECT_EQ(rows(child<QListView>(view, "List1")), QStringList({"Harbour & Quay"}));
         child<QAction>(view, "mff(4)")->trigger();  // File > Exit
       }}},
      {edall, {[&](QWidget& view) {
         edall.Check2.setValue(1);
         QCoreApplication::processEvents();
         auto* alert = child<QCheckBox>(view, "Check2");
         EXPECT_TRUE(alert->isChecked());
         QTest::keyClick(alert, Qt::Key_Space);  // off and on again by keyboard: the handler runs
         QTest::keyClick(alert, Qt::Key_Space);
         EXPECT_TRUE(program.state.alert);
         auto* distance = child<QLineEdit>(view, "Text3(1)");
         distance->selectAll();
         QTest::keyClicks(distance, "75");
         EXPECT_EQ(edall.Text3(1).text(), "75");
         child<QPushButton>(view, "Command1(1)")->click();
       }}},
      {settings,
       {[&](QWidget& view) {
          child<QPushButton>(view, "Command2(0)")->click();  // "<<": the file dialog
          QCoreApplication::processEvents();
          EXPECT_EQ(child<QLineEdit>(view, "Text1(0)")->text().toStdString(), loader);
          child<QPushButton>(view, "Command3")->click();
        },
        pickFile(loader)}},
      {folders, {[&](QWidget& view) {
         // Opening the window has moved the folder list to the GPX folder.
         auto* list = child<QListWidget>(view, "Dir1");
         ASSERT_GT(list->count(), 0);
         QListWidgetItem* last = list->item(list->count() - 1);
         EXPECT_EQ(last->text().trimmed(), QStringLiteral("cafe"));
         const QPoint at = list->visualItemRect(last).center();
         QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
         QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
         QCoreApplication::processEvents();
         EXPECT_EQ(child<QLineEdit>(view, "Text1")->text().toStdString(), folder / "gpx/cafe");
         child<QPushButton>(view, "Command1(0)")->click();
       }}},
      {info, {[&](QWidget& view) {
         EXPECT_EQ(child<QLabel>(view, "Label1")->text(),  // filled as the window opened
                   QStringLiteral("Version 0") + QLocale().decimalPoint() + QStringLiteral("27"));
         child<QPushButton>(view, "Command1")->click();
       }}},
      {updat, {[&](QWidget& view) {
         auto* link = child<QLabel>(view, "Label1");
         EXPECT_EQ(link->text(), QStringLiteral("Click here to check website"));
         QTest::mouseMove(link, QPoint(2, 2));  // the pointer over the link makes it magenta
         QCoreApplication::processEvents();
         EXPECT_EQ(link->styleSheet(), QStringLiteral("color: rgb(255,0,255);"));
         QTest::mouseMove(child<QWidget>(view, "Shape4"), QPoint(2, 2));  // off it: blue again
         QCoreApplication::processEvents();
         EXPECT_EQ(link->styleSheet(), QStringLiteral("color: rgb(0,0,255);"));
         child<QPushButton>(view, "Command1")->click();  // Download
       }}},
  };
  for (Walk& walk : walks) {
    SCOPED_TRACE(walk.window.name());
    walk.steps.front() = [&window = walk.window, step = walk.steps.front()](QWidget& view) {
      EXPECT_EQ(view.objectName().toStdString(), window.name());
      expectEveryControlShown(view, window);
      QCoreApplication::processEvents();
      step(view);
    };
    ModalAnswers answers(walk.steps);
    desktop.showModal(walk.window);
    EXPECT_TRUE(walk.window.closed());
  }
  EXPECT_EQ(program.state.loaderpath, loader);
  EXPECT_EQ(program.state.gpxfolder, folder / "gpx/cafe");
  EXPECT_EQ(desktop.opened, std::vector<std::string>{"https://veltrana.example/osm/download"});
}

// Load OSM, a click on a category, Create GPX and its report, all through the main window. The
// name lists show names as people read them; the GPX keeps them as the OSM file writes them.
TEST_F(WindowViews, FromOsmFileToGpxThroughTheMainWindow) {
  const std::string osm = folder.write(
      "town.osm",
      osmFile(osmNode("1", "43.70", "7.40", {{"amenity", "cafe"}, {"name", "L&apos;Alaska"}}) +
              osmNode("2", "43.71", "7.41", {{"amenity", "bar"}, {"name", "Anchor"}}) +
              osmNode("3", "43.72", "7.42", {{"amenity", "cafe"}, {"name", "P&amp;P Caf&#233;"}})));
  program.f1.Text1.setText(folder / "gpx");
  {
    ModalAnswers answers({pickFile(osm)});
    QTest::mouseClick(child<QPushButton>(*main, "Command2(0)"), Qt::LeftButton);  // Load OSM
  }
  QTest::qWait(50);
  auto* categories = child<QListView>(*main, "List1(2)");
  ASSERT_EQ(rows(categories), QStringList({"bar", "cafe"}));
  QTest::mouseClick(categories->viewport(), Qt::LeftButton, {},
                    categories->visualRect(categories->model()->index(1, 0)).center());
  QTest::qWait(50);
  EXPECT_EQ(child<QLabel>(*main, "Label1(0)")->text(), QStringLiteral("POIS found: 2"));
  EXPECT_EQ(rows(child<QListView>(*main, "List1(0)")), QStringList({"L'Alaska", "P&P Café"}));
  EXPECT_EQ(program.f1.List1(0).item(0), "L&apos;Alaska");

  const std::string gpx = folder / "gpx/cafe/cafe.gpx";
  {
    ModalAnswers answers({[&](QWidget& window) {
      auto* box = qobject_cast<QMessageBox*>(&window);
      ASSERT_NE(box, nullptr);
      EXPECT_EQ(box->text().toStdString(),
                "GPX created\r\n\r\nNew POIs added: 2\r\n\r\ncafe.bmp not found in same folder as "
                "\r\n\r\n" + gpx +
                    "\r\n\r\nPOI will remain invisible. Use Pixmold to create bitmap.");
      box->button(QMessageBox::Ok)->click();
    }});
    QTest::mouseClick(child<QPushButton>(*main, "Command1"), Qt::LeftButton);  // Create GPX
  }
  QTest::qWait(50);
  const std::string written = slurp(gpx);
  EXPECT_NE(written.find("<name>L&apos;Alaska</name>"), std::string::npos) << written;
  EXPECT_NE(written.find("<name>P&amp;P Caf&#233;</name>"), std::string::npos) << written;
  EXPECT_EQ(rows(child<QListView>(*main, "List2")), QStringList({"L'Alaska", "P&P Café"}));
  EXPECT_EQ(rows(child<QListView>(*main, "List3")),
            QStringList({" 43.70 7.40 L'Alaska", " 43.72 7.42 P&P Café"}));
  EXPECT_FALSE(child<QWidget>(*main, "Frame1")->isVisible());
}

// Drops a file on the main window, as a file manager does.
void drop(QWidget& window, const std::string& path) {
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(QString::fromStdString(path))});
  const QPoint middle = window.rect().center();
  QDragEnterEvent enter(middle, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&window, &enter);
  ASSERT_TRUE(enter.isAccepted());
  QDropEvent dropped(middle, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&window, &dropped);
  QTest::qWait(50);                   // the file opens
  QCoreApplication::processEvents();  // and the window shows what it has become
}

TEST_F(WindowViews, ADroppedFileOpensWithItsProgressAndEscapeCancelsTheNext) {
  std::string body;
  for (int i = 0; i < 20000; ++i) body += osmNode(std::to_string(i), "43.7", "7.4", {{"shop", "kiosk"}});
  const std::string first = folder.write("kiosks.osm.gz", gzipOf(osmFile(body)));
  const std::string second = folder.write("cafes.osm.bz2", bzip2Of(osmFile(body + osmNode({{"amenity", "cafe"}}))));
  auto* bar = child<QProgressBar>(*main, "progress");
  auto* cancel = child<QPushButton>(*main, "cancel");
  QStringList shown;
  onProgress = [&] {
    if (bar->isVisible() && cancel->isVisible()) shown << bar->format();
  };
  drop(*main, first);
  EXPECT_EQ(rows(child<QListView>(*main, "List1(2)")), QStringList({"kiosk"}));
  EXPECT_EQ(program.state.lastosm.value_or(""), first);
  EXPECT_TRUE(shown.contains(QStringLiteral("Reading kiosks.osm.gz %p%"))) << shown.join(',').toStdString();
  EXPECT_TRUE(shown.contains(QStringLiteral("Surveying %p%")));
  EXPECT_FALSE(bar->isVisible());
  EXPECT_FALSE(cancel->isVisible());

  // Escape in the filter box clears the filter and lets the load go on; once the box is
  // empty, Escape there cancels the load as it does anywhere in the window.
  auto* filter = child<QLineEdit>(*main, "filter");
  filter->setFocus();
  QTest::keyClicks(filter, "ki");
  int escapes = 0;
  onProgress = [&] {
    if (!cancel->isVisible() || desktop.cancelRequested()) return;
    QTest::keyClick(filter, Qt::Key_Escape);
    ++escapes;
    EXPECT_TRUE(filter->text().isEmpty());
    EXPECT_EQ(desktop.cancelRequested(), escapes == 2);
  };
  drop(*main, second);
  EXPECT_EQ(escapes, 2);
  EXPECT_EQ(rows(child<QListView>(*main, "List1(2)")), QStringList({"kiosk"}));
  EXPECT_EQ(program.state.osmfile, first);
  EXPECT_FALSE(bar->isVisible());
}

}  // namespace
}  // namespace waymint::testing

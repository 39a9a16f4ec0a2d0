// Every window's view, a whole run from OSM file to GPX file, and a dropped file's progress.
#include <filesystem>

#include "dialogs/folders.h"
#include "dialogs/info.h"
#include "dialogs/settings.h"
#include "dialogs/updat.h"
#include "editors/edall.h"
#include "editors/edit.h"
#include "support/compressed_files.h"
#include "view_support.h"

namespace waymint::testing {
namespace {

// Each window: a widget under the name of each control, a change of the model shown by its
// widget, and a user event on a widget reaching the window's handler (the main window's
// events: in the tests below and in main_window_test.cpp).
TEST_F(WindowViews, EveryWindowShowsItsModelAndForwardsUserEvents) {
  for (const platform::Control* control : program.f1.controls()) child(*main, control->name());
  program.f1.List1(2).setItems({"caf\xc3\xa9", "bar\xe9"});  // UTF-8, then Windows-1252
  EXPECT_EVENTUALLY_EQ(listed("List1(2)"), QStringList({"café", "baré"}));

  // Shows `window` to a user who takes `steps`: the window's, then those of windows it opens.
  const auto walk = [&](platform::Window& window, std::vector<ModalAnswers::Step> steps) {
    SCOPED_TRACE(window.name());
    steps.front() = [&window, step = steps.front()](QWidget& view) {
      for (const platform::Control* control : window.controls()) child(view, control->name());
      step(view);
    };
    ModalAnswers answers(steps);
    desktop.showModal(window);
    EXPECT_TRUE(window.closed());
  };
  editors::edit edit(program);
  walk(edit, {[&](QWidget& view) {
         edit.List1.setItems({"Harbour &amp; Quay"});
         EXPECT_EVENTUALLY_EQ(rows(child<QListView>(view, "List1")), QStringList({"Harbour & Quay"}));
         child<QAction>(view, "mff(4)")->trigger();  // File > Exit
       }});
  editors::edall edall(program);
  walk(edall, {[&](QWidget& view) {
         edall.Check2.setValue(1);
         auto* alert = child<QCheckBox>(view, "Check2");
         EXPECT_EVENTUALLY_EQ(alert->isChecked(), true);
         QTest::keyClick(alert, Qt::Key_Space);  // off and on again by keyboard: the handler runs
         QTest::keyClick(alert, Qt::Key_Space);
         EXPECT_TRUE(program.state.alert);
         auto* distance = child<QLineEdit>(view, "Text3(1)");
         distance->selectAll();
         QTest::keyClicks(distance, "75");
         EXPECT_EQ(edall.Text3(1).text(), "75");
         child<QPushButton>(view, "Command1(1)")->click();
       }});
  // Programs: an executable file, picked with "<<" or typed into the box and taken by OK.
  const std::string loader = folder.writeProgram("poiloader-wine");
  const std::string pixmold = folder.writeProgram("pixmold");
  dialogs::settings settings(program);
  walk(settings, {[&](QWidget& view) {
                    child<QPushButton>(view, "Command2(0)")->click();  // "<<": the file dialog
                    EXPECT_EVENTUALLY_EQ(child<QLineEdit>(view, "Text1(0)")->text().toStdString(),
                                         loader);
                    auto* typed = child<QLineEdit>(view, "Text1(1)");
                    typed->selectAll();
                    QTest::keyClicks(typed, QString::fromStdString(pixmold));
                    QTest::keyClick(typed, Qt::Key_Return);  // Enter is OK, not another pick
                  },
                  pickFile(loader)});
  EXPECT_EQ(program.state.loaderpath, loader);
  EXPECT_EQ(program.state.stylepath, pixmold);
  std::filesystem::create_directories(folder / "gpx/cafe");
  program.f1.Text1.setText(folder / "gpx");
  dialogs::folders folders(program);
  folders.Form_Load();
  walk(folders, {[&](QWidget& view) {
         // Opening the window has moved the folder list to the GPX folder.
         auto* list = child<QListWidget>(view, "Dir1");
         ASSERT_GT(list->count(), 0);
         QListWidgetItem* last = list->item(list->count() - 1);
         EXPECT_EQ(last->text().trimmed(), QStringLiteral("cafe"));
         const QPoint at = list->visualItemRect(last).center();
         QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
         QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, at);
         EXPECT_EVENTUALLY_EQ(child<QLineEdit>(view, "Text1")->text().toStdString(),
                              folder / "gpx/cafe");
         child<QPushButton>(view, "Command1(0)")->click();
       }});
  EXPECT_EQ(program.state.gpxfolder, folder / "gpx/cafe");
  dialogs::Info info(program);
  walk(info, {[&](QWidget& view) {
         EXPECT_EQ(child<QLabel>(view, "Label1")->text(),  // filled as the window opened
                   QStringLiteral("Version 0") + QLocale().decimalPoint() + QStringLiteral("27"));
         child<QPushButton>(view, "Command1")->click();
       }});
  dialogs::updat updat(program);
  updat.Form_Load();
  walk(updat, {[&](QWidget& view) {
         auto* link = child<QLabel>(view, "Label1");
         EXPECT_EQ(link->text(), QStringLiteral("Click here to check website"));
         // The pointer over the link makes it magenta; off it to the panel, or out of the
         // window straight from the link, blue again.
         auto* panel = child<QWidget>(view, "Shape4");
         for (bool outOfTheWindow : {false, true}) {
           QTest::mouseMove(link, QPoint(2, 2));
           EXPECT_EVENTUALLY_EQ(link->styleSheet(), QStringLiteral("color: rgb(255,0,255);"));
           QEvent left(QEvent::Leave);
           if (outOfTheWindow) QCoreApplication::sendEvent(link, &left);
           else QTest::mouseMove(panel, QPoint(2, 2));
           EXPECT_EVENTUALLY_EQ(link->styleSheet(), QStringLiteral("color: rgb(0,0,255);"));
         }
         // The link is as wide as its words: a press on the panel beside them opens nothing.
         EXPECT_LE(link->width(), link->sizeHint().width());
         EXPECT_LT(link->geometry().right(), panel->width() - 8);
         QTest::mouseClick(panel, Qt::LeftButton, {},
                           QPoint(panel->width() - 4, link->geometry().center().y()));
         EXPECT_TRUE(desktop.opened.empty());
         child<QPushButton>(view, "Command1")->click();  // Download
       }});
  EXPECT_EQ(desktop.opened, std::vector<std::string>{"https://veltrana.example/osm/download"});
}

// Drops a file on the main window, as a file manager does (it opens once the events are
// processed).
void drop(QWidget& window, const std::string& path) {
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(QString::fromStdString(path))});
  const QPoint middle = window.rect().center();
  QDragEnterEvent enter(middle, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&window, &enter);
  ASSERT_TRUE(enter.isAccepted());
  QDropEvent dropped(middle, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&window, &dropped);
}

// Load OSM with its progress, a click on a category, Create GPX and its report, all through the
// main window. The name lists show names as people read them; the GPX keeps them as the OSM
// file writes them. A file dropped next shows its progress, which Escape cancels; it opens
// when dropped again.
TEST_F(WindowViews, FromOsmFileToGpxThroughTheMainWindow) {
  std::string kiosks;  // enough to show the progress
  for (int i = 10; i < 20000; ++i) {
    kiosks += osmNode(std::to_string(i), "43.7", "7.4", {{"shop", "kiosk"}});
  }
  const std::string osm = folder.write(
      "town.osm.gz",
      gzipOf(osmFile(
          osmNode("1", "43.70", "7.40", {{"amenity", "cafe"}, {"name", "L&apos;Alaska"}}) +
          osmNode("2", "43.71", "7.41", {{"amenity", "bar"}, {"name", "Anchor"}}) +
          osmNode("3", "43.72", "7.42", {{"amenity", "cafe"}, {"name", "P&amp;P Caf&#233;"}}) +
          kiosks)));
  auto* bar = child<QProgressBar>(*main, "progress");
  auto* cancel = child<QPushButton>(*main, "cancel");
  QStringList shown;
  onProgress = [&] { if (bar->isVisible() && cancel->isVisible()) shown << bar->format(); };
  program.f1.Text1.setText(folder / "gpx");
  {
    ModalAnswers answers({pickFile(osm)});
    QTest::mouseClick(child<QPushButton>(*main, "Command2(0)"), Qt::LeftButton);  // Load OSM
  }
  const QStringList categories = {"bar", "cafe", "kiosk"};
  ASSERT_EVENTUALLY_EQ(listed("List1(2)"), categories);
  EXPECT_TRUE(shown.contains("Reading town.osm.gz %p%")) << shown.join(',').toStdString();
  EXPECT_TRUE(shown.contains("Surveying %p%"));
  EXPECT_FALSE(bar->isVisible() || cancel->isVisible());
  click(child<QListView>(*main, "List1(2)"), 1);
  EXPECT_EVENTUALLY_EQ(child<QLabel>(*main, "Label1(0)")->text(), QStringLiteral("POIS found: 2"));
  EXPECT_EQ(listed("List1(0)"), QStringList({"L'Alaska", "P&P Café"}));
  EXPECT_EQ(program.f1.List1(0).item(0), "L&apos;Alaska");
  QString report;
  {
    ModalAnswers answers({press(QMessageBox::Ok, &report)});
    QTest::mouseClick(child<QPushButton>(*main, "Command1"), Qt::LeftButton);  // Create GPX
  }
  // (The report's words: category_workflow_test.cpp.)
  EXPECT_TRUE(report.startsWith("GPX created\r\n\r\nNew POIs added: 2\r\n")) << report.toStdString();
  EXPECT_EVENTUALLY_EQ(listed("List2"), QStringList({"L'Alaska", "P&P Café"}));
  const std::string written = slurp(folder / "gpx/cafe/cafe.gpx");  // names as the OSM file has
  EXPECT_NE(written.find("<name>P&amp;P Caf&#233;</name>"), std::string::npos) << written;
  EXPECT_EVENTUALLY_EQ(listed("List3"), QStringList({" 43.70 7.40 L'Alaska", " 43.72 7.42 P&P Café"}));
  EXPECT_EVENTUALLY_EQ(child<QWidget>(*main, "Frame1")->isVisible(), false);

  // Escape in the filter box clears the filter and lets the load go on; once the box is
  // empty, Escape there cancels the load as it does anywhere in the window.
  const std::string next = folder.write("kiosks.osm.bz2", bzip2Of(osmFile(kiosks)));
  auto* filter = child<QLineEdit>(*main, "Text5");
  filter->setFocus();
  QTest::keyClicks(filter, "ki");
  shown.clear();
  onProgress = [&] {
    if (!cancel->isVisible() || desktop.cancelRequested()) return;
    shown << bar->format();
    QTest::keyClick(filter, Qt::Key_Escape);
    EXPECT_TRUE(filter->text().isEmpty());
    EXPECT_EQ(desktop.cancelRequested(), shown.size() == 2);
  };
  drop(*main, next);
  ASSERT_EVENTUALLY_EQ(shown.size(), 2);  // the load has ended, cancelled
  EXPECT_EQ(shown[0], QStringLiteral("Reading kiosks.osm.bz2 %p%"));
  EXPECT_EVENTUALLY_EQ(listed("List1(2)"), categories);
  EXPECT_FALSE(bar->isVisible());
  onProgress = {};
  drop(*main, next);  // left alone, it opens
  EXPECT_EVENTUALLY_EQ(listed("List1(2)"), QStringList({"kiosk"}));
  EXPECT_EQ(program.state.lastosm.value_or(""), next);
}

}  // namespace
}  // namespace waymint::testing

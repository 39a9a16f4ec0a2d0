// The main window as a user meets it: keyboard, menus, filter, sizes and long paths.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QScreen>

#include <string>
#include <vector>

#include "app/web_addresses.h"
#include "gui/bindings.h"
#include "gui/shown_text.h"
#include "support/osm_text.h"
#include "view_support.h"

namespace waymint::testing {
namespace {

// A town of seven categories, one POI each, listed in this order.
const std::vector<std::pair<std::string, std::string>> town = {
    {"atm", "Cash Point"}, {"bar", "Anchor"},      {"bench", "Stone Seat"},
    {"cafe", "Blue Door"}, {"fuel", "Quay Pumps"}, {"pharmacy", "Green Cross"},
    {"restaurant", "Harbour Grill"}};

class MainWindow : public WindowViews {
 protected:
  QListView* categories = nullptr;

  void loadTown() {
    std::string body;
    for (const auto& [value, name] : town) body += osmNode({{"amenity", value}, {"name", name}});
    program.f1.Text1.setText(folder / "gpx");
    program.f1.Form_OLEDragDrop(folder.write("town.osm", osmFile(body)));
    QTest::qWait(50);
    categories = child<QListView>(*main, "List1(2)");
  }
  void click(int row) {
    QTest::mouseClick(categories->viewport(), Qt::LeftButton, {},
                      categories->visualRect(categories->model()->index(row, 0)).center());
    QTest::qWait(50);
    QCoreApplication::processEvents();
  }
  QStringList pois() { return rows(child<QListView>(*main, "List1(0)")); }
  void activate() {
    main->activateWindow();
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == main.get(); }));
  }
};

TEST_F(MainWindow, KeyboardSelectionShowsTheCategoryOnceItRests) {
  loadTown();
  click(1);  // a press shows its category at once
  ASSERT_EQ(pois(), QStringList({"Anchor"}));
  ASSERT_EQ(QApplication::focusWidget(), categories);
  struct Step {
    std::vector<Qt::Key> keys;  // typed 100 ms apart: quicker than the list settles
    int shown;                  // the category shown once the keys have rested
  };
  const std::vector<Step> steps = {
      {{Qt::Key_Down}, 2}, {{Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Down}, 6},
      {{Qt::Key_Home}, 0}, {{Qt::Key_End}, 6}, {{Qt::Key_PageUp}, 0}, {{Qt::Key_PageDown}, 6},
      {{Qt::Key_C}, 3}};
  for (const Step& step : steps) {
    SCOPED_TRACE(town[step.shown].first);
    const QStringList before = pois();
    for (Qt::Key key : step.keys) {
      QElapsedTimer sinceKey;
      sinceKey.start();
      QTest::keyClick(categories, key);
      QTest::qWait(100);
      // Not yet: no category passed on the way is shown (unless the machine was too slow to tell).
      if (sinceKey.elapsed() < gui::F1View::keyboardSettleMs) {
        EXPECT_EQ(pois(), before);
      }
    }
    const QStringList shown = {QString::fromStdString(town[step.shown].second)};
    EXPECT_TRUE(QTest::qWaitFor([&] { return pois() == shown; })) << pois().join(',').toStdString();
    EXPECT_EQ(program.f1.List1(2).selectedIndex(), step.shown);
    EXPECT_EQ(QApplication::focusWidget(), categories);  // back after the list was disabled
  }
  // A press after a key shows its own category at once, and nothing follows it.
  QTest::keyClick(categories, Qt::Key_Down);
  click(5);
  EXPECT_EQ(pois(), QStringList({"Green Cross"}));
  program.f1.List2.setItems({"marker"});  // cleared by any later showing of a category
  QTest::qWait(gui::F1View::keyboardSettleMs + 100);
  EXPECT_EQ(program.f1.List2.items(), std::vector<std::string>{"marker"});
}

TEST_F(MainWindow, TheFilterNarrowsTheListAndAPressOnItIsAPressOnTheWholeList) {
  loadTown();
  auto* filter = child<QLineEdit>(*main, "filter");
  QTest::keyClick(main.get(), Qt::Key_F, Qt::ControlModifier);  // Ctrl+F goes to the filter
  EXPECT_EQ(QApplication::focusWidget(), filter);
  QTest::keyClicks(filter, "ph");
  QTest::keyClick(filter, Qt::Key_Down);  // on into the list, to its first entry
  EXPECT_EQ(QApplication::focusWidget(), categories);
  EXPECT_TRUE(QTest::qWaitFor([&] { return pois() == QStringList({"Green Cross"}); }));
  EXPECT_EQ(program.f1.List1(2).selectedIndex(), 5);
  QTest::keyClick(main.get(), Qt::Key_F, Qt::ControlModifier);
  QTest::keyClicks(filter, "A");  // in place of "ph", selected by Ctrl+F
  QCoreApplication::processEvents();
  EXPECT_EQ(rows(categories), QStringList({"atm", "bar", "cafe", "pharmacy", "restaurant"}));
  click(2);
  EXPECT_EQ(program.f1.List1(2).selectedIndex(), 3);
  EXPECT_EQ(pois(), QStringList({"Blue Door"}));
  QTest::keyClicks(filter, "ze");  // hides the selected entry; the window still shows it
  QCoreApplication::processEvents();
  EXPECT_EQ(rows(categories), QStringList());
  EXPECT_EQ(program.f1.List1(2).selectedIndex(), 3);
  QTest::keyClick(filter, Qt::Key_Escape);
  QCoreApplication::processEvents();
  EXPECT_EQ(filter->text(), QString());
  EXPECT_EQ(rows(categories).size(), 7);
  EXPECT_EQ(categories->currentIndex().row(), 3);
  EXPECT_EQ(program.f1.List1(2).selectedIndex(), 3);
}

TEST_F(MainWindow, AlertAndSoundToggledByKeyboardRunTheirHandlersAndTheStateFileKeepsTheAlert) {
  struct Box {
    const char* name;
    std::vector<const char*> following;  // the controls the box enables
  };
  const std::vector<Box> boxes = {{"Check2", {"Text3(0)", "Text3(1)"}},
                                  {"Check1", {"Opt(0)", "Opt(1)"}}};
  for (const Box& box : boxes) {
    SCOPED_TRACE(box.name);
    auto* check = child<QCheckBox>(*main, box.name);
    for (bool on : {true, false, true}) {
      if (on) {
        QTest::keyClick(check, Qt::Key_Space);
      } else {
        QTest::mouseClick(check, Qt::LeftButton);
      }
      QCoreApplication::processEvents();
      for (const char* name : box.following) {
        EXPECT_EQ(child<QWidget>(*main, name)->isEnabled(), on) << name;
      }
    }
  }
  QTest::keyClick(main.get(), Qt::Key_Q, Qt::ControlModifier);  // File > Exit writes the state file
  EXPECT_TRUE(program.f1.closed() && desktop.ended);
  const QStringList lines = QString::fromStdString(slurp(folder / "osm_pois.dat")).split("\r\n");
  ASSERT_GT(lines.size(), 12);
  EXPECT_EQ(lines[12], QStringLiteral("True"));
}

TEST_F(MainWindow, EveryMenuEntryIsReachedByKeyboard) {
  const std::string recent = folder.write("R&D.osm", osmFile(osmNode({{"amenity", "atm"}})));
  program.f1.mf(9).setCaption(recent);
  QCoreApplication::processEvents();
  EXPECT_EQ(child<QAction>(*main, "mf(9)")->text(),
            QStringLiteral("&1 ") + QString::fromStdString(recent).replace("&", "&&"));
  const auto closes = [](const QString& expected) -> ModalAnswers::Step {
    return [expected](QWidget& window) {
      const bool fileDialog = qobject_cast<QFileDialog*>(&window);
      EXPECT_EQ(fileDialog ? QStringLiteral("file dialog") : window.objectName(), expected);
      static_cast<QDialog&>(window).reject();
    };
  };
  struct Walk {
    Qt::Key menu, entry;
    const char* window;  // the window the entry opens, if any
  };
  for (const Walk& walk : std::vector<Walk>{{Qt::Key_F, Qt::Key_O, "file dialog"},
                                            {Qt::Key_F, Qt::Key_A, "Info"},
                                            {Qt::Key_T, Qt::Key_S, "settings"},
                                            {Qt::Key_H, Qt::Key_U, "updat"},
                                            {Qt::Key_H, Qt::Key_M, nullptr},
                                            {Qt::Key_F, Qt::Key_1, nullptr}}) {
    SCOPED_TRACE(QKeySequence(walk.menu).toString().toStdString() +
                 QKeySequence(walk.entry).toString().toStdString());
    std::vector<ModalAnswers::Step> steps;
    if (walk.window) steps.push_back(closes(walk.window));
    ModalAnswers answers(steps);
    activate();  // as it is again when the window or menu before has closed
    QTest::keyClick(main.get(), walk.menu, Qt::AltModifier);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    QTest::keyClick(menu, walk.entry);
    QTest::qWait(50);
  }
  EXPECT_EQ(rows(child<QListView>(*main, "List1(2)")), QStringList({"atm"}));  // the recent file
  activate();
  {
    ModalAnswers answers({closes("file dialog")});
    QTest::keyClick(main.get(), Qt::Key_O, Qt::ControlModifier);
  }
  activate();
  QTest::keyClick(main.get(), Qt::Key_F1);
  const std::string manual = app::webAddress(app::manualPage);
  EXPECT_EQ(desktop.opened, std::vector<std::string>({manual, manual}));
}

TEST(MainWindowSize, TheFirstSizeIsTheWindowsOwnOrNinetyPercentOfTheScreenButNotBelowTheMinimum) {
  struct Case {
    QSize available, minimum, first;
  };
  const std::vector<Case> cases = {{{1920, 1040}, {700, 420}, {1100, 640}},
                                   {{853, 560}, {700, 420}, {767, 504}},  // 1280 x 900 at 150 %
                                   {{640, 440}, {600, 420}, {600, 420}}};
  for (const Case& c : cases) {
    EXPECT_EQ(gui::F1View::firstSize(c.available, c.minimum), c.first);
  }
}

TEST_F(MainWindow, TheWindowFitsItsScreenAndAtItsMinimumNoCaptionIsCut) {
  const QSize available = main->screen()->availableGeometry().size();
  EXPECT_EQ(main->size(), gui::F1View::firstSize(available, main->minimumSize()));
  EXPECT_TRUE(QRect(QPoint(), available).contains(QRect(QPoint(), main->minimumSize())));
  const QString path = "/home/someone/Documents/Garmin/points of interest/cafe/cafe.gpx";
  const QString gpxFolder = "/home/someone/Documents/Garmin/points of interest/harbour";
  program.f1.Label4(2).setCaption(path.toStdString());
  program.f1.Text1.setText(gpxFolder.toStdString());
  main->resize(main->minimumSize());
  QTest::qWait(50);
  for (QWidget* widget : main->findChildren<QWidget*>()) {
    const bool captioned = qobject_cast<QLabel*>(widget) || qobject_cast<QAbstractButton*>(widget);
    if (!captioned || !widget->isVisible() || widget->maximumWidth() == 0) continue;  // 0: hidden
    EXPECT_GE(widget->width(), widget->sizeHint().width()) << widget->objectName().toStdString();
  }
  // The long paths: elided in the middle, whole in the tool tip and while the folder is edited.
  auto* selected = dynamic_cast<gui::ElidedLabel*>(child<QLabel>(*main, "Label4(2)"));
  auto* folderBox = dynamic_cast<gui::ElidedLineEdit*>(child<QLineEdit>(*main, "Text1"));
  ASSERT_TRUE(selected && folderBox);
  for (const auto& [shown, whole] : {std::pair(selected->shownText(), path),
                                     std::pair(folderBox->shownText(), gpxFolder)}) {
    const qsizetype mark = shown.indexOf(u'\u2026');
    const QString head = shown.left(mark), tail = shown.mid(mark + 1);
    EXPECT_TRUE(mark > 0 && head.endsWith('/') && tail.startsWith('/') && whole.startsWith(head) &&
                whole.endsWith(tail))
        << shown.toStdString();  // whole names left out, none cut
  }
  const QString shownAtMinimum = selected->shownText();
  EXPECT_EQ(selected->toolTip(), path);
  EXPECT_EQ(folderBox->toolTip(), gpxFolder);
  folderBox->setFocus();
  EXPECT_EQ(folderBox->shownText(), gpxFolder);
  QTest::keyClicks(folderBox, "/cafe");
  EXPECT_EQ(program.state.gpxfolder, gpxFolder.toStdString() + "/cafe");
  // The lists take the room the window gains.
  std::vector<QSize> smaller;
  const char* lists[] = {"List1(2)", "List1(0)", "List2", "List3"};
  for (const char* name : lists) smaller.push_back(child<QWidget>(*main, name)->size());
  main->resize(main->minimumSize() + QSize(400, 200));
  QTest::qWait(50);
  for (int i = 0; i < 4; ++i) {
    const QSize now = child<QWidget>(*main, lists[i])->size();
    EXPECT_TRUE(now.width() > smaller[i].width() && now.height() > smaller[i].height()) << lists[i];
  }
  EXPECT_GT(selected->shownText().size(), shownAtMinimum.size());  // and more of the path
}

TEST(NamesAsRead, ReferencesAreDecodedForDisplayOnly) {
  const std::vector<std::pair<QString, QString>> cases = {
      {"L&apos;Alaska P&amp;P &lt;b&gt; &quot;x&quot;", "L'Alaska P&P <b> \"x\""},
      {"Caf&#233; Caf&#xE9; &#x5C71; &#128506;", "Café Café 山 🗺"},
      {"&amp;lt; stays one step", "&lt; stays one step"},
      {"&nbsp; &#xD800; &#0; &#; &#x; &#12a; & ; &amp",  // left as they are
       "&nbsp; &#xD800; &#0; &#; &#x; &#12a; & ; &amp"}};
  for (const auto& [text, read] : cases) {
    EXPECT_EQ(gui::decodeEntities(text), read) << text.toStdString();
  }
}

}  // namespace
}  // namespace waymint::testing

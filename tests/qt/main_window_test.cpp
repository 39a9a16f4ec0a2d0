// The main window as a user meets it: keyboard, menus, filter, sizes and long paths.
#include "app/file_menu.h"
#include "gui/bindings.h"
#include "gui/category_list.h"
#include "gui/cut_name_tips.h"
#include "platform/files.h"
#include "support/case_table.h"
#include "view_support.h"
#include "workflow/file_actions.h"

namespace waymint::testing {
namespace {

// A town of seven categories, listed in this order, with one POI each: "The <category>".
const QStringList town = {"atm", "bar", "bench", "cafe", "fuel", "pharmacy", "restaurant"};

class MainWindow : public WindowViews {
 protected:
  gui::CategoryList* categories = nullptr;

  void loadTown() {
    std::string body;
    for (const QString& value : town) {
      body += osmNode({{"amenity", value.toStdString()}, {"name", "The " + value.toStdString()}});
    }
    openOsm("town.osm", body);
    categories = dynamic_cast<gui::CategoryList*>(child<QListView>(*main, "List1(2)"));
    ASSERT_NE(categories, nullptr);
    ASSERT_EVENTUALLY_EQ(rows(categories), town);
  }
  QStringList pois() { return listed("List1(0)"); }
  // Drops the OSM file `name` of `body` on the window, the GPX folder set.
  void openOsm(const std::string& name, const std::string& body) {
    program.f1.Text1.setText(folder / "gpx");
    program.f1.Form_OLEDragDrop(folder.write(name, osmFile(body)));
  }
};

TEST_F(MainWindow, KeyboardSelectionShowsTheCategoryOnceItRests) {
  loadTown();
  click(categories, 1);  // a press shows its category at once
  ASSERT_EVENTUALLY_EQ(pois(), QStringList({"The bar"}));
  // Keys typed quicker than the list settles: each leaves the category to be shown once the
  // keys rest, and none passed on the way is shown.
  const std::vector<std::pair<std::vector<Qt::Key>, int>> steps = {
      {{Qt::Key_Down}, 2}, {{Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Down}, 6},
      {{Qt::Key_Home}, 0}, {{Qt::Key_End}, 6}, {{Qt::Key_PageUp}, 0}, {{Qt::Key_PageDown}, 6},
      {{Qt::Key_C}, 3}};
  for (const auto& [keys, shown] : steps) {
    SCOPED_TRACE(town[shown].toStdString());
    const QStringList before = pois();
    for (Qt::Key key : keys) {
      QTest::keyClick(categories, key);
      EXPECT_TRUE(categories->showPending());
      EXPECT_EQ(pois(), before);
    }
    EXPECT_EVENTUALLY_EQ(pois(), QStringList{"The " + town[shown]});
    EXPECT_EQ(program.f1.List1(2).selectedIndex(), shown);
    // The focus is back after the list was disabled.
    EXPECT_EVENTUALLY_EQ(QApplication::focusWidget(), static_cast<QWidget*>(categories));
  }
  // A press after a key shows its own category at once, and nothing follows it.
  QTest::keyClick(categories, Qt::Key_Down);
  EXPECT_TRUE(categories->showPending());
  click(categories, 5);
  EXPECT_FALSE(categories->showPending());
  EXPECT_EVENTUALLY_EQ(pois(), QStringList({"The pharmacy"}));
}

// A category chosen by keyboard waits to be shown; a new list of categories meanwhile drops
// it, or it would show an entry of the list before. Each way a new list comes: a load of
// another file, the same entries again (as a load that fails or is cancelled puts them back)
// and ">>" answered Yes (the list emptied).
TEST_F(MainWindow, ANewCategoryListDropsAPendingKeyboardShow) {
  const std::string harbour = folder.write("harbour.osm", osmFile(osmNode({{"amenity", "quay"}})));
  const auto emptied = [this] {
    if (!platform::files::isFolder(folder / "gpx")) platform::files::makeFolder(folder / "gpx");
    ModalAnswers answers({[](QWidget& window) {  // the folder picker's OK
                            child<QPushButton>(window, "Command1(0)")->click();
                          },
                          press(QMessageBox::Yes)});  // "This will clear current list..."
    workflow::command5_Click(program);
  };
  const std::vector<std::pair<const char*, std::function<void()>>> arrivals = {
      {"another file", [&] { program.f1.Form_OLEDragDrop(harbour); }},
      {"the same entries", [&] { program.f1.List1(2).setItems(program.f1.List1(2).items()); }},
      {">> answered Yes", emptied}};
  for (const auto& [arrival, arrive] : arrivals) {
    SCOPED_TRACE(arrival);
    loadTown();
    categories->setFocus();
    QTest::keyClick(categories, Qt::Key_End);
    ASSERT_TRUE(categories->showPending());
    arrive();
    main->bindings().flush();  // the window shows the new list
    EXPECT_FALSE(categories->showPending());
    // A show left pending would show no category of the new list ("Please select"): the
    // window that says so fails the test.
    ModalAnswers none({});
    ASSERT_EVENTUALLY_EQ(categories->showPending(), false);
  }
}

TEST_F(MainWindow, TheFilterNarrowsTheListAndAPressOnItIsAPressOnTheWholeList) {
  loadTown();
  auto* filter = child<QLineEdit>(*main, "Text5");
  QTest::keyClick(main.get(), Qt::Key_F, Qt::ControlModifier);  // Ctrl+F goes to the filter
  EXPECT_EQ(QApplication::focusWidget(), filter);
  QTest::keyClicks(filter, "ph");
  QTest::keyClick(filter, Qt::Key_Down);  // on into the list, to its first entry
  EXPECT_EQ(QApplication::focusWidget(), static_cast<QWidget*>(categories));
  EXPECT_EVENTUALLY_EQ(pois(), QStringList({"The pharmacy"}));
  EXPECT_EQ(program.f1.List1(2).selectedIndex(), 5);
  QTest::keyClick(main.get(), Qt::Key_F, Qt::ControlModifier);
  QTest::keyClicks(filter, "A");  // in place of "ph", selected by Ctrl+F
  EXPECT_EQ(rows(categories), QStringList({"atm", "bar", "cafe", "pharmacy", "restaurant"}));
  click(categories, 2);
  EXPECT_EQ(program.f1.List1(2).selectedIndex(), 3);
  EXPECT_EVENTUALLY_EQ(pois(), QStringList({"The cafe"}));
  QTest::keyClicks(filter, "ze");  // hides the selected entry; the window still shows it
  EXPECT_EQ(rows(categories), QStringList());
  EXPECT_EQ(program.f1.List1(2).selectedIndex(), 3);
  EXPECT_EQ(program.f1.Text5.text(), "Aze");
  QTest::keyClick(filter, Qt::Key_Escape);
  EXPECT_EQ(filter->text(), QString());
  EXPECT_EQ(program.f1.Text5.text(), "");
  EXPECT_EQ(rows(categories), town);
  EXPECT_EQ(categories->currentIndex().row(), 3);
  EXPECT_EQ(program.f1.List1(2).selectedIndex(), 3);
  // Another file empties the filter: the box, and the list shows all its categories.
  QTest::keyClicks(filter, "ph");
  ASSERT_EQ(rows(categories), QStringList({"pharmacy"}));
  program.f1.Form_OLEDragDrop(folder.write("more.osm", osmFile(osmNode({{"amenity", "atm"}}) +
                                                               osmNode({{"shop", "bakery"}}))));
  EXPECT_EVENTUALLY_EQ(rows(categories), QStringList({"atm", "bakery"}));
  EXPECT_EQ(filter->text(), QString());
}

TEST_F(MainWindow, AlertAndSoundToggledByKeyboardRunTheirHandlersAndCtrlQEnds) {
  using Box = std::pair<const char*, std::vector<const char*>>;  // a box, the controls it enables
  for (const auto& [box, following] : {Box{"Check2", {"Text3(0)", "Text3(1)"}},
                                       Box{"Check1", {"Opt(0)", "Opt(1)"}}}) {
    SCOPED_TRACE(box);
    auto* check = child<QCheckBox>(*main, box);
    for (bool on : {true, false, true}) {
      on ? QTest::keyClick(check, Qt::Key_Space) : QTest::mouseClick(check, Qt::LeftButton);
      for (const char* name : following) {
        SCOPED_TRACE(name);
        EXPECT_EVENTUALLY_EQ(child<QWidget>(*main, name)->isEnabled(), on);
      }
    }
  }
  EXPECT_TRUE(program.state.alert);
  QTest::keyClick(main.get(), Qt::Key_Q, Qt::ControlModifier);  // File > Exit
  EXPECT_TRUE(program.f1.closed() && desktop.ended);
}

// The three choices sit under "Load OSM", each with its line of explanation; a click reaches
// the handler (the categories of a town with a closed cafe and an internet cafe change with
// exact categories), and the boxes show what the model holds.
TEST_F(MainWindow, TheChoicesShowTheirModelAndForwardClicks) {
  openOsm("cafes.osm",
          osmNode({{"amenity", "cafe"}}) + osmNode({{"disused:amenity", "cafe"}, {"shop", "bakery"}}));
  ASSERT_EVENTUALLY_EQ(listed("List1(2)"), QStringList({"cafe"}));
  const char* boxes[] = {"Check3", "Check4", "Check5"};
  const char* captions[] = {"Areas too", "Exact categories", "Details from OSM"};
  for (int i = 0; i < 3; ++i) {
    auto* box = child<QCheckBox>(*main, boxes[i]);
    EXPECT_EQ(box->text(), captions[i]);
    EXPECT_TRUE(box->isVisible() && !box->isChecked());
    auto* explanation = child<QLabel>(*main, ("Label8(" + std::to_string(i) + ")").c_str());
    EXPECT_TRUE(explanation->isVisible() && !explanation->text().isEmpty());
    EXPECT_LT(explanation->geometry().top(), child<QWidget>(*main, "List1(2)")->geometry().top());
  }
  QTest::mouseClick(child<QCheckBox>(*main, "Check4"), Qt::LeftButton);
  ASSERT_EVENTUALLY_EQ(listed("List1(2)"), QStringList({"bakery", "cafe"}));
  EXPECT_TRUE(program.state.choices.exact);
  QTest::keyClick(child<QCheckBox>(*main, "Check5"), Qt::Key_Space);
  ASSERT_TRUE(QTest::qWaitFor([&] { return program.state.choices.details; }));
  program.f1.Check3.setValue(1);
  EXPECT_TRUE(QTest::qWaitFor([&] { return child<QCheckBox>(*main, "Check3")->isChecked(); }));
}

// "Send to navigator" sits beside the POI Loader button and sends the GPX folder's categories
// to the navigator connected, its report in a message box.
TEST_F(MainWindow, TheSendButtonSitsBesidePoiLoaderAndForwardsItsClick) {
  program.f1.Text1.setText(folder / "gpx");
  folder.write("gpx/cafe/cafe.gpx",
               "<?xml version=\"1.0\"?><gpx><wpt lat=\"43.7\" lon=\"7.4\"><name>Blue</name>"
               "</wpt></gpx>");
  const std::string device = folder / "NUVI";
  folder.write("NUVI/Garmin/GarminDevice.xml",
               "<Device><Model><Description>Drive 52</Description></Model></Device>");
  desktop.places.mountTable = folder.write("mounts", "/dev/sdb1 " + device + " vfat rw 0 0\n");
  auto* send = child<QPushButton>(*main, "Command6");
  auto* loader = child<QWidget>(*main, "Picture5(1)");
  EXPECT_EQ(send->text(), "Send to navigator");
  EXPECT_TRUE(send->isVisible() && send->isEnabled());
  EXPECT_EQ(send->parentWidget(), loader->parentWidget());
  EXPECT_GT(send->geometry().left(), loader->geometry().right());
  EXPECT_LT(send->geometry().top(), loader->geometry().bottom());
  QString report;
  ModalAnswers answers({press(QMessageBox::Ok, &report)});
  QTest::mouseClick(send, Qt::LeftButton);
  ASSERT_TRUE(QTest::qWaitFor([&] { return answers.finished(); }));
  EXPECT_TRUE(report.startsWith(QString::fromStdString(
      "Sent to the navigator Drive 52 (" + device + "):\r\n" + device +
      "/Garmin/POI/cafe.gpi: 1 POI\r\n")))
      << report.toStdString();
  EXPECT_TRUE(std::filesystem::exists(device + "/Garmin/POI/cafe.gpi"));
}

TEST_F(MainWindow, EveryMenuEntryIsReachedByKeyboard) {
  const std::string recent = folder.write("R&D.osm", osmFile(osmNode({{"amenity", "atm"}})));
  app::updatmf(program, recent);
  EXPECT_EVENTUALLY_EQ(child<QAction>(*main, "mf(9)")->text(),
                       QStringLiteral("&1 ") + QString::fromStdString(recent).replace("&", "&&"));
  const auto closes = [](QString name) {  // the window of that name
    return std::vector<ModalAnswers::Step>{[name](QWidget& window) {
      const bool fileDialog = qobject_cast<QFileDialog*>(&window);
      EXPECT_EQ(fileDialog ? "file dialog" : window.objectName(), name);
      static_cast<QDialog&>(window).reject();
    }};
  };
  // The keys, the entry then typed in the menu they open, and the window they open or else
  // what shows that the entry has done its work.
  using Done = std::function<bool()>;
  const auto manualOpened = [this](size_t times) {
    return Done([this, times] { return desktop.opened.size() == times; });
  };
  const Done recentOpened = [this] { return listed("List1(2)") == QStringList({"atm"}); };
  struct Walk {
    QKeyCombination key;
    Qt::Key entry;
    const char* window;
    Done done;
  };
  const std::vector<Walk> walks = {
      {Qt::ALT | Qt::Key_F, Qt::Key_O, "file dialog", {}}, {Qt::ALT | Qt::Key_F, Qt::Key_A, "Info", {}},
      {Qt::ALT | Qt::Key_T, Qt::Key_S, "settings", {}}, {Qt::ALT | Qt::Key_H, Qt::Key_U, "updat", {}},
      {Qt::ALT | Qt::Key_H, Qt::Key_M, nullptr, manualOpened(1)},
      {Qt::ALT | Qt::Key_F, Qt::Key_1, nullptr, recentOpened},
      {Qt::CTRL | Qt::Key_O, {}, "file dialog", {}}, {Qt::Key_F1, {}, nullptr, manualOpened(2)}};
  for (const auto& [key, entry, window, done] : walks) {
    SCOPED_TRACE(QKeySequence(key, QKeyCombination(entry)).toString().toStdString());
    ModalAnswers answers(window ? closes(window) : std::vector<ModalAnswers::Step>{});
    main->activateWindow();  // as it is again when the window or menu before has closed
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == main.get(); }));
    QTest::keyClick(main.get(), key.key(), key.keyboardModifiers());
    if (entry) {
      auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      ASSERT_NE(menu, nullptr);
      QTest::keyClick(menu, entry);
    }
    EXPECT_TRUE(QTest::qWaitFor([&] { return done ? done() : answers.finished(); }));
  }
  EXPECT_EQ(listed("List1(2)"), QStringList({"atm"}));  // the recent file
  const std::string manual = app::webAddress(app::manualPage);
  EXPECT_EQ(desktop.opened, std::vector<std::string>({manual, manual}));
}

// The rows a menu shows when it opens: an entry's text, "-" for a separator.
QStringList menuRows(QMenu& menu) {
  menu.popup(QPoint(0, 0));
  EXPECT_TRUE(QTest::qWaitForWindowExposed(&menu));
  QStringList shown;
  for (QAction* action : menu.actions()) {
    if (action->isVisible() && !menu.actionGeometry(action).isEmpty()) {
      shown << (action->isSeparator() ? QStringLiteral("-") : action->text());
    }
  }
  menu.hide();
  return shown;
}

// The File menu ends with Exit until a file has been opened, and then shows it, and no blank
// rows for the recent entries that name no file.
TEST_F(MainWindow, TheFileMenuShowsNoBlankRows) {
  auto* file = child<QMenu>(*main, "mfile");
  const QStringList entries = {"&Open", "-", "&About", "-", "E&xit"};
  EXPECT_EQ(menuRows(*file), entries);
  loadTown();
  const QStringList withRecent = entries + QStringList{"-", "&1 " + QString::fromStdString(folder / "town.osm")};
  EXPECT_EVENTUALLY_EQ(menuRows(*file), withRecent);
}

TEST_F(MainWindow, TheWindowFitsItsScreenAndAtItsMinimumNoCaptionIsCut) {
  // The first size: the window's own, or 90 % of the screen, but not below the minimum.
  EXPECT_EQ(gui::F1View::firstSize({1920, 1040}, {700, 420}), QSize(1100, 640));
  EXPECT_EQ(gui::F1View::firstSize({853, 560}, {700, 420}), QSize(767, 504));  // 1280 x 900, 150 %
  EXPECT_EQ(gui::F1View::firstSize({640, 440}, {600, 420}), QSize(600, 420));
  const QSize available = main->screen()->availableGeometry().size();
  EXPECT_EQ(main->size(), gui::F1View::firstSize(available, main->minimumSize()));
  EXPECT_TRUE(QRect(QPoint(), available).contains(QRect(QPoint(), main->minimumSize())));
  const QString path = "/home/someone/Documents/Garmin/points of interest/cafe/cafe.gpx";
  const QString gpxFolder = "/home/someone/Documents/Garmin/points of interest/harbour";
  auto* selected = dynamic_cast<gui::ElidedLabel*>(child<QLabel>(*main, "Label4(2)"));
  auto* folderBox = dynamic_cast<gui::ElidedLineEdit*>(child<QLineEdit>(*main, "Text1"));
  ASSERT_TRUE(selected && folderBox);
  program.f1.Label4(2).setCaption(path.toStdString());
  program.f1.Text1.setText(gpxFolder.toStdString());
  ASSERT_EVENTUALLY_EQ(std::pair(selected->toolTip(), folderBox->toolTip()), std::pair(path, gpxFolder));
  main->resize(main->minimumSize());
  ASSERT_EVENTUALLY_EQ(main->size(), main->minimumSize());  // laid out as it is resized
  const auto firstCutCaption = [this] {
    for (QWidget* widget : main->findChildren<QWidget*>()) {
      const bool captioned = qobject_cast<QLabel*>(widget) || qobject_cast<QAbstractButton*>(widget);
      if (!captioned || !widget->isVisible() || widget->maximumWidth() == 0) continue;  // 0: hidden
      // A label that wraps its words is cut when its lines do not fit its height.
      if (auto* label = qobject_cast<QLabel*>(widget); label && label->wordWrap()) {
        if (label->height() < label->heightForWidth(label->width())) return label->objectName().toStdString();
        continue;
      }
      if (widget->width() < widget->sizeHint().width()) return widget->objectName().toStdString();
    }
    return std::string();
  };
  EXPECT_EVENTUALLY_EQ(firstCutCaption(), "");
  // The long paths: elided in the middle, whole in the tool tip and while the folder is edited.
  for (const auto& [shown, whole] : {std::pair(selected->shownText(), path),
                                     std::pair(folderBox->shownText(), gpxFolder)}) {
    const QStringList parts = shown.split(u'\u2026');  // whole names left out, none cut
    EXPECT_TRUE(parts.size() == 2 && parts[0].endsWith('/') && parts[1].startsWith('/') &&
                whole.startsWith(parts[0]) && whole.endsWith(parts[1])) << shown.toStdString();
  }
  const QString shownAtMinimum = selected->shownText();
  folderBox->setFocus();
  EXPECT_EQ(folderBox->shownText(), gpxFolder);
  QTest::keyClicks(folderBox, "/cafe");
  EXPECT_EQ(program.state.gpxfolder, gpxFolder.toStdString() + "/cafe");
  // The lists take the room the window gains, in width and in height.
  std::vector<std::pair<QWidget*, QSize>> lists;
  for (const char* name : {"List1(2)", "List1(0)", "List2", "List3"}) {
    lists.emplace_back(child<QWidget>(*main, name), child<QWidget>(*main, name)->size());
  }
  main->resize(main->minimumSize() + QSize(400, 200));
  ASSERT_EVENTUALLY_EQ(main->size(), main->minimumSize() + QSize(400, 200));
  const auto firstListNotGrown = [&lists] {
    for (const auto& [list, before] : lists) {
      if ((list->size() - before).isEmpty()) return list->objectName().toStdString();
    }
    return std::string();
  };
  EXPECT_EVENTUALLY_EQ(firstListNotGrown(), "");
  EXPECT_GT(selected->shownText().size(), shownAtMinimum.size());  // and more of the path
}

// A name cut short at the list's edge shows whole as the tooltip of the pointer on it; a name
// shown whole has none.
TEST_F(MainWindow, ACutNameShowsWholeAsATooltip) {
  const std::string longName(120, 'W');
  openOsm("names.osm", osmNode({{"amenity", "cafe"}, {"name", "Short"}}) +
                          osmNode({{"amenity", "cafe"}, {"name", "The " + longName}}));
  auto* categoryList = child<QListView>(*main, "List1(2)");
  ASSERT_EVENTUALLY_EQ(rows(categoryList), QStringList({"cafe"}));
  click(categoryList, 0);
  auto* pois = child<QListView>(*main, "List1(0)");
  const QString whole = QString::fromStdString("The " + longName);
  ASSERT_EVENTUALLY_EQ(rows(pois), QStringList({"Short", whole}));
  const auto tipOver = [pois](int row) {
    const QRect entry = pois->visualRect(pois->model()->index(row, 0));
    QHelpEvent help(QEvent::ToolTip, entry.center(), pois->viewport()->mapToGlobal(entry.center()));
    QCoreApplication::sendEvent(pois->viewport(), &help);
  };
  EXPECT_TRUE(gui::CutNameTips::isCut(*pois, pois->model()->index(1, 0)));
  EXPECT_FALSE(gui::CutNameTips::isCut(*pois, pois->model()->index(0, 0)));
  tipOver(1);
  EXPECT_EVENTUALLY_EQ(QToolTip::isVisible() ? QToolTip::text() : QString(), whole);
  tipOver(0);
  EXPECT_EVENTUALLY_EQ(QToolTip::isVisible(), false);
}

TEST(MainWindowNames, ReferencesAreDecodedForDisplayOnly) {
  for (const auto& c : caseTable("qt/data/shown_names.tsv", 2)) {
    EXPECT_EQ(gui::decodeEntities(QString::fromStdString(c[0])), QString::fromStdString(c[1]));
  }
}

}  // namespace
}  // namespace waymint::testing

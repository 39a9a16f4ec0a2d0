#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

#include <filesystem>
#include <string>
#include <vector>

#include "app/program.h"
#include "dialogs/folders.h"
#include "dialogs/settings.h"
#include "platform/headless/headless_platform.h"
#include "platform/qt/folders_view.h"
#include "platform/qt/qt_platform.h"
#include "platform/qt/settings_view.h"
#include "support/temp_folder.h"
#include "view_helpers.h"

namespace waymint::testing {
namespace {

using Texts = std::vector<std::string>;

// Messages and file dialogs go to a headless machine, so that nothing waits for the user.
class DialogViewsTest : public ::testing::Test {
 protected:
  TempFolder folder;
  platform::HeadlessPlatform machine;
  app::Program program{machine};

  DialogViewsTest() { machine.setExecutableFolder(folder.path()); }
};

// --- settings ---

TEST_F(DialogViewsTest, SettingsViewShowsItsModel) {
  program.state.loaderpath = "/opt/garmin/poiloader.exe";
  dialogs::settings window(program);
  window.Form_Load();
  qt::SettingsView view(window, nullptr);
  view.show();
  QCoreApplication::processEvents();
  EXPECT_EQ(view.objectName(), "settings");
  EXPECT_EQ(view.windowTitle(), "Settings");
  expectEveryControlShown(view, window);
  EXPECT_EQ(child<QLabel>(view, "Label1(0)")->text(), "POI  Loader");
  EXPECT_EQ(child<QLabel>(view, "Label1(5)")->text(), "Pixmold");
  EXPECT_EQ(child<QLineEdit>(view, "Text1(0)")->text(), "/opt/garmin/poiloader.exe");
  auto* browse = child<QPushButton>(view, "Command2(1)");
  EXPECT_EQ(browse->text(), "<<");
  EXPECT_TRUE(browse->styleSheet().contains("rgb(255,255,128)"));
  EXPECT_EQ(child<QPushButton>(view, "Command3")->text(), "OK");
}

TEST_F(DialogViewsTest, SettingsViewPicksAProgramAndCloses) {
  dialogs::settings window(program);
  window.Form_Load();
  qt::SettingsView view(window, nullptr);
  view.show();
  std::string loader = folder.write("POILoader.exe", "MZ");
  machine.chooseNext(loader);
  child<QPushButton>(view, "Command2(0)")->click();
  QCoreApplication::processEvents();
  EXPECT_EQ(program.state.loaderpath, loader);
  EXPECT_EQ(child<QLineEdit>(view, "Text1(0)")->text().toStdString(), loader);

  child<QLineEdit>(view, "Text1(1)")->textEdited("/typed/pixmold.exe");
  child<QPushButton>(view, "Command3")->click();
  EXPECT_TRUE(window.closed());
  EXPECT_FALSE(view.isVisible());
  EXPECT_EQ(program.state.stylepath, "");
}

// --- the folder picker ---

class FoldersViewTest : public DialogViewsTest {
 protected:
  FoldersViewTest() {
    std::filesystem::create_directories(folder / "gpx/cafe");
    std::filesystem::create_directories(folder / "gpx/bar");
    program.state.gpxfolder = folder.path() + "\\gpx";
  }
};

TEST_F(FoldersViewTest, ShowsItsModelAndFollowsActivation) {
  dialogs::folders window(program);
  window.Form_Load();
  qt::FoldersView view(window, nullptr);
  showActivated(view);
  EXPECT_EQ(view.objectName(), "folders");
  EXPECT_EQ(view.windowTitle(), "Select Folder");
  expectEveryControlShown(view, window);
  EXPECT_EQ(program.state.gpxfolder, folder / "gpx");
  EXPECT_EQ(child<QLineEdit>(view, "Text1")->text().toStdString(), folder / "gpx");
  EXPECT_EQ(child<QLabel>(view, "Label1")->text(), "Double Click to select folder");
  auto* list = child<QListWidget>(view, "Dir1");
  ASSERT_EQ(list->count(), static_cast<int>(window.Dir1.entries().size()));
  EXPECT_EQ(list->item(window.Dir1.currentIndex())->text().trimmed(), "gpx");
  EXPECT_EQ(list->item(list->count() - 1)->text().trimmed(), "cafe");
  auto* drives = child<QComboBox>(view, "Drive1");
  ASSERT_GE(drives->count(), 1);
  EXPECT_EQ(drives->itemText(0), "/");
  EXPECT_EQ(drives->currentText().toStdString(), window.Drive1.drive());
  EXPECT_EQ(child<QPushButton>(view, "Command1(0)")->text(), "OK");
  EXPECT_EQ(child<QPushButton>(view, "Command1(1)")->text(), "Cancel");
}

TEST_F(FoldersViewTest, ActivatingAnEntryOpensItAndOkTakesIt) {
  dialogs::folders window(program);
  window.Form_Load();
  qt::FoldersView view(window, nullptr);
  showActivated(view);
  auto* list = child<QListWidget>(view, "Dir1");
  emit list->itemActivated(list->item(list->count() - 1));
  QCoreApplication::processEvents();
  EXPECT_EQ(window.Dir1.path(), folder / "gpx/cafe");
  EXPECT_EQ(child<QLineEdit>(view, "Text1")->text().toStdString(), folder / "gpx/cafe");
  EXPECT_EQ(list->item(window.Dir1.currentIndex())->text().trimmed(), "cafe");

  child<QPushButton>(view, "Command1(0)")->click();
  EXPECT_TRUE(window.closed());
  EXPECT_EQ(program.state.gpxfolder, folder / "gpx/cafe");
}

TEST_F(FoldersViewTest, LaterActivationsLeaveTheListsWhereTheUserPutThem) {
  dialogs::folders window(program);
  window.Form_Load();
  qt::FoldersView view(window, nullptr);
  showActivated(view);
  auto* list = child<QListWidget>(view, "Dir1");
  emit list->itemActivated(list->item(list->count() - 1));
  auto* text = child<QLineEdit>(view, "Text1");
  text->setText("nowhere");
  text->textEdited("nowhere");
  child<QPushButton>(view, "Command1(0)")->click();
  EXPECT_EQ(machine.messageTexts(), Texts{"Invalid folder."});

  // The window comes back to the front as the message box closes.
  activate(view);
  QCoreApplication::processEvents();
  EXPECT_EQ(window.Dir1.path(), folder / "gpx/cafe");
  EXPECT_EQ(window.Text1.text(), "nowhere");
  EXPECT_EQ(text->text(), "nowhere");
  EXPECT_EQ(list->item(window.Dir1.currentIndex())->text().trimmed(), "cafe");
}

TEST_F(FoldersViewTest, ChoosingAnotherDriveMovesTheList) {
  dialogs::folders window(program);
  window.Form_Load();
  qt::FoldersView view(window, nullptr);
  activate(view);
  window.Drive1.setDrives({"/", folder / "gpx/bar"});
  window.Drive1.setDrive(folder / "gpx/bar");
  auto* drives = child<QComboBox>(view, "Drive1");
  emit drives->activated(0);
  QCoreApplication::processEvents();
  EXPECT_EQ(window.Drive1.drive(), "/");
  EXPECT_EQ(window.Dir1.path(), "/");
  EXPECT_EQ(child<QLineEdit>(view, "Text1")->text(), "/");
}

TEST_F(FoldersViewTest, ChoosingTheChosenDriveAgainKeepsTheFolder) {
  dialogs::folders window(program);
  window.Form_Load();
  qt::FoldersView view(window, nullptr);
  activate(view);
  auto* list = child<QListWidget>(view, "Dir1");
  emit list->itemActivated(list->item(list->count() - 1));
  ASSERT_EQ(window.Dir1.path(), folder / "gpx/cafe");
  auto* drives = child<QComboBox>(view, "Drive1");
  const int chosen = drives->findText(QString::fromStdString(window.Drive1.drive()));
  ASSERT_GE(chosen, 0);
  emit drives->activated(chosen);
  QCoreApplication::processEvents();
  EXPECT_EQ(window.Dir1.path(), folder / "gpx/cafe");
  EXPECT_EQ(child<QLineEdit>(view, "Text1")->text().toStdString(), folder / "gpx/cafe");
  EXPECT_TRUE(machine.messages().empty());
}

TEST_F(FoldersViewTest, InvalidFolderKeepsTheViewOpenAndCancelClosesIt) {
  dialogs::folders window(program);
  window.Form_Load();
  qt::FoldersView view(window, nullptr);
  view.show();
  child<QLineEdit>(view, "Text1")->textEdited("");
  child<QPushButton>(view, "Command1(0)")->click();
  EXPECT_EQ(machine.messageTexts(), Texts{"Invalid folder."});
  EXPECT_TRUE(view.isVisible());
  child<QPushButton>(view, "Command1(1)")->click();
  EXPECT_FALSE(view.isVisible());
  EXPECT_TRUE(window.closed());
}

TEST_F(FoldersViewTest, RegisteredViewsShowTheirWindowsModally) {
  qt::QtPlatform desktop;
  qt::registerDialogViews(desktop);
  dialogs::settings settings(program);
  settings.Form_Load();
  dialogs::folders picker(program);
  picker.Form_Load();

  Texts shown;
  auto note = [&shown] {
    if (QWidget* modal = QApplication::activeModalWidget()) {
      shown.push_back(modal->objectName().toStdString());
    }
  };
  QTimer::singleShot(0, [&] {
    note();
    settings.Command3_Click();
  });
  desktop.showModal(settings);
  QTimer::singleShot(0, [&] {
    note();
    picker.Command1_Click(1);
  });
  desktop.showModal(picker);
  EXPECT_EQ(shown, (Texts{"settings", "folders"}));
  EXPECT_TRUE(settings.closed());
  EXPECT_TRUE(picker.closed());
}

}  // namespace
}  // namespace waymint::testing

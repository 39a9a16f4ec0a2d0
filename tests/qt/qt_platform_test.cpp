#include <gtest/gtest.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTimer>

#include "platform/qt/qt_platform.h"

namespace waymint::testing {
namespace {

// Looks at the box the platform shows, then presses one of its buttons.
void whenTheBoxShows(std::function<void(QWidget&)> look) {
  QTimer::singleShot(0, [look] {
    QWidget* box = QApplication::activeModalWidget();
    ASSERT_NE(box, nullptr);
    look(*box);
  });
}

TEST(QtPlatform, MessageBoxesHaveTheTitleNoIconAndTheAnswer) {
  qt::QtPlatform platform;
  whenTheBoxShows([](QWidget& box) {
    auto& message = dynamic_cast<QMessageBox&>(box);
    EXPECT_EQ(message.windowTitle(), "WAYMINT");
    EXPECT_EQ(message.icon(), QMessageBox::NoIcon);
    EXPECT_EQ(message.text(), QString::fromUtf8("Caf\xc3\xa9 exists. Overwrite?"));
    message.button(QMessageBox::No)->click();
  });
  EXPECT_EQ(platform.messageBox("Caf\xe9 exists. Overwrite?", platform::Buttons::YesNo),
            platform::Answer::No);
}

TEST(QtPlatform, ALongTextScrollsInABoxThatFitsTheScreen) {
  qt::QtPlatform platform;
  std::string text;
  for (int i = 0; i < 3000; ++i) text += "<wpt lat=\"47.1\" lon=\"9.5\"><name>Line " + std::to_string(i) + "</name>\r\n";
  whenTheBoxShows([&text](QWidget& box) {
    EXPECT_EQ(box.windowTitle(), "WAYMINT");
    auto* view = box.findChild<QPlainTextEdit*>();
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(view->isReadOnly());
    EXPECT_EQ(view->toPlainText().count(QLatin1Char('\n')), 3000);
    QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_LE(box.frameGeometry().width(), screen.width());
    EXPECT_LE(box.frameGeometry().height(), screen.height());
    box.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
  });
  EXPECT_EQ(platform.messageBox(text, platform::Buttons::Ok), platform::Answer::Ok);
}

}  // namespace
}  // namespace waymint::testing

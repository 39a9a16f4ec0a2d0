#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QMessageBox>
#include <QTest>

#include <vector>

#include "platform/qt/qt_platform.h"
#include "view_support.h"

namespace waymint::testing {
namespace {

using platform::Answer;
using platform::Buttons;

TEST(QtPlatform, AMessageBoxHasTheProgramsTitleNoIconTheButtonsAskedForAndGivesTheAnswer) {
  struct Case {
    Buttons buttons;
    QMessageBox::StandardButtons shown;
    QMessageBox::StandardButton pressed;  // NoButton: Escape, as the close box
    Answer answer;
  };
  const auto okCancel = QMessageBox::Ok | QMessageBox::Cancel;
  const auto yesNo = QMessageBox::Yes | QMessageBox::No;
  const std::vector<Case> cases = {
      {Buttons::Ok, QMessageBox::Ok, QMessageBox::Ok, Answer::Ok},
      {Buttons::OkCancel, okCancel, QMessageBox::Cancel, Answer::Cancel},
      {Buttons::OkCancel, okCancel, QMessageBox::NoButton, Answer::Cancel},
      {Buttons::YesNo, yesNo, QMessageBox::Yes, Answer::Yes},
      {Buttons::YesNo, yesNo, QMessageBox::No, Answer::No},
      {Buttons::YesNo, yesNo, QMessageBox::NoButton, Answer::No},
  };
  qt::QtPlatform desktop;
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "buttons " << int(c.buttons) << ", pressed " << c.pressed);
    ModalAnswers answers({[&c](QWidget& window) {
      auto* box = qobject_cast<QMessageBox*>(&window);
      ASSERT_NE(box, nullptr);
      EXPECT_EQ(box->windowTitle(), QStringLiteral("WAYMINT"));
      EXPECT_EQ(box->icon(), QMessageBox::NoIcon);
      EXPECT_EQ(box->text(), QString::fromUtf8("Caf\xc3\xa9 exists.\nOverwrite?"));
      EXPECT_EQ(box->standardButtons(), c.shown);
      if (c.pressed == QMessageBox::NoButton) {
        QTest::keyClick(box, Qt::Key_Escape);
      } else {
        box->button(c.pressed)->click();
      }
    }});
    // Not UTF-8, the text shows as Windows-1252.
    EXPECT_EQ(desktop.messageBox("Caf\xe9 exists.\nOverwrite?", c.buttons), c.answer);
  }
}

// Steps that expect the box to be another one.
void expectAnotherTitle(QWidget& box) { EXPECT_EQ(box.windowTitle(), QStringLiteral("Another")); }
void requireAnotherTitle(QWidget& box) { ASSERT_EQ(box.windowTitle(), QStringLiteral("Another")); }

TEST(ModalAnswers, AFailureInsideATimerClosesTheWindowAndFailsTheTest) {
  qt::QtPlatform desktop;
  const auto ask = [&desktop] { return desktop.messageBox("Delete?", Buttons::YesNo); };
  Answer answer = Answer::Yes;
  EXPECT_NONFATAL_FAILURE(
      {
        ModalAnswers answers({expectAnotherTitle});
        answer = ask();
      },
      "Another");
  EXPECT_EQ(answer, Answer::No);  // closed as Escape closes it
  EXPECT_FATAL_FAILURE(
      {
        qt::QtPlatform machine;
        ModalAnswers answers({requireAnotherTitle});
        machine.messageBox("Delete?", Buttons::YesNo);
      },
      "Another");
  // A step that does not answer, a window no step expects, a window that never comes.
  EXPECT_NONFATAL_FAILURE({ ModalAnswers answers({[](QWidget&) {}}); ask(); },
                          "the step left its window open: QMessageBox");
  EXPECT_NONFATAL_FAILURE({ ModalAnswers answers({}); ask(); },
                          "a modal window no step expects: QMessageBox");
  EXPECT_NONFATAL_FAILURE({ ModalAnswers answers({[](QWidget&) {}}); },
                          "1 expected modal window(s) never came");
}

}  // namespace
}  // namespace waymint::testing

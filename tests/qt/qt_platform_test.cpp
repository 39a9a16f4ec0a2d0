// The desktop's message box, and the answers the Qt tests give to modal windows.
#include "view_support.h"

namespace waymint::testing {
namespace {

using platform::Answer;
using platform::Buttons;

TEST(QtPlatform, AMessageBoxHasTheProgramsTitleNoIconTheButtonsAskedForAndGivesTheAnswer) {
  struct Case {
    Buttons buttons;
    QMessageBox::StandardButtons shown;
    Answer preset;
    QMessageBox::StandardButton pressed;  // clicked; Escape (as the close box) and Enter: keys
    Answer answer;
  };
  const auto okCancel = QMessageBox::Ok | QMessageBox::Cancel;
  const auto yesNo = QMessageBox::Yes | QMessageBox::No;
  const auto Enter = QMessageBox::Default, Escape = QMessageBox::Escape;
  const std::vector<Case> cases = {
      {Buttons::Ok, QMessageBox::Ok, Answer::Ok, QMessageBox::Ok, Answer::Ok},
      {Buttons::OkCancel, okCancel, Answer::Ok, QMessageBox::Cancel, Answer::Cancel},
      {Buttons::OkCancel, okCancel, Answer::Ok, Escape, Answer::Cancel},
      {Buttons::OkCancel, okCancel, Answer::Ok, Enter, Answer::Ok},
      {Buttons::OkCancel, okCancel, Answer::Cancel, Enter, Answer::Cancel},
      {Buttons::YesNo, yesNo, Answer::Yes, QMessageBox::Yes, Answer::Yes},
      {Buttons::YesNo, yesNo, Answer::Yes, QMessageBox::No, Answer::No},
      {Buttons::YesNo, yesNo, Answer::Yes, Escape, Answer::No},
      {Buttons::YesNo, yesNo, Answer::Yes, Enter, Answer::Yes},
      {Buttons::YesNo, yesNo, Answer::No, Enter, Answer::No},
  };
  qt::QtPlatform desktop;
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "buttons " << int(c.buttons) << ", preset "
                                      << int(c.preset) << ", pressed " << c.pressed);
    ModalAnswers answers({[&c](QWidget& window) {
      auto* box = qobject_cast<QMessageBox*>(&window);
      ASSERT_NE(box, nullptr);
      EXPECT_EQ(box->windowTitle(), QStringLiteral("WAYMINT"));
      EXPECT_EQ(box->icon(), QMessageBox::NoIcon);
      EXPECT_EQ(box->text(), QString::fromUtf8("Caf\xc3\xa9 exists.\nOverwrite?"));
      EXPECT_EQ(box->standardButtons(), c.shown);
      if (c.pressed == Enter || c.pressed == Escape) {
        QTest::keyClick(box, c.pressed == Enter ? Qt::Key_Return : Qt::Key_Escape);
      } else {
        box->button(c.pressed)->click();
      }
    }});
    // Not UTF-8, the text shows as Windows-1252.
    EXPECT_EQ(desktop.messageBox("Caf\xe9 exists.\nOverwrite?", c.buttons, c.preset), c.answer);
  }
}

// Steps that expect the box to be another one.
void expectAnother(QWidget& box) { EXPECT_EQ(box.windowTitle(), QStringLiteral("Another")); }
void requireAnother(QWidget& box) { ASSERT_EQ(box.windowTitle(), QStringLiteral("Another")); }

TEST(ModalAnswers, AFailureInsideATimerClosesTheWindowAndFailsTheTest) {
  qt::QtPlatform desktop;
  const auto ask = [&desktop] { return desktop.messageBox("Delete?", Buttons::YesNo); };
  Answer answer = Answer::Yes;
  EXPECT_NONFATAL_FAILURE({ ModalAnswers answers({expectAnother}); answer = ask(); }, "Another");
  EXPECT_EQ(answer, Answer::No);  // closed as Escape closes it
  EXPECT_FATAL_FAILURE(
      {
        qt::QtPlatform machine;
        ModalAnswers answers({requireAnother});
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

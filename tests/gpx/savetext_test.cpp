#include <gtest/gtest.h>
#include <sys/stat.h>

#include "gpx/savetext.h"
#include "support/program_fixture.h"

namespace waymint::testing {
namespace {

using platform::Answer;
using SavetextTest = ProgramTest;

TEST_F(SavetextTest, WritesANewFileWithoutAsking) {
  app::Program& p = start();
  const std::string path = folder / "new.gpx";
  gpx::Savetext(p, path, "<gpx>");
  EXPECT_EQ(slurp(path), "<gpx>\r\n");
  EXPECT_TRUE(machine.messages().empty());
  EXPECT_GE(machine.yields(), 2);
}

TEST_F(SavetextTest, AsksBeforeOverwritingAndNoKeepsTheFile) {
  app::Program& p = start();
  const std::string path = folder.write("old.gpx", "old\r\n");
  machine.answerNext(Answer::No);
  gpx::Savetext(p, path, "new");
  EXPECT_EQ(machine.messageTexts(), std::vector<std::string>{path + " exists. Overwrite?"});
  EXPECT_EQ(machine.messages()[0].buttons, platform::Buttons::YesNo);
  EXPECT_EQ(slurp(path), "old\r\n");
  machine.answerNext(Answer::Yes);
  gpx::Savetext(p, path, "new");
  EXPECT_EQ(slurp(path), "new\r\n");
}

TEST_F(SavetextTest, AFailedWriteSaysSoAndLeavesTheFile) {
  app::Program& p = start();
  const std::string path = folder.write("locked.gpx", "old");
  ::chmod(path.c_str(), 0444);
  machine.answerNext(Answer::Yes);
  gpx::Savetext(p, path, "new");
  EXPECT_EQ(machine.messageTexts(),
            (std::vector<std::string>{path + " exists. Overwrite?", path + " Permission denied"}));
  EXPECT_EQ(slurp(path), "old");
  machine.forgetMessages();
  gpx::Savetext(p, folder / "no/such/folder.gpx", "x");
  EXPECT_EQ(machine.messageTexts(),
            std::vector<std::string>{folder / "no/such/folder.gpx" + " No such file or directory"});
}

}  // namespace
}  // namespace waymint::testing

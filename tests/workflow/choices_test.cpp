#include <gtest/gtest.h>

#include "support/program_fixture.h"
#include "workflow/choices.h"

namespace waymint::testing {
namespace {

using Texts = std::vector<std::string>;

// A cafe node, a car park drawn as a square way, and a closed cafe.
std::string mapWithAnArea() {
  return slurp(std::string(WAYMINT_SOURCE_DIR) + "/tests/workflow/data/cafe_and_car_park.osm");
}

class ChoicesTest : public ProgramTest {
 protected:
  app::f1& w() { return program->f1; }
  void click(platform::CheckBox& box, void (*handler)(app::Program&)) {
    box.setValue(box.value() == 1 ? 0 : 1);
    handler(*program);
  }
};

TEST_F(ChoicesTest, AreasReadTheFileAgainAndExactCategoriesSurveyItAgain) {
  start();
  open(mapWithAnArea());
  EXPECT_EQ(w().List1(2).items(), Texts({"cafe"}));
  press("cafe");
  EXPECT_EQ(w().List1(0).items(), Texts({"Mint Leaf", "Gone"}));

  click(w().Check3, workflow::Check3_MouseUp);  // areas: the file is read again
  EXPECT_TRUE(program->state.choices.areas && program->state.chunks.withAreas);
  EXPECT_EQ(w().List1(2).items(), Texts({"cafe", "parking"}));
  EXPECT_EQ(w().List1(0).count(), 0);  // nothing of the text before shows
  press("parking");
  EXPECT_EQ(w().List1(0).items(), Texts({"Lot"}));

  click(w().Check4, workflow::Check4_MouseUp);  // exact: the text is surveyed again
  EXPECT_TRUE(program->state.choices.exact);
  press("cafe");
  EXPECT_EQ(w().List1(0).items(), Texts({"Mint Leaf"}));

  click(w().Check5, workflow::Check5_MouseUp);
  EXPECT_TRUE(program->state.choices.details);
  click(w().Check3, workflow::Check3_MouseUp);
  EXPECT_FALSE(program->state.chunks.withAreas);
  EXPECT_EQ(w().List1(2).items(), Texts({"cafe"}));
  // The choices are kept for the next start.
  w().requestClose();
  EXPECT_NE(slurp(stateFile()).find("0\r\n0\r\nexact=1\r\ndetails=1\r\n"), std::string::npos);
  program = std::make_unique<app::Program>(machine);
  program->f1.Form_Load();
  EXPECT_EQ(w().Check3.value() * 100 + w().Check4.value() * 10 + w().Check5.value(), 11);
}

TEST_F(ChoicesTest, ASurveyOrReadingCancelledPutsTheBoxBack) {
  start();
  open(mapWithAnArea());
  machine.requestCancel();
  click(w().Check4, workflow::Check4_MouseUp);
  EXPECT_EQ(w().Check4.value(), 0);
  EXPECT_FALSE(program->state.choices.exact);
  EXPECT_EQ(w().List1(2).items(), Texts({"cafe"}));
  machine.requestCancel();
  click(w().Check3, workflow::Check3_MouseUp);
  EXPECT_EQ(w().Check3.value(), 0);
  EXPECT_FALSE(program->state.choices.areas || program->state.chunks.withAreas);
  EXPECT_EQ(w().List1(2).items(), Texts({"cafe"}));
  // Without a file loaded a box only sets its choice, for the next load.
  start();
  click(w().Check3, workflow::Check3_MouseUp);
  click(w().Check4, workflow::Check4_MouseUp);
  EXPECT_TRUE(program->state.choices.areas && program->state.choices.exact);
  open(mapWithAnArea());
  EXPECT_EQ(w().List1(2).items(), Texts({"cafe", "parking"}));
}

}  // namespace
}  // namespace waymint::testing

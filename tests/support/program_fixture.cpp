#include "support/program_fixture.h"

#include <algorithm>

#include "platform/files.h"
#include "workflow/category_workflow.h"
#include "workflow/connect.h"

namespace waymint::testing {

ProgramTest::ProgramTest() {
  machine.setExecutableFolder(folder.path());
  platform::files::makeFolder(gpxFolder());
}

void ProgramTest::TearDown() {
  EXPECT_EQ(takeMessages(), std::vector<std::string>{}) << "messages the test did not expect";
}

app::Program& ProgramTest::start() {
  program = std::make_unique<app::Program>(machine);
  workflow::connect(*program);
  program->f1.Form_Load();
  program->f1.Text1.setText(gpxFolder());
  return *program;
}

void ProgramTest::load(std::string text) {
  app::ChunkTable& chunks = program->state.chunks;
  chunks.bytes = std::move(text);
  chunks.chunkmax = std::max<std::int32_t>(
      1, static_cast<std::int32_t>(chunks.bytes.size() / static_cast<size_t>(app::chunkSize)));
  chunks.loaded = true;
}

void ProgramTest::open(const std::string& text, const std::string& name) {
  machine.chooseNext(folder.write(name, text));
  program->f1.mf_Click(2);
}

void ProgramTest::choose(const std::string& category) {
  platform::ListBox& categories = program->f1.List1(2);
  auto at = std::find(categories.items().begin(), categories.items().end(), category);
  if (at == categories.items().end()) {
    categories.addItem(category);
    at = categories.items().end() - 1;
  }
  categories.setSelectedIndex(static_cast<int>(at - categories.items().begin()));
}

void ProgramTest::press(const std::string& category) {
  choose(category);
  workflow::List1_MouseDown(*program, 2);
}

std::string ProgramTest::create() {
  std::string report;
  workflow::createAndReport(*program, [&report](const std::string& text) { report = text; });
  return report;
}

std::string ProgramTest::gpxOf(const std::string& category) const {
  return gpxFolder() + "/" + category + "/" + category + ".gpx";
}

std::vector<std::string> ProgramTest::takeMessages() {
  std::vector<std::string> texts = machine.messageTexts();
  machine.forgetMessages();
  return texts;
}

}  // namespace waymint::testing

#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <thread>

#include "editors/edall.h"
#include "platform/files.h"
#include "support/case_table.h"
#include "support/locks.h"
#include "support/osm_text.h"
#include "support/program_fixture.h"
#include "support/run_program.h"

namespace waymint::testing {
namespace {

using Texts = std::vector<std::string>;
using platform::Answer;

// A GPX whose waypoints carry the given alert lines (none for an empty line), CR LF ended.
std::string gpxWith(const Texts& alerts) {
  std::string text = "<?xml version=\"1.0\"?>\r\n<gpx creator=\"WAYMINT\">\r\n";
  for (const std::string& alert : alerts) {
    text += "<wpt lat=\"1\" lon=\"2\">\r\n  <name>A</name>\r\n";
    if (!alert.empty()) text += "  " + alert + "\r\n";
    text += "</wpt>\r\n";
  }
  return text + "</gpx>\r\n";
}

std::string live(const std::string& distance) {
  return "<gpxx:Proximity>" + distance + "</gpxx:Proximity>";
}
const std::string live150 = live("150");

// The parts of a table's field apart by "|".
Texts parts(std::string_view field) {
  Texts found;
  for (size_t at = 0, bar; at <= field.size(); at = bar + 1) {
    bar = std::min(field.find('|', at), field.size());
    found.emplace_back(field.substr(at, bar - at));
  }
  return found;
}

class EdallTest : public ProgramTest {
 protected:
  editors::edall window{start()};
  void SetUp() override { window.Form_Load(); }
  // Picks the GPX at `path` and sets the alert, with the distance when one is given.
  void pick(const std::string& path, bool alert, const std::string& distance = "") {
    machine.chooseNext(path);
    window.Command2_Click();
    window.Check2.setValue(alert ? 1 : 0);
    window.Check2_MouseUp();
    if (!distance.empty()) window.Text3(1).setText(distance);
  }
};

TEST_F(EdallTest, ProximityRewrites) {
  for (const auto& c : caseTable("editors/data/proximity_rewrites.tsv", 7)) {
    SCOPED_TRACE(c[0]);
    const std::string before = c[1][0] == '=' ? c[1].substr(1) : gpxWith(parts(c[1]));
    const std::string path = folder.write("edit.gpx", before);
    pick(path, c[2] == "on", c[3]);
    Texts expected;
    for (const std::string& m : parts(c[4])) {
      const bool question = m == "<question>";
      machine.answerNext(!question ? Answer::Ok : c[6] == "Yes" ? Answer::Yes : Answer::No);
      expected.push_back(m == "<text>" ? before : question ? path + " exists. Overwrite?" : m);
    }
    window.Command1_Click(0);
    EXPECT_EQ(takeMessages(), expected);
    // A rewritten file gains one CR LF at its end.
    EXPECT_EQ(slurp(path), c[5] == "-" ? before : gpxWith(parts(c[5])) + "\r\n");
    EXPECT_FALSE(machine.busyPointer());
  }
}

TEST_F(EdallTest, PickingTheFile) {
  window.Command1_Click(0);
  EXPECT_EQ(takeMessages(), Texts{"Please select file."});
  const std::string path = folder.write("a.gpx", gpxWith({live150}));
  for (const std::string& picked : Texts{path, folder / "gone.gpx"}) {
    machine.chooseNext(picked);
    window.Command2_Click();
  }
  window.Command2_Click();  // cancelled
  EXPECT_EQ(takeMessages(), Texts{"Cancel was selected."});
  EXPECT_EQ(window.editfile(), path);
  std::remove(path.c_str());
  window.Command1_Click(0);
  machine.chooseNext(folder.write("b.gpx", ""));
  window.Command2_Click();
  window.Form_Load();  // every opening starts without a file
  window.Command1_Click(0);
  EXPECT_EQ(takeMessages(), (Texts{"Please select file.", "Please select file."}));
}

// The editor holds the GPX's lock from reading it to replacing it, as a writing run does: while
// another holds it, it says so and neither reads nor writes.
TEST_F(EdallTest, AGpxInUseIsLeftAlone) {
  const std::string path = folder.write("gpx/cafe/cafe.gpx", gpxWith({live150}));
  pick(path, true);
  const platform::files::FolderLock held = platform::files::FolderLock::take(gpxFolder() + "/cafe");
  window.Command1_Click(0);
  EXPECT_EQ(takeMessages(), Texts{path + " is in use by another run; try again when it has ended."});
  EXPECT_EQ(slurp(path), gpxWith({live150}));
  EXPECT_FALSE(machine.busyPointer());
}

// A writing run of waymint-cli on the GPX that the editor has read, started while the editor
// asks its questions: the run waits until the editor has saved, then adds its POI to the
// edited file. Both changes are kept.
TEST_F(EdallTest, TheEditorAndARunOnOneGpxKeepBoth) {
  const auto write = [&](const std::string& file, const char* id, const char* name) {
    return runTool({"write", folder.write(file, osmFile(osmNode(id, id, id, {{"amenity", "cafe"},
                                                                             {"name", name}}))),
                    "cafe", "--gpx-folder", gpxFolder()});
  };
  ASSERT_EQ(write("blue.osm", "1", "Blue").status, 0);
  const std::string path = gpxFolder() + "/cafe/cafe.gpx";
  pick(path, true, "300");
  Finished run;
  std::atomic<bool> ended = false;
  std::thread writer;
  machine.onMessage([&](const std::string& text) {
    if (text != "saving") return;
    writer = std::thread([&] { run = write("green.osm", "2", "Green"), ended = true; });
    pollUntil([&] { return waitingForLock(gpxFolder() + "/cafe") == 1; }, [&] { return ended.load(); });
  });
  window.Command1_Click(0);
  writer.join();
  const Texts messages = takeMessages();
  ASSERT_EQ(messages.size(), 3u);
  EXPECT_EQ(messages[1], "saving");
  EXPECT_EQ(run.status, 0) << run.err;
  const std::string edited = slurp(path);
  EXPECT_NE(edited.find("<name>Blue</name>"), std::string::npos) << edited;
  EXPECT_NE(edited.find("  " + live("300") + "\r\n"), std::string::npos) << edited;
  EXPECT_NE(edited.find("<name>Green</name>"), std::string::npos) << edited;
}

}  // namespace
}  // namespace waymint::testing

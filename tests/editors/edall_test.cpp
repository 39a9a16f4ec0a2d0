#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <optional>
#include <thread>

#include "editors/edall.h"
#include "platform/files.h"
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
const std::string live150 = live("150"), off150 = "<!--" + live150 + "-->";

class EdallTest : public ProgramTest {
 protected:
  editors::edall window{start()};
  void SetUp() override { window.Form_Load(); }
};

TEST_F(EdallTest, ProximityRewrites) {
  // Messages: "<text>" stands for the whole file text, "<question>" for the overwrite question.
  const Texts written = {"<text>", "saving", "<question>"}, parse = {"Can't parse this file"};
  const Texts on2 = {live150, live150}, off2 = {off150, off150}, check = {"Check proximity"};
  // `after`: the alert lines written; nothing: the file stays as it was.
  struct Case { const char* what; std::string before; bool alert; std::string distance;
                Texts messages; std::optional<Texts> after; Answer answer = Answer::Yes; };
  const std::vector<Case> cases = {
      {"alerts on, new distance", gpxWith(on2), true, "300", written, {{live("300"), live("300")}}},
      {"alerts off comments the element out", gpxWith(on2), false, "300", written, off2},
      {"commented out already, alerts off", gpxWith(off2), false, "300", {"<text>"}, {}},
      {"commented out, alerts on", gpxWith(off2), true, "75", written, {{live("75"), live("75")}}},
      {"commented out and live, alerts on", gpxWith({off150, live150}), true, "75", written,
       {{live("75"), live("75")}}},
      {"capital letters, replaced where written so",
       gpxWith({"<GPXX:PROXIMITY>150</GPXX:PROXIMITY>", live150}), true, "300", written,
       {{live("300"), live150}}},
      {"another distance stays", gpxWith({live150, live("99")}), true, "300", written,
       {{live("300"), live("99")}}},
      {"no proximity element", gpxWith({"", ""}), true, "300",
       {"<text>", "kennee find proximity", "kennee find proximity"}, {}},
      {"no waypoint", "<gpx></gpx>", true, "300", parse, {}},
      {"empty file", "", true, "300", parse, {}},
      {"distance 0", gpxWith({live150}), true, "0", check, {}},
      {"distance 0.5", gpxWith({live150}), true, "0.5", check, {}},
      {"distance text", gpxWith({live150}), true, "far", check, {}},
      {"distance 1.5", gpxWith({live150}), true, "1.5", written, {{live("2")}}},
      {"distance 2.5", gpxWith({live150}), true, "2.5", written, {{live("2")}}},
      {"distance 40000", gpxWith({live150}), true, "40000", {"Overflow"}, {}},
      {"overwrite answered No", gpxWith({live150}), true, "300", written, {}, Answer::No},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string path = folder.write("edit.gpx", c.before);
    machine.chooseNext(path);
    window.Command2_Click();
    window.Check2.setValue(c.alert ? 1 : 0);
    window.Check2_MouseUp();
    window.Text3(1).setText(c.distance);
    Texts expected;
    for (const std::string& m : c.messages) {
      const bool question = m == "<question>";
      machine.answerNext(question ? c.answer : Answer::Ok);
      expected.push_back(m == "<text>" ? c.before : question ? path + " exists. Overwrite?" : m);
    }
    window.Command1_Click(0);
    EXPECT_EQ(takeMessages(), expected);
    // A rewritten file gains one CR LF at its end.
    EXPECT_EQ(slurp(path), c.after ? gpxWith(*c.after) + "\r\n" : c.before);
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
  machine.chooseNext(path);
  window.Command2_Click();
  window.Check2.setValue(1);
  window.Check2_MouseUp();
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
  machine.chooseNext(path);
  window.Command2_Click();
  window.Check2.setValue(1);
  window.Check2_MouseUp();
  window.Text3(1).setText("300");
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

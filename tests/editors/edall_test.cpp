#include <gtest/gtest.h>

#include <cstdio>
#include <optional>

#include "editors/edall.h"
#include "support/program_fixture.h"

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

const std::string live150 = "<gpxx:Proximity>150</gpxx:Proximity>";
const std::string off150 = "<!--<gpxx:Proximity>150</gpxx:Proximity>-->";
std::string live(const std::string& distance) {
  return "<gpxx:Proximity>" + distance + "</gpxx:Proximity>";
}

class EdallTest : public ProgramTest {
 protected:
  editors::edall window{start()};
  void SetUp() override { window.Form_Load(); }
};

TEST_F(EdallTest, ProximityRewrites) {
  // Messages: "<text>" stands for the whole file text, "<question>" for the overwrite question.
  const Texts written = {"<text>", "saving", "<question>"};
  struct Case {
    const char* what;
    std::string before;
    bool alert;
    std::string distance;
    Texts messages;
    std::optional<std::string> after;  // nothing: the file stays as it was
    Answer answer = Answer::Yes;
  };
  const std::vector<Case> cases = {
      {"alerts on, new distance", gpxWith({live150, live150}), true, "300", written,
       gpxWith({live("300"), live("300")}) + "\r\n"},
      {"alerts off comments the element out", gpxWith({live150, live150}), false, "300", written,
       gpxWith({off150, off150}) + "\r\n"},
      {"commented out already, alerts off", gpxWith({off150, off150}), false, "300", {"<text>"},
       std::nullopt},
      {"commented out, alerts on", gpxWith({off150, off150}), true, "75", written,
       gpxWith({live("75"), live("75")}) + "\r\n"},
      {"commented out and live, alerts on", gpxWith({off150, live150}), true, "75", written,
       gpxWith({live("75"), live("75")}) + "\r\n"},
      {"capital letters, replaced where written so",
       gpxWith({"<GPXX:PROXIMITY>150</GPXX:PROXIMITY>", live150}), true, "300", written,
       gpxWith({live("300"), live150}) + "\r\n"},
      {"another distance stays", gpxWith({live150, live("99")}), true, "300", written,
       gpxWith({live("300"), live("99")}) + "\r\n"},
      {"no proximity element", gpxWith({"", ""}), true, "300",
       {"<text>", "kennee find proximity", "kennee find proximity"}, std::nullopt},
      {"no waypoint", "<gpx></gpx>", true, "300", {"Can't parse this file"}, std::nullopt},
      {"empty file", "", true, "300", {"Can't parse this file"}, std::nullopt},
      {"distance 0", gpxWith({live150}), true, "0", {"Check proximity"}, std::nullopt},
      {"distance 0.5", gpxWith({live150}), true, "0.5", {"Check proximity"}, std::nullopt},
      {"distance text", gpxWith({live150}), true, "far", {"Check proximity"}, std::nullopt},
      {"distance 1.5", gpxWith({live150}), true, "1.5", written, gpxWith({live("2")}) + "\r\n"},
      {"distance 2.5", gpxWith({live150}), true, "2.5", written, gpxWith({live("2")}) + "\r\n"},
      {"distance 40000", gpxWith({live150}), true, "40000", {"Overflow"}, std::nullopt},
      {"overwrite answered No", gpxWith({live150}), true, "300", written, std::nullopt,
       Answer::No},
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
    EXPECT_EQ(slurp(path), c.after.value_or(c.before));
    EXPECT_FALSE(machine.busyPointer());
  }
}

TEST_F(EdallTest, PickingTheFile) {
  window.Command1_Click(0);
  EXPECT_EQ(takeMessages(), Texts{"Please select file."});
  const std::string path = folder.write("a.gpx", gpxWith({live150}));
  machine.chooseNext(path);
  window.Command2_Click();
  machine.chooseNext(folder / "gone.gpx");
  window.Command2_Click();
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

}  // namespace
}  // namespace waymint::testing

// The progress line on a terminal, driven in-process with standard error captured.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "cli/tool.h"
#include "support/temp_folder.h"

namespace waymint::testing {
namespace {

const std::string liechtenstein = sharedPath("data/liechtenstein-2013-08-03.osm");
constexpr std::string_view cleared = "\r\033[K";

struct Captured {
  int status;
  std::string out;
  std::string err;
};

Captured runInProcess(const std::vector<std::string>& arguments, bool terminal) {
  std::ostringstream out;
  std::ostringstream err;
  const int status = cli::run(arguments, out, err, terminal);
  return {status, out.str(), err.str()};
}

size_t count(const std::string& text, std::string_view what) {
  size_t found = 0;
  for (size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++found;
  return found;
}

TEST(Progress, OnATerminalLoadingSurveyingAndScanningAreShownAndCleared) {
  Captured run = runInProcess({"list", liechtenstein, "restaurant"}, true);
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.err.find("\rloading 0%"), std::string::npos);
  EXPECT_NE(run.err.find("\rloading 100%"), std::string::npos);
  EXPECT_NE(run.err.find("\rsurveying "), std::string::npos);
  EXPECT_NE(run.err.find("\rscanning restaurant "), std::string::npos);
  EXPECT_LT(run.err.find("\rloading"), run.err.find("\rsurveying"));
  EXPECT_LT(run.err.rfind("\rsurveying"), run.err.find("\rscanning restaurant"));
  // Nothing is left on the line when the tool ends.
  EXPECT_TRUE(run.err.ends_with(cleared));
  EXPECT_FALSE(run.out.empty());
}

TEST(Progress, TheLineIsClearedBeforeAMessage) {
  Captured run = runInProcess({"list", liechtenstein, "nothing_of_that_name"}, true);
  EXPECT_EQ(run.status, 1);
  const std::string message = "waymint-cli: Please select\n";
  ASSERT_TRUE(run.err.ends_with(message));
  const std::string before = run.err.substr(0, run.err.size() - message.size());
  EXPECT_TRUE(before.ends_with(cleared));
  EXPECT_NE(before.find("\rsurveying"), std::string::npos);
}

TEST(Progress, EachPercentIsShownOnce) {
  Captured run = runInProcess({"categories", liechtenstein}, true);
  EXPECT_EQ(count(run.err, "\rloading 100%"), 1u);
  EXPECT_GT(count(run.err, "\rsurveying "), 1u);
  for (size_t at = run.err.find('\r'); at != std::string::npos;) {
    const size_t next = run.err.find('\r', at + 1);
    const std::string line = run.err.substr(at, next - at);
    if (line != cleared) {
      EXPECT_EQ(count(run.err, line), 1u) << line;
    }
    at = next;
  }
}

TEST(Progress, NotATerminalNoProgressAtAll) {
  Captured run = runInProcess({"list", liechtenstein, "restaurant"}, false);
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, "");
  Captured failing = runInProcess({"list", liechtenstein, "nothing_of_that_name"}, false);
  EXPECT_EQ(failing.err, "waymint-cli: Please select\n");
}

TEST(Progress, TheSameOutputWithOrWithoutIt) {
  EXPECT_EQ(runInProcess({"list", liechtenstein, "restaurant"}, true).out,
            runInProcess({"list", liechtenstein, "restaurant"}, false).out);
}

}  // namespace
}  // namespace waymint::testing

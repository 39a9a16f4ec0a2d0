// Standard output that cannot take the tool's lines: a lost output is a failed run.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <sstream>
#include <streambuf>
#include <string>
#include <vector>

#include "cli/descriptor_output.h"
#include "cli/tool.h"
#include "support/temp_folder.h"
#include "tool_runner.h"

namespace waymint::testing {
namespace {

const std::string monaco = sharedPath("data/monaco.osm");
const std::string noRoom = "waymint-cli: cannot write standard output: No space left on device\n";

// A stream buffer that takes nothing.
class Refusing : public std::streambuf {
 protected:
  int_type overflow(int_type) override { return traits_type::eof(); }
};

TEST(StandardOutput, AFullDeviceFailsEveryCommandThatPrints) {
  TempFolder folder;
  const std::vector<std::vector<std::string>> commands = {
      {"categories", monaco},
      {"list", monaco, "restaurant"},
      {"write", monaco, "pharmacy", "--gpx-folder", folder.path()},
      {"--help"},
  };
  for (const auto& command : commands) {
    Finished run = runToolWritingTo("/dev/full", command);
    EXPECT_EQ(run.status, 1) << command[0];
    EXPECT_EQ(run.err, noRoom) << command[0];
  }
}

TEST(StandardOutput, ARunThatPrintsNothingDoesNotFailOnIt) {
  TempFolder folder;
  Finished run = runToolWritingTo("/dev/full", {"categories", folder.write("empty.osm", "")});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.err, "");
}

TEST(StandardOutput, AFailedReportKeepsItsOwnMessageAndStatus) {
  Finished run = runToolWritingTo("/dev/full", {"list", monaco, "Restaurant"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err, "waymint-cli: Please select\n");
}

TEST(StandardOutput, AStreamThatRefusesWithoutSayingWhyIsNamedPlainly) {
  Refusing refusing;
  std::ostream out(&refusing);
  std::ostringstream err;
  EXPECT_EQ(cli::run({"categories", monaco}, out, err, false), 1);
  EXPECT_EQ(err.str(), "waymint-cli: cannot write standard output\n");
}

TEST(DescriptorOutput, PassesEveryByteAndRemembersTheFirstFailure) {
  TempFolder folder;
  const std::string path = folder / "out.txt";
  const int file = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  ASSERT_GE(file, 0);
  std::string expected;
  {
    cli::DescriptorOutput buffer(file);
    std::ostream out(&buffer);
    // More than the buffer holds, so that it is written out on the way too.
    for (int line = 0; line < 20000; ++line) {
      const std::string text = "line " + std::to_string(line) + '\n';
      out << text;
      expected += text;
    }
    out.flush();
    EXPECT_TRUE(out.good());
    EXPECT_EQ(buffer.error(), 0);
  }
  ::close(file);
  EXPECT_EQ(slurp(path), expected);

  const int full = ::open("/dev/full", O_WRONLY);
  ASSERT_GE(full, 0);
  cli::DescriptorOutput buffer(full);
  std::ostream out(&buffer);
  out << "lost\n";
  EXPECT_TRUE(out.good());  // still in the buffer
  out.flush();
  EXPECT_FALSE(out.good());
  EXPECT_EQ(buffer.error(), ENOSPC);
  ::close(full);
}

}  // namespace
}  // namespace waymint::testing

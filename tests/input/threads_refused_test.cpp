#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "platform/threads.h"
#include "reading.h"
#include "support/compressed_files.h"
#include "support/kept_text.h"
#include "support/open_descriptors.h"
#include "support/temp_folder.h"
#include "support/test_data.h"

namespace waymint::testing {
namespace {

// A file of every format, and the text each must give.
struct Sample {
  std::string path, kept;
};

std::vector<Sample> samplesIn(const TempFolder& folder) {
  std::mt19937 random(3);
  std::string text;
  while (text.size() < 900'000) text += awkwardOsmText(random, 200);  // many blocks and pieces
  const std::string kept = keptReference(text);
  std::string damaged = bzip2Of(text, 1);
  damaged.replace(damaged.size() / 2, 64, std::string(64, 'x'));
  std::vector<Sample> samples = {
      {folder.write("a.osm", text), kept},
      {folder.write("a.osm.gz", gzipOf(text)), kept},
      {folder.write("a.osm.bz2", bzip2Of(text, 1)), kept},
      {folder.write("damaged.osm.bz2", damaged),
       "refused: " + folder / "damaged.osm.bz2" + " is damaged: its compressed data cannot be read."},
  };
  const std::string pbf = folder.write("monaco.osm.pbf", slurp(testDataPath("monaco.osm.pbf")));
  samples.push_back({pbf, read(pbf)});
  return samples;
}

TEST(Threads, AGroupStartsWhatTheSystemAllowsAndJoinsIt) {
  std::atomic<int> ran{0};
  platform::refuseThreadsAfter(2);
  {
    platform::ThreadGroup group;
    EXPECT_EQ(group.startUpTo(5, [&] { ++ran; }), 2u);
    EXPECT_FALSE(group.start([&] { ++ran; }));
  }
  platform::refuseThreadsAfter(std::nullopt);
  EXPECT_EQ(ran, 2);
}

// Whatever number of threads the system allows, none included, every reader gives the same
// text (or the same refusal), leaves no thread running and no file open.
TEST(Threads, EveryReaderWorksWithTheThreadsItCanGet) {
  TempFolder folder;
  const std::vector<Sample> samples = samplesIn(folder);
  for (size_t allowed : {0, 1, 2, 3, 5}) {
    platform::refuseThreadsAfter(allowed);
    for (const Sample& sample : samples) {
      const long descriptors = openDescriptors();
      EXPECT_TRUE(read(sample.path) == sample.kept) << sample.path << " with " << allowed << " threads";
      EXPECT_EQ(openDescriptors(), descriptors);
    }
  }
  platform::refuseThreadsAfter(std::nullopt);
}

// The same with the system's own limit: a child process of a user who may run no more
// processes than it has (root ignores the limit, so the child becomes nobody).
TEST(Threads, ALimitOfProcessesMakesNoReaderFail) {
  TempFolder folder;
  const std::vector<Sample> samples = samplesIn(folder);
  ::chmod(folder.path().c_str(), 0755);
  int results[2];
  ASSERT_EQ(::pipe(results), 0);
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ::close(results[0]);
    std::string report;
    try {
      const rlimit one{1, 1};
      const bool limited = (::geteuid() != 0 || (::setgid(65534) == 0 && ::setuid(65534) == 0)) &&
                           ::setrlimit(RLIMIT_NPROC, &one) == 0;
      if (!limited) report += "cannot limit the processes\n";
      for (const Sample& sample : samples) {
        if (read(sample.path) != sample.kept) report += sample.path + " read otherwise\n";
      }
      // And no thread could be started indeed.
      platform::ThreadGroup group;
      if (group.start([] {})) report += "a thread started\n";
    } catch (const std::exception& error) {
      report += std::string("thrown: ") + error.what() + "\n";
    }
    const ssize_t written = ::write(results[1], report.data(), report.size());
    ::_exit(written == static_cast<ssize_t>(report.size()) ? 0 : 1);
  }
  ::close(results[1]);
  std::string report;
  char buffer[4096];
  for (ssize_t got; (got = ::read(results[0], buffer, sizeof buffer)) > 0;) report.append(buffer, static_cast<size_t>(got));
  ::close(results[0]);
  int status = 0;
  ::waitpid(child, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
  EXPECT_EQ(report, "");
}

}  // namespace
}  // namespace waymint::testing

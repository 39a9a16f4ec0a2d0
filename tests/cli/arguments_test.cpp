// The command line read into what it asks for, without touching any file.
#include "cli/arguments.h"

#include <gtest/gtest.h>

#include <string>
#include <variant>
#include <vector>

#include "cli/commands.h"

namespace waymint::testing {
namespace {

using cli::Command;
using cli::Invocation;
using cli::parseArguments;
using cli::UsageError;
using gpx::SoundFormat;

Invocation accepted(const std::vector<std::string>& arguments) {
  auto parsed = parseArguments(arguments);
  if (auto* error = std::get_if<UsageError>(&parsed)) {
    ADD_FAILURE() << "refused: " << error->reason;
    return {};
  }
  return std::get<Invocation>(parsed);
}

std::string refused(const std::vector<std::string>& arguments) {
  auto parsed = parseArguments(arguments);
  if (auto* error = std::get_if<UsageError>(&parsed)) return error->reason;
  ADD_FAILURE() << "accepted";
  return {};
}

TEST(Arguments, Categories) {
  Invocation call = accepted({"categories", "a.osm"});
  EXPECT_EQ(call.command, Command::Categories);
  EXPECT_EQ(call.osmFile, "a.osm");
  EXPECT_TRUE(call.categories.empty());
}

TEST(Arguments, ListTakesTheFileAndOneCategory) {
  Invocation call = accepted({"list", "a.osm", "fast food"});
  EXPECT_EQ(call.command, Command::List);
  EXPECT_EQ(call.osmFile, "a.osm");
  EXPECT_EQ(call.categories, std::vector<std::string>{"fast food"});
}

TEST(Arguments, WriteWithItsDefaults) {
  Invocation call = accepted({"write", "a.osm", "cafe", "pub", "--gpx-folder", "/g"});
  EXPECT_EQ(call.command, Command::Write);
  EXPECT_EQ(call.osmFile, "a.osm");
  EXPECT_EQ(call.categories, (std::vector<std::string>{"cafe", "pub"}));
  EXPECT_FALSE(call.all);
  EXPECT_EQ(call.gpxFolder, "/g");
  EXPECT_FALSE(call.alert);
  EXPECT_EQ(call.proximity, "25");
  EXPECT_EQ(call.sound, SoundFormat::None);
}

TEST(Arguments, WriteOptionsInAnyPlace) {
  Invocation call = accepted({"write", "--alert", "a.osm", "--sound", "wav", "cafe", "--proximity",
                              "50", "--gpx-folder", "/g", "pub"});
  EXPECT_EQ(call.osmFile, "a.osm");
  EXPECT_EQ(call.categories, (std::vector<std::string>{"cafe", "pub"}));
  EXPECT_TRUE(call.alert);
  EXPECT_EQ(call.proximity, "50");
  EXPECT_EQ(call.sound, SoundFormat::Wav);
  EXPECT_EQ(accepted({"write", "a.osm", "--all", "--gpx-folder", "/g", "--sound", "mp3"}).sound,
            SoundFormat::Mp3);
}

TEST(Arguments, WriteAll) {
  Invocation call = accepted({"write", "a.osm", "--all", "--gpx-folder", "/g"});
  EXPECT_TRUE(call.all);
  EXPECT_TRUE(call.categories.empty());
}

TEST(Arguments, ANegativeProximityIsAValue) {
  EXPECT_EQ(accepted({"write", "a.osm", "x", "--gpx-folder", "/g", "--proximity", "-5"}).proximity,
            "-5");
}

TEST(Arguments, DoubleDashEndsTheOptions) {
  Invocation call = accepted({"write", "a.osm", "--gpx-folder", "/g", "--", "--all", "-x"});
  EXPECT_FALSE(call.all);
  EXPECT_EQ(call.categories, (std::vector<std::string>{"--all", "-x"}));
  EXPECT_EQ(accepted({"list", "--", "a.osm", "--help"}).categories,
            std::vector<std::string>{"--help"});
}

TEST(Arguments, HelpWherever) {
  EXPECT_EQ(accepted({"--help"}).command, Command::Help);
  EXPECT_EQ(accepted({"-h"}).command, Command::Help);
  EXPECT_EQ(accepted({"write", "a.osm", "--help"}).command, Command::Help);
  EXPECT_EQ(accepted({"nonsense", "--help"}).command, Command::Help);
}

TEST(ArgumentErrors, NoCommandOrAnUnknownOne) {
  EXPECT_EQ(refused({}), "no command given");
  EXPECT_EQ(refused({"survey", "a.osm"}), "unknown command survey");
  EXPECT_EQ(refused({"--alert"}), "unknown command --alert");
}

TEST(ArgumentErrors, CategoriesNeedsExactlyTheFile) {
  EXPECT_EQ(refused({"categories"}), "categories needs OSM_FILE");
  EXPECT_EQ(refused({"categories", "a.osm", "b.osm"}), "too many arguments for categories");
  EXPECT_EQ(refused({"categories", "a.osm", "--alert"}), "categories takes no option --alert");
}

TEST(ArgumentErrors, ListNeedsTheFileAndOneCategory) {
  EXPECT_EQ(refused({"list"}), "list needs OSM_FILE CATEGORY");
  EXPECT_EQ(refused({"list", "a.osm"}), "list needs OSM_FILE CATEGORY");
  EXPECT_EQ(refused({"list", "a.osm", "cafe", "pub"}), "too many arguments for list");
  EXPECT_EQ(refused({"list", "a.osm", "cafe", "--all"}), "list takes no option --all");
}

TEST(ArgumentErrors, WriteNeedsFileCategoriesAndFolder) {
  EXPECT_EQ(refused({"write", "--gpx-folder", "/g"}), "write needs OSM_FILE");
  EXPECT_EQ(refused({"write", "a.osm", "--gpx-folder", "/g"}), "write needs CATEGORY... or --all");
  EXPECT_EQ(refused({"write", "a.osm", "cafe"}), "write needs --gpx-folder DIR");
  EXPECT_EQ(refused({"write", "a.osm", "--all"}), "write needs --gpx-folder DIR");
}

TEST(ArgumentErrors, AllAndCategoriesDoNotGoTogether) {
  EXPECT_EQ(refused({"write", "a.osm", "cafe", "--all", "--gpx-folder", "/g"}),
            "write takes either CATEGORY... or --all, not both");
}

TEST(ArgumentErrors, OptionsThatNeedAValue) {
  EXPECT_EQ(refused({"write", "a.osm", "cafe", "--gpx-folder", "/g", "--proximity"}),
            "--proximity needs a value");
  EXPECT_EQ(refused({"write", "a.osm", "cafe", "--proximity", "--alert", "--gpx-folder", "/g"}),
            "--proximity needs a value");
  EXPECT_EQ(refused({"write", "a.osm", "cafe", "--gpx-folder"}), "--gpx-folder needs a value");
  EXPECT_EQ(refused({"write", "a.osm", "cafe", "--gpx-folder", ""}), "--gpx-folder needs a value");
  EXPECT_EQ(refused({"write", "a.osm", "cafe", "--gpx-folder", "/g", "--sound"}),
            "--sound needs a value");
}

TEST(ArgumentErrors, SoundTakesWavOrMp3) {
  EXPECT_EQ(refused({"write", "a.osm", "cafe", "--gpx-folder", "/g", "--sound", "ogg"}),
            "--sound takes wav or mp3, not ogg");
  EXPECT_EQ(refused({"write", "a.osm", "cafe", "--gpx-folder", "/g", "--sound", "WAV"}),
            "--sound takes wav or mp3, not WAV");
}

TEST(ArgumentErrors, UnknownOrRepeatedOptions) {
  EXPECT_EQ(refused({"write", "a.osm", "cafe", "--gpx-folder", "/g", "--speed", "20"}),
            "unknown option --speed");
  EXPECT_EQ(refused({"write", "a.osm", "cafe", "--gpx-folder", "/g", "--gpx-folder", "/h"}),
            "--gpx-folder is given twice");
  EXPECT_EQ(refused({"write", "a.osm", "x", "--gpx-folder", "/g", "--proximity", "1", "--proximity",
                     "2"}),
            "--proximity is given twice");
}

TEST(Usage, ListsEveryCommandsSynopsisFirst) {
  const std::string text = cli::usage();
  EXPECT_EQ(text.find("waymint-cli categories OSM_FILE\n"
                      "waymint-cli list OSM_FILE CATEGORY\n"
                      "waymint-cli write OSM_FILE (CATEGORY... | --all) --gpx-folder DIR [--alert] "
                      "[--proximity N] [--sound wav|mp3]\n"),
            0u);
  for (const cli::CommandEntry& command : cli::commandList()) {
    EXPECT_NE(text.find("\n" + std::string(command.name) + ":\n"), std::string::npos)
        << command.name;
    EXPECT_EQ(cli::findCommand(command.name), &command);
  }
}

}  // namespace
}  // namespace waymint::testing

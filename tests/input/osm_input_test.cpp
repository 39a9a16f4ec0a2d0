#include <gtest/gtest.h>
#include <unistd.h>

#include <map>
#include <new>
#include <random>
#include <string>
#include <vector>

#include "input/format.h"
#include "platform/files.h"
#include "reading.h"
#include "support/bad_osm_files.h"
#include "support/case_table.h"
#include "support/compressed_files.h"
#include "support/kept_text.h"
#include "support/open_descriptors.h"
#include "support/run_program.h"
#include "support/temp_folder.h"
#include "support/test_data.h"

namespace waymint::testing {
namespace {

using input::Format;

TEST(InputFormat, ToldByTheFirstBytesWhateverTheName) {
  const std::map<std::string, Format> formats = {{"pbf", Format::Pbf},     {"bzip2", Format::Bzip2},
                                                 {"gzip", Format::Gzip},   {"xml", Format::Xml},
                                                 {"unknown", Format::Unknown}};
  std::vector<std::vector<std::string>> cases = caseTable("input/data/formats.tsv", 2);
  cases.push_back({std::string(input::headSize - 3, ' ') + "<osm>", "unknown"});
  cases.push_back({std::string(input::headSize - 4, ' ') + "<osm>", "xml"});
  for (const std::vector<std::string>& c : cases) {
    EXPECT_EQ(input::formatOf(c[0]), formats.at(c[1])) << c[0].substr(0, 12);
  }
}

// Every format keeps the same text of the same OSM text: its head and its tagged nodes.
TEST(OsmInput, EveryFormatKeepsTheHeadAndTheTaggedNodes) {
  TempFolder folder;
  const long descriptors = openDescriptors();
  std::mt19937 random(7);
  std::string awkward;  // nodes of every shape, ways and relations, over many bzip2 blocks
  while (awkward.size() < 600'000) awkward += awkwardOsmText(random, 200);
  for (const std::string& text : {manyNodes(4000), awkward}) {
    ASSERT_GT(text.size(), 500'000u);  // several bzip2 blocks of 100 000 bytes
    const std::string kept = keptReference(text);
    ASSERT_LT(kept.size(), text.size());
    const std::string half1 = text.substr(0, text.size() / 3);
    const std::string half2 = text.substr(text.size() / 3);
    const std::pair<const char*, std::string> files[] = {
        {"plain.osm", text},
        {"a.osm.gz", gzipOf(text)},
        {"members.osm.gz", gzipOf(half1, 1) + gzipOf(half2, 9)},
        {"a.osm.bz2", bzip2Of(text)},
        {"blocks.osm.bz2", bzip2Of(text, 1)},
        {"streams.osm.bz2", bzip2Of(half1, 1) + bzip2Of(half2, 2)},
        {"garbage-after.osm.gz", gzipOf(text) + std::string(512, '\0')},
        {"garbage-after.osm.bz2", bzip2Of(text, 1) + std::string(512, '\0')},
        {"garbage-after-1f.osm.gz", gzipOf(text) + "\x1F\x8C and so on"},
    };
    for (const auto& [name, bytes] : files) {
      EXPECT_TRUE(read(folder.write(name, bytes)) == kept) << name;
    }
  }
  EXPECT_EQ(openDescriptors(), descriptors);  // none left open
}

// The file is read a MiB at a time: two members whose border (the next one's two-byte magic
// number) lies across the end of a piece are read as two members, as trailing bytes that begin
// like one are ignored.
TEST(OsmInput, GzipMembersMeetAnywhereInTheReadPieces) {
  TempFolder folder;
  const std::string text = manyNodes(9000);
  for (const size_t border : {(size_t{1} << 20) - 1, size_t{1} << 20, (size_t{1} << 20) + 1}) {
    SCOPED_TRACE(border);
    // A first member stored as it is, `border` bytes long.
    size_t length = border - 200;
    for (int i = 0; i < 4; ++i) {
      length += border - gzipOf(text.substr(0, length), 0).size();
    }
    const std::string first = gzipOf(text.substr(0, length), 0);
    ASSERT_EQ(first.size(), border);
    EXPECT_TRUE(read(folder.write("a.osm.gz", first + gzipOf(text.substr(length)))) == keptReference(text));
    EXPECT_TRUE(read(folder.write("b.osm.gz", first + "\x1F")) == keptReference(text.substr(0, length)));
  }
}

TEST(OsmInput, BadFilesAreRefusedWithAMessageNamingThem) {
  TempFolder folder;
  const long descriptors = openDescriptors();
  for (const BadFile& bad : badOsmFiles(folder)) {
    EXPECT_EQ(read(bad.path, 64 * megabyte), "refused: " + bad.message) << bad.path;
  }
  EXPECT_THROW(read(folder / "missing.osm"), platform::files::IoError);
  EXPECT_EQ(openDescriptors(), descriptors);
}

TEST(OsmInput, MemoryCancelAndAFileThatChangesWhileRead) {
  TempFolder folder;
  const std::string text = manyNodes(20000);
  const std::string plain = folder.write("a.osm", text);
  const std::string packed = folder.write("a.osm.bz2", bzip2Of(text, 1));
  const long descriptors = openDescriptors();
  for (const std::string& path : {plain, packed, folder.write("a.osm.gz", gzipOf(text))}) {
    SCOPED_TRACE(path);
    EXPECT_THROW(read(path, text.size() / 2), std::bad_alloc);
    Progress cancelling;
    cancelling.goOn = [](int) { return false; };
    EXPECT_THROW(input::readOsmFile(path, cancelling, plenty), input::Cancelled);
    EXPECT_EQ(cancelling.reports, 1);
  }
  Progress cutting;
  cutting.goOn = [&](int) { return ::truncate(plain.c_str(), 100) == 0; };
  EXPECT_EQ(read(plain, plenty, cutting),
            "refused: " + plain + " changed on disk while it was read.");
  EXPECT_EQ(openDescriptors(), descriptors);
}

// The node elements with tags of an OSM XML text as osmium writes it, in order: from a line
// "  <node ...>" to the line "  </node>".
std::string taggedNodes(const std::string& xml) {
  std::string nodes;
  for (size_t at = xml.find("\n  <node "); at != std::string::npos;
       at = xml.find("\n  <node ", at + 1)) {
    const size_t lineEnd = xml.find('\n', at + 1);
    if (xml[lineEnd - 2] == '/') continue;
    const size_t end = xml.find("\n  </node>\n", lineEnd) + 11;
    nodes.append(xml, at + 1, end - at - 1);
  }
  return nodes;
}

TEST(OsmInput, APbfGivesTheTaggedNodesExactlyAsOsmiumWritesThemInXml) {
  if (!onPath("osmium")) GTEST_SKIP() << "osmium-tool is not installed";
  TempFolder folder;
  const std::string pbf = testDataPath("monaco.osm.pbf");
  const std::string xml = folder / "monaco-from-pbf.osm";
  ASSERT_EQ(runProgram({"osmium", "cat", pbf, "-f", "osm", "-o", xml}).status, 0);
  const long descriptors = openDescriptors();
  const std::string text = read(pbf);
  const std::string expected = taggedNodes(slurp(xml));
  ASSERT_GT(expected.size(), 500'000u);  // Monaco's 3 090 nodes with tags
  EXPECT_TRUE(text == "<?xml version='1.0' encoding='UTF-8'?>\n<osm version=\"0.6\">\n" +
                          expected + "</osm>\n");

  std::string damaged = slurp(pbf);
  damaged.replace(damaged.size() / 2, 300, std::string(300, '\0'));
  for (const auto& [name, bytes] : {std::pair{"damaged.osm.pbf", damaged},
                                    std::pair{"cut.osm.pbf", slurp(pbf).substr(0, 500000)}}) {
    const std::string path = folder.write(name, bytes), refusal = read(path);
    EXPECT_TRUE(refusal.starts_with("refused: " + path + " is damaged or incomplete: ")) << refusal;
  }
  Progress cancelling;
  cancelling.goOn = [](int) { return false; };
  EXPECT_THROW(input::readOsmFile(pbf, cancelling, plenty), input::Cancelled);
  EXPECT_EQ(openDescriptors(), descriptors);
}

}  // namespace
}  // namespace waymint::testing

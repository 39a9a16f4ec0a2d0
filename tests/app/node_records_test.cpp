#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/node_records.h"
#include "app/state.h"

namespace waymint::testing {
namespace {

std::vector<std::string> cut(std::string_view text) {
  app::NodeRecordCutter records(text);
  std::vector<std::string> got;
  for (std::string_view record; records.next(record);) got.emplace_back(record);
  return got;
}

TEST(NodeRecords, EachRecordEndsWithItsNodeElement) {
  std::string text =
      "<osm>\n <node id=\"1\" lat=\"1\" lon=\"2\"/>\n"
      " <node id=\"2\" lat=\"3\" lon=\"4\">\n  <tag k=\"amenity\" v=\"pub\"/>\n </node>\n"
      " <way id=\"9\">\n  <tag k=\"amenity\" v=\"cafe\"/>\n </way>\n</osm>\n";
  EXPECT_EQ(cut(text), (std::vector<std::string>{
                           "id=\"1\" lat=\"1\" lon=\"2\"/>",
                           "id=\"2\" lat=\"3\" lon=\"4\">\n  <tag k=\"amenity\" v=\"pub\"/>\n </node>"}));
}

TEST(NodeRecords, UnclosedNodesRunToTheNextNodeOrTheEnd) {
  // No "</node>" before the next node: the record stops at that node.
  EXPECT_EQ(cut("<node a><tag/> <node b/> tail"),
            (std::vector<std::string>{"a><tag/> ", "b/>"}));
  // No ">" at all, and a file that ends inside a node.
  EXPECT_EQ(cut("<node a <node b> <tag k=\"x\""),
            (std::vector<std::string>{"a ", "b> <tag k=\"x\""}));
  // "</node>" of a later node does not end an earlier one.
  EXPECT_EQ(cut("<node a>x<node b>y</node>z"), (std::vector<std::string>{"a>x", "b>y</node>"}));
  EXPECT_TRUE(cut("").empty());
  EXPECT_TRUE(cut("<osm><way id=\"1\"/></osm>").empty());
  EXPECT_TRUE(cut("<nodes><node/>").empty());  // "<node" without its blank is no node
}

TEST(NodeRecords, ChunksNeverCutARecord) {
  app::ChunkTable table;
  // Records starting on both sides of the first chunk boundary.
  std::string text(static_cast<size_t>(app::chunkSize) - 10, ' ');
  text += "<node a>  long record </node>";
  text += "<node b/>";
  table.bytes = std::move(text);
  table.chunkmax = 1;
  std::vector<std::string> first, second;
  auto records = app::chunkRecords(table, 0);
  for (std::string_view record; records.next(record);) first.emplace_back(record);
  records = app::chunkRecords(table, 1);
  for (std::string_view record; records.next(record);) second.emplace_back(record);
  EXPECT_EQ(first, std::vector<std::string>{"a>  long record </node>"});
  EXPECT_EQ(second, std::vector<std::string>{"b/>"});
  EXPECT_EQ(table.chunk(0).size(), static_cast<size_t>(app::chunkSize));
  EXPECT_EQ(table.chunk(1).size(), table.bytes.size() - static_cast<size_t>(app::chunkSize));
  EXPECT_TRUE(table.chunk(2).empty());
}

}  // namespace
}  // namespace waymint::testing

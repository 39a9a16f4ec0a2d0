#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace waymint::testing {

// What the readers keep of a whole OSM text, made the plain way: the text before its first
// "<node " (at most its first 64 KiB), then "<node " and each record of osm::NodeRecordCutter
// that holds "<tag ". Records longer than the readers keep are not cut here.
std::string keptReference(std::string_view text);

// An OSM text of `count` pieces chosen at random among node elements of every shape (with and
// without tags, without end, with ">" in a value, with CR LF), ways and relations with tags,
// stray "</node>", "<nodes", "<tag" and "<" and ">" and "/", blanks and UTF-8 names.
std::string awkwardOsmText(std::mt19937& random, int count);

// Cuts `size` bytes into pieces at random places (at least one piece, empty ones among them).
std::vector<size_t> randomCuts(std::mt19937& random, size_t size, size_t pieces);

}  // namespace waymint::testing

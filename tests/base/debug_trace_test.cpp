#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "base/debug_trace.h"

namespace {

TEST(DebugTrace, FormatsOntoTheChannelAsAWarningUnlessToldTheLevel) {
  std::vector<std::pair<plat::DebugLevel, std::string>> seen;
  plat::DebugSink before = plat::SetDebugOutputSink(
      [&](plat::DebugLevel level, const std::string& text) { seen.emplace_back(level, text); });
  DebugTrace("map %d: %s dropped\n", 7, "lights");
  DebugTrace(plat::DebugLevel::Error, "Save slot %d was not written", 2);
  DebugTrace(plat::DebugLevel::Info, "%s", "## NPC id : 3 Show");
  plat::SetDebugOutputSink(std::move(before));
  const std::vector<std::pair<plat::DebugLevel, std::string>> expected = {
      {plat::DebugLevel::Warning, "map 7: lights dropped\n"},
      {plat::DebugLevel::Error, "Save slot 2 was not written"},
      {plat::DebugLevel::Info, "## NPC id : 3 Show"}};
  EXPECT_EQ(seen, expected);
}

}  // namespace

#include <gtest/gtest.h>

#include <unistd.h>
#include <cstring>
#include <filesystem>
#include <memory>

#include "platform/files.h"
#include "tests/automap/automap_fixture.h"

namespace automaptest {
namespace {

constexpr uint8_t kTag[] = {0xa5, 0xce, 0xa8, 0xd3, 0xc0, 0x78, 0xa6, 0x73, 0xa6, 0xdb, 0xb0,
                            0xca, 0xa6, 0x61, 0xb9, 0xcf, 0xaa, 0xba, 0xc0, 0xc9, 0xae, 0xd7};

class AutomapFileTest : public AutomapTest {
 protected:
  void SetUp() override {
    AutomapTest::SetUp();
    map_.reset(NewAutomap());
    village_ = MakeTerrain({{0, 0, 1200, 1200}});
    meadow_ = MakeTerrain({{0, 0, 2400, 1200}});
  }
  // Walks the village's and then the meadow's map a little.
  void VisitBoth() {
    ASSERT_EQ(map_->BuildForScene("a004.SB", village_, 1), 1);
    map_->UpdatePlayer(100, 100, 1, 0);
    map_->UpdatePlayer(1100, 1100, 1, 0);
    ASSERT_EQ(map_->BuildForScene("E001.sb", meadow_, 1), 1);
    map_->UpdatePlayer(1200, 600, 1, 0);
  }
  std::vector<uint8_t> Read(const std::string& path) {
    std::vector<uint8_t> bytes;
    EXPECT_TRUE(plat::ReadWholeFile(path, bytes));
    return bytes;
  }
  void Write(const std::string& path, const std::vector<uint8_t>& bytes) {
    ASSERT_TRUE(plat::WriteFileAtomic(path, bytes.data(), bytes.size()));
  }

  std::unique_ptr<CAutomap> map_;
  HOBJECT village_ = 0;
  HOBJECT meadow_ = 0;
};

TEST_F(AutomapFileTest, SaveOfTwoScenesHoldsHeaderDirectoryAndBits) {
  VisitBoth();
  ASSERT_EQ(map_->SaveFile("TWSave01.map"), 0);
  std::vector<uint8_t> bytes = Read("TWSave01.map");
  plat::ByteReader in(bytes);
  EXPECT_EQ(in.F32(), 3.0f);
  EXPECT_EQ(in.I32(), 2);
  uint8_t tag[64];
  in.Bytes(tag, 64);
  EXPECT_EQ(std::memcmp(tag, kTag, sizeof kTag), 0);
  for (size_t i = sizeof kTag; i < 64; ++i) EXPECT_EQ(tag[i], 0) << i;
  uint32_t offset = 72 + 60 * 2;
  for (const char* name : {"a004", "e001"}) {
    SCOPED_TRACE(name);
    const CExploredCells& cells = map_->ExploredScenes().at(name);
    EXPECT_EQ(in.FixedString(32), name);
    EXPECT_EQ(in.F32(), cells.GetInfo().originX);
    EXPECT_EQ(in.F32(), cells.GetInfo().originY);
    EXPECT_EQ(in.F32(), cells.GetInfo().scale);
    EXPECT_EQ(in.I32(), 120);
    EXPECT_EQ(in.I32(), 120);
    EXPECT_EQ(in.I32(), 29);
    EXPECT_EQ(in.U32(), offset);
    ASSERT_LE(offset + 29, bytes.size());
    EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + offset, bytes.begin() + offset + 29), cells.Bits());
    offset += 29;
  }
  EXPECT_EQ(bytes.size(), offset);
}

TEST_F(AutomapFileTest, SaveWithNoSceneIsTheHeaderAlone) {
  ASSERT_EQ(map_->SaveFile("empty.map"), 0);
  std::vector<uint8_t> bytes = Read("empty.map");
  ASSERT_EQ(bytes.size(), 72u);
  plat::ByteReader in(bytes);
  in.F32();
  EXPECT_EQ(in.I32(), 0);
}

TEST_F(AutomapFileTest, SaveNewGameLoadRestoresEveryRecord) {
  VisitBoth();
  auto saved = map_->ExploredScenes();
  ASSERT_EQ(map_->SaveFile("TWSave02.map"), 0);
  map_->ClearAll();
  EXPECT_TRUE(map_->ExploredScenes().empty());
  ASSERT_EQ(map_->BuildForScene("a004.sb", village_, 1), 1);
  map_->UpdatePlayer(600, 600, 1, 0);

  ASSERT_EQ(map_->LoadFile("TWSave02.map", "A004.SB", village_), 0);
  ASSERT_EQ(map_->ExploredScenes().size(), 2u);
  for (const auto& [name, cells] : saved) EXPECT_EQ(map_->ExploredScenes().at(name).Bits(), cells.Bits()) << name;
  // The current scene is rebuilt from the loaded bits: two cells, two squares of fog lifted.
  ASSERT_NE(map_->CurrentCells(), nullptr);
  EXPECT_EQ(map_->CurrentCells()->Bits(), saved.at("a004").Bits());
  EXPECT_EQ(map_->Tracking(), 1);
  EXPECT_EQ(PixelAt(map_->FogLayer(), 10, 110), 0);
  EXPECT_EQ(PixelAt(map_->FogLayer(), 60, 60), kBlue);

  ASSERT_EQ(map_->LoadFile("TWSave02.map", "b002.sb", village_), 0);
  EXPECT_EQ(map_->Tracking(), 0) << "a scene absent from the file has no fog";
  EXPECT_EQ(map_->FogLayer(), 0u);
}

TEST_F(AutomapFileTest, SceneNamesOfAnyCaseShareOneRecord) {
  ASSERT_EQ(map_->BuildForScene("A004.SB", village_, 1), 1);
  map_->UpdatePlayer(100, 100, 1, 0);
  ASSERT_EQ(map_->BuildForScene("a004.sb", village_, 1), 1);
  EXPECT_EQ(map_->ExploredScenes().size(), 1u);
  EXPECT_EQ(map_->UpdatePlayer(100, 100, 1, 0), 1) << "the cell walked before";
  EXPECT_EQ(CAutomap::SceneKey("A004.SB"), "a004");
  EXPECT_EQ(CAutomap::SceneKey(nullptr), "");
  EXPECT_EQ(CAutomap::SceneKey(std::string(40, 'x').c_str()).size(), 31u);
}

TEST_F(AutomapFileTest, BadFilesAreRefusedOrTrimmed) {
  VisitBoth();
  ASSERT_EQ(map_->SaveFile("good.map"), 0);
  const std::vector<uint8_t> good = Read("good.map");
  auto before = map_->ExploredScenes();

  EXPECT_EQ(map_->LoadFile("missing.map", "a004.sb", village_), -1);
  EXPECT_EQ(map_->ExploredScenes().size(), before.size()) << "nothing changed";

  Write("truncated.map", std::vector<uint8_t>(good.begin(), good.begin() + 72 + 60 + 30));
  EXPECT_EQ(map_->LoadFile("truncated.map", "a004.sb", village_), -1);
  Write("short.map", std::vector<uint8_t>(good.begin(), good.begin() + 40));
  EXPECT_EQ(map_->LoadFile("short.map", "a004.sb", village_), -1);
  std::vector<uint8_t> negative = good;
  negative[4] = negative[5] = negative[6] = negative[7] = 0xFF;
  Write("negative.map", negative);
  EXPECT_EQ(map_->LoadFile("negative.map", "a004.sb", village_), -1);
  EXPECT_EQ(map_->ExploredScenes().size(), 2u) << "refused files change nothing";

  struct Case {
    const char* what;
    size_t at;  // in the first entry
    std::vector<uint8_t> value;
    const char* trace;
  };
  const Case cases[] = {
      {"short byte count", 52, {28, 0, 0, 0}, "fewer than its cells need"},
      {"zero width", 44, {0, 0, 0, 0}, "a map of 0 x 120"},
      {"huge height", 48, {0, 0, 1, 0}, "a map of 120 x 65536"},
      {"data beyond the file", 56, {0xF0, 0xFF, 0, 0}, "beyond the file"},
      {"unterminated name", 0, std::vector<uint8_t>(32, 'a'), "no terminated name"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<uint8_t> bytes = good;
    std::copy(c.value.begin(), c.value.end(), bytes.begin() + 72 + c.at);
    Write("bad.map", bytes);
    EXPECT_EQ(map_->LoadFile("bad.map", "e001.sb", meadow_), 0);
    EXPECT_EQ(map_->ExploredScenes().size(), 1u);
    EXPECT_EQ(map_->ExploredScenes().count("e001"), 1u);
    EXPECT_TRUE(trace_.Contains(c.trace));
    EXPECT_EQ(map_->UpdatePlayer(1200, 600, 1, 0), 1) << "the meadow's cells are loaded";
  }
}

TEST_F(AutomapFileTest, FailedWriteKeepsThePreviousFile) {
  VisitBoth();
  ASSERT_EQ(map_->SaveFile("slot.map"), 0);
  const std::vector<uint8_t> previous = Read("slot.map");
  map_->ClearAll();
  // The writer's temporary name is taken by a directory, so nothing can be written.
  std::filesystem::create_directory("slot.map.tmp" + std::to_string(::getpid()));
  EXPECT_EQ(map_->SaveFile("slot.map"), -1);
  EXPECT_EQ(Read("slot.map"), previous);
  EXPECT_EQ(map_->SaveFile("no/such/dir/slot.map"), -1);
}

}  // namespace
}  // namespace automaptest

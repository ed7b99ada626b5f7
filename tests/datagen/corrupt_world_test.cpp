// Every file of the sample world, damaged in many seeded ways, read back by the
// game's own readers: each read must return (any answer) without a crash, an
// endless loop or a sanitizer report, and a reported failure must not leave
// half-read records behind where that is cheap to see.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "battle/action_table.h"
#include "battle/hit_vertices.h"
#include "cutscene/cut_scene.h"
#include "database/database_loader.h"
#include "database/game_database.h"
#include "database/game_resource.h"
#include "engine/core/nodes.h"
#include "engine/core/pools.h"
#include "engine/media/data_directories.h"
#include "engine/media/model_files.h"
#include "engine/media/packages.h"
#include "engine/media/texture_files.h"
#include "engine/media/texture_table.h"
#include "platform/cdaudio.h"
#include "platform/files.h"
#include "platform/qel/camera_controller.h"
#include "platform/qel/file_load_man.h"
#include "platform/wave_file.h"
#include "talk/base_talk_player.h"
#include "tests/cutscene/cutscene_fixtures.h"
#include "tests/database/database_test_support.h"
#include "tests/engine/engine_fixture.h"
#include "tests/support/captures.h"
#include "tools/datagen/sample_world.h"
#include "tools/datagen/sample_world_maps.h"
#include "ui/dialog_player_ex.h"
#include "world/scene_data.h"
#include "world/scene_environment.h"

namespace {

using namespace datagen::sample;
using Bytes = std::vector<uint8_t>;

constexpr int kMutantsPerFile = 300;

void WriteWorld() {
  std::string error;
  ASSERT_TRUE(datagen::WriteSampleWorld(".", error)) << error;
}

Bytes ReadFile(const std::string& path) {
  Bytes bytes;
  EXPECT_TRUE(plat::ReadWholeFile(path, bytes)) << path;
  return bytes;
}

void WriteBytes(const std::string& path, const Bytes& bytes) {
  ASSERT_TRUE(plat::WriteFileAtomic(path, bytes.data(), bytes.size())) << path;
}

// A numeric field of a text file made huge, negative or out of range.
void HugeNumberInText(Bytes& b, std::mt19937& rng) {
  static const char* const kHuge[] = {"2147483647", "-2147483648", "99999999999999999999", "4294967295", "-1",
                                      "1e39",       "nan"};
  std::vector<size_t> starts;
  for (size_t i = 0; i < b.size(); ++i)
    if (b[i] >= '0' && b[i] <= '9' && (i == 0 || b[i - 1] == ' ' || b[i - 1] == '\t' || b[i - 1] == '\n'))
      starts.push_back(i);
  if (starts.empty()) return;
  size_t at = starts[rng() % starts.size()];
  size_t end = at;
  while (end < b.size() && ((b[end] >= '0' && b[end] <= '9') || b[end] == '.' || b[end] == '-')) ++end;
  const std::string huge = kHuge[rng() % std::size(kHuge)];
  b.erase(b.begin() + static_cast<long>(at), b.begin() + static_cast<long>(end));
  b.insert(b.begin() + static_cast<long>(at), huge.begin(), huge.end());
}

// A 32-bit little-endian field of a binary file made huge or negative.
void HugeNumberInBinary(Bytes& b, std::mt19937& rng) {
  static const uint32_t kHuge[] = {0x7FFFFFFFu, 0xFFFFFFFFu, 0x80000000u, 0x40000000u, 0x00FFFFFFu, 0x0000FFFFu};
  if (b.size() < 4) return;
  // Mostly on 4-byte boundaries, where the formats keep their counts.
  size_t at = rng() % (b.size() - 3);
  if (rng() % 4 != 0) at &= ~size_t{3};
  const uint32_t v = kHuge[rng() % std::size(kHuge)];
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<uint8_t>(v >> (8 * i));
}

// Deterministic damaged copies of a good file: truncations spread over the
// whole length, byte flips, 0xFF and zero runs, and huge length fields.
std::vector<Bytes> Mutants(const Bytes& good, uint32_t seed, bool text) {
  std::mt19937 rng(seed);
  std::vector<Bytes> out;
  out.push_back({});
  for (int n = 1; n < kMutantsPerFile; ++n) {
    Bytes b = good;
    switch (n % 5) {
      case 0:
        b.resize(good.size() * static_cast<size_t>(n) / kMutantsPerFile + rng() % 3);
        if (b.size() > good.size()) b.resize(good.size());
        break;
      case 1:
        for (int i = 0, flips = 1 + static_cast<int>(rng() % 4); i < flips && !b.empty(); ++i)
          b[rng() % b.size()] ^= static_cast<uint8_t>(1 + rng() % 255);
        break;
      case 2:
      case 3: {
        if (b.empty()) break;
        const uint8_t fill = n % 5 == 2 ? 0xFF : 0x00;
        const size_t at = rng() % b.size();
        const size_t run = 1 + rng() % 16;
        for (size_t i = at; i < b.size() && i < at + run; ++i) b[i] = fill;
        break;
      }
      default:
        if (text) HugeNumberInText(b, rng);
        else HugeNumberInBinary(b, rng);
        break;
    }
    out.push_back(std::move(b));
  }
  return out;
}

class CorruptWorldTest : public ::testing::Test {
 protected:
  void SetUp() override { WriteWorld(); }
  testsupport::ScopedWorkDir dir_;
  testsupport::DebugTraceCapture trace_;
};

TEST_F(CorruptWorldTest, DamagedDatabaseLoadsWholeOrLeavesNoRecords) {
  const Bytes good = ReadFile(kDatabaseFile);
  for (const Bytes& mutant : Mutants(good, 1, false)) {
    WriteBytes(kDatabaseFile, mutant);
    dbtest::ClearDatabase();
    {
      CGameDataLoader loader(0);
      if (loader.Load(kGameDatabasePath) == 0) {
        const CGameDataBase& db = g_gameDataBase;
        EXPECT_TRUE(db.heroes.empty() && db.items.empty() && db.enemies.empty() && db.shops.empty() &&
                    db.conditions.empty())
            << "a failed load kept records, mutant of " << mutant.size() << " bytes";
      }
    }
  }
  dbtest::ClearDatabase();
}

TEST_F(CorruptWorldTest, DamagedTalkLoadsOrFails) {
  const Bytes good = ReadFile(kTalkFile);
  for (const Bytes& mutant : Mutants(good, 2, true)) {
    WriteBytes(kTalkFile, mutant);
    CBaseTalkPlayer player;
    const int result = player.Load(".\\resource\\talk.pt");
    if (result == 1) {
      EXPECT_EQ(player.errorCount, 0);
    }
  }
}

// Reads every record of a block file through the block reader, as the battle
// does, taking up to `values` values from each.
int ReadBlocks(qmz::CFileLoadMan& file, const std::string& path, int values) {
  if (!file.Open(path.c_str())) return -1;
  int records = 0;
  while (file.Flip()) {
    std::string word;
    file >> word;
    for (int i = 0; i < values; ++i) {
      float f = 0;
      file >> f;
    }
    ++records;
    if (records > 100000) {
      ADD_FAILURE() << path << " never ends";
      break;
    }
  }
  return records;
}

TEST_F(CorruptWorldTest, DamagedBattleTextsReadThroughTheBlockReader) {
  struct Case {
    const char* file;
    int id;
    const char* begin;
    const char* end;
    int values;
  };
  const Case cases[] = {
      {"Ai.txt", 210, "#BEGIN_STY", "#END_STY", 13},
      {"sbe.sc", 1, "begin-script-item", "end-script-item", 4},
      {"sbe.sc", 2, "begin-script-limit", "end-script-limit", 4},
      {"sbe.sc", 3, "begin-script-exp", "end-script-exp", 3},
      {"scriptdata.txt", 1, "begin_throw", "end_throw", 3},
      {"HitVertice.txt", 1, "#Begin", "#EndDescrible", 12},
      {"HitVertice.txt", 2, "#Describle", "#Begin", 1},
  };
  uint32_t seed = 10;
  for (const Case& c : cases) {
    const std::string path = std::string(kBattleFolder) + c.file;
    const Bytes good = ReadFile(path);
    for (const Bytes& mutant : Mutants(good, seed++, true)) {
      WriteBytes(path, mutant);
      qmz::CFileLoadMan file(1024, 128);
      file.AddRemarksSymbol("//");
      file.AddFileBlockItem(c.id, c.begin, c.end, 0);
      ReadBlocks(file, path, c.values);
    }
    WriteBytes(path, good);
  }
  // The names are plain lines.
  const std::string info = std::string(kBattleFolder) + "Info.txt";
  for (const Bytes& mutant : Mutants(ReadFile(info), seed++, true)) {
    WriteBytes(info, mutant);
    std::vector<std::string> lines;
    EXPECT_TRUE(plat::ReadTextLines(info, lines));
  }
}

TEST_F(CorruptWorldTest, DamagedCameraShotsLoadOrFail) {
  const std::string path = std::string(kBattleFolder) + "camcon.cc";
  const Bytes good = ReadFile(path);
  for (const Bytes& mutant : Mutants(good, 20, true)) {
    WriteBytes(path, mutant);
    qmz::CCameraController controller;
    if (controller.LoadController(path.c_str()) == 0) continue;
    std::vector<int> ids;
    controller.GetCameraControlID(ids);
    for (int id : ids)
      if (controller.SelectController(id) == 1) controller.Update(1000);
  }
}

TEST_F(CorruptWorldTest, DamagedWavesParseOrFail) {
  for (const char* name : {kBeepFile, kCdTrackFile, kStreamFile}) {
    const Bytes good = ReadFile(name);
    for (const Bytes& mutant : Mutants(good, 30, false)) {
      plat::Wave wave;
      if (plat::ParseWave(mutant.data(), mutant.size(), wave)) {
        EXPECT_TRUE(plat::IsPlayableFormat(wave.format));
        EXPECT_GT(wave.FrameCount(), 0u);
        EXPECT_EQ(wave.samples.size() % static_cast<size_t>(wave.format.channels), 0u);
      }
    }
  }
}

TEST_F(CorruptWorldTest, DamagedActionTableKeepsWholeRecords) {
  const Bytes good = ReadFile("creature/battle/kbs.acb");
  CActionTable whole;
  ASSERT_EQ(whole.Parse(good), 1);
  ASSERT_EQ(whole.records.size(), 4u);
  for (const Bytes& mutant : Mutants(good, 36, false)) {
    CActionTable table;
    if (table.Parse(mutant) == 0) {
      EXPECT_TRUE(table.records.empty());
      continue;
    }
    size_t bytes = 12;
    for (const ACTIONRECORD& r : table.records)
      bytes +=
          12 + r.transitions.size() * CActionTable::kTransitionBytes + r.actions.size() * CActionTable::kActionBytes;
    EXPECT_LE(bytes, mutant.size()) << "only whole records";
  }
}

TEST_F(CorruptWorldTest, DamagedHitVerticesReadOrStayEmpty) {
  const Bytes good = ReadFile("creature/battle/HitVertice.txt");
  ASSERT_EQ(LoadHitVertices("creature/battle/HitVertice.txt").size(), 2u);
  for (const Bytes& mutant : Mutants(good, 37, true)) {
    WriteBytes("damaged.txt", mutant);
    EXPECT_LE(LoadHitVertices("damaged.txt").size(), 2u);
  }
}

TEST_F(CorruptWorldTest, DamagedDialogueStartsOrIsRefused) {
  const Bytes good = ReadFile(kDialogueFile);
  for (const Bytes& mutant : Mutants(good, 32, false)) {
    WriteBytes(kDialogueFile, mutant);
    CDialogPlayerEx box(kDialogueFile);
    for (const char* entry : {kGreetEntry, kAskEntry}) {
      if (box.Start(entry, 2, 0, 0, "Aldo"))
        for (int i = 0; i < 200 && box.IsActive(); ++i) box.OnAdvance();
      if (box.StartChoice(entry, 0, nullptr, nullptr)) {
        box.OnAdvance();
        EXPECT_LE(box.choiceCount, CDialogPlayerEx::kMaxChoices);
        box.Close();
      }
    }
  }
}

TEST_F(CorruptWorldTest, DamagedCdTrackOpensOrIsSkipped) {
  const Bytes good = ReadFile(kCdTrackFile);
  ASSERT_TRUE(plat::OpenCdAudio());
  for (const Bytes& mutant : Mutants(good, 31, false)) {
    WriteBytes(kCdTrackFile, mutant);
    uint32_t msf = 0;
    if (plat::CdTrackLength(2, msf)) {
      EXPECT_NE(msf, 0u);
    }
  }
  plat::CloseCdAudio();
}

using CorruptCutSceneTest = cstest::CutSceneTest;

TEST_F(CorruptCutSceneTest, DamagedOpeningLoadsOrFails) {
  WriteWorld();
  const Bytes good = ReadFile(kCutSceneFile);
  for (const Bytes& mutant : Mutants(good, 40, false)) {
    WriteBytes(kCutSceneFile, mutant);
    CCutScene play(640, 480, nullptr);
    const int result = play.Load(kCutSceneName, "scripts", 1);
    EXPECT_TRUE(result == 0 || result == -1 || result == -2) << result;
    for (int i = 0; i < 3 && play.Tick() == 0; ++i) {
    }
  }
}

class CorruptWorldEngineTest : public enginetest::EngineTest {
 protected:
  void SetUp() override {
    WriteWorld();
    SetRenderMode(1);
    ASSERT_EQ(Open(), 1);
    SetTextureDirectory(".\\texture");
    SetModelDirectory(".\\scenes");
  }
  testsupport::ScopedWorkDir dir_;
  testsupport::DebugOutputCapture debug_;
};

// Damaged copies of a texture package: each opens or stays closed, and its
// textures load or are missing.
void DamagePackage(const char* file, const char* name, std::initializer_list<const char*> textures, uint32_t seed) {
  const Bytes good = ReadFile(file);
  for (const Bytes& mutant : Mutants(good, seed, false)) {
    WriteBytes(file, mutant);
    OpenTexturePackage(name);
    // An entry whose data lies past the end is never read, nor found.
    for (int i = 0; i < static_cast<int>(g_texturePackage.entries.size()); ++i) {
      const PACKAGEENTRY e = g_texturePackage.entries[i];
      const bool inFile = uint64_t{e.offset} + e.size <= static_cast<uint64_t>(g_texturePackage.fileSize);
      Bytes entry;
      const bool read = ReadPackageEntry(&g_texturePackage, i, entry);
      EXPECT_TRUE(inFile || !read) << e.name;
      if (read) {
        EXPECT_EQ(entry.size(), e.size) << e.name;
      }
    }
    for (const char* texture : textures) {
      if (TEXTUREDESC* t = LoadTexture(texture, 0, 0, 0, 0)) ReleaseTexture(t);
    }
    OpenTexturePackage(nullptr);
  }
  WriteBytes(file, good);
}

TEST_F(CorruptWorldEngineTest, DamagedTexturePackageOpensOrStaysClosed) {
  DamagePackage(kTexturePackage, "sample", {kGrassTexture, kStoneTexture}, 50);
  DamagePackage(kVillagePackage, "a00", {"grass", "kflame00"}, 51);
  DamagePackage(kArenaPackage, "ba0", {"floor"}, 52);
}

TEST_F(CorruptWorldEngineTest, DamagedGroundModelLoadsOrFails) {
  OpenTexturePackage("sample");
  const Bytes good = ReadFile(kGroundModelFile);
  for (const Bytes& mutant : Mutants(good, 60, false)) {
    WriteBytes(kGroundModelFile, mutant);
    if (HOBJECT ground = LoadModel(0, kGroundModel)) DestroyNode(ground);
  }
}

TEST_F(CorruptWorldEngineTest, DamagedScenesLoadWhatTheyHold) {
  struct Case {
    const char* file;
    const char* dir;
    const char* name;
  };
  const Case cases[] = {{kVillageScene, "scenes", "a004.SB"},
                        {kMeadowScene, "scenes", "e001.SB"},
                        {kArenaScene, "BattleScene", "ba01.sb"}};
  uint32_t seed = 70;
  for (const Case& c : cases) {
    const Bytes good = ReadFile(c.file);
    for (const Bytes& mutant : Mutants(good, seed++, false)) {
      WriteBytes(c.file, mutant);
      CSceneData scene(c.dir, c.name);
      EXPECT_LE(scene.objects.size(), static_cast<size_t>(CSceneData::kMaxObjects));
      EXPECT_LE(scene.cameras.size(), static_cast<size_t>(CSceneData::kMaxCameras));
      for (const auto& o : scene.objects) {
        NODEDESC* node = LookupNode(o->node);
        MESHDESC* mesh = node ? node->Mesh() : nullptr;
        if (!mesh) continue;
        // Every kept triangle names vertices the mesh holds.
        for (int p = 0; p < mesh->primitiveCount; ++p)
          for (int k = 3; k < kTriangleWords; ++k)
            EXPECT_LT(mesh->primitives[static_cast<size_t>(p * kTriangleWords + k)], mesh->vertexCount);
      }
      for (const TRIGGERDESC& t : scene.triggers) EXPECT_LE(t.targetNames.size(), 4u);
    }
    WriteBytes(c.file, good);
  }
}

TEST_F(CorruptWorldTest, DamagedGameResourceKeepsWhatItHolds) {
  const Bytes good = ReadFile(kGameResourceFile);
  for (const Bytes& mutant : Mutants(good, 80, false)) {
    WriteBytes(kGameResourceFile, mutant);
    CGameResource res;
    res.Open(nullptr);
    EXPECT_LE(res.Maps().size() * MAPDESC::kSize + res.Npcs().size() * NPCDESC::kSize, mutant.size());
    for (int n = 0; n <= 51; ++n) {
      const char* text = res.MessageText(n);
      if (text) {
        EXPECT_LT(std::string(text).size(), mutant.size());
      }
    }
  }
}

TEST_F(CorruptWorldTest, DamagedEnvironmentKeepsDefaultsOrItsRecord) {
  const Bytes good = ReadFile(kEnvironmentFile);
  for (const Bytes& mutant : Mutants(good, 81, false)) {
    WriteBytes(kEnvironmentFile, mutant);
    for (const char* scene : {"a004.SB", "e001.SB", "ba01.sb"}) {
      CSceneEnvironment env(scene);
      EXPECT_LE(env.effectFlags, 0xF);
    }
  }
}

}  // namespace

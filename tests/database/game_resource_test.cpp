#include "database/game_resource.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "platform/files.h"
#include "tests/support/captures.h"
#include "tools/datagen/game_resource_writer.h"

namespace {

using datagen::ResourceSectionData;
using Bytes = std::vector<uint8_t>;

ResourceSectionData Section(uint16_t kind, int16_t count, Bytes data) {
  ResourceSectionData s;
  s.kind = kind;
  s.count = count;
  s.data = std::move(data);
  return s;
}

class GameResourceTest : public ::testing::Test {
 protected:
  void WriteRaw(const Bytes& bytes, const std::string& name = "test.res") {
    plat::CreateDirectories("Resource");
    ASSERT_TRUE(plat::WriteFileAtomic("Resource/" + name, bytes.data(), bytes.size()));
  }
  void Write(const std::vector<ResourceSectionData>& sections, const std::string& name = "test.res") {
    WriteRaw(datagen::BuildResourceContainer(sections), name);
  }
  void Write(const datagen::GameResourceData& data) {
    std::vector<ResourceSectionData> sections;
    std::string error;
    ASSERT_TRUE(datagen::BuildGameResourceSections(data, sections, error)) << error;
    Write(sections);
  }

  testsupport::ScopedWorkDir dir_;
  testsupport::DebugTraceCapture trace_;
  CGameResource res_;
};

TEST_F(GameResourceTest, TablesReadBackFieldForField) {
  datagen::GameResourceData data;
  data.npcs.push_back({'k', "mira", 3, "Mira", 1});
  data.npcs.push_back({'m', "bram", 0, "Bram", 251});
  datagen::MapData village;
  village.caption = "Village";
  village.scene = "a004.SB";
  village.dayPhase = 1;
  village.lightFlag = true;
  village.battleScenes = {3, 4};
  village.bossScene = 3;
  village.stepThreshold = 40;
  village.encounterRate = 25;
  village.groupSizeFactor = -2;
  village.enemies = {101, 101, 7};
  village.cdTrack = 3;
  village.battleCdTrack = 5;
  data.maps.push_back(village);
  data.numbers28 = {1, 2, 0x34, 0x12};
  data.numbers29 = {0, 0, 0xFE, 0xFF};
  data.messages = {"first", "", "third"};
  Bytes events(2 * 18, 0);
  std::memcpy(events.data(), "talk01", 6);
  events[13] = 2;
  events[14] = 1;
  events[15] = 3;
  events[16] = 4;
  events[18 + 12] = 'x';  // a name filling its field stays terminated
  data.raw.push_back(Section(30, 2, events));
  data.raw.push_back(Section(31, 1, {9, 200, 0x10, 0x80}));
  Write(data);

  res_.Open("test.res");
  EXPECT_EQ(g_gameResource, &res_);
  ASSERT_EQ(res_.Npcs().size(), 2u);
  const NPCDESC& mira = res_.Npcs()[0];
  EXPECT_EQ(mira.Kind(), 'k');
  EXPECT_EQ(mira.Model(), "mira");
  EXPECT_EQ(mira.TableIndex(), 3);
  EXPECT_EQ(mira.Name(), "Mira");
  EXPECT_EQ(mira.Role(), 1);
  EXPECT_EQ(res_.Npcs()[1].Role(), 251);
  EXPECT_EQ(res_.Count(6), 2);

  ASSERT_EQ(res_.Maps().size(), 1u);
  const MAPDESC& m = res_.Maps()[0];
  EXPECT_EQ(m.Caption(), "Village");
  EXPECT_EQ(m.SceneName(), "a004.SB");
  EXPECT_EQ(m.bytes[24], 0x21);
  EXPECT_EQ(m.DayPhase(), 1);
  EXPECT_TRUE(m.LightFlag());
  EXPECT_EQ(m.bytes[25] | m.bytes[26] | m.bytes[27], 0);
  EXPECT_EQ(m.BattleScene(0), 3);
  EXPECT_EQ(m.BattleScene(1), 4);
  EXPECT_EQ(m.BossScene(), 3);
  EXPECT_EQ(m.StepThreshold(), 40);
  EXPECT_EQ(m.EncounterRate(), 25);
  EXPECT_EQ(m.GroupSizeFactor(), -2);
  EXPECT_EQ(m.Enemy(0), 101);
  EXPECT_EQ(m.Enemy(2), 7);
  EXPECT_EQ(m.Enemy(3), 0);
  EXPECT_EQ(m.Enemy(9), 0);
  EXPECT_EQ(m.CdTrack(), 3);
  EXPECT_EQ(m.BattleCdTrack(), 5);

  EXPECT_EQ(res_.EventBase(), 0x1234);
  EXPECT_EQ(res_.TriggerBase(), -2);
  EXPECT_EQ(res_.NumberBlock(28)[0], 1);

  ASSERT_EQ(res_.Events().size(), 2u);
  EXPECT_STREQ(res_.Events()[0].name, "talk01");
  EXPECT_EQ(res_.Events()[0].runCount, 2);
  EXPECT_EQ(res_.Events()[0].conditionCount, 1);
  EXPECT_EQ(res_.Events()[0].actionCount, 3);
  EXPECT_EQ(res_.Events()[0].firstAction, 4);
  EXPECT_EQ(std::strlen(res_.Events()[1].name), 0u);
  ASSERT_EQ(res_.Actions().size(), 1u);
  EXPECT_EQ(res_.Actions()[0].type, 9);
  EXPECT_EQ(res_.Actions()[0].argument, 200);
  EXPECT_EQ(res_.Actions()[0].value, static_cast<int16_t>(0x8010));

  // Message n sits at offset entry n - 1; 0 and 1 both give the first.
  EXPECT_EQ(res_.MessageOffsets(), (std::vector<int16_t>{0, 6, 7}));
  EXPECT_STREQ(res_.MessageText(0), "first");
  EXPECT_STREQ(res_.MessageText(1), "first");
  EXPECT_STREQ(res_.MessageText(2), "");
  EXPECT_STREQ(res_.MessageText(3), "third");
  EXPECT_EQ(res_.MessageText(4), nullptr);
}

TEST_F(GameResourceTest, ContainerLayouts) {
  // An entry of kind 0 ends the list even when the count says more.
  Bytes npc = datagen::BuildNpcRow({'k', "mira", 0, "Mira", 0});
  Write({Section(6, 1, npc), Section(0, 0, {}), Section(25, 1, Bytes(120, 1))});
  res_.Open("test.res");
  EXPECT_EQ(res_.Npcs().size(), 1u);
  EXPECT_TRUE(res_.Maps().empty());
  EXPECT_EQ(res_.Count(25), 0);

  // Items of 3, 5 and 2 bytes start at 0, 3 and 8 of the data.
  ResourceSectionData indexed;
  indexed.kind = 9;
  indexed.items = {{10, {1, 2, 3}}, {20, {4, 5, 6, 7, 8}}, {30, {9, 10}}};
  Write({indexed});
  res_.Open("test.res");
  const auto& items = res_.Items(9);
  ASSERT_EQ(items.size(), 3u);
  const uint8_t* base = res_.Block(9).data();
  EXPECT_EQ(res_.Block(9).size(), 10u);
  const int values[] = {10, 20, 30};
  const size_t offsets[] = {0, 3, 8};
  const size_t lengths[] = {3, 5, 2};
  for (size_t i = 0; i < 3; ++i) {
    EXPECT_EQ(items[i].value, values[i]);
    EXPECT_EQ(items[i].data.data() - base, static_cast<std::ptrdiff_t>(offsets[i]));
    EXPECT_EQ(items[i].data.size(), lengths[i]);
  }
  EXPECT_EQ(items[2].data[1], 10);

  // A null name opens Resource\Zudur.res.
  Write({Section(25, 2, Bytes(240, 0))}, "Zudur.res");
  res_.Open(nullptr);
  EXPECT_EQ(res_.Maps().size(), 2u);
}

TEST_F(GameResourceTest, MissingFileLeavesEveryTableEmpty) {
  Write({Section(6, 1, Bytes(40, 0))});
  res_.Open("test.res");
  ASSERT_EQ(res_.Npcs().size(), 1u);
  res_.Open("absent.res");
  EXPECT_EQ(g_gameResource, &res_);
  EXPECT_TRUE(res_.Npcs().empty());
  for (int kind = 1; kind <= CGameResource::kKinds; ++kind) {
    EXPECT_EQ(res_.Count(kind), 0) << kind;
    EXPECT_TRUE(res_.Block(kind).empty()) << kind;
  }
  EXPECT_EQ(res_.MessageText(1), nullptr);
  EXPECT_EQ(res_.EventBase(), 0);
  EXPECT_TRUE(trace_.Contains("absent.res"));
}

TEST_F(GameResourceTest, DestroyedResourceUnpublishes) {
  {
    CGameResource other;
    other.Open("absent.res");
    EXPECT_EQ(g_gameResource, &other);
  }
  EXPECT_EQ(g_gameResource, nullptr);
}

// Bad sections: a partial result and a trace, never a read past the data.
TEST_F(GameResourceTest, CorruptSections) {
  struct Case {
    const char* what;
    std::vector<ResourceSectionData> sections;
    void (*patch)(Bytes&);
    void (*check)(const CGameResource&);
  };
  auto twelveItems = [] {
    ResourceSectionData s;
    s.kind = 21;
    for (int i = 0; i < 12; ++i) s.items.push_back({static_cast<int16_t>(i + 1), {uint8_t(i)}});
    return s;
  };
  const Case cases[] = {
      {"items past 11 dropped",
       {twelveItems()},
       nullptr,
       [](const CGameResource& r) {
         ASSERT_EQ(r.Items(21).size(), 11u);
         EXPECT_EQ(r.Items(21)[10].value, 11);
       }},
      {"short number blocks zero-filled",
       {Section(28, 0, {7, 8}), Section(29, 0, {1, 2, 3, 4, 5, 6})},
       nullptr,
       [](const CGameResource& r) {
         EXPECT_EQ(r.NumberBlock(28), (std::array<uint8_t, 4>{7, 8, 0, 0}));
         EXPECT_EQ(r.TriggerBase(), 0x0403);
       }},
      {"data beyond the file not kept",
       {Section(25, 2, Bytes(240, 1))},
       [](Bytes& b) { b.resize(b.size() - 130); },
       [](const CGameResource& r) {
         EXPECT_EQ(r.Block(25).size(), 110u);
         EXPECT_TRUE(r.Maps().empty());
       }},
      {"offset past the end",
       {Section(6, 1, Bytes(40, 1))},
       [](Bytes& b) { b[48 + 8] = 0xFF, b[48 + 11] = 0x7F; },
       [](const CGameResource& r) { EXPECT_TRUE(r.Npcs().empty()); }},
      {"a repeated kind keeps the last",
       {Section(6, 1, Bytes(40, 'a')), Section(6, 2, Bytes(80, 'b'))},
       nullptr,
       [](const CGameResource& r) {
         ASSERT_EQ(r.Npcs().size(), 2u);
         EXPECT_EQ(r.Npcs()[0].Kind(), 'b');
       }},
      {"counts capped by the block",
       {Section(6, 30000, Bytes(81, 0)), Section(3, 500, Bytes(7, 0))},
       nullptr,
       [](const CGameResource& r) {
         EXPECT_EQ(r.Npcs().size(), 2u);
         EXPECT_EQ(r.Count(3), 7);
       }},
      {"negative count",
       {Section(25, -5, Bytes(120, 0))},
       nullptr,
       [](const CGameResource& r) { EXPECT_TRUE(r.Maps().empty()); }},
      {"unknown kind skipped",
       {Section(40, 1, Bytes(4, 1)), Section(6, 1, Bytes(40, 0))},
       nullptr,
       [](const CGameResource& r) {
         EXPECT_TRUE(r.Block(40).empty());
         EXPECT_EQ(r.Npcs().size(), 1u);
       }},
      {"entry list cut by the file",
       {Section(6, 1, Bytes(40, 0)), Section(25, 1, Bytes(120, 0))},
       [](Bytes& b) { b.resize(48 + 12 + 5); },
       [](const CGameResource& r) {
         EXPECT_TRUE(r.Npcs().empty());  // its data lay past the cut too
         EXPECT_TRUE(r.Maps().empty());
       }},
      {"index longer than the section",
       {twelveItems()},
       [](Bytes& b) { b[48 + 6] = 30, b[48 + 7] = 0; },
       [](const CGameResource& r) {
         EXPECT_EQ(r.Items(21).size(), 2u);
         EXPECT_TRUE(r.Block(21).empty());
         for (const auto& item : r.Items(21)) EXPECT_TRUE(item.data.empty());
       }},
      {"message offsets outside the texts",
       {Section(33, 0, {0, 0, 50, 0, 0xFF, 0xFF}), Section(34, 0, {'a', 'b'})},
       nullptr,
       [](const CGameResource& r) {
         EXPECT_STREQ(r.MessageText(1), "ab");  // unterminated text ends at the block
         EXPECT_EQ(r.MessageText(2), nullptr);
         EXPECT_EQ(r.MessageText(3), nullptr);
       }},
      {"offsets without texts",
       {Section(33, 0, {0, 0})},
       nullptr,
       [](const CGameResource& r) { EXPECT_EQ(r.MessageText(1), nullptr); }},
      {"empty file", {}, [](Bytes& b) { b.clear(); }, [](const CGameResource& r) { EXPECT_EQ(r.Count(6), 0); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Bytes bytes = datagen::BuildResourceContainer(c.sections);
    if (c.patch) c.patch(bytes);
    WriteRaw(bytes);
    res_.Open("test.res");
    c.check(res_);
  }
}

TEST_F(GameResourceTest, SeededDamageReadsWithoutHarm) {
  datagen::GameResourceData data;
  data.npcs.push_back({'k', "mira", 1, "Mira", 1});
  data.maps.resize(2);
  data.messages = {"one", "two"};
  ResourceSectionData indexed;
  indexed.kind = 8;
  indexed.items = {{1, {1, 2}}, {2, {3}}};
  data.raw.push_back(indexed);
  std::vector<ResourceSectionData> sections;
  std::string error;
  ASSERT_TRUE(datagen::BuildGameResourceSections(data, sections, error));
  const Bytes good = datagen::BuildResourceContainer(sections);
  std::mt19937 rng(19);
  for (int round = 0; round < 300; ++round) {
    Bytes b = good;
    int flips = 1 + static_cast<int>(rng() % 8);
    for (int i = 0; i < flips; ++i) b[rng() % b.size()] = static_cast<uint8_t>(rng());
    if (round % 5 == 0) b.resize(rng() % b.size());
    WriteRaw(b);
    res_.Open("test.res");
    for (int n = 0; n < 5; ++n) {
      const char* text = res_.MessageText(n);
      if (text) {
        EXPECT_LT(std::strlen(text), b.size() + 1);
      }
    }
    EXPECT_LE(res_.Npcs().size() * 40, b.size());
  }
}

}  // namespace

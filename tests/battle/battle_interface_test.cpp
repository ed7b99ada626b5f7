#include "battle/battle_interface.h"

#include <gtest/gtest.h>

#include "battle/battle_sys.h"
#include "battle/fighting_man.h"
#include "database/man_soul.h"
#include "tests/battle/battle_fixture.h"
#include "tools/datagen/sample_world.h"

namespace battletest {
namespace {

int g_given[3];
int g_used = 0;
void Give(int id, int count, int type) { g_given[0] = id, g_given[1] = count, g_given[2] = type; }
int Count() { return 4; }
int Id() { return 17; }
int Use(int n) { return g_used += n; }

TEST(BattleInterface, UnsetProceduresAnswerTheDefaults) {
  CBattleInterface::Destroy();
  CBattleInterface* bi = CBattleInterface::Instance();
  ASSERT_EQ(bi, &g_battleInterface);
  bi->OpenItemMenu();
  const int item[3] = {5, 1, 8};
  bi->GiveItem(item);
  EXPECT_EQ(bi->GetItemCount(), 0);
  EXPECT_EQ(bi->GetItemId(), -1);
  EXPECT_EQ(bi->UseItem(1), 0);
  EXPECT_EQ(bi->DebugCommand("help"), 0);
  bi->DrawDebug(0);

  bi->SetGiveItemProc(Give);
  bi->SetItemCountProc(Count);
  bi->SetItemIdProc(Id);
  bi->SetUseItemProc(Use);
  bi->SetShadowMode(16);
  bi->SetBattleTrack(3);
  bi->GiveItem(item);
  EXPECT_EQ(g_given[0], 5);
  EXPECT_EQ(g_given[2], 8);
  EXPECT_EQ(bi->GetItemCount(), 4);
  EXPECT_EQ(bi->GetItemId(), 17);
  EXPECT_EQ(bi->UseItem(2), 2);
  EXPECT_EQ(bi->GetShadowMode(), 16);
  EXPECT_EQ(bi->GetBattleTrack(), 3);
  CBattleInterface::Destroy();
  EXPECT_EQ(g_battleInterface.GetShadowMode(), 0);
  EXPECT_EQ(g_battleInterface.GetItemId(), -1);
}

TEST(HitVertexFile, ReadsTheCountedRowsOnly) {
  testsupport::ScopedWorkDir dir;
  const std::string text =
      "header\n#DESCRIBLE\nrows 2 extra\n#Begin\n101 1 2 3 4 5 6 7 8 9 10 11 12 tail\n"
      "7 0 0 0 0 0 0 0 0 0 0 0 0\n99 1 1 1 1 1 1 1 1 1 1 1 1\n#EndDescrible\n";
  ASSERT_TRUE(plat::WriteFileAtomic("hv.txt", text.data(), text.size()));
  const std::vector<HITVERTEXDESC> table = LoadHitVertices("hv.txt");
  ASSERT_EQ(table.size(), 2u);
  const HITVERTEXDESC* found = FindHitVertices(table, 101);
  ASSERT_NE(found, nullptr);
  EXPECT_FLOAT_EQ(found->points[11], 12.0f);
  EXPECT_EQ(FindHitVertices(table, 99), nullptr);
  EXPECT_TRUE(LoadHitVertices("missing.txt").empty());
}

class SampleBattleTest : public BattleTest {
 protected:
  void SetUp() override {
    BattleTest::SetUp();
    std::string error;
    ASSERT_TRUE(datagen::WriteSampleWorld(".", error)) << error;
  }
};

TEST_F(SampleBattleTest, SampleBodiesHaveTheirActionsAndHitVertices) {
  CBattleSys sys;
  ASSERT_EQ(sys.actionTable.records.size(), 4u);
  ASSERT_NE(FindHitVertices(sys.hitVertices, 102), nullptr);
  const HITVERTEXDESC* row = FindHitVertices(sys.hitVertices, 101);
  ASSERT_NE(row, nullptr);
  const struct {
    int kind, subKind;
    const char* model;
    size_t actions;
  } fighters[] = {{1, 1, "m001", datagen::HeroActionIds().size()},
                  {2, 3, "m004", datagen::HeroActionIds().size()},
                  {101, 0, "E101", datagen::WolfActionIds().size()}};
  for (const auto& f : fighters) {
    CGDManSoul soul;
    soul.kind = f.kind;
    soul.subKind = f.subKind;
    CFightingMan man;
    man.owner = &sys;
    man.soul = &soul;
    man.CreateBody(f.model);
    ASSERT_NE(man.body, nullptr);
    EXPECT_EQ(man.actions.size(), f.actions) << f.model;
    EXPECT_EQ(man.StartAction(11), 1) << f.model;
    testsupport::MessageBoxCapture boxes;
    man.body->SetHitVertices(&row->points[0], &row->points[3], &row->points[6], &row->points[9]);
    EXPECT_TRUE(boxes.Boxes().empty()) << f.model;
    man.ReleaseBody();
  }
}

}  // namespace
}  // namespace battletest

// The sample world's hero-turn files: the mark and threat effects, the
// voices, the finishing shot's length and the knives to throw.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "battle/action_table.h"
#include "components/efficacy_file.h"
#include "database/database_loader.h"
#include "database/game_database.h"
#include "platform/files.h"
#include "platform/qel/camera_controller.h"
#include "platform/qel/file_load_man.h"
#include "tests/database/database_test_support.h"
#include "tests/support/captures.h"
#include "tools/datagen/sample_world.h"

namespace {

using namespace datagen::sample;

class SampleHeroTurnsTest : public dbtest::DatabaseTest {
 protected:
  void SetUp() override {
    dbtest::DatabaseTest::SetUp();
    std::string error;
    ASSERT_TRUE(datagen::WriteSampleWorld(".", error)) << error;
  }
  testsupport::ScopedWorkDir dir_;
};

TEST_F(SampleHeroTurnsTest, EffectsAndVoicesRead) {
  for (const char* name : {"BatCh00", "m001s110"}) {
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(plat::ReadWholeFile(std::string("data/Efficacy/") + name + ".efc", bytes, 1 << 20)) << name;
    efc::EFCFILEDESC effect;
    std::string why;
    ASSERT_TRUE(ReadEfficacyFile(bytes, &effect, &why)) << name << ": " << why;
    EXPECT_GT(effect.frameCount, 0) << name;
  }
  for (const char* name : {"MajorHurt", "MajorDef", "HolySong", "SpecialS", "Run01", "VekS01", "VekS02", "VekS03",
                           "VekS04", "YsaS01", "YsaS02", "YsaS03"})
    EXPECT_GT(plat::FileSize(std::string("waves/") + name + ".wav"), 44) << name;
}

TEST_F(SampleHeroTurnsTest, TheFinishingShotOutlastsEveryFinishingMove) {
  CActionTable table;
  ASSERT_NE(table.Load(std::string(kBattleFolder) + "kbs.acb"), 0);
  int longest = 0;
  for (int type : {1, 2}) {
    const ACTIONRECORD* record = table.FindActionRecord(type);
    ASSERT_NE(record, nullptr) << type;
    for (const ACTIONDESC& a : record->actions)
      if (a[ACTIONDESC::ID] >= 451 && a[ACTIONDESC::ID] <= 454) {
        longest = std::max(longest, a[ACTIONDESC::END] - a[ACTIONDESC::START] + 1);
        EXPECT_GE(a.HitCount(), 1) << a[ACTIONDESC::ID];
      }
  }
  ASSERT_GT(longest, 0);
  qmz::CFileLoadMan file(1024, 128);
  file.AddRemarksSymbol(qmz::CCameraController::kRemark);
  file.AddFileBlockItem(1, qmz::CCameraController::kBeginMark, qmz::CCameraController::kEndMark, 0);
  ASSERT_NE(file.Open((std::string(kBattleFolder) + "camcon.cc").c_str()), 0);
  int id = 0, length = 0;
  while (file.Flip() && id != kBattleCameraShot) file >> id >> length;
  ASSERT_EQ(id, kBattleCameraShot);
  EXPECT_GE(length, longest);
}

TEST_F(SampleHeroTurnsTest, TheBagHoldsKnivesForThrowsAndTheSpecial) {
  CGameDataLoader loader(0);
  const auto& thrown = g_gameDataBase.party.itemLists[kListType8];
  ASSERT_FALSE(thrown.empty());
  EXPECT_EQ(thrown.front().id, kKnifeId);
  CGDMainManSoul* first = g_gameDataBase.FindHero(kFirstHeroId);
  ASSERT_NE(first, nullptr);
  EXPECT_GT(thrown.front().count, first->GetAttribute(34)) << "a whole special and throws besides";
}

}  // namespace

// The sample world read back by the game's own readers.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "cutscene/cut_scene.h"
#include "cutscene/sg_society.h"
#include "database/database_loader.h"
#include "database/game_database.h"
#include "engine/core/materials.h"
#include "engine/core/nodes.h"
#include "engine/core/pools.h"
#include "engine/media/data_directories.h"
#include "engine/media/model_files.h"
#include "engine/media/packages.h"
#include "platform/qel/camera_controller.h"
#include "platform/qel/file_load_man.h"
#include "talk/base_talk_player.h"
#include "tests/cutscene/cutscene_fixtures.h"
#include "tests/database/database_test_support.h"
#include "tests/engine/engine_fixture.h"
#include "tests/support/captures.h"
#include "tools/datagen/sample_world.h"

namespace {

using namespace datagen::sample;

void WriteWorld() {
  std::string error;
  ASSERT_TRUE(datagen::WriteSampleWorld(".", error)) << error;
}

class SampleWorldTest : public ::testing::Test {
 protected:
  void SetUp() override { WriteWorld(); }
  testsupport::ScopedWorkDir dir_;
};

using SampleDatabaseTest = dbtest::DatabaseTest;

// Every file of the world, by its path under the root.
std::map<std::string, std::string> WorldFiles(const std::filesystem::path& root) {
  std::map<std::string, std::string> files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
    if (!entry.is_regular_file()) continue;
    std::ifstream in(entry.path(), std::ios::binary);
    files[std::filesystem::relative(entry.path(), root).string()] =
        std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  return files;
}

// The pictures' words come from the installed fonts: written twice, the
// world is the same bytes, as it is on every machine with the same packages.
TEST_F(SampleWorldTest, WrittenTwiceTheWorldIsTheSameBytes) {
  std::string error;
  ASSERT_TRUE(datagen::WriteSampleWorld("again", error)) << error;
  std::map<std::string, std::string> first = WorldFiles(".");
  std::erase_if(first, [](const auto& file) { return file.first.rfind("again/", 0) == 0; });
  const std::map<std::string, std::string> second = WorldFiles("again");
  ASSERT_EQ(first.size(), second.size());
  for (const auto& [path, bytes] : first) {
    const auto other = second.find(path);
    ASSERT_NE(other, second.end()) << path;
    EXPECT_TRUE(other->second == bytes) << path << " differs";
  }
}

TEST_F(SampleDatabaseTest, HeroesItemsShopEnemyAndConditionLoad) {
  testsupport::ScopedWorkDir dir;
  WriteWorld();
  CGameDataLoader loader(0);
  CGameDataBase& db = g_gameDataBase;
  ASSERT_EQ(db.heroes.size(), 2u);
  CGDMainManSoul* first = db.FindHero(kFirstHeroId);
  CGDMainManSoul* second = db.FindHero(kSecondHeroId);
  ASSERT_TRUE(first && second);
  EXPECT_EQ(first->name, kFirstHeroName);
  EXPECT_EQ(second->name, kSecondHeroName);
  EXPECT_EQ(first->GetAttribute(kAttrLevel), 1);
  EXPECT_EQ(first->GetAttribute(kAttrMaxHp), 150);  // the first level row
  EXPECT_EQ(first->GetEquippedId(kWeaponType), kSwordId);
  EXPECT_EQ(first->GetEquippedId(kCharmType), kCharmId);
  EXPECT_EQ(first->GetAttribute(9), 40 + 10);  // the level row and the sword
  EXPECT_EQ(second->GetEquippedId(kArmourType), kVestId);

  ASSERT_EQ(db.items.size(), 7u);
  EXPECT_NE(db.FindItem(kPotionType, kKnifeId), nullptr) << "the throwing knife";
  const ITEMDESC* sword = db.FindItem(kWeaponType, kSwordId);
  const ITEMDESC* potion = db.FindItem(kPotionType, kPotionId);
  ASSERT_TRUE(sword && potion);
  EXPECT_EQ(sword->name, kSwordName);
  EXPECT_EQ(potion->name, kPotionName);
  EXPECT_NE(db.FindItem(kHerbType, kHerbId), nullptr);
  EXPECT_NE(db.FindItem(kArmourType, kVestId), nullptr);
  const ITEMDESC* tonic = db.FindItem(kPotionType, kTonicId);
  ASSERT_NE(tonic, nullptr);
  EXPECT_EQ(tonic->name, kTonicName);
  EXPECT_EQ(tonic->values[kItemUseKind], 1);

  // The shop sells only items the database holds.
  const SHOPDESC* shop = db.FindShop(kShopId);
  ASSERT_NE(shop, nullptr);
  ASSERT_EQ(shop->stock.size(), 4u);
  for (const SHOPSTOCKDESC& s : shop->stock) EXPECT_NE(db.FindItem(s.itemType, s.itemId), nullptr) << s.itemId;

  const CGDEnemySoul* enemy = db.FindEnemy(kEnemyId);
  ASSERT_NE(enemy, nullptr);
  EXPECT_EQ(enemy->modelName, kEnemyModel);
  EXPECT_NE(db.FindCondition(kPoisonId), nullptr);

  EXPECT_EQ(db.party.GetMoney(), kStartingMoney);
  EXPECT_EQ(db.party.GetItemCount(kPotionType, kPotionId), kStartingPotions);

  // What the battle reads: the thrown knife first in the type-8 list, the
  // sword's reach, cost and skill gain, the heroes' battle attributes and the
  // wolf's level, MP and defences.
  ASSERT_FALSE(db.party.itemLists[kListType8].empty());
  EXPECT_EQ(db.party.itemLists[kListType8][0].id, kKnifeId);
  const ITEMDESC* knife = db.FindItem(kPotionType, kKnifeId);
  ASSERT_NE(knife, nullptr);
  for (int v : {kItemReachFirst, kItemReachSecond, kItemMpCost, kItemSkillGain, kItemBasePower})
    EXPECT_GT(knife->values[v], 0) << v;
  for (int v : {kItemReachFirst, kItemReachSecond, kItemMpCost, kItemSkillGain, kItemBasePower})
    EXPECT_GT(sword->values[v], 0) << v;
  EXPECT_EQ(first->subKind, 1);
  EXPECT_EQ(second->subKind, 3);
  for (CGDMainManSoul* hero : {first, second}) {
    for (int key = 5; key <= 18; ++key) {
      if (key == 17) continue;  // the gauge itself, full below
      EXPECT_GT(hero->GetAttribute(key), 0) << hero->name << " " << key;
    }
    EXPECT_EQ(hero->GetAttribute(17), hero->GetAttribute(18)) << "the special gauge starts full";
    EXPECT_GT(hero->GetAttribute(21), 0) << hero->name << ": the weapon skill";
  }
  EXPECT_GT(first->GetAttribute(kSwordId + 20), 0);
  EXPECT_GT(first->GetAttribute(34), 0);
  EXPECT_GT(enemy->GetAttribute(kAttrLevel), 0);
  EXPECT_GT(enemy->GetAttribute(kAttrMp), 0);
  for (int key = 10; key <= 15; ++key) EXPECT_GT(enemy->GetAttribute(key), 0) << key;
}

TEST_F(SampleWorldTest, TheVillagerTalkLoadsWithItsVariable) {
  CBaseTalkPlayer player;
  ASSERT_EQ(player.Load(".\\resource\\talk.pt"), 1) << (player.errors.empty() ? "" : player.errors[0]);
  EXPECT_EQ(player.errorCount, 0);
  ASSERT_EQ(player.childCount, 1);
  CBaseListContainer* talk = player.FindAname(kTalkName);
  ASSERT_NE(talk, nullptr);
  EXPECT_EQ(talk, player.GetChild(0));
  EXPECT_EQ(talk->childCount, 4);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(talk->GetChild(i)->kind, NODE_SENTENCE);
  CBaseListContainer* question = talk->GetChild(2);
  ASSERT_EQ(question->childCount, 1);
  EXPECT_EQ(question->GetChild(0)->kind, NODE_OPTIONAL);
  CBaseListContainer* answers = question->GetChild(0);
  ASSERT_EQ(answers->childCount, 3);
  EXPECT_EQ(answers->GetChild(2)->event, kTalkShopEvent) << "the last answer opens the shop";
  EXPECT_EQ(answers->GetChild(2)->func, "end");
  for (const char* name : {kTalkVariable, kTalkHelpedVariable}) {
    CVarExpr* variable = player.FindVariable(name);
    ASSERT_NE(variable, nullptr) << name;
    EXPECT_EQ(variable->value, 0) << name;
  }
}

TEST_F(SampleWorldTest, BattleFilesReadThroughTheBlockReader) {
  const std::string camcon = std::string(kBattleFolder) + "camcon.cc";
  qmz::CFileLoadMan file(1024, 128);
  file.AddRemarksSymbol(qmz::CCameraController::kRemark);
  file.AddFileBlockItem(1, qmz::CCameraController::kBeginMark, qmz::CCameraController::kEndMark, 0);
  ASSERT_NE(file.Open(camcon.c_str()), 0);
  ASSERT_NE(file.Flip(), 0);
  int id = 0, length = 0, keys = 0;
  file >> id >> length >> keys;
  EXPECT_FALSE(file.Failed());
  EXPECT_EQ(id, kBattleCameraShot);
  EXPECT_GT(length, 0);
  EXPECT_GT(keys, 0);

  qmz::CCameraController controller;
  ASSERT_NE(controller.LoadController(camcon.c_str()), 0);
  EXPECT_EQ(controller.SelectController(kBattleCameraShot), 1);

  // The enemies' behaviour rows name the database's enemy models.
  qmz::CFileLoadMan ai(1024, 128);
  ai.AddRemarksSymbol("//");
  ai.AddFileBlockItem(210, "#BEGIN_STY", "#END_STY", 0);
  ASSERT_NE(ai.Open((std::string(kBattleFolder) + "Ai.txt").c_str()), 0);
  ASSERT_NE(ai.Flip(), 0);
  char model[128] = {};
  ai >> model;
  EXPECT_STREQ(model, kEnemyModel);
  int switches[13] = {};
  for (int& v : switches) ai >> v;
  EXPECT_FALSE(ai.Failed());
  for (int n : {1, 4, 5}) EXPECT_EQ(switches[n - 1], 1) << n << ": approach, attacks 4 and 5";
  ASSERT_NE(ai.Flip(), 0);
  ai >> model;
  EXPECT_STREQ(model, kShooterModel);
  for (int& s : switches) ai >> s;
  EXPECT_EQ(switches[4], 1) << "the shooter attacks (behaviour 5)";
  EXPECT_EQ(ai.Flip(), 0);
}

class SampleWorldEngineTest : public enginetest::EngineTest {
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

TEST_F(SampleWorldEngineTest, TexturePackageHoldsBothTextures) {
  OpenTexturePackage("sample");
  ASSERT_TRUE(g_texturePackage.file);
  EXPECT_EQ(g_texturePackage.entries.size(), 2u);
  for (const char* name : {kGrassTexture, kStoneTexture}) {
    std::string extension;
    const int index = FindPackageEntry(&g_texturePackage, name, &extension, ASSET_TEXTURE);
    ASSERT_GE(index, 0) << name;
    EXPECT_EQ(extension, ".qbt");
    EXPECT_EQ(g_texturePackage.entries[index].name, std::string(name) + ".qbt");
  }
}

TEST_F(SampleWorldEngineTest, GroundModelLoadsWithTheGrassTexture) {
  OpenTexturePackage("sample");
  const HOBJECT ground = LoadModel(0, kGroundModel);
  ASSERT_TRUE(ground);
  NODEDESC* node = LookupNodeOfKind(ground, NODE_MESH);
  ASSERT_NE(node, nullptr);
  EXPECT_EQ(node->Mesh()->name, kGroundModel);
  EXPECT_EQ(node->Mesh()->vertexCount, 4);
  MATERIALDESC* grass = LookupMaterial(GetPrimitiveMaterial(ground, 0));
  ASSERT_NE(grass, nullptr);
  EXPECT_STREQ(grass->textureName, kGrassTexture);
  ASSERT_NE(grass->firstFrame, nullptr);  // found in the package
  DestroyNode(ground);
}

using SampleCutSceneTest = cstest::CutSceneTest;

TEST_F(SampleCutSceneTest, OpeningLoadsWithEveryActor) {
  WriteWorld();
  CCutScene play(640, 480, nullptr);
  ASSERT_EQ(play.Load(kCutSceneName, "scripts", 1), 0);
  EXPECT_EQ(play.FinalFrame(), kCutSceneFrames);
  EXPECT_EQ(play.Actors().size(), static_cast<size_t>(kOpeningActors));
  EXPECT_NE(play.FindActor(ACTOR_FADE, kFadeActor), nullptr);
  EXPECT_NE(play.FindActor(ACTOR_CREATURE, kOpeningHero), nullptr);
  EXPECT_NE(play.FindActor(ACTOR_TCAMERA, kOpeningCamera), nullptr);
  EXPECT_NE(play.FindActor(ACTOR_DIALOG, kOpeningDialog), nullptr);
}

}  // namespace

#pragma once
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "battle/battle_camera.h"
#include "battle/battle_script.h"
#include "battle/battle_sys.h"
#include "battle/f_enemy.h"
#include "battle/f_master.h"
#include "battle/sys_state.h"
#include "components/society_ext.h"
#include "database/game_database.h"
#include "engine/core/node_transforms.h"
#include "tests/battle/battle_fixture.h"
#include "tools/datagen/battle_text_writer.h"
#include "tools/datagen/sample_world.h"
#include "ui/menu_agency.h"

namespace battletest {

// The sample world's arena, bodies and tables, with a database of our own:
// hero 1 (the first hero, level 1, 100 experience to the next level) leading
// the party, and enemies 101 to 103 on the wolf's body. The battle system is
// made by Make after the test has written its "sbe.sc", and is a member of
// a scene society of its own.
class BattleSysTest : public BattleTest {
 protected:
  static constexpr int kHeroId = 1;
  static constexpr const char* kArena = "ba01";

  void SetUp() override {
    BattleTest::SetUp();
    std::string error;
    ASSERT_TRUE(datagen::WriteSampleWorld(".", error)) << error;
    savedHeroes_ = g_gameDataBase.heroes;
    savedEnemies_ = g_gameDataBase.enemies;
    savedItems_ = g_gameDataBase.items;
    savedMembers_ = g_gameDataBase.party.members;
    savedMoney_ = g_gameDataBase.party.GetMoney();

    CGDMainManSoul hero;
    hero.id = kHeroId;
    hero.kind = 1;
    hero.subKind = 1;
    const int values[][2] = {{1, 1},   {2, 0},   {3, 100}, {5, 200}, {6, 200}, {7, 100}, {8, 100},  {9, 20}, {10, 11},
                             {11, 12}, {12, 13}, {13, 14}, {14, 15}, {15, 16}, {17, 0},  {18, 100}, {26, 0}};
    for (const auto& v : values) hero.attributes.push_back({v[0], v[1], 0});
    hero.levelTable = {{{3, 100}}, {{3, 400}, {5, 250}, {10, 21}}, {{3, 900}}};
    g_gameDataBase.heroes = {hero};
    g_gameDataBase.enemies.clear();
    for (int id = 101; id <= 103; ++id) g_gameDataBase.enemies.push_back(Enemy(id));
    g_gameDataBase.party.members = {kHeroId};
    g_gameDataBase.party.SetMoney(50);
    WriteScript({});
  }

  void TearDown() override {
    sys_.reset();
    g_gameDataBase.heroes = savedHeroes_;
    g_gameDataBase.enemies = savedEnemies_;
    g_gameDataBase.items = savedItems_;
    g_gameDataBase.party.members = savedMembers_;
    g_gameDataBase.party.SetMoney(savedMoney_);
  }

  // Enemy id: money id, experience 10 x id, on the wolf's body.
  static CGDEnemySoul Enemy(int id) {
    CGDEnemySoul e;
    e.id = id;
    e.kind = datagen::sample::kEnemyId;
    e.modelName = "E101";
    const int values[][2] = {{1, 1}, {5, 80}, {6, 80}, {7, 10}, {8, 10}, {9, 10}};
    for (const auto& v : values) e.attributes.push_back({v[0], v[1], 0});
    e.values[CGDEnemySoul::kMoneyValue] = id;
    e.values[CGDEnemySoul::kExperienceValue] = 10 * id;
    return e;
  }

  void WriteScript(const datagen::BattleScript& script) {
    std::string error;
    ASSERT_TRUE(datagen::WriteBattleScript("creature/battle/sbe.sc", script, error)) << error;
  }

  // The battle system, attached to the society and fed by the overlay root.
  void Make(CMenuAgency* overlay = &g_menuAgency, bool attach = true) {
    sys_ = std::make_unique<CBattleSys>(overlay);
    if (attach) {
      ASSERT_EQ(sys_->Attach(&society_), 1);
    }
  }

  static BATTLEDESC Desc(const std::vector<int>& enemies, int battleId = 0, const char* arena = kArena) {
    BATTLEDESC desc;
    desc.battleId = battleId;
    desc.enemies = enemies;
    std::snprintf(desc.sceneName, sizeof desc.sceneName, "%s", arena);
    return desc;
  }

  int StartWith(const std::vector<int>& enemies, int battleId = 0) {
    if (!sys_) Make();
    return sys_->Start(Desc(enemies, battleId), 0);
  }

  static VECTOR3 NodePosition(HOBJECT node) {
    VECTOR3 p{0, 0, 0};
    GetNodeWorldVectors(node, &p, nullptr, nullptr);
    return p;
  }
  static VECTOR3 NodeForward(HOBJECT node) {
    VECTOR3 f{0, 0, 0};
    GetNodeWorldVectors(node, nullptr, &f, nullptr);
    return f;
  }

  // Ticks the state until the phase code is `code` or the battle ends; the
  // number of ticks, -1 when it never came.
  int TickUntil(int code, int limit = 3000) {
    for (int i = 0; i < limit; ++i) {
      if (!sys_->running || sys_->phaseCode == code) return i;
      sys_->TickState(1);
    }
    return -1;
  }

  void Click() { CBattleSys::OnInput(16, 320 | 240 << 16, 0, 0); }
  void Key(int key, int down = 1) { CBattleSys::OnInput(22, key, down, 0); }

  int BoxesWith(const std::string& text) const {
    int n = 0;
    for (const auto& box : boxes_.Boxes()) n += box.text == text;
    return n;
  }

  CBattleCamera* Camera() { return CBattleCamera::Instance(); }
  int Result() {
    int result = 0;
    sys_->IsRunning(&result);
    return result;
  }

  std::vector<CGDMainManSoul> savedHeroes_;
  std::vector<CGDEnemySoul> savedEnemies_;
  std::vector<ITEMDESC> savedItems_;
  std::vector<int32_t> savedMembers_;
  int32_t savedMoney_ = 0;
  CSocietyExt society_{0};
  std::unique_ptr<CBattleSys> sys_;
};

}  // namespace battletest

#pragma once
#include <memory>
#include <string>
#include <vector>

#include "battle/battle_sys.h"
#include "battle/f_enemy.h"
#include "battle/f_master.h"
#include "battle/tarnwick.h"
#include "battle/unit_states.h"
#include "database/enemy_soul.h"
#include "database/game_database.h"
#include "engine/core/node_transforms.h"
#include "platform/crt.h"
#include "tests/battle/battle_fixture.h"
#include "tools/datagen/action_table_writer.h"

namespace battletest {

// A battle without arena: the hero "m001" at the origin facing -y and up to
// five wolves (enemy 101, model "wolf", level 3, HP 100, power 100,
// defences 10..15 as given) placed by hand, with the wolf's and the hero's
// actions, the hit vertices and an "Ai.txt" row of the given switches.
class EnemyBattleTest : public BattleTest {
 protected:
  void SetUp() override {
    BattleTest::SetUp();
    saved_ = g_gameDataBase.enemies;
    g_gameDataBase.enemies = {Wolf(101, "wolf")};
    heroSoul_.kind = 1;
    heroSoul_.id = 1;
    heroSoul_.name = "hero";
    for (int key = 1; key <= 20; ++key)
      heroSoul_.attributes.push_back({key, key == 1 ? 1 : key >= 10 && key <= 15 ? 0 : 500, 0});
    WriteModel("wolf", static_cast<int>(datagen::WolfActionIds().size()) + 3);
    WriteModel("m001", static_cast<int>(datagen::HeroActionIds().size()));
    plat::Srand(7);
  }
  void TearDown() override {
    for (auto& e : enemies_) e.reset();
    hero_.reset();
    sys_.reset();
    g_gameDataBase.enemies = saved_;
  }

  static CGDEnemySoul Wolf(int id, const std::string& model) {
    CGDEnemySoul wolf;
    wolf.id = id;
    wolf.kind = 101;
    wolf.name = "wolf";
    wolf.modelName = model;
    const int values[16] = {0, 3, 0, 0, 0, 100, 100, 50, 50, 100, 0, 25, 40, 0, 0, 0};
    for (int key = 1; key <= 15; ++key) wolf.attributes.push_back({key, values[key], 0});
    return wolf;
  }

  // The wolf's actions (extra ids added) and the Ai.txt switches 1..13.
  void Battle(const std::vector<int>& switchesOn, const std::vector<int>& extraIds = {}) {
    std::vector<int> ids = datagen::WolfActionIds();
    ids.insert(ids.end(), extraIds.begin(), extraIds.end());
    std::string error;
    ASSERT_TRUE(datagen::WriteActionTable(
        "creature/battle/kbs.acb",
        {datagen::BattleActionRecord(101, ids), datagen::BattleActionRecord(1, datagen::HeroActionIds())}, error));
    std::string hv = "#Describle\nrows 1\n#Begin\n101";
    for (float v : datagen::BattleHitVertices()) hv += " " + std::to_string(v);
    hv += "\n#EndDescrible\n";
    ASSERT_TRUE(plat::WriteFileAtomic("creature/battle/HitVertice.txt", hv.data(), hv.size()));
    std::string ai = "#BEGIN_STY\nwolf";
    for (int i = 1; i <= 13; ++i)
      ai += std::find(switchesOn.begin(), switchesOn.end(), i) != switchesOn.end() ? " 1" : " 0";
    ai += "\n#END_STY\n";
    ASSERT_TRUE(plat::WriteFileAtomic("creature/battle/Ai.txt", ai.data(), ai.size()));
    sys_ = std::make_unique<CBattleSys>();
    hero_ = std::make_unique<CFMaster>();
    hero_->owner = sys_.get();
    hero_->soul = &heroSoul_;
    hero_->CreateBody("m001.mcb");
    hero_->collisionRadius = 40;
    sys_->hero = hero_.get();
    Put(hero_.get(), {0, 0, 0}, {0, -1, 0});
  }

  // Spawns a wolf at the point, facing the direction.
  CFEnemy* Spawn(VECTOR3 at, VECTOR3 facing) {
    const int slot = sys_->enemyCount;
    enemies_[slot] = std::make_unique<CFEnemy>();
    CFEnemy* e = enemies_[slot].get();
    sys_->enemies[slot] = e;
    sys_->enemyCount = slot + 1;
    e->SetOwner(sys_.get(), 101);
    Put(e, at, facing);
    return e;
  }

  static void Put(CFightingMan* f, VECTOR3 at, VECTOR3 facing) {
    const VECTOR3 up{0, 0, 1};
    SetNodeDirection(f->body->Node(), &at, &facing, &up);
    f->CFightingMan::Update(0);
  }

  // One battle frame: the fighters, then their bodies.
  void Tick(int frames = 1) {
    for (int i = 0; i < sys_->enemyCount; ++i) sys_->enemies[i]->Update(frames);
    for (int i = 0; i < sys_->enemyCount; ++i) TickBody(sys_->enemies[i]->body, frames);
    hero_->CFightingMan::Update(frames);
    TickBody(hero_->body, frames);
  }
  static void TickBody(CTarnwick* body, int frames) {
    if (!body) return;
    body->Update(frames);
    body->PostUpdate(frames);
    body->EndFrame(frames);
  }

  static int HP(const CFightingMan* f) { return f->soul->GetAttribute(6); }
  static int Playing(const CFightingMan* f) { return f->body->current[ACTIONDESC::ID]; }

  std::vector<CGDEnemySoul> saved_;
  CGDManSoul heroSoul_;
  std::unique_ptr<CBattleSys> sys_;
  std::unique_ptr<CFMaster> hero_;
  std::unique_ptr<CFEnemy> enemies_[CBattleSys::kEnemySlots];
};

}  // namespace battletest

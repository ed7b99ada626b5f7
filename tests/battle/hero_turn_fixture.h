#pragma once
#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <set>
#include <utility>
#include <vector>

#include "battle/after_image.h"
#include "battle/battle_interface.h"
#include "battle/hero_states.h"
#include "battle/phase_codes.h"
#include "battle/tarnwick.h"
#include "battle/unit_state.h"
#include "engine/core/input_hooks.h"
#include "engine/core/main_loop.h"
#include "engine/core/nodes.h"
#include "engine/core/walking.h"
#include "engine/core/world.h"
#include "engine/media/data_directories.h"
#include "engine/media/sound_table.h"
#include "engine/media/sound_waves.h"
#include "platform/crt.h"
#include "platform/qel/kbs_control.h"
#include "tests/battle/battle_sys_fixture.h"

namespace battletest {

// An enemy mind that stands still and writes down what reaches it: every
// message type, and blows (1, 7, 8) take their power off the enemy's HP.
class RecordingMind : public CUnitState {
 public:
  int OnAllyAlarm(CFEnemy*, int) override { return 0; }
  int OnBlocked(CFEnemy*) override { return 0; }
  int OnHeavyBlow(CFEnemy* e, BATTLEMSG* m) override { return Blow(e, m); }
  int OnRelease(CFEnemy*, BATTLEMSG* m) override { return Note(m); }
  int OnCure(CFEnemy*, BATTLEMSG* m) override { return Note(m); }
  int OnSnatch(CFEnemy*, BATTLEMSG* m) override { return Note(m) && answer; }
  int OnParalyse(CFEnemy*, BATTLEMSG* m) override { return Note(m) && answer; }
  int OnBlow(CFEnemy* e, BATTLEMSG* m) override { return Blow(e, m); }
  int OnSureBlow(CFEnemy* e, BATTLEMSG* m) override { return Blow(e, m); }
  int OnThreat(CFEnemy*, BATTLEMSG* m) override { return Note(m); }
  int Update(CFEnemy*, int) override { return 1; }

  int Note(BATTLEMSG* m) {
    types.push_back(m->type);
    return 1;
  }
  int Blow(CFEnemy* e, BATTLEMSG* m) {
    Note(m);
    e->ChangeHP(-m->Get(1), 0);
    return 1;
  }
  int Count(int type) const {
    int n = 0;
    for (int t : types) n += t == type;
    return n;
  }

  std::vector<int> types;
  int answer = 1;  // to paralyse and snatch
};

// The sample arena with the hero at the origin and enemies placed by hand,
// minds that record, the sword worn, throwing knives in the bag and a
// seeded rand. The battle runs from the hero's turn on; Step runs whole
// society passes (bodies, then the battle's state).
class HeroTurnTest : public BattleSysTest {
 protected:
  static constexpr int kSword = 7;
  static constexpr int kKnife = 9;
  static constexpr int kSwordCost = 10;

  void SetUp() override {
    BattleSysTest::SetUp();
    g_gameDataBase.items = {Weapon(kSword, 1, 45, 90, kSwordCost, 0, 12), Weapon(kKnife, 8, 60, 400)};
    savedThrown_ = g_gameDataBase.party.itemLists[kListType8];
    g_gameDataBase.party.itemLists[kListType8] = {{kKnife, 20, 8}};
    SetSoundDirectory(".\\waves");
    plat::Srand(7);
  }

  void TearDown() override {
    for (int i = 0; sys_ && i < sys_->enemyCount; ++i)
      if (sys_->enemies[i]) sys_->enemies[i]->state = nullptr;
    BattleSysTest::TearDown();
    g_gameDataBase.party.itemLists[kListType8] = savedThrown_;
    CBattleInterface::Destroy();
    CAfterImage::Instance()->Clear();
    CAfterImage::Instance()->SetBody(nullptr);
  }

  // The hero (1 the first, 2 the second) with MP, special gauge and mark limit.
  void Begin(int heroKind, int enemies, int mp = 300, int special = 0) {
    CGDMainManSoul& hero = g_gameDataBase.heroes[0];
    hero.kind = heroKind;
    hero.subKind = heroKind == 1 ? 1 : 3;
    hero.equipmentIds[1] = kSword;
    const int values[][2] = {{7, 400}, {8, mp}, {17, special}, {18, 100}, {34, 5}, {kSword + 20, 500}, {21, 500}};
    for (const auto& v : values) {
      // -1: the record has no such attribute yet.
      if (hero.SetAttributeValue(v[0], v[1]) != 0) hero.attributes.push_back({v[0], v[1], 0});
    }
    // The game sets its item procedures before each battle.
    knives_ = 20;
    g_battleInterface.SetItemCountProc([] { return knives_; });
    g_battleInterface.SetItemIdProc([] { return static_cast<int>(kKnife); });
    g_battleInterface.SetUseItemProc([](int n) { return knives_ -= n; });
    std::vector<int> ids;
    for (int i = 0; i < enemies; ++i) ids.push_back(101 + i % 3);
    ASSERT_EQ(StartWith(ids), 1);
    for (int i = 0; i < sys_->enemyCount; ++i) sys_->enemies[i]->state = &minds_[i];
    // The hero at the origin facing +y unless the arena says otherwise.
    sys_->EnterPhase(0);
    for (int i = 0; i < sys_->enemyCount; ++i) Place(i, 2000, 180);
    Step();
    Step();
  }

  // Enemy i at `distance` from the hero, `degrees` to the hero's left, facing the hero.
  void Place(int i, float distance, float degrees) {
    const VECTOR3 here = NodePosition(sys_->HeroBodyNode());
    const VECTOR3 f = NodeForward(sys_->HeroBodyNode());
    const float a = degrees / 57.29578f;
    const VECTOR3 dir{f.x * std::cos(a) - f.y * std::sin(a), f.x * std::sin(a) + f.y * std::cos(a), 0};
    const VECTOR3 at{here.x + dir.x * distance, here.y + dir.y * distance, here.z};
    const VECTOR3 back{-dir.x, -dir.y, 0};
    SetNodeDirection(sys_->enemies[i]->body->Node(), &at, &back, nullptr);
    sys_->enemies[i]->Update(0);
  }

  // Points the camera, from where it stands, at enemy i's middle: the
  // enemy then lies under the screen centre.
  void LookAt(int i) {
    const VECTOR3 eye = NodePosition(Camera()->cameraNode);
    VECTOR3 at = NodePosition(sys_->enemies[i]->body->Node());
    at.z += 18;
    const VECTOR3 dir{at.x - eye.x, at.y - eye.y, at.z - eye.z};
    const VECTOR3 up{0, 0, 1};
    SetNodeDirection(Camera()->cameraNode, &eye, &dir, &up);
  }

  void Step(int n = 1) {
    for (int i = 0; i < n; ++i) {
      society_.Update(1);
      if (sys_) codes_.insert(sys_->phaseCode);
    }
  }
  // Steps until the code is `code`; the steps taken, -1 when it never came.
  int StepUntil(int code, int limit = 600) {
    for (int i = 0; i < limit; ++i) {
      if (sys_->phaseCode == code) return i;
      Step();
    }
    return sys_->phaseCode == code ? limit : -1;
  }
  void Left(int a = 320 | 240 << 16, int b = 0) { CBattleSys::OnInput(16, a, b, 0); }
  void Right() { CBattleSys::OnInput(18, 320 | 240 << 16, 0, 0); }
  void Command(int id) { CBattleSys::OnInput(16, id, 0xFFFF, 0); }

  // A battle key held or let go, as the window reports it.
  void Hold(int key, bool down) {
    Post(down ? plat::WM_KEYDOWN : plat::WM_KEYUP, static_cast<plat::WParam>(key));
    PumpMessages();
  }
  // The hero's action after the key is held for a few passes (a combination).
  int Combination(int key) {
    Hold(key, true);
    Step(4);
    const int action = HeroAction();
    Hold(key, false);
    return action;
  }
  static bool Shown(const qmz::CSpriteWnd& window) { return (window.State() & qmz::CSpriteWnd::kVisible) != 0; }

  // A sound of that name is in the sound table.
  static bool SoundLoaded(const std::string& name) {
    for (const SOUNDDESC* sound : g_soundTable.slots)
      if (sound && sound->name == name) return true;
    return false;
  }

  CFMaster* Hero() { return sys_->hero; }
  int HeroAction() { return Hero()->body->current[ACTIONDESC::ID]; }
  int Attr(int key) { return Hero()->soul->GetAttribute(key); }
  int EnemyHp(int i) { return sys_->enemies[i]->soul->GetAttribute(6); }

  static inline int knives_ = 0;
  std::set<int> codes_;  // every phase code a step ended in
  RecordingMind minds_[CBattleSys::kEnemySlots];
  std::vector<PARTYITEMDESC> savedThrown_;
};

}  // namespace battletest

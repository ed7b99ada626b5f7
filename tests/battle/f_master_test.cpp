#include "battle/f_master.h"

#include <gtest/gtest.h>

#include "battle/battle_camera.h"
#include "battle/battle_interface.h"
#include "battle/battle_script.h"
#include "battle/hero_states.h"
#include "database/game_database.h"
#include "engine/core/node_transforms.h"
#include "platform/crt.h"
#include "tests/battle/battle_fixture.h"
#include "tools/datagen/action_table_writer.h"

namespace battletest {
namespace {

constexpr int kSword = 7;
constexpr int kKnife = 9;
constexpr int kSwordCost = 30;
constexpr int kSwordGain = 4;
const std::vector<int> kIds = {11, 101, 119, 120, 300, 301, 302, 320, 601};

// The hero's turn as far as a blow's outcome goes.
class HitRecorder : public CMasterState {
 public:
  int OnHeroHit(CBattleSys*, int kind) override {
    kinds.push_back(kind);
    return 1;
  }
  std::vector<int> kinds;
};

int g_usedItems = 0;
int g_itemCount = 0;
int UseItemProc(int n) { return g_usedItems += n; }
int ItemCountProc() { return g_itemCount; }

// A hero of the given kind and costume in the database, with every battle
// attribute, the sword worn and a throwing knife first in the type-8 list;
// its four costume models and the action records of every fighter type.
class MasterTest : public BattleTest {
 protected:
  void SetUp() override {
    BattleTest::SetUp();
    std::string error;
    std::vector<datagen::ActionRecordDesc> records;
    for (int type = 1; type <= 4; ++type) records.push_back(datagen::BattleActionRecord(type, kIds));
    ASSERT_TRUE(datagen::WriteActionTable("creature/battle/kbs.acb", records, error)) << error;
    const int poses = static_cast<int>(kIds.size());
    for (const char* model : {"m001", "m002", "m004", "m005"}) WriteModel(model, poses);
    WriteModel("weapon/_m004W", 1);
    sys_ = std::make_unique<CBattleSys>();

    savedHeroes_ = g_gameDataBase.heroes;
    savedItems_ = g_gameDataBase.items;
    savedParty_ = g_gameDataBase.party.itemLists[kListType8];
    g_gameDataBase.items = {Weapon(kSword, 1, 45, 90, kSwordCost, kSwordGain, 12), Weapon(kKnife, 8, 120, 300)};
    g_gameDataBase.party.itemLists[kListType8] = {{kKnife, 3, 8}, {99, 1, 8}};
    g_battleInterface.SetUseItemProc(UseItemProc);
    g_battleInterface.SetItemCountProc(ItemCountProc);
    g_usedItems = 0;
    g_itemCount = 1;
    CFMaster::regenFrames = 0;
  }
  void TearDown() override {
    master_.Reset();
    CBattleCamera::Destroy();
    g_gameDataBase.heroes = savedHeroes_;
    g_gameDataBase.items = savedItems_;
    g_gameDataBase.party.itemLists[kListType8] = savedParty_;
    CBattleInterface::Destroy();
  }

  // Attribute key -> value: level 5, HP and MP 200, attack 52, defences 30,
  // special gain 3, special 0 of 100, both skills 500.
  void AddHero(int kind, int subKind, int weapon = kSword) {
    CGDMainManSoul hero;
    hero.id = 1;
    hero.kind = kind;
    hero.subKind = subKind;
    const int values[][2] = {{1, 5},   {5, 200}, {6, 200},  {7, 400},  {8, 200},           {9, 52},
                             {10, 30}, {11, 30}, {12, 30},  {13, 30},  {14, 30},           {15, 30},
                             {16, 3},  {17, 0},  {18, 100}, {21, 500}, {kSword + 20, 500}, {34, 3}};
    for (const auto& v : values) hero.attributes.push_back({v[0], v[1], 0});
    hero.equipmentIds[1] = weapon;  // the weapon slot (kind 1)
    g_gameDataBase.heroes = {hero};
  }

  CGDManSoul& Soul() { return *master_.soul; }
  int Attr(int key) { return master_.soul->GetAttribute(key); }
  void SetAttr(int key, int value) { master_.soul->SetAttributeValue(key, value); }

  std::unique_ptr<CBattleSys> sys_;
  CFMaster master_;
  std::vector<CGDMainManSoul> savedHeroes_;
  std::vector<ITEMDESC> savedItems_;
  std::vector<PARTYITEMDESC> savedParty_;
};

TEST_F(MasterTest, HeroAndCostumePickTheModelAndTheSetUp) {
  const struct {
    int kind, subKind;
    const char* model;
    int fighterKind, mode;
  } cases[] = {{1, 1, "m001", CFightingMan::kFirstHero, CFMaster::MODE_NORMAL},
               {1, 2, "m002", CFightingMan::kFirstHero, CFMaster::MODE_NORMAL},
               {2, 3, "m004", CFightingMan::kSecondHero, CFMaster::MODE_SECOND_NORMAL},
               {2, 4, "m005", CFightingMan::kSecondHero, CFMaster::MODE_SECOND_NORMAL}};
  for (const auto& c : cases) {
    AddHero(c.kind, c.subKind);
    master_.SetOwner(sys_.get(), 1);
    ASSERT_NE(master_.body, nullptr) << c.model;
    char base[32] = {};
    ASSERT_EQ(master_.GetModelBaseName(base, sizeof base), 1);
    EXPECT_STREQ(base, c.model);
    EXPECT_EQ(master_.kind, c.fighterKind) << c.model;
    EXPECT_EQ(master_.mode, c.mode) << c.model;
    EXPECT_EQ(master_.collisionRadius, 40.0f);
    EXPECT_EQ(master_.actions.size(), kIds.size()) << c.model << ": its costume's actions";
    const float row0 = c.kind == 1 ? 120.0f : 0.0f;
    EXPECT_EQ(master_.GetReach(0, 0), row0) << c.model << ": the first hero throws the knife";
    EXPECT_EQ(master_.GetReach(0, 1), c.kind == 1 ? 300.0f : 0.0f);
    EXPECT_EQ(master_.body->currentWeapon != nullptr, c.kind == 2) << c.model << ": the second hero's own weapon";
    master_.Reset();
    EXPECT_EQ(master_.body, nullptr);
  }
}

TEST_F(MasterTest, ReachTableAndCommandMap) {
  AddHero(1, 1);
  master_.SetOwner(sys_.get(), 1);
  const float rows[][3] = {{120, 300, 0}, {50, 100, 70}, {50, 100, 70}, {0, 100, 70}};
  for (int r = 0; r < 4; ++r)
    for (int w = 0; w < 3; ++w) EXPECT_EQ(master_.GetReach(r, w), rows[r][w]) << r << "," << w;
  EXPECT_EQ(master_.GetReach(4, 0), 0.0f);
  EXPECT_EQ(master_.GetReach(-1, 0), 0.0f);
  VECTOR3 here{};
  master_.body->GetTransform(&here, nullptr, nullptr);
  const struct {
    float distance;
    int level;
  } levels[] = {{49.9f, 1}, {50, 2}, {99.9f, 2}, {100, 3}, {500, 3}};
  for (const auto& l : levels)
    EXPECT_EQ(master_.ReachLevel(1, {here.x + l.distance, here.y, here.z}), l.level) << l.distance;

  const int commands[][2] = {{1, 115 | 117 << 16},
                             {2, 116 | 118 << 16},
                             {4, 107 | 107 << 16},
                             {5, 108 | 108 << 16},
                             {6, 109 | 109 << 16},
                             {8, 104 | 101 << 16},
                             {9, 105 | 102 << 16},
                             {10, 106 | 103 << 16},
                             {0x10000, 113 | 113 << 16},
                             {0x20000, 114 | 114 << 16},
                             {3, 0},
                             {7, 0}};
  for (const auto& c : commands) EXPECT_EQ(master_.CommandFor(c[0]), c[1]) << c[0];
}

TEST_F(MasterTest, BlowsHurtBlockOrFellTheHero) {
  AddHero(1, 1);
  master_.SetOwner(sys_.get(), 1);
  HitRecorder turn;
  sys_->state = &turn;
  // The first seed whose first draw blocks (rand() mod 5 = 0) and one that hurts.
  unsigned blockSeed = 0, hurtSeed = 0;
  for (unsigned s = 1; !blockSeed || !hurtSeed; ++s) {
    plat::Srand(s);
    (plat::Rand() % 5 == 0 ? blockSeed : hurtSeed) = s;
  }
  const struct {
    int direction;
    unsigned seed;
    int damage, reaction, hitKind;
  } cases[] = {
      {1, hurtSeed, 85, 301, 1}, {1, blockSeed, 17, 320, 2}, {2, blockSeed, 85, 302, 1}, {0, hurtSeed, 85, 300, 1}};
  for (const auto& c : cases) {
    SetAttr(6, 200);
    SetAttr(17, 0);
    master_.flags = 0;
    master_.timers.clear();
    BATTLEMSG blow;
    blow.type = 1;
    blow.Set(1, 100);
    blow.Set(2, c.direction);
    blow.Set(4, 3);
    plat::Srand(c.seed);
    ASSERT_EQ(master_.ReceiveMessage(&blow), 1);
    EXPECT_EQ(Attr(6), 200 - c.damage) << "direction " << c.direction << " seed " << c.seed;
    EXPECT_EQ(master_.body->current[ACTIONDESC::ID], c.reaction);
    EXPECT_EQ(Attr(17), 6) << "the special gauge gains twice the gain per blow";
    EXPECT_TRUE(master_.flags & CFMaster::kHitReaction);
    EXPECT_EQ(master_.GetTimer(CFMaster::kHitReaction), master_.GetActionLength());
    EXPECT_EQ(sys_->hud.Gauge(0).Percent(), (200 - c.damage) * 100 / 200) << "the HP gauge";
    EXPECT_EQ(sys_->hud.Gauge(2).Percent(), 6) << "the special gauge";
  }

  // A weak blow still does 1; a blow to a spent hero fells it.
  SetAttr(6, 1);
  BATTLEMSG weak;
  weak.type = 1;
  weak.Set(1, 5);
  weak.Set(2, 2);
  ASSERT_EQ(master_.ReceiveMessage(&weak), 1);
  EXPECT_EQ(Attr(6), 0);
  EXPECT_TRUE(master_.flags & CFightingMan::kDown);
  EXPECT_EQ(master_.body->current[ACTIONDESC::ID], 601);
  EXPECT_EQ(turn.kinds, (std::vector<int>{1, 2, 1, 1, -1})) << "the turn hears hurt, blocked and down";
  EXPECT_EQ(sys_->hud.Gauge(0).Percent(), 0);
  sys_->state = nullptr;
}

TEST_F(MasterTest, BlowsAreIgnoredDuringTheFinishingMoveAndOtherMessagesAlways) {
  AddHero(1, 1);
  master_.SetOwner(sys_.get(), 1);
  BATTLEMSG blow;
  blow.type = 1;
  blow.Set(1, 100);
  for (int flag : {0x1000, 0x4000, 0x8000}) {
    master_.flags = flag;
    EXPECT_EQ(master_.ReceiveMessage(&blow), 0) << flag;
    EXPECT_EQ(Attr(6), 200);
  }
  master_.flags = 0;
  BATTLEMSG cure;
  cure.type = 2;
  EXPECT_EQ(master_.ReceiveMessage(&cure), 0);
  EXPECT_EQ(master_.ReceiveMessage(nullptr), 0);
}

TEST_F(MasterTest, CommandChecksNeedTheirMp) {
  AddHero(1, 1);
  master_.SetOwner(sys_.get(), 1);
  const struct {
    int check, mp, expected;
  } cases[] = {{CFMaster::CHECK_PARALYSE, 70, 0},
               {CFMaster::CHECK_PARALYSE, 71, 1},
               {CFMaster::CHECK_SNATCH, 60, 0},
               {CFMaster::CHECK_SNATCH, 61, 1},
               {CFMaster::CHECK_THREATEN, 50, 0},
               {CFMaster::CHECK_THREATEN, 51, 1},
               {CFMaster::CHECK_SPEED, 60, 0},
               {CFMaster::CHECK_SPEED, 61, 1},
               {CFMaster::CHECK_TARGETED, kSwordCost - 1, 0},
               {CFMaster::CHECK_TARGETED, kSwordCost, 1},
               {5, 0, 1}};
  for (const auto& c : cases) {
    SetAttr(8, c.mp);
    EXPECT_EQ(master_.CanUse(c.check), c.expected) << "check " << c.check << " at MP " << c.mp;
  }

  SetAttr(8, 151);
  SetAttr(17, 99);
  EXPECT_EQ(master_.CanUse(CFMaster::CHECK_SPECIAL), 0) << "the gauge must be full";
  SetAttr(17, 100);
  EXPECT_EQ(master_.CanUse(CFMaster::CHECK_SPECIAL), 1);
  g_itemCount = 0;
  EXPECT_EQ(master_.CanUse(CFMaster::CHECK_SPECIAL), 0) << "the first hero needs a quick item";
  g_itemCount = 1;
  SetAttr(8, 150);
  EXPECT_EQ(master_.CanUse(CFMaster::CHECK_SPECIAL), 0);

  // The battle script's keys: a command switched off, the targeted attack's limit.
  CBattleScript* script = CBattleScript::Instance();
  const std::vector<int> savedLimits = script->limits;
  const size_t first = script->store->limits.size();
  script->store->limits.push_back({0, 0x10000, 0x20001, 0});
  script->store->limits.push_back({0, 0x10000, 0x20009, 2});
  script->limits = {static_cast<int>(first), static_cast<int>(first + 1)};
  SetAttr(8, 200);
  EXPECT_EQ(master_.CanUse(CFMaster::CHECK_PARALYSE), 0) << "key 0x20001 off";
  EXPECT_EQ(master_.CanUse(CFMaster::CHECK_SNATCH), 1) << "a key the script does not name is on";
  master_.useCount = 1;
  EXPECT_EQ(master_.CanUse(CFMaster::CHECK_TARGETED), 1);
  master_.useCount = 2;
  EXPECT_EQ(master_.CanUse(CFMaster::CHECK_TARGETED), 0) << "the battle's limit of targeted attacks";
  script->limits = savedLimits;
  script->store->limits.resize(first);

  AddHero(1, 1, 0);
  master_.Reset();
  master_.SetOwner(sys_.get(), 1);
  SetAttr(8, 200);
  EXPECT_EQ(master_.CanUse(CFMaster::CHECK_TARGETED), 0) << "no weapon record";
}

TEST_F(MasterTest, AttackPowerFromSkillAndWeapon) {
  const struct {
    int kind, subKind, weapon, attack, skill, expected;
  } cases[] = {
      {1, 1, kSword, 52, 500, 4},    // 500 x 0.0001 x 12 + (52 - 12) / 10 = 4.6
      {1, 1, kSword, 52, 5001, 10},  // 6.0012 + 4
      {1, 1, 0, 52, 500, 5},         // 52 / 10
      {1, 1, 0, 5, 500, 1},          // at least 1
      {1, 1, kSword, 0, 50001, 60},  // a weapon above the attack lowers nothing
      {2, 3, kSword, 52, 2000, 6},   // skill 21: 2.4 + 4
      {2, 3, 42, 52, 2000, 5},       // an unknown weapon counts as none
  };
  for (const auto& c : cases) {
    AddHero(c.kind, c.subKind, c.weapon);
    master_.Reset();
    master_.SetOwner(sys_.get(), 1);
    SetAttr(9, c.attack);
    SetAttr(c.kind == 1 ? kSword + 20 : 21, c.skill);
    EXPECT_EQ(master_.GetAttackPower(), c.expected) << c.kind << " " << c.weapon << " " << c.attack << " " << c.skill;
  }
}

TEST_F(MasterTest, MessagesCarryPowerAndCostTheirPrice) {
  AddHero(1, 1);
  master_.SetOwner(sys_.get(), 1);
  master_.StartAction(101);
  master_.hitDirection = 2;
  const int framesLeft = master_.GetFramesLeft();

  BATTLEMSG attack;
  ASSERT_EQ(master_.BuildMessage(1, &attack), 1);
  EXPECT_EQ(attack.type, 1);
  EXPECT_EQ(attack.code, 7);
  EXPECT_EQ(attack.Get(1), 4);
  EXPECT_EQ(attack.Get(2), 2);
  EXPECT_EQ(Attr(8), 200 - kSwordCost);
  EXPECT_EQ(sys_->hud.Gauge(1).Percent(), (200 - kSwordCost) * 100 / 400) << "the MP gauge";
  EXPECT_EQ(Attr(kSword + 20), 500 + kSwordGain);
  EXPECT_EQ(g_usedItems, 1);
  EXPECT_TRUE(master_.flags & CFMaster::kAttacking);
  EXPECT_EQ(master_.GetTimer(CFMaster::kAttacking), framesLeft + 60);
  EXPECT_EQ(master_.useCount, 1);
  EXPECT_EQ(Attr(17), 3);

  const struct { int type, code, mpCost; } threats[] = {{3, 1, 50}, {4, 3, 70}, {5, 3, 60}};
  SetAttr(6, 150);
  for (const auto& t : threats) {
    SetAttr(8, 200);
    BATTLEMSG m;
    ASSERT_EQ(master_.BuildMessage(t.type, &m), 1);
    EXPECT_EQ(m.type, t.type);
    EXPECT_EQ(m.code, t.code);
    EXPECT_EQ(m.Get(1), 5) << "the level";
    EXPECT_EQ(m.Get(2), 75) << "the HP per cent";
    EXPECT_EQ(Attr(8), 200 - t.mpCost);
  }

  SetAttr(17, 0);
  for (int type : {8, 9}) {
    BATTLEMSG special;
    ASSERT_EQ(master_.BuildMessage(type, &special), 1);
    EXPECT_EQ(special.type, 8);
    EXPECT_EQ(special.code, 7);
    const int least = type == 8 ? 115 : 130, most = type == 8 ? 145 : 150;
    EXPECT_GE(special.Get(1), 4 * least / 100);
    EXPECT_LE(special.Get(1), 4 * most / 100);
    EXPECT_EQ(Attr(17), 0) << "no special gain";
  }
  BATTLEMSG none;
  EXPECT_EQ(master_.BuildMessage(2, &none), 0);
  EXPECT_EQ(master_.BuildMessage(6, &none), 0);
}

TEST_F(MasterTest, MpGrowsEveryElevenFramesOutsideSpecialAndSpeed) {
  AddHero(1, 1);
  master_.SetOwner(sys_.get(), 1);
  SetAttr(8, 100);
  for (int i = 0; i < 10; ++i) ASSERT_EQ(master_.Update(1), 1);
  EXPECT_EQ(Attr(8), 100);
  master_.Update(1);
  EXPECT_EQ(Attr(8), 101);
  for (int i = 0; i < 11; ++i) master_.Update(1);
  EXPECT_EQ(Attr(8), 102);
  for (int mode : {CFMaster::MODE_SPECIAL, CFMaster::MODE_SPEED}) {
    master_.mode = mode;
    for (int i = 0; i < 30; ++i) master_.Update(1);
    EXPECT_EQ(Attr(8), 102) << mode;
  }
  master_.frozen = 1;
  EXPECT_EQ(master_.Update(1), 0);
}

TEST_F(MasterTest, TurningFollowsTheOrbitAndADownedHeroLeavesSlowMotion) {
  AddHero(1, 1);
  master_.SetOwner(sys_.get(), 1);
  qmz::CLCTCamera& orbit = CBattleCamera::Instance()->orbit;
  const struct {
    float speed;
    int action;
  } cases[] = {{0.5f, 120}, {-0.5f, 119}};
  for (const auto& c : cases) {
    master_.StartAction(11);
    orbit.SetAngleSpeed(c.speed, 0);
    master_.Update(1);
    EXPECT_EQ(master_.body->current[ACTIONDESC::ID], c.action) << c.speed;
  }
  orbit.SetAngleSpeed(0, 0);
  master_.StartAction(101);
  for (int i = 0; i < 30; ++i) {
    master_.body->Update(1);
    master_.Update(1);
  }
  EXPECT_EQ(master_.body->current[ACTIONDESC::ID], 11) << "a finished action falls back to idle";

  master_.flags = CFightingMan::kDown;
  master_.body->SetSlowMotion(4);
  master_.Update(1);
  EXPECT_EQ(master_.body->divider, 1);
}

TEST_F(MasterTest, AnglesDistancesAndHealth) {
  AddHero(2, 3);
  master_.SetOwner(sys_.get(), 1);
  CFMaster other;
  other.owner = sys_.get();
  other.soul = master_.soul;
  other.CreateBody("m004");
  VECTOR3 here{}, forward{};
  master_.body->GetTransform(&here, &forward, nullptr);
  const struct {
    float ahead, left, angle;
  } cases[] = {{100, 0, 0}, {0, 100, 90}, {0, -100, -90}, {100, 100, 45}, {-100, -1e-3f, -180}};
  for (const auto& c : cases) {
    SetNodePosition(other.body->Node(), here.x + forward.x * c.ahead - forward.y * c.left,
                    here.y + forward.y * c.ahead + forward.x * c.left, here.z, 0);
    EXPECT_NEAR(master_.AngleTo(&other), c.angle, 0.05f) << c.ahead << "," << c.left;
  }
  SetNodePosition(other.body->Node(), here.x - forward.y * 100, here.y + forward.x * 100, here.z, 0);
  EXPECT_NEAR(master_.DistanceTo(&other), 100, 1e-3f);
  const float near = 120, far = 90, narrow = 30, wide = 100;
  EXPECT_EQ(master_.InRangeAndAngle(&other, &near, nullptr), 1);
  EXPECT_EQ(master_.InRangeAndAngle(&other, &far, nullptr), 0);
  EXPECT_EQ(master_.InRangeAndAngle(&other, nullptr, &narrow), 0);
  EXPECT_EQ(master_.InRangeAndAngle(&other, &near, &wide), 1);
  SetNodePosition(other.body->Node(), here.x + forward.y * 100, here.y - forward.x * 100, here.z, 0);
  EXPECT_EQ(master_.InRangeAndAngle(&other, nullptr, &narrow), 1) << "the signed angle is compared";
  other.ReleaseBody();
  other.soul = nullptr;

  EXPECT_EQ(master_.GetActionFacingCode(999), 0);
  const struct { int hp, low; } health[] = {{121, 0}, {120, 1}, {1, 1}, {0, 0}};
  for (const auto& h : health) {
    SetAttr(6, h.hp);
    EXPECT_EQ(master_.IsHPLow(), h.low) << h.hp;
    master_.flags = CFightingMan::kParalysed;
    EXPECT_EQ(master_.IsParalysed(), h.hp > 0 ? 1 : 0);
  }
}

}  // namespace
}  // namespace battletest

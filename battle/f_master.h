#pragma once
#include <array>
#include <map>
#include <vector>

#include "battle/fighting_man.h"

struct ITEMDESC;

// The hero in battle, set up from the party leader's hero record: its model
// by hero and costume, its reach table, the key-combination commands, the
// command checks, the messages of its blows and the blows it takes, MP
// regeneration, turning with the orbit camera and the heads-up gauges.
class CFMaster : public CFightingMan {
 public:
  // Hero modes.
  enum : int {
    MODE_NORMAL = 1,
    MODE_PARALYSE = 2,
    MODE_SNATCH = 3,
    MODE_THREATEN = 4,
    MODE_SECOND_NORMAL = 5,
    MODE_SPECIAL = 6,
    MODE_SPEED = 7
  };
  // Command checks of CanUse.
  enum : int {
    CHECK_TARGETED = 1,
    CHECK_PARALYSE = 2,
    CHECK_SNATCH = 3,
    CHECK_THREATEN = 4,
    CHECK_SPECIAL = 6,
    CHECK_SPEED = 7
  };
  // Status bits of the hero's flags.
  static constexpr int kAttacking = 0x4;
  static constexpr int kHitReaction = 0x8;
  static constexpr int kFinishing = 0x1000 | 0x4000 | 0x8000;

  using ReachRow = std::array<float, 3>;

  CFMaster();
  ~CFMaster() override;

  void Init() override;
  void Reset() override;
  void Attach(CBattleSys* owner, CTarnwick* body, CGDManSoul* soul) override;
  // The set-up from the hero record of that id.
  void SetOwner(CBattleSys* owner, int heroId) override;
  int Update(int frames) override;
  void ChangeHP(int delta, int flag) override;
  // Types 1, 3, 4, 5, 7, 8 and 9; 0 for the others.
  int BuildMessage(int type, BATTLEMSG* message) override;
  // Only blows (type 1) land, and not during the finishing move.
  int ReceiveMessage(BATTLEMSG* message) override;
  int GetAttackPower() override;

  void ChangeMP(int delta, int flag);
  void ChangeSP(int delta, int flag);
  // Shows the three gauges as they stand.
  void RefreshGauges();
  // Reach row 0 takes the thrown item's two reach values.
  void SetWeaponReach(int itemId);
  // 1 nearer than the row's first value, 2 nearer than its second, else 3.
  int ReachLevel(int row, const VECTOR3& point) const;
  // Value 0, 1 or 2 of a reach row; 0 outside the table.
  float GetReach(int row, int which) const;
  int CanUse(int check);
  // The packed command of a key-combination type (low 16 bits with an enemy
  // in reach, high 16 without); 0 for a type without one.
  int CommandFor(int actionType) const;
  void GetHP(int* hp, int* maximum) const;
  int IsHPLow() const;
  int IsParalysed() const;
  float DistanceTo(const CFightingMan* fighter) const;
  // Signed degrees from the hero's forward vector to the fighter, positive
  // to the hero's left.
  float AngleTo(const CFightingMan* fighter) const;
  // 1 when neither given limit is exceeded (the signed angle is compared).
  int InRangeAndAngle(const CFightingMan* fighter, const float* distance, const float* angle) const;
  // The action's facing code; 0 for an action the hero lacks.
  int GetActionFacingCode(int id) const;
  // Shows the hero's own weapon model "_<model>W.mcb".
  void AttachWeaponModel();

  // The equipped weapon's record; null when none is worn or it is unknown.
  const ITEMDESC* EquippedWeapon() const;
  // 0 when the maximum is 0.
  static int Percent(int value, int maximum);

  // Frames towards the next MP point; shared by every hero fighter.
  static int regenFrames;

  std::vector<ReachRow> reach;
  int useCount = 0;
  int spareAfterUses = 0;
  std::map<int, int> commandMap;
  std::map<int, int> secondMap;
  int lastValue = 0;

 private:
  void BuildReachTable();
  // The set-up that depends on the hero kind.
  void SetupByKind();
  void FillCommandMap();
  // Shows one gauge of the heads-up display: a soul attribute against its maximum.
  void ShowGauge(int key, int maxKey);
  // The attribute that holds the hero's skill with its weapon; 0 when none.
  int WeaponSkillKey() const;
  // MP cost, skill gain, a quick item, the attack flag and the use count.
  void SpendWeapon(int spendMp, int gainSkill, int useItem, int extraFrames);
  // Tells the hero's turn state how a blow ended (1 hurt, 2 blocked, -1 down).
  void NotifyHeroHit(int kind);
};

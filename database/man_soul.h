#pragma once
// A character record of the game database and the rules that change it:
// attributes and their limits, equipment, actions with hit rolls, lasting
// effects and conditions. The battle, the menus and the talk scripts drive it.
#include <array>
#include <cstdint>
#include <list>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "database/records.h"

class CGDManSoul;
using SoulList = std::span<CGDManSoul* const>;
using ChangeList = std::vector<ATTRIBUTECHANGEDESC>;

// The generator behind RollHit (plat::Rand by default); tests script the
// rolls through it. Null restores plat::Rand.
using HitRollRandom = int (*)();
void SetHitRollRandom(HitRollRandom random);

class CGDManSoul {
 public:
  static constexpr int kConditionStackCount = 30;

  CGDManSoul() = default;
  CGDManSoul(const CGDManSoul&) = default;
  CGDManSoul& operator=(const CGDManSoul&) = default;
  CGDManSoul(CGDManSoul&&) = default;
  CGDManSoul& operator=(CGDManSoul&&) = default;
  virtual ~CGDManSoul() = default;

  // One battle turn of the active effects; 1 when changes is given and filled.
  virtual int TickEffects(ChangeList* changes);
  virtual int RemoveFinishedEffects();
  // Sets a current value (6, 8, 17, 19, 26, 28, 30, 32) to its maximum.
  virtual int RefillAttribute(int32_t key);
  virtual void Reset();
  // Types 1 to 6; the item taken off goes to oldItem, or is discarded when null.
  virtual int Equip(int32_t type, int32_t id, std::optional<ITEMDESC>* oldItem);
  virtual int Unequip(int32_t type, std::optional<ITEMDESC>* oldItem);
  virtual int ApplyModifiers(ITEMDESC* record, ChangeList* changes);
  virtual int ApplyEffectStep(MODIFIERDESC& m, ChangeList* changes);
  virtual int RollHit(const CGDManSoul* target) const;
  virtual int ApplyActionToAll(const ITEMDESC* record, SoulList targets, SoulList group, int noRoll);
  virtual int ApplyAction(const ITEMDESC* record, CGDManSoul* target, SoulList group, SoulList targetGroup);
  virtual int ApplyActionTo(const ITEMDESC* record, CGDManSoul* target);
  virtual int ApplyActionToSelf(const ITEMDESC* record, SoulList group);
  // Outcomes per target tried: 0 took hold, 1 missed, blocked or weaker.
  virtual int ApplyActionToTargets(const ITEMDESC* record, SoulList targets, int noRoll,
                                   std::vector<int32_t>* outcomes);
  // 0 added or applied, 1 ignored, 2 blocked, -1 invalid.
  virtual int AddEffect(MODIFIERDESC m);
  // The cure of an effect kind and key.
  virtual int RemoveEffect(int32_t kind, int32_t key);
  virtual int ScaleAttribute(int32_t key, float factor, int32_t& appliedTotal, int32_t* newValue);
  virtual int AddAttribute(int32_t key, int32_t change, int32_t* applied = nullptr);
  virtual int ApplyModifier(MODIFIERDESC& m, int32_t* amount);
  virtual int SetAttributeValue(int32_t key, int32_t value, int32_t* change = nullptr);
  virtual int SetAttributeBase(int32_t key, int32_t value, int32_t* change = nullptr);
  // max(0, base + bonus); 0 (and base 0) for a key the character lacks.
  virtual int32_t GetAttribute(int32_t key, int32_t* base = nullptr) const;
  virtual int GetEffectKeys(int32_t kind, std::vector<int32_t>& keys) const;
  virtual ITEMDESC* FindSkill(int32_t id);
  // Applies and stacks a condition's attribute modifier; null pops the stack.
  virtual int PushModifier(int32_t index, const MODIFIERDESC* m);
  virtual int IsImmuneByItem(const ITEMDESC* item, const MODIFIERDESC* m) const;
  // The value after putting on item (type, id): the equipment screen's preview.
  virtual int32_t GetAttributeWithItem(int32_t type, int32_t id, int32_t key) const;
  virtual int IsProtected(const MODIFIERDESC* m) const;
  virtual int HasImmunity(const MODIFIERDESC* m) const;
  virtual int CanAffordItem(const ITEMDESC* record) const;
  virtual int HasEffect(int32_t kind) const;
  virtual int32_t GetEffectTurns(int32_t kind, int32_t key) const;
  virtual int HasRaisingEffect() const;

  // Empties the six equipment slots without taking their modifiers off.
  void ClearEquipment();
  // The worn item of an equipment type, null when none.
  const ITEMDESC* GetEquippedItem(int32_t type) const;
  int32_t GetEquippedId(int32_t type) const;

  // Fixed data from the database file.
  std::string name;
  std::string modelName;
  int32_t kind = 0;     // heroes: 1 first, 2 second; enemies: the enemy kind
  int32_t subKind = 0;  // heroes: the costume
  int32_t id = 0;
  int32_t stateWord = 0;
  std::vector<ATTRIBUTEDESC> attributes;
  std::vector<ITEMDESC> actions;
  std::list<MODIFIERDESC> activeEffects;
  // Index = condition id (1 to 29): the attribute modifiers the condition applied.
  std::array<std::vector<MODIFIERDESC>, kConditionStackCount> conditionStacks;
  std::map<int32_t, std::vector<PROTECTIONDESC>> protections;
  std::array<std::optional<ITEMDESC>, kEquipSlotCount> equipment;  // kinds 6, 1, 2, 3, 4, 5
  std::array<int32_t, kEquipSlotCount> equipmentIds{};

 protected:
  ATTRIBUTEDESC* FindAttribute(int32_t key);
  const ATTRIBUTEDESC* FindAttribute(int32_t key) const;
  // Equipment modifiers: permanent, on the user, on an attribute.
  static bool IsEquipmentModifier(const MODIFIERDESC& m);
  void PutOn(ITEMDESC& item);
  void TakeOff(ITEMDESC& item);
  // What the equipment modifiers of item would change on key.
  int64_t EquipmentAmount(const ITEMDESC& item, int32_t key) const;

 private:
  int32_t LimitChange(int32_t key, int32_t change) const;
  int Act(const MODIFIERDESC& m);
};

#include <cctype>
#include <string>
#include <vector>

#include "battle/tarnwick.h"
#include "components/efficacy.h"
#include "engine/core/nodes.h"

int CTarnwick::LoadWeapon(const char* name) {
  if (!name) return 0;
  const int key = static_cast<int>(weapons.size()) + 1;
  weapons[key] = std::make_unique<CGCBMixCreature>(name, 1, "creature/battle/weapon");
  return key;
}

int CTarnwick::ShowWeapon(int key) {
  auto found = weapons.find(key);
  if (found == weapons.end()) return 0;
  if (currentWeapon && currentWeapon != found->second.get()) RemoveWeapon();
  currentWeapon = found->second.get();
  currentWeapon->SetVisible(1);
  AttachCreature(currentWeapon);
  return 1;
}

CGCBMixCreature* CTarnwick::RemoveWeapon() {
  CGCBMixCreature* weapon = currentWeapon;
  if (!weapon) return nullptr;
  std::vector<HOBJECT> nodes;
  weapon->CollectNodes(&nodes, nullptr);
  for (HOBJECT node : nodes) SetNodeParent(node, 0);
  weapon->SetVisible(0);
  currentWeapon = nullptr;
  return weapon;
}

void CTarnwick::ClearWeapons() {
  if (currentWeapon) RemoveWeapon();
  weapons.clear();
}

int CTarnwick::GetWeaponParts(HOBJECT* out, int count) {
  if (!out) return 0;
  // Rigid objects first, then the vertex-animated parts: the model's order.
  std::vector<HOBJECT> nodes;
  std::vector<std::string> names;
  CollectNodes(&nodes, &names);
  int n = 0;
  for (size_t i = 0; i < nodes.size() && i < names.size() && n < count; ++i) {
    const std::string& name = names[i];
    if (!name.empty() && std::tolower(static_cast<unsigned char>(name.back())) == 'w') out[n++] = nodes[i];
  }
  return n;
}

int CTarnwick::PlayEffect(const char* name, HOBJECT, HOBJECT, HOBJECT, int loop) {
  if (!effect || !name) return 0;
  const int loaded = effect->Load(name, 0, 0, this, 0);
  effect->SetLoop(loop);
  return loaded;
}

int CTarnwick::IsEffectPlaying() const { return effect ? effect->IsPlaying() : 0; }

void CTarnwick::StopEffect() {
  if (effect) effect->Unload();
}

void CTarnwick::SetEffectLoop(int flag) {
  if (effect) effect->SetLoop(flag);
}

int CTarnwick::ShareWith(CTarnwick* clone) {
  if (!clone || !ShareModelWith(clone)) return 0;
  clone->ShowShadow(0);
  return 1;
}

void CTarnwick::SetOpacity(float value) {
  alpha = value;
  SetAlpha(value);
  if (currentWeapon) currentWeapon->SetAlpha(value);
}

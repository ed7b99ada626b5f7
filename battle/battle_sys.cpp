#include "battle/battle_sys.h"

#include <string>

#include "battle/fighting_man.h"
#include "battle/kbs_console.h"
#include "battle/x_shot.h"
#include "battle/x_trap.h"
#include "battle/tarnwick.h"

CBattleSys* g_battleSys = nullptr;

CBattleSys::CBattleSys(CMenuAgency* overlay) : overlay(overlay) {
  LoadBattleData("creature/battle");
  console = std::make_unique<CKBSConsole>();
  g_battleSys = this;
}

CBattleSys::~CBattleSys() {
  ClearShots();
  DeleteTraps();
  if (g_battleSys == this) g_battleSys = nullptr;
}

void CBattleSys::LoadBattleData(const char* folder) {
  const std::string base = std::string(folder) + "/";
  actionTable.Load(base + "kbs.acb");
  hitVertices = LoadHitVertices(base + "HitVertice.txt");
}

HOBJECT CBattleSys::HeroBodyNode() const { return hero && hero->body ? hero->body->Node() : heroBodyNode; }

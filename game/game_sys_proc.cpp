// The game's sys procedure: talk scripts reading and changing game state.
#include "game/game_sys_proc.h"

#include <cctype>
#include <vector>

#include "game/game.h"

namespace {

int Get(int key, const std::vector<int>& p) {
  switch (key) {
    case SYSKEY_ATTR: return g_game->GetLeaderAttribute(p[0]);
    case SYSKEY_ITEM: return g_game->MatchUsedItem(p[0], p[1]);
    case SYSKEY_AUTOPT: return g_game->GetEventCount(p[0]);
    case SYSKEY_MONEY: return g_game->GetMoney();
    default: return 0;
  }
}

void Set(int key, const std::vector<int>& p, int sign, int argument) {
  switch (key) {
    case SYSKEY_ATTR: g_game->ChangeLeaderAttribute(p[0], sign, argument); break;
    case SYSKEY_ITEM: g_game->ChangeItem(p[0], p[1], sign, argument); break;
    case SYSKEY_FLAG: g_game->SetStoryFlag(p[0], argument); break;
    case SYSKEY_MONEY: g_game->ChangeMoney(sign, argument); break;
    default: break;
  }
}

void Do(int key, const std::vector<int>& p) {
  switch (key) {
    case SYSKEY_AUTOPT: g_game->StartEvent(6, g_game->EventBase() + p[0]); break;
    case SYSKEY_SHOP: g_game->OpenTradeWindow(p[0]); break;
    case SYSKEY_REST: g_game->RestParty(); break;
    case SYSKEY_GAME: g_game->EnterMiniGame(p[0]); break;
    default: break;
  }
}

}  // namespace

SYSRESULT GameTalkSysProc(SYSMODE mode, char* name, int argument) {
  if (!name || !g_game) return {0, 0, 0};
  for (char* c = name; *c; ++c) *c = static_cast<char>(std::toupper(static_cast<unsigned char>(*c)));
  std::vector<int> params;
  int sign = 0;
  int key = ParseSysName(name, params, sign);
  if (key == SYSKEY_NONE) return {0, 0, 0};
  switch (mode) {
    case SYSMODE_GET: return {0, Get(key, params), 0};
    case SYSMODE_SET: Set(key, params, sign, argument); break;
    case SYSMODE_DO: Do(key, params); break;
    default: break;
  }
  return {0, 0, 0};
}

// The game's sys procedure: talk scripts reading and changing game state.
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <string>

#include "game/game.h"
#include "talk/talk_sys_proc.h"

namespace {

const SYSKEYDESC kSysKeys[] = {
    {SYSKEY_ATTR, "ATTR", 1}, {SYSKEY_ITEM, "ITEM", 2},   {SYSKEY_AUTOPT, "AUTOPT", 1},
    {SYSKEY_FLAG, "FLAG", 1}, {SYSKEY_MONEY, "MONEY", 0}, {SYSKEY_SHOP, "SHOP", 1},
    {SYSKEY_REST, "REST", 0}, {SYSKEY_FIGHT, "FIGHT", 1}, {SYSKEY_GAME, "GAME", 1},
};

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

int ParseSysName(const char* name, std::vector<int>& params, int& sign) {
  params.clear();
  sign = 0;
  if (*name == '+') {
    sign = 1;
    ++name;
  } else if (*name == '-') {
    sign = 2;
    ++name;
  }
  const SYSKEYDESC* key = nullptr;
  for (const SYSKEYDESC& k : kSysKeys) {
    if (std::strncmp(name, k.name, std::strlen(k.name)) == 0) {
      key = &k;
      break;
    }
  }
  if (!key) return SYSKEY_NONE;

  const std::string rest(name + std::strlen(key->name));
  size_t at = 0;
  for (int i = 0; i < key->paramCount - 1; ++i) {
    size_t bar = rest.find('_', at);
    params.push_back(std::atoi(rest.c_str() + at));
    // Without a '_' anywhere the next parameter starts over at the front.
    at = bar == std::string::npos ? 0 : bar + 1;
  }
  params.push_back(std::atoi(rest.c_str() + at));
  return key->id;
}

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

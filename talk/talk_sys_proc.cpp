#include "talk/talk_sys_proc.h"

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

const SYSKEYDESC kSysKeys[] = {
    {SYSKEY_ATTR, "ATTR", 1}, {SYSKEY_ITEM, "ITEM", 2},   {SYSKEY_AUTOPT, "AUTOPT", 1},
    {SYSKEY_FLAG, "FLAG", 1}, {SYSKEY_MONEY, "MONEY", 0}, {SYSKEY_SHOP, "SHOP", 1},
    {SYSKEY_REST, "REST", 0}, {SYSKEY_FIGHT, "FIGHT", 1}, {SYSKEY_GAME, "GAME", 1},
};

}  // namespace

TalkSysProc g_talkSysProc = DefaultTalkSysProc;

SYSRESULT DefaultTalkSysProc(SYSMODE, char*, int) { return {0, 0, 0}; }

void SetTalkSysProc(TalkSysProc procedure) { g_talkSysProc = procedure; }

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

#pragma once
#include <vector>

// The one procedure through which talk scripts read and change game state.

// Mode of a sys call. Scripts may also write a mode as a plain number, so any
// int value can arrive; procedures ignore modes they do not know.
enum SYSMODE : int {
  SYSMODE_GET = 0,
  SYSMODE_SET = 1,
  SYSMODE_DO = 2,
};

struct SYSRESULT {
  int type;  // 0: the answer is value
  int value;
  int value2;  // the answer when type is not 0
};

// The name is a writable zero-terminated buffer of the caller's; the
// procedure may change it in place (upper-casing it) but not its length.
using TalkSysProc = SYSRESULT (*)(SYSMODE mode, char* name, int argument);

// Answers every call with {0, 0, 0}; installed until a talk host loads.
SYSRESULT DefaultTalkSysProc(SYSMODE mode, char* name, int argument);

void SetTalkSysProc(TalkSysProc procedure);

extern TalkSysProc g_talkSysProc;

// A keyword of the game's sys names: ATTR6, +ITEM3_12, AUTOPT150, ...
struct SYSKEYDESC {
  int id;
  const char* name;
  int paramCount;
};

enum : int {
  SYSKEY_NONE = 0,
  SYSKEY_ATTR = 1,
  SYSKEY_ITEM = 2,
  SYSKEY_AUTOPT = 3,
  SYSKEY_FLAG = 4,
  SYSKEY_MONEY = 5,
  SYSKEY_SHOP = 6,
  SYSKEY_REST = 7,
  SYSKEY_FIGHT = 8,
  SYSKEY_GAME = 9,
};

// Splits an upper-case sys name into its sign (0 none, 1 '+', 2 '-'), its
// keyword id (0 when none matches, with no parameters) and its parameters:
// the first follows the keyword, each further one a '_'. A missing '_'
// wraps to the start of the parameters, so ITEM3 reads 3 and 3.
int ParseSysName(const char* name, std::vector<int>& params, int& sign);

#pragma once

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

// Answers every call with {0, 0, 0}; installed until the game installs its own.
SYSRESULT DefaultTalkSysProc(SYSMODE mode, char* name, int argument);

void SetTalkSysProc(TalkSysProc procedure);

extern TalkSysProc g_talkSysProc;

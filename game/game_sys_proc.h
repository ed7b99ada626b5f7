#pragma once
#include "talk/talk_sys_proc.h"

// The game's procedure: reads, changes or starts things in g_game. The name
// is upper-cased in place. Answers {0, value, 0} with the read value for a
// get and 0 for everything else; unknown names and modes do nothing.
SYSRESULT GameTalkSysProc(SYSMODE mode, char* name, int argument);

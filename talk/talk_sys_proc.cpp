#include "talk/talk_sys_proc.h"

TalkSysProc g_talkSysProc = DefaultTalkSysProc;

SYSRESULT DefaultTalkSysProc(SYSMODE, char*, int) { return {0, 0, 0}; }

void SetTalkSysProc(TalkSysProc procedure) { g_talkSysProc = procedure; }

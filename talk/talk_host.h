#pragma once
#include <memory>

#include "talk/talk_player.h"
#include "talk/talk_sys_proc.h"

// The one object through which the game runs scripted talks: it owns the
// talk window, loads the talk markup from the resource folder, starts talks
// by name and is polled once per game tick while a talk runs.
class CTalkHost {
 public:
  // sysProc is the procedure every load installs: the game hands in its own.
  CTalkHost(int width, int height, TalkSysProc sysProc = DefaultTalkSysProc);
  ~CTalkHost();
  CTalkHost(const CTalkHost&) = delete;
  CTalkHost& operator=(const CTalkHost&) = delete;

  // Loads "resource/<name>" (the window is made at the first load) and
  // installs the host's sys procedure. 1 when loaded without errors.
  int Load(const char* name);
  // Starts the talk named name; the talk node, or none when no talk has it
  // (the next Update then finds the player idle and ends it).
  CBaseListContainer* StartTalk(const char* name);
  // Advances the talk; 1 while it runs, 0 once the player is idle. The
  // first call in the host's life shows the window.
  int Update();
  // Shows (1) or hides (0) the window's frame and its text.
  void ShowWindow(int frame, int text);

  std::unique_ptr<CTalkPlayer> player;
  int screenWidth;
  int screenHeight;
  TalkSysProc sysProc;
  int talking = 0;
  int windowShown = 0;
  int lastState = TALKSTATE_IDLE;  // 10 asks the game to resume the player
  int event = 0;                   // kept for the game core: the event that started the talk
};

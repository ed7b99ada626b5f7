#pragma once

// The game's states; the first member of CGame.
enum GAMESTATE : int {
  GS_APPROACH_NPC = -2,
  GS_FIELD = 0,
  GS_BATTLE = 1,
  GS_MINIGAME = 2,
  GS_SCRIPT = 3,
  GS_TALK = 4,
  GS_MENU = 5,
  GS_QUIT = 6,
  GS_ENDING = 7,
  GS_GAMEOVER = 8,
  GS_AREA_CHANGE = 9,
  GS_WORLD_MAP = 10,
  GS_SETTLE = 13,
  GS_CLOSEUP_IN = 14,
  GS_CLOSEUP = 15,
  GS_CLOSEUP_OUT = 16,
};

#pragma once

// The battle system's phaseCode values that more than one state knows.
enum : int {
  // The battle as a whole (CSysState).
  PHASE_START = 0,
  PHASE_INTRO = 50,
  PHASE_CLOSING = 900,
  PHASE_VICTORY = 901,
  PHASE_VICTORY_CAMERA = 903,
  PHASE_DEFEAT = 911,
  PHASE_DEFEAT_CAMERA = 913,
  PHASE_REWARDS = 920,
  PHASE_END = 999,

  // The hero's turn, shared by both heroes.
  HERO_TURN_START = 0,
  HERO_COMMAND_MENU = 121,
  HERO_FIRST_FIGHTING = 201,
  HERO_SECOND_FIGHTING = 231,
  HERO_HOLD = 240,
  HERO_CONTROLLER_CAMERA = 320,
  HERO_THREATENING = 820,
  HERO_FINISHING = 889,
};

// Input event types the states receive.
enum : int {
  INPUT_LBUTTON_DOWN = 16,
  INPUT_LBUTTON_UP = 17,
  INPUT_RBUTTON = 18,
  INPUT_MOUSE_MOVE = 20,
  INPUT_MOUSE_DRAG = 21,
  INPUT_KEY = 22,
  INPUT_FROM_HUD = 0xFFFF,  // b of a left button sent by the heads-up display
};

#pragma once
#include <string_view>

// The kinds of cut-scene actors, also the type words of the script files.
// CAMERA, SEFFECT and WAVESYSTEM have words but no actor kind.
enum ACTORTYPE : int {
  ACTOR_DIALOG = 1,
  ACTOR_CREATURE = 2,
  ACTOR_CAMERA = 3,
  ACTOR_TCAMERA = 4,
  ACTOR_MUSIC = 5,
  ACTOR_VIEWPORT = 6,
  ACTOR_SEFFECT = 7,
  ACTOR_WAVESYSTEM = 8,
  ACTOR_WAVE = 9,
  ACTOR_BOARD = 10,
  ACTOR_FADE = 11,
  ACTOR_SPRITE = 12,
};

// The type word of a code; "NULL" for a code without one.
const char* ActorTypeName(int code);
// The code of a type word (whole word, case-sensitive); -1 when none matches.
int ActorTypeFromName(std::string_view word);

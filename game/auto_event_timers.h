#pragma once
#include "base/tick_timer.h"

// Up to nine named one-shot countdowns of a map, each starting the script
// event (event base + the number in its name) when it runs out.
class CAutoEventTimers {
 public:
  static constexpr int kSlots = 9;

  CAutoEventTimers();

  // Arms the first free slot as "AUTO" + text for the given 1/30-s frames;
  // without text or a free slot nothing happens.
  void Add(const char* text, float frames);
  // Starts the event of every slot that is due and frees the slot.
  void Tick();
  // Slots outside 0..8 are ignored.
  void Pause(int slot);
  void Resume(int slot);

  struct Slot {
    CCountdownTimer timer;
    char slotName[64] = {};
    int active = 0;
  };
  Slot slots[kSlots];
};

#include "game/map_special_events.h"

// MINIMAL: no map has special events yet.
void UpdateMapSpecialEvents(int, int) {}

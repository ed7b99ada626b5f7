#pragma once
#include "platform/qel/camera_track.h"

// The battle's nine procedural camera moves: 1 to 3 the introductions, 4, 5
// and 10 short dollies along the view, 7 the victory swing, 8 the defeat
// turn and 9 a pull-back. Tracks 7 to 9 continue from the centre, angles and
// radius the caller sets before selecting them.
void AddBattleCameraTracks(qmz::CCameraTrack& track);

#pragma once
#include "engine/core/handles.h"

// 3D sounds: a wave attached to a sound-emitter node and heard through the
// listener. Engine coordinates are Z-up; the sound device's are Y-up, so y and
// z are exchanged on the way, and every distance and position is scaled by
// the distance scale (SetSoundConfig). Positions, ranges and the listener wait
// until CommitSound3D, once per frame. Node handle 0 is the node under
// construction; every call answers 0 while the engine or the sound device is
// closed or the node is not of the right kind.

// Frees the emitter's previous sound and loads the wave as its new one; 1
// when the load succeeded (the emitter is left without a sound otherwise).
int AttachSound3D(HOBJECT node, const char* name);
// As StartSound and StopSound, on the emitter's sound.
int StartSound3D(HOBJECT node, int flags);
int StopSound3D(HOBJECT node);
// Full volume up to minDistance, silent from maxDistance on.
int SetSound3DRange(HOBJECT node, float minDistance, float maxDistance);
// Copies the emitter's world position into its sound.
int UpdateSound3D(HOBJECT node);
// Copies a listener node's world position and axes into the listener.
int UpdateListener(HOBJECT node);
// Applies the waiting 3D settings at once.
int CommitSound3D();

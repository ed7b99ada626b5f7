#include "engine/media/sound3d.h"

#include "engine/core/engine_state.h"
#include "engine/core/node_transforms.h"
#include "engine/core/nodes.h"
#include "engine/core/pools.h"
#include "engine/media/sound.h"
#include "engine/media/sound_waves.h"
#include "platform/sound.h"

namespace {

bool SoundOpen() { return g_engineOpen && g_soundDevice.open; }

float Scale() { return g_soundDevice.distanceScale * kDistanceFactor; }

NODEDESC* NodeOfKind(HOBJECT handle, int kind) {
  if (!SoundOpen()) return nullptr;
  NODEDESC* node = LookupNode(handle);
  return node && node->kind == kind ? node : nullptr;
}

SOUNDDESC* EmitterSound(HOBJECT handle) {
  NODEDESC* node = NodeOfKind(handle, NODE_SOUND);
  return node ? static_cast<SOUNDDESC*>(node->kindData) : nullptr;
}

}  // namespace

int AttachSound3D(HOBJECT node, const char* name) {
  NODEDESC* emitter = NodeOfKind(node, NODE_SOUND);
  if (!emitter) return 0;
  FreeWave(static_cast<SOUNDDESC*>(emitter->kindData));
  emitter->kindData = LoadWave(name, 1);
  return emitter->kindData ? 1 : 0;
}

int StartSound3D(HOBJECT node, int flags) { return StartWave(EmitterSound(node), flags); }

int StopSound3D(HOBJECT node) { return StopWave(EmitterSound(node)); }

int SetSound3DRange(HOBJECT node, float minDistance, float maxDistance) {
  SOUNDDESC* sound = EmitterSound(node);
  if (!sound) return 0;
  sound->buffer->SetMinDistance(minDistance * Scale());
  sound->buffer->SetMaxDistance(maxDistance * Scale());
  return 1;
}

// The device's default sound cone is all around, so the emitter's facing is
// not heard and only its position is passed on.
int UpdateSound3D(HOBJECT node) {
  NODEDESC* emitter = NodeOfKind(node, NODE_SOUND);
  SOUNDDESC* sound = emitter ? static_cast<SOUNDDESC*>(emitter->kindData) : nullptr;
  if (!sound) return 0;
  VECTOR3 position{};
  GetNodeWorldVectors(emitter, &position, nullptr, nullptr);
  float s = Scale();
  sound->buffer->Set3DPosition(s * position.x, s * position.z, s * position.y);
  return 1;
}

int UpdateListener(HOBJECT node) {
  NODEDESC* listener = NodeOfKind(node, NODE_LISTENER);
  if (!listener) return 0;
  VECTOR3 position{}, front{}, top{};
  GetNodeWorldVectors(listener, &position, &front, &top);
  float s = Scale();
  plat::SetListenerOrientation(front.x, front.z, front.y, top.x, top.z, top.y);
  plat::SetListenerPosition(s * position.x, s * position.z, s * position.y);
  return 1;
}

int CommitSound3D() {
  if (!SoundOpen()) return 0;
  plat::Commit3DSettings();
  return 1;
}

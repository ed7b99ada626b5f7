#include "world/ambient_sounds.h"

#include "engine/core/node_transforms.h"
#include "engine/core/nodes.h"
#include "engine/media/sound.h"
#include "engine/media/sound3d.h"

CAmbientSounds::CAmbientSounds(int count) : emitters_(static_cast<size_t>(count > 0 ? count : 0)) {
  if (count > 0) SetSoundConfig(2, 11025, 8, 0.01f);
}

CAmbientSounds::~CAmbientSounds() {
  for (Emitter& e : emitters_) {
    if (!e.node) continue;
    StopSound3D(e.node);
    DestroyNode(e.node);
  }
  if (listener_) DestroyNode(listener_);
}

void CAmbientSounds::AttachListener(HOBJECT parent) {
  if (listener_) {
    SetNodeParent(listener_, parent);
    return;
  }
  BeginNode(NODE_LISTENER);
  listener_ = EndNode(parent);
}

void CAmbientSounds::AddEmitter(const char* wave, const VECTOR3& position) {
  for (size_t i = 0; i < emitters_.size(); ++i) {
    Emitter& e = emitters_[i];
    if (e.node) continue;
    BeginNode(NODE_SOUND);
    AttachSound3D(0, wave);
    e.node = EndNode(0);
    if (!e.node) return;
    e.position = position;
    SetNodePosition(e.node, position.x, position.y, position.z, 0);
    UpdateSound3D(e.node);
    e.flags = 0;
    SetSound3DRange(e.node, 0, 250);
    StopSound3D(e.node);
    SetActive(static_cast<int>(i), 0);
    return;
  }
}

void CAmbientSounds::SetActive(int i, int on) {
  if (i < 0 || static_cast<size_t>(i) >= emitters_.size()) return;
  Emitter& e = emitters_[static_cast<size_t>(i)];
  if (!e.node) return;
  if (!IsSounding(e)) {
    if (!on) return;
    e.flags |= kPlaying;
    StartSound3D(e.node, 1);
  } else if (!on) {
    e.flags = (e.flags & 0xFFFF) & ~kPlaying;
    StopSound3D(e.node);
  }
}

void CAmbientSounds::Enable(int on) {
  for (Emitter& e : emitters_) {
    if (!e.node) continue;
    if (!on) StopSound3D(e.node);
    else if (IsSounding(e)) StartSound3D(e.node, 1);
  }
}

void CAmbientSounds::Update(int follow, const VECTOR3& point) {
  if (!listener_) return;
  ++calls_;
  if (follow) UpdateListener(listener_);
  if (calls_ % kTestInterval != 0) return;
  for (size_t i = 0; i < emitters_.size(); ++i) {
    const VECTOR3& p = emitters_[i].position;
    const float dx = p.x - point.x, dy = p.y - point.y, dz = p.z - point.z;
    SetActive(static_cast<int>(i), dx * dx + dy * dy + dz * dz < kHearingDistance * kHearingDistance);
  }
  CommitSound3D();
}

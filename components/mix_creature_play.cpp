// Poses, frames, key blending.
#include <cmath>

#include "components/mesh_helpers.h"
#include "components/mix_creature.h"
#include "engine/core/mesh_edit.h"
#include "engine/core/node_transforms.h"

namespace {

// The key set a weight picks: its integer part, -1 when it names none.
int KeyOf(float weight, int keyCount) {
  if (!(weight >= 0) || weight >= static_cast<float>(keyCount)) return -1;
  return static_cast<int>(weight);
}

}  // namespace

const CREATUREPOSE* CGCBMixCreature::Pose(int pose) const {
  if (!modelData || pose < 0 || pose >= poseCount) return nullptr;
  return &modelData->poses[pose];
}

int CGCBMixCreature::PlayPose(int pose, int loop) { return PlayPose(pose, loop ? 1 : 0, kImmediate, 0); }

int CGCBMixCreature::PlayPoseMoving(int pose, int loop, int motion) {
  if (!PlayPose(pose, loop)) return 0;
  SetRootMotion(motion, 1);
  return 1;
}

int CGCBMixCreature::PlayPoseFlags(int pose, int flags) {
  if (!PlayPose(pose, flags & 0xF, flags & 0xF0, 0)) return 0;
  if ((flags & 0xF000) == 0x1000) SetRootMotion(1, 1);
  if ((flags & 0xF000) == 0x2000) SetRootMotion(0, 1);
  return 1;
}

int CGCBMixCreature::PlayPose(int pose, int mode, int startKind, int) {
  const CREATUREPOSE* p = Pose(pose);
  if (!p || !poseLoaded || pose >= static_cast<int>(poseLoaded->size()) || !(*poseLoaded)[pose]) return 0;
  if (mode == 2 && (p->loopStart < p->start || p->loopEnd > p->end)) return 0;
  customRange = 0;
  switch (startKind) {
    case kImmediate:
      movePose = 0;
      currentPose = pose;
      playRange = *p;
      SetFrame(p->start);
      if (mode != -1) playMode = mode;
      pendingPose = -1;
      blendWeight = 0;
      return 1;
    case kBlend: {
      blendWeight = 1;
      const int left = playRange.end - currentFrame;
      blendStep = left > 0 ? 1.0f / static_cast<float>(left) : 1.0f;
      [[fallthrough]];
    }
    case kQueued:
      playMode = 0;
      pendingPose = pose;
      pendingMode = mode;
      return 1;
    default: return 1;
  }
}

int CGCBMixCreature::StartMovePose(int pose) {
  if (!PlayPose(pose, 2, kQueued, 0)) return 0;
  movePose = 1;
  GetNodeWorldVectors(rootNode, &moveStartPosition, &moveStartDirection, nullptr);
  SetRootMotion(1, 1);
  return 1;
}

void CGCBMixCreature::SetRootMotion(int on, int mode) {
  rootMotion = on;
  walkMode = mode;
}

int CGCBMixCreature::SetPlayRange(int length, int start, int end, int windowStart, int loopStart, int loopEnd, int mode,
                                  int, int) {
  // The last frame is frame count - 1: a range ending at the frame count
  // could never be reached, so it would never end.
  if (end < start || start < 0 || end > frameCount - 1) return 0;
  customRange = 1;
  if (mode != -1) playMode = mode;
  playRange = {length, start, end, windowStart, loopStart, loopEnd};
  return 1;
}

int CGCBMixCreature::IsPlayDone() { return playMode == 0 && currentFrame == playRange.end ? 1 : 0; }

int CGCBMixCreature::GetPoseProgress(int* pose, int* length, int* position) {
  const CREATUREPOSE* p = Pose(currentPose);
  if (pose) *pose = currentPose;
  if (length) *length = p ? p->end - p->start : 0;
  if (position) *position = currentFrame - (p ? p->start : 0);
  return 1;
}

int CGCBMixCreature::SetPoseFrame(int offset) {
  if (offset < 0 || offset > playRange.end - playRange.start) return 0;
  SetFrame(playRange.start + offset);
  return 1;
}

int CGCBMixCreature::IsFrameInRange(int frame) { return frame >= 0 && frame < frameCount ? 1 : 0; }

void CGCBMixCreature::ActiveRange(int* s, int* f) const {
  if (playMode == 0 || playMode == 1) {
    *s = playRange.start;
    *f = playRange.end;
  } else if (playMode == 2) {
    *s = playRange.loopStart;
    *f = playRange.loopEnd;
  } else {
    *s = *f = 0;
  }
}

int CGCBMixCreature::Update(int n) {
  if (playMode == 0 && currentFrame == playRange.end)
    return pendingPose >= 0 ? PlayPose(pendingPose, pendingMode, kImmediate, 0) : 0;
  tickTotal += n;
  const int e = currentFrame + n;
  int t = 0;
  if (freeWrap) {
    t = e >= frameCount ? e - frameCount : e;
    if (t < 0) t = 0;
  } else {
    int s = 0, f = 0;
    ActiveRange(&s, &f);
    if (e > f) {
      t = e < 1 ? 0 : playMode == 0 ? f : s;
    } else if (e >= s) {
      t = e;
    } else if (playMode == 0) {
      t = s;
    } else if (playMode == 1 || (playMode == 2 && n < 0)) {
      t = f + (e - s + 1);
    } else if (playMode == 2) {
      t = e;
    }
  }
  if (rootMotion) {
    groundDue = 1;
    const int steps = n < 0 ? -n : n;
    for (int i = 0; i < steps; ++i) lastRootResult = StepRootMotion(n < 0 ? 1 : 0);
  } else {
    lastRootResult = 0;
  }
  SetFrame(t);
  return 1;
}

int CGCBMixCreature::SetFrame(int frame) {
  if (frame < 0 || frame >= frameCount) return 0;
  if (!geometryFrozen) {
    ApplyObjectFrame(frame);
    ApplyPartFrame(frame);
  }
  frameHeight = modelData->frameOffsets[frame].z;
  // The frame is current before the blend, so that objects blend from the
  // frame just shown rather than from the one before it.
  currentFrame = frame;
  fractionalFrame = static_cast<float>(frame);
  if (blendWeight != 0 && pendingPose >= 0)
    if (const CREATUREPOSE* next = Pose(pendingPose)) BlendToFrame(next->start, 1 - blendWeight);
  blendWeight -= blendStep;
  if (blendWeight < 0) blendWeight = 0;
  return 1;
}

int CGCBMixCreature::SetFractionalFrame(float x) {
  if (!(x >= 0) || x >= static_cast<float>(frameCount)) return 0;
  const int k = static_cast<int>(x);
  if (!SetFrame(k)) return 0;
  if (x - static_cast<float>(k) >= 1e-6f) BlendToFrame(k + 1, x - static_cast<float>(k));
  fractionalFrame = x;
  return 1;
}

int CGCBMixCreature::ApplyObjectFrame(int frame) {
  for (int i = 0; i < objectCount; ++i) {
    const std::vector<MATRIX34>& transforms = modelData->objects[i].transforms;
    if (frame >= 0 && frame < static_cast<int>(transforms.size()))
      SetNodeMatrix(objectNodes[i], &transforms[frame], TRANSFORM_SET);
  }
  return 1;
}

void CGCBMixCreature::BlendInto(int part, MESHVERTEX* target, const MESHVERTEX* towards, float t) {
  BlendVertices(vertexCounts[part], target, towards, target, t, modelData->parts[part].normalDivisor ? 6 : 3);
}

int CGCBMixCreature::ApplyPartFrame(int frame) {
  for (int i = 0; i < partCount; ++i) {
    const CREATUREPART& part = modelData->parts[i];
    MESHVERTEX* live = LiveVertices(i);
    if (!live || frame < 0 || frame >= static_cast<int>(part.weights.size())) continue;
    const float w = part.weights[frame];
    const int k = KeyOf(w, part.keyCount);
    const MESHVERTEX* key = GetKeyVertices(k, i, live);
    if (!key) continue;
    const MESHVERTEX* next = w > static_cast<float>(k) + 1e-6f ? GetKeyVertices(k + 1, i, Scratch(i)) : nullptr;
    if (next) {
      if (key != live) std::copy(key, key + vertexCounts[i], live);
      BlendInto(i, live, next, w - static_cast<float>(k));
    } else if (key != live) {
      std::copy(key, key + vertexCounts[i], live);
    }
  }
  modelData->ApplyScrolling(tickTotal);
  return 1;
}

int CGCBMixCreature::BlendToFrame(int frame, float x) {
  if (!modelData || frame < 0 || frame >= frameCount) return 0;
  for (int i = 0; i < partCount; ++i) {
    const CREATUREPART& part = modelData->parts[i];
    MESHVERTEX* live = LiveVertices(i);
    MESHVERTEX* buffer = Scratch(i);
    if (!live || frame >= static_cast<int>(part.weights.size())) continue;
    const float w = part.weights[frame];
    const int k = KeyOf(w, part.keyCount);
    const float r = w - static_cast<float>(k);
    const MESHVERTEX* last = GetKeyVertices(k, i, buffer);
    if (!last) continue;
    float share = x;
    if (r > 1e-7f) {
      // Towards key k first, then towards key k + 1, so that the result is
      // the target frame's own blend of the two taken by x.
      if (x >= 1) {
        BlendInto(i, live, last, 1);
      } else {
        const float d = (1 - r) * x / (1 - x);
        BlendInto(i, live, last, d / (d + 1));
      }
      if (const MESHVERTEX* next = GetKeyVertices(k + 1, i, buffer)) {
        last = next;
        share = x >= 1 ? r : x * r / (x * r + 1);
      }
    }
    BlendInto(i, live, last, share);
  }
  const float y = 1 - x;
  for (int i = 0; i < objectCount; ++i) {
    const std::vector<MATRIX34>& transforms = modelData->objects[i].transforms;
    if (currentFrame < 0 || currentFrame >= static_cast<int>(transforms.size()) ||
        frame >= static_cast<int>(transforms.size()))
      continue;
    const float* a = &transforms[currentFrame].row[0].x;
    const float* b = &transforms[frame].row[0].x;
    MATRIX34 m;
    float* out = &m.row[0].x;
    for (int v = 0; v < 12; ++v) out[v] = a[v] * y + b[v] * x;
    SetNodeMatrix(objectNodes[i], &m, TRANSFORM_SET);
  }
  return 0;
}

const MESHVERTEX* CGCBMixCreature::GetKeyVertices(int key, int part, MESHVERTEX* buffer) {
  if (!modelData || part < 0 || part >= partCount) return nullptr;
  const CREATUREPART& p = modelData->parts[part];
  if (key < 0 || key >= p.keyCount) return nullptr;
  if (modelData->mcb && !buffer) return nullptr;
  return modelData->KeyVertices(p, key, buffer);
}

int CGCBMixCreature::GetPartVerticesAt(int frame, int part, MESHVERTEX* out) {
  if (!modelData || part < 0 || part >= partCount || !out) return 0;
  const CREATUREPART& p = modelData->parts[part];
  if (frame < 0 || frame >= static_cast<int>(p.weights.size())) return 0;
  const float w = p.weights[frame];
  const int k = KeyOf(w, p.keyCount);
  const MESHVERTEX* key = GetKeyVertices(k, part, LiveVertices(part));
  if (!key) return 0;
  const MESHVERTEX* next = w > static_cast<float>(k) + 1e-6f ? GetKeyVertices(k + 1, part, Scratch(part)) : nullptr;
  std::copy(key, key + vertexCounts[part], out);
  if (next) BlendVertices(vertexCounts[part], key, next, out, w - static_cast<float>(k), p.normalDivisor ? 6 : 3);
  return 1;
}

#include "cutscene/interpolating_tracks.h"

#include <algorithm>
#include <cmath>

#include "base/game_math.h"
#include "cutscene/actor_track_set.h"
#include "cutscene/board_actor.h"
#include "cutscene/camera_actor.h"
#include "cutscene/cut_scene.h"
#include "cutscene/visual.h"
#include "engine/core/node_transforms.h"

namespace {

constexpr float kDegreesPerRadian = 57.29578f;
constexpr int kAxisZ = 2;
constexpr int kEmissive = 3;

// Tracks only ever hold keys of their own code, so of their own class.
template <class K>
const K& KeyAs(const SKey* key) {
  return *static_cast<const K*>(key);
}

VECTOR3 Forward(SVisual* visual) {
  VECTOR3 forward{};
  visual->GetTransform(nullptr, &forward, nullptr);
  return forward;
}

// The turn about the vertical that carries forward toward direction, in
// degrees, counter-clockwise positive.
float TurnToward(const VECTOR3& forward, const VECTOR3& direction) {
  float c = std::clamp(DotVector3(&forward, &direction), -1.0f, 1.0f);
  float angle = std::acos(c) * kDegreesPerRadian;
  VECTOR3 cross;
  CrossVector3(&cross, &forward, &direction);
  return cross.z < 0 ? -angle : angle;
}

}  // namespace

void SKMGradual::ResetCommon() {
  cursor = -1;
  previousKey = nullptr;
  nextKeyFrame = firstKeyFrame;
  targetKey = LowestKey();
  jump = 1;
  framesLeft = firstKeyFrame + 1;
}

int SKMGradual::SeekTarget(int lead, bool lastInclusive) {
  int b = ++cursor;
  if (!targetKey) return ADVANCE_NO_KEY;
  if (b > lastKeyFrame || (lastInclusive && b == lastKeyFrame)) return ADVANCE_PAST_LAST;
  if (b < nextKeyFrame - lead) return ADVANCE_IN_SEGMENT;
  SKey* candidate = FindAfter(b);
  if (!candidate) return ADVANCE_NO_KEY;
  previousKey = targetKey;
  targetKey = candidate;
  nextKeyFrame = candidate->frame;
  return ADVANCE_NEW_TARGET;
}

bool SKMGradual::CountDown() {
  if (framesLeft <= 0) return false;
  --framesLeft;
  return !jump || framesLeft == 0;
}

bool SKMGradual::FrameTest() {
  if (jump) return targetKey && targetKey->frame == cursor + 1;
  return CountDown();
}

// ---- opacity

int SKMOpaque::Apply() {
  auto* visual = dynamic_cast<SVisual*>(actor);
  if (visual && CountDown()) visual->SetOpacity(visual->GetOpacity() + step);
  return 0;
}

int SKMOpaque::Advance() {
  int result = SeekTarget(1, false);
  if (result != ADVANCE_NEW_TARGET) return result;
  jump = KeyAs<SKeyOpaque>(previousKey).jump;
  framesLeft = targetKey->frame - cursor;
  auto* visual = dynamic_cast<SVisual*>(actor);
  step = visual ? Share(KeyAs<SKeyOpaque>(targetKey).opValue - visual->GetOpacity()) : 0;
  return result;
}

void SKMOpaque::Reset() {
  ResetCommon();
  auto* visual = dynamic_cast<SVisual*>(actor);
  step = visual ? KeyAs<SKeyOpaque>(targetKey).opValue - visual->GetOpacity() : 0;
}

// ---- turn about the vertical

int SKMRotate::Apply() {
  auto* visual = dynamic_cast<SVisual*>(actor);
  if (visual && CountDown()) visual->Rotate(kAxisZ, angleStep, TRANSFORM_LOCAL);
  return 0;
}

int SKMRotate::Advance() {
  int result = SeekTarget(1, false);
  if (result != ADVANCE_NEW_TARGET) return result;
  jump = KeyAs<SKeyRotate>(previousKey).jump;
  framesLeft = targetKey->frame - cursor;
  auto* visual = dynamic_cast<SVisual*>(actor);
  angleStep = visual ? Share(TurnToward(Forward(visual), KeyAs<SKeyRotate>(targetKey).fDir)) : 0;
  return result;
}

void SKMRotate::Reset() {
  ResetCommon();
  auto* visual = dynamic_cast<SVisual*>(actor);
  angleStep = visual ? TurnToward(Forward(visual), KeyAs<SKeyRotate>(targetKey).fDir) : 0;
}

// ---- turn toward an orientation

void SKMCRotate::SetUpToward(const SKeyCRotate& key) {
  angleStep = 0;
  auto* visual = dynamic_cast<SVisual*>(actor);
  if (!visual) return;
  MATRIX34 kept;
  visual->GetMatrix(&kept, 1);
  VECTOR3 from{}, up{};
  visual->GetTransform(nullptr, &from, &up);
  visual->SetMatrix(&key.matrix, 0);
  VECTOR3 to = Forward(visual);
  visual->SetMatrix(&kept, 0);

  float c = DotVector3(&from, &to);
  if (c >= 1) return;
  angleStep = Share(std::acos(std::max(c, -1.0f)) * kDegreesPerRadian);
  if (angleStep == 0) return;
  // A unit axis keeps the turn a pure rotation; opposite directions share no
  // plane, so they turn about the actor's up axis.
  VECTOR3 axis;
  CrossVector3Normalized(&axis, &from, &to);
  if (axis.x == 0 && axis.y == 0 && axis.z == 0) {
    axis = up;
    NormalizeVector3(&axis);
  }
  MakeQuaternionFromAxisAngle(angleStep, &axis, &stepRotation);
}

int SKMCRotate::Apply() {
  if (angleStep == 0) return 1;
  auto* visual = dynamic_cast<SVisual*>(actor);
  if (!visual || !CountDown()) return 0;
  VECTOR3 position{}, forward{}, up{};
  visual->GetTransform(&position, &forward, &up);
  const VECTOR3 origin{0, 0, 0};
  visual->SetTransform(&origin, &forward, &up);
  visual->RotateByQuaternion(&stepRotation, TRANSFORM_PARENT);
  LevelActorRoll(visual);
  visual->SetPositionXYZ(position.x, position.y, position.z);
  return 0;
}

int SKMCRotate::Advance() {
  int result = SeekTarget(0, false);
  if (result != ADVANCE_NEW_TARGET) return result;
  jump = KeyAs<SKeyCRotate>(previousKey).jump;
  framesLeft = targetKey->frame - cursor;
  SetUpToward(KeyAs<SKeyCRotate>(targetKey));
  return result;
}

void SKMCRotate::Reset() {
  ResetCommon();
  SetUpToward(KeyAs<SKeyCRotate>(targetKey));
}

// ---- move

int SKMTranslate::Apply() {
  auto* visual = dynamic_cast<SVisual*>(actor);
  if (!visual) return 0;
  if (jump) {
    if (CountDown()) {
      visual->SetPosition(step.x, step.y, step.z, TRANSFORM_PARENT);
      if (autoRotate != 0) visual->Rotate(kAxisZ, rotateStep, TRANSFORM_LOCAL);
    }
    return 0;
  }
  if (CountDown()) visual->SetPosition(step.x, step.y, step.z, TRANSFORM_PARENT);
  if (autoRotate == 1 && rotateFramesLeft > 0) {
    visual->Rotate(kAxisZ, rotateStep, TRANSFORM_LOCAL);
    --rotateFramesLeft;
  }
  return 0;
}

int SKMTranslate::Advance() {
  int b = ++cursor;
  if (!targetKey) return ADVANCE_NO_KEY;
  if (framesLeft > 0) return ADVANCE_IN_SEGMENT;
  if (b >= lastKeyFrame) return ADVANCE_PAST_LAST;
  SKey* candidate = FindAfter(b);
  if (!candidate) return ADVANCE_NO_KEY;
  previousKey = targetKey;
  targetKey = candidate;
  const auto& from = KeyAs<SKeyTranslate>(previousKey);
  const auto& to = KeyAs<SKeyTranslate>(targetKey);
  jump = from.jump;
  autoRotate = from.autoRotate;
  framesLeft = targetKey->frame - b;
  auto* visual = dynamic_cast<SVisual*>(actor);
  if (!visual) {
    step = {};
    rotateStep = 0;
    return ADVANCE_NEW_TARGET;
  }
  VECTOR3 position{}, forward{};
  visual->GetTransform(&position, &forward, nullptr);
  VECTOR3 change{to.endPosition.x - position.x, to.endPosition.y - position.y, to.endPosition.z - position.z};
  step = {Share(change.x), Share(change.y), Share(change.z)};
  if (autoRotate == 1) {
    rotateFramesLeft = from.rotateFrameCount > 0 ? from.rotateFrameCount : framesLeft;
    VECTOR3 heading{change.x, change.y, 0};
    NormalizeVector3(&heading);
    float turn = TurnToward(forward, heading);
    rotateStep = jump ? turn : turn / static_cast<float>(rotateFramesLeft);
  }
  return ADVANCE_NEW_TARGET;
}

void SKMTranslate::Reset() {
  ResetCommon();
  autoRotate = 0;
  rotateFramesLeft = 0;
  auto* visual = dynamic_cast<SVisual*>(actor);
  step = {};
  if (!visual) return;
  VECTOR3 position{};
  visual->GetTransform(&position, nullptr, nullptr);
  const VECTOR3& end = KeyAs<SKeyTranslate>(targetKey).endPosition;
  step = {end.x - position.x, end.y - position.y, end.z - position.z};
}

// ---- field of view

int SKMFOV::Apply() {
  auto* camera = dynamic_cast<SCamera*>(actor);
  if (camera && FrameTest()) camera->SetFieldOfView(camera->GetFieldOfView() + step);
  return 0;
}

int SKMFOV::Advance() {
  int result = SeekTarget(1, true);
  if (result != ADVANCE_NEW_TARGET) return result;
  previousKey = targetKey;
  const auto& key = KeyAs<SKeyFOV>(targetKey);
  jump = key.jump;
  framesLeft = targetKey->frame - cursor;
  auto* camera = dynamic_cast<SCamera*>(actor);
  step = camera ? Share(key.fov - camera->GetFieldOfView()) : 0;
  return result;
}

void SKMFOV::Reset() {
  ResetCommon();
  auto* camera = dynamic_cast<SCamera*>(actor);
  step = camera ? KeyAs<SKeyFOV>(targetKey).fov - camera->GetFieldOfView() : 0;
}

// ---- emissive colour

void SKMAdjustMaterialColor::Aim(const SKeyAdjustMaterialColor& key) {
  auto* board = dynamic_cast<SBoard*>(actor);
  if (!board) {
    std::fill(std::begin(step), std::end(step), 0.0f);
    return;
  }
  board->GetMaterialColor(kEmissive, &color[0], &color[1], &color[2]);
  const float wanted[3] = {key.r, key.g, key.b};
  for (int i = 0; i < 3; ++i) step[i] = Share(wanted[i] - color[i]);
}

int SKMAdjustMaterialColor::Apply() {
  auto* board = dynamic_cast<SBoard*>(actor);
  if (!board || !FrameTest()) return 0;
  for (int i = 0; i < 3; ++i) color[i] += step[i];
  board->SetMaterialColor(kEmissive, color[0], color[1], color[2]);
  return 0;
}

int SKMAdjustMaterialColor::Advance() {
  int result = SeekTarget(1, true);
  if (result != ADVANCE_NEW_TARGET) return result;
  previousKey = targetKey;
  jump = KeyAs<SKeyAdjustMaterialColor>(targetKey).jump;
  framesLeft = targetKey->frame - cursor;
  Aim(KeyAs<SKeyAdjustMaterialColor>(targetKey));
  return result;
}

void SKMAdjustMaterialColor::Reset() {
  ResetCommon();
  Aim(KeyAs<SKeyAdjustMaterialColor>(targetKey));
}

// ---- camera target offset

int SKMTargetOffset::Apply() {
  auto* camera = dynamic_cast<STCamera*>(actor);
  if (!camera || !FrameTest()) return 0;
  offset = {offset.x + offsetStep.x, offset.y + offsetStep.y, offset.z + offsetStep.z};
  camera->SetTargetOffset(offset.x, offset.y, offset.z);
  return 0;
}

int SKMTargetOffset::Advance() {
  int result = SeekTarget(1, true);
  if (result != ADVANCE_NEW_TARGET) return result;
  previousKey = targetKey;
  const auto& key = KeyAs<SKeyTargetOffset>(targetKey);
  jump = key.jump;
  framesLeft = targetKey->frame - cursor;
  offsetStep = {Share(key.offset.x - offset.x), Share(key.offset.y - offset.y), Share(key.offset.z - offset.z)};
  return result;
}

void SKMTargetOffset::Reset() {
  ResetCommon();
  offset = {};
  offsetStep = KeyAs<SKeyTargetOffset>(targetKey).offset;
}

// ---- camera target

SActor* SKMLockTarget::FindTarget(const SKeyLockTarget& key) const {
  if (!owner || !owner->owner) return nullptr;
  return owner->owner->FindActor(key.actorType, key.name);
}

int SKMLockTarget::Apply() {
  auto* camera = dynamic_cast<STCamera*>(actor);
  if (!camera) return 0;
  auto* target = dynamic_cast<SVisual*>(targetActor);
  if (!jump) {
    if (framesLeft > 0) {
      camera->LockTarget(target, framesLeft);
      framesLeft = 0;
    }
  } else if (targetKey && targetKey->frame == cursor + 1) {
    camera->LockTarget(target, 1);
  }
  return 0;
}

int SKMLockTarget::Advance() {
  int result = SeekTarget(1, true);
  if (result != ADVANCE_NEW_TARGET) return result;
  previousKey = targetKey;
  const auto& key = KeyAs<SKeyLockTarget>(targetKey);
  targetActor = FindTarget(key);
  jump = targetActor ? key.jump : 1;
  framesLeft = targetKey->frame - cursor;
  return result;
}

void SKMLockTarget::Reset() {
  ResetCommon();
  framesLeft = 0;
  targetActor = FindTarget(KeyAs<SKeyLockTarget>(targetKey));
}

// ---- shared geometry

void LevelActorRoll(SVisual* actor) {
  VECTOR3 forward{}, up{};
  actor->GetTransform(nullptr, &forward, &up);
  const VECTOR3 vertical{0, 0, 1};
  VECTOR3 side, wantedUp;
  CrossVector3(&side, &vertical, &forward);
  CrossVector3(&wantedUp, &forward, &side);
  double a = 0;
  GetAngleBetweenVectors(&wantedUp, &up, &a);
  if (a == 0) return;
  VECTOR3 across;
  CrossVector3(&across, &up, &wantedUp);
  double b = 0;
  GetAngleBetweenVectors(&across, &forward, &b);
  float degrees = static_cast<float>(a) * kDegreesPerRadian;
  actor->Rotate(kAxisZ, b * kDegreesPerRadian < 90 ? -degrees : degrees, TRANSFORM_LOCAL);
}

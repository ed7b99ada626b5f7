// The swordsman's per-tick passes, scripted moves and afterimages.
#include <algorithm>
#include <cstdlib>

#include "components/sword_man.h"
#include "engine/core/node_transforms.h"

int CMSwordMan::Update(int n) {
  if (composite) composite->Update(n);
  if (playing) return StepFence(n);
  if (rangeMove.active) return UpdateFrameRange(n);
  return CGCBMixCreature::Update(n);
}

int CMSwordMan::UpdateFrameRange(int n) {
  const int start = rangeMove.start, end = rangeMove.end;
  int frame = currentFrame + n;
  if (playMode == 1) {
    if (frame > end) frame = start + (frame - end - 1) % (end - start + 1);
    if (frame < start) frame = end - std::abs(n) + 1;
    if (frame < start) frame = start;
  } else {
    if (currentFrame >= end && n > 0) return 0;
    frame = frame < start ? start : frame > end ? end : frame;
  }
  SetFrame(frame);
  return 1;
}

int CMSwordMan::PostUpdate(int n) {
  CGCBMixCreature::PostUpdate(n);
  if (composite) composite->PostUpdate(n);
  if (rangeMove.active) {
    const int advanced = std::min(n, rangeMove.length - rangeMove.progress);
    rangeMove.progress += advanced;
    if (advanced > 0) {
      const float a = static_cast<float>(advanced);
      SetNodePosition(rootNode, rangeMove.step.x * a, rangeMove.step.y * a, rangeMove.step.z * a, TRANSFORM_PARENT);
      groundDue = 1;
    }
    if (rangeMove.progress >= rangeMove.length) rangeMove.active = 0;
  }
  StepMoveTo(n);
  if (!afterimagesDisabled && (afterimageMode == 1 || afterimageMode == 2)) {
    if (afterimageMode == 2 && playMode == 0 && currentFrame == playRange.end) SetAfterimage(0, 0, 0);
    else if (afterimageTimer->Tick() > 0) MakeAfterimage();
  }
  StepPoseMove(n);
  if (playing && owner) SteerCamera();
  return 1;
}

void CMSwordMan::StepMoveTo(int n) {
  if (moveToState == 0) return;
  if (moveToPose < 0 || moveToPose >= poseCount) {
    moveToState = 0;
    return;
  }
  const CREATUREPOSE& p = modelData->poses[static_cast<size_t>(moveToPose)];
  if (currentFrame < p.start || currentFrame > p.end) {
    moveToState = 0;
    return;
  }
  const int c = currentFrame;
  switch (moveToState) {
    case 1:
      if (c + n >= p.loopStart) {
        SetFrameRangeMove(p.loopStart, p.loopEnd, moveToTarget.x, moveToTarget.y, moveToTarget.z);
        SetRootMotion(0, 1);
        moveToState = 2;
      }
      break;
    case 2:
      if (c + n >= p.loopEnd) {
        rootMotion = moveRootMotionAfter;
        moveToState = 3;
      }
      break;
    case 3:
      if (c + n >= p.end) {
        rootMotion = moveRootMotionKept;
        PlayPose(idlePose, 2, kImmediate, 0);
        moveToState = 0;
      }
      break;
    default: moveToState = 0; break;
  }
}

void CMSwordMan::StepPoseMove(int n) {
  if (!poseMove.active) return;
  if (poseMove.delay > 0) {
    if (--poseMove.delay == 0) PlayPose(poseMove.pose, 0, kImmediate, 0);
    return;
  }
  poseMove.progress += n;
  if (poseMove.progress < poseMove.length) return;
  if (poseMoveReturn) PlaceRoot(returnTransformPosition, returnTransformDirection);
  poseMove.active = 0;
  PlayIdlePose();
}

int CMSwordMan::SetFrameRangeMove(int start, int end, float x, float y, float z) {
  if (start < 0 || start > end || end >= frameCount) return 0;
  rangeMove.start = start;
  rangeMove.end = end;
  rangeMove.target = {x, y, z};
  rangeMove.length = end - start;
  rangeMove.progress = 0;
  rangeMove.active = 1;
  VECTOR3 position;
  GetNodeWorldVectors(rootNode, &position, nullptr, nullptr);
  const float length = rangeMove.length > 0 ? static_cast<float>(rangeMove.length) : 1.0f;
  rangeMove.step = {(x - position.x) / length, (y - position.y) / length, (z - position.z) / length};
  return 1;
}

int CMSwordMan::StartMoveTo(int pose, float x, float y, float z, int faceTarget, int rootMotionAfter) {
  if (rangeMove.active || !PlayPose(pose, 0, kImmediate, 0)) return 0;
  moveRootMotionKept = rootMotion;
  rootMotion = 0;
  moveToTarget = {x, y, z};
  moveRootMotionAfter = rootMotionAfter;
  moveToPose = pose;
  moveToState = 1;
  VECTOR3 position, up;
  GetNodeWorldVectors(rootNode, &position, nullptr, &up);
  const float dx = x - position.x, dy = y - position.y;
  if (faceTarget && dx * dx + dy * dy >= 1e-6f) {
    const VECTOR3 facing{dx, dy, 0};
    SetNodeDirection(rootNode, &position, &facing, &up);
  }
  return 1;
}

int CMSwordMan::StartStepTo(float x, float y, float z) {
  if (rangeMove.active) return 0;
  return StartMoveTo(2, x, y, z, 0, rootMotion);
}

int CMSwordMan::StartPoseMove(int pose, int delay, int returnFlag) {
  if (pose < 0 || pose >= poseCount || delay < 0) return 0;
  if (returnFlag) PlaceRoot(returnTransformPosition, returnTransformDirection);
  poseMoveReturn = returnFlag;
  poseMove.active = 1;
  rangeMove.active = 0;
  poseMove.pose = pose;
  poseMove.delay = delay;
  if (delay == 0) PlayPose(pose, 0, kImmediate, 0);
  rootMotion = 1;
  poseMove.progress = 0;
  const CREATUREPOSE& p = modelData->poses[static_cast<size_t>(pose)];
  poseMove.length = p.end - p.start;
  return 1;
}

int CMSwordMan::SetIdlePose(int pose) {
  idlePose = pose;
  if (pose != currentPose && !playing)
    if (!PlayPose(pose, 2, kQueued, 0)) PlayPose(pose, 1, kQueued, 0);
  return 1;
}

int CMSwordMan::PlayIdlePose() {
  if (playing) return 0;
  StartMovePose(idlePose);
  return 1;
}

int CMSwordMan::SetAfterimage(int mode, float fadeSpeed, float rate) {
  if (mode == 0) {
    afterimageMode = 0;
    return 1;
  }
  if (mode != 1 && mode != 2) return 0;
  afterimageMode = mode;
  afterimageFade = fadeSpeed;
  afterimageRate = rate == 0 ? 0.001f : rate;
  if (!afterimagesDisabled) {
    MakeAfterimage();
    afterimageTimer->Reset();
    afterimageTimer->SetRate(afterimageRate);
  }
  return 1;
}

void CMSwordMan::MakeAfterimage() {
  CMSwordMan* clone = CloneShared();
  // A full society takes no more members; the clone would never fade or go.
  if (owner && !clone->owner) {
    delete clone;
    return;
  }
  clone->SetFrame(currentFrame);
  clone->FadeOutFrozen(afterimageFade);
}

int CMSwordMan::FadeOutFrozen(float speed) {
  SetFade(2, speed);
  autoRemove = 1;
  frozen = 1;
  DestroyShadows();
  return 1;
}

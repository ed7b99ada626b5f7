#include "cutscene/creature_actor.h"

#include <vector>

#include "cutscene/terrain_probe.h"
#include "engine/core/picking.h"
#include "engine/core/walking.h"

SCreature::SCreature(const char* file, int loadAllPoses, const char* directory)
    : CGCBMixCreature(file, loadAllPoses, directory) {
  Reset();
}

SCreature::SCreature() { Reset(); }

void SCreature::Reset() {
  SetOpacity(1.0f);
  drawMode_ = 0;
  paused_ = 0;
  current_ = POSEPLAYDESC{};
  PlayPose(current_, nullptr);
  MATRIX34 identity;
  SetIdentityMatrix34(&identity);
  SVisual::SetMatrix(&identity, 0);
  SetVisible(1);
  ShowShadow(1);
}

int SCreature::AnimationStep(int) {
  if (paused_) return 0;
  switch (stepMode_) {
    case StepMode::kNormal: OneStep(); break;
    case StepMode::kFast:
      for (int i = 0; i < poseSpeed_; ++i) OneStep();
      break;
    case StepMode::kSlow:
      if (--slowCounter_ < 0) {
        OneStep();
        slowCounter_ = -poseSpeed_;
      }
      break;
  }
  return 0;
}

void SCreature::OneStep() {
  switch (step_) {
    case Step::kPlain: StepOnce(); break;
    case Step::kWithFollowUp:
      StepOnce();
      if (IsPlayDone()) step_ = Step::kStartFollowUp;
      break;
    case Step::kStartFollowUp: PlayPose(queued_, nullptr); break;
  }
}

int SCreature::PlayPose(const POSEPLAYDESC& pose, const POSEPLAYDESC* followUp) {
  const int mode = pose.playType | pose.style | (pose.walkOut ? 0x1000 : 0x2000);
  int result = 0;
  if (pose.from == -1) {
    result = PlayPoseFlags(pose.pose, mode);
  } else if (modelData && pose.pose >= 0 && pose.pose < poseCount) {
    const int first = modelData->poses[pose.pose].start;
    // The creature's range takes the bare play mode; the packed bits above
    // it only mean something to PlayPoseFlags.
    result = SetPlayRange(pose.to - pose.from + 1, first + pose.from, first + pose.to, 0, 0, 0, pose.playType, 16, 0);
    if (result == 1) SetRootMotion(pose.walkOut, 1);
  }
  if (result == 0) return -2;
  current_ = pose;
  if (followUp && pose.playType == 0) {
    queued_ = *followUp;
    step_ = Step::kWithFollowUp;
  } else {
    step_ = Step::kPlain;
  }
  return 0;
}

void SCreature::SetVisible(int flag) {
  visible_ = flag;
  CGCBMixCreature::SetVisible(flag);
}

HOBJECT SCreature::SetPosition(float x, float y, float z, int mode) {
  HOBJECT node = SVisual::SetPosition(x, y, z, mode);
  if (followTerrain_ && onTerrain_) PlaceNodeOnTerrain(rootNode, terrain_, static_cast<float>(dropOffset_), dropSlope_);
  return node;
}

void SCreature::SetPositionXYZ(float x, float y, float z) {
  SVisual::SetPositionXYZ(x, y, z);
  if (followTerrain_ && onTerrain_) PlaceNodeOnTerrain(rootNode, terrain_, static_cast<float>(dropOffset_), dropSlope_);
}

void SCreature::SetOpacity(float alpha) {
  SetAlpha(alpha);
  opacity_ = alpha;
}

float SCreature::GetOpacity() { return opacity_; }

int SCreature::SetDrawMode(int mode) {
  CGCBMixCreature::SetDrawMode(mode);
  drawMode_ = mode;
  return objectCount;
}

int SCreature::HitTest(HOBJECT viewport, int x, int y) {
  if (partNodes.empty()) return 0;
  return PickNodeTriangle(viewport, partNodes.data(), static_cast<int>(partNodes.size()), 0, x, y, nullptr, nullptr,
                          nullptr, nullptr);
}

HOBJECT SCreature::GetNode() { return rootNode; }

int SCreature::SetTerrain(HOBJECT terrainNode, HOBJECT terrain, int a, int b) {
  if (ProbeTerrainUnderNode(rootNode, terrainNode, terrain, a, b) == 0) onTerrain_ = 1;
  terrain_ = terrain;
  dropOffset_ = a;
  dropSlope_ = b;
  return -1;
}

int SCreature::PlaceOnTerrain(HOBJECT terrain, int a, int b) {
  const int result = PlaceNodeOnTerrain(rootNode, terrain, static_cast<float>(a), b);
  terrain_ = terrain;
  dropOffset_ = a;
  dropSlope_ = b;
  onTerrain_ = result == MOVE_DONE ? 1 : 0;
  return onTerrain_ ? 0 : -1;
}

int SCreature::DropOnTerrain(int a, int b) {
  if (!terrain_) return -1;
  dropOffset_ = a;
  dropSlope_ = b;
  if (PlaceNodeOnTerrain(rootNode, terrain_, static_cast<float>(a), b) != MOVE_DONE) return -1;
  onTerrain_ = 1;
  return 0;
}

void SCreature::SetTerrainFollow(int flag) { followTerrain_ = flag; }

void SCreature::SetPaused(int flag) { paused_ = flag; }

void SCreature::SetPoseSpeed(int speed) {
  poseSpeed_ = speed;
  if (speed > 0) {
    stepMode_ = StepMode::kFast;
  } else if (speed < 0) {
    stepMode_ = StepMode::kSlow;
    slowCounter_ = -speed;
  } else {
    stepMode_ = StepMode::kNormal;
  }
}

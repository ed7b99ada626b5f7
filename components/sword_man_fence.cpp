// Playing fences: compose frames, follow-ups and hits.
#include <algorithm>
#include <cstdio>

#include "base/debug_trace.h"
#include "components/f_cameras.h"
#include "components/society_ext.h"
#include "components/sword_man.h"
#include "engine/core/node_transforms.h"

int CMSwordMan::PlayPoseNow(int pose, int) { return PlayFenceAt(pose, nullptr, 0); }

int CMSwordMan::PlayFenceAt(int index, CGCBMixCreature* aim, int shotFlag) {
  const FENCEDESC* fence = Fence(index);
  if (!fence || fence->frames.empty()) return 0;
  target = aim;
  if (!playing) {
    SaveReturnPoint();
    GetNodeWorldVectors(rootNode, &restorePosition, &restoreDirection, nullptr);
    continuing = 0;
    followUpQueued = 0;
    // The fence about to start is the one whose tree becomes the follow-up tree.
    queuedFence = index;
    MatchFollowUp();
    StartFence(index);
    PlayCameraShot(shotFlag);
    return 1;
  }
  if (followUpQueued || !IsInFollowUpWindow()) return 0;
  followUpQueued = 1;
  queuedFence = index;
  const FENCEDESC* running = CurrentFence();
  const COMPOSEFRAMEDESC& last = running->frames.back();
  if (last.StartKind() <= 2 && last.pose >= 0 && last.pose < poseCount) {
    const CREATUREPOSE& p = modelData->poses[static_cast<size_t>(last.pose)];
    fenceLength = running->Length() + (p.loopEnd - p.end);
  }
  MatchFollowUp();
  return 1;
}

int CMSwordMan::PlayFence(int id, CGCBMixCreature* aim, int shotFlag) {
  const int index = FindFence(id);
  if (index < 0) {
    DebugTrace("Error Fence ID : %d", id);
    return 0;
  }
  return PlayFenceAt(index, aim, shotFlag);
}

int CMSwordMan::IsInFollowUpWindow() {
  const FENCEDESC* fence = CurrentFence();
  if (!fence || fence->frames.empty()) return 0;
  int s = 0;
  for (size_t i = 0; i + 1 < fence->frames.size(); ++i) s += fence->frames[i].frameCount;
  const int pose = fence->frames.back().pose;
  if (pose < 0 || pose >= poseCount) return 0;
  const CREATUREPOSE& p = modelData->poses[static_cast<size_t>(pose)];
  return s + (p.windowStart - p.start) <= fenceCounter && fenceCounter <= s + (p.loopEnd - p.start) ? 1 : 0;
}

CFenceTree* CMSwordMan::MatchFollowUp() {
  followUpMatched = 0;
  CFenceTree* own = fences && queuedFence >= 0 && queuedFence < static_cast<int>(fences->trees.size())
                        ? fences->trees[static_cast<size_t>(queuedFence)].get()
                        : nullptr;
  matchedTree = own;
  if (followUpTree && own)
    for (const auto& child : followUpTree->children)
      if (child->key == own->key) {
        matchedTree = child.get();
        followUpMatched = 1;
        break;
      }
  return matchedTree;
}

int CMSwordMan::ClearFollowUp() {
  followUpTree = nullptr;
  matchedTree = nullptr;
  followUpMatched = 0;
  return 1;
}

int CMSwordMan::IsFollowUp(int index) {
  if (!followUpTree || !fences || index < 0 || index >= static_cast<int>(fences->trees.size())) return 0;
  const int32_t key = fences->trees[static_cast<size_t>(index)]->key;
  for (const auto& child : followUpTree->children)
    if (child->key == key) return 1;
  return 0;
}

int CMSwordMan::StartFence(int index) {
  const FENCEDESC* fence = Fence(index);
  if (!fence || fence->frames.empty()) return 0;
  currentFence = index;
  playing = 1;
  fenceCounter = 0;
  currentComposeFrame = 0;
  composeStartCounter = 0;
  lastHitFrame = -1;
  composeFrameChanged = 0;
  fenceLength = fence->Length();
  if (fence->Composite()) {
    composite.reset();
    char name[320];
    std::snprintf(name, sizeof name, "%sf%d%s", BaseName().c_str(), static_cast<int>(fence->id), Extension().c_str());
    composite = std::make_unique<CMSwordMan>(name, 1, directory.c_str());
    MATRIX34 world;
    GetNodeMatrix(rootNode, &world, 0);
    SetNodeMatrix(composite->rootNode, &world, TRANSFORM_SET);
    for (auto& [key, creature] : attachments) composite->AttachSubCreature(key, creature->CloneShared());
  }
  composeEndCounter = fence->frames[0].frameCount - 1;
  if (composeEndCounter < 0) DebugTrace("Fence:%d Compose Frame Number Error!", static_cast<int>(fence->id));
  GetNodeWorldVectors(rootNode, &fenceStartPosition, &fenceStartDirection, nullptr);
  ApplyComposeFrame(fence->frames[0]);
  followUpTree = matchedTree;
  matchedTree = nullptr;
  return 1;
}

int CMSwordMan::ApplyComposeFrame(const COMPOSEFRAMEDESC& cf) {
  PlayPose(cf.pose, cf.playMode, kImmediate, 0);
  composeStartCounter = fenceCounter;
  RotateNode(rootNode, 2, cf.angles[0], TRANSFORM_LOCAL);
  RotateNode(rootNode, 0, cf.angles[1], TRANSFORM_LOCAL);
  RotateNode(rootNode, 1, cf.angles[2], TRANSFORM_LOCAL);
  GetNodeWorldVectors(rootNode, &composeStartPosition, &composeStartDirection, nullptr);
  const float sign = mirror ? -1.0f : 1.0f;
  composeTarget = {returnPosition.x + sign * cf.target[0], returnPosition.y + sign * cf.target[1],
                   returnPosition.z + cf.target[2]};
  if (cf.pose >= 0 && cf.pose < poseCount) {
    const CREATUREPOSE& p = modelData->poses[static_cast<size_t>(cf.pose)];
    switch (cf.StartKind()) {
      case 0:
      case 3: SetFrame(continuing && cf.pose == 0 ? p.loopStart : p.start); break;
      case 1:
      case 2: SetFrame(p.loopStart); break;
      case 4: SetFrame(p.start + cf.startOffset); break;
      default: break;
    }
  }
  if (cf.Motion() == 0) rootMotion = 0;
  if (cf.Motion() == 1) rootMotion = 1;
  SetAfterimage(0, 0, 0);
  if (cf.Effect() == 1) {
    const float fade = cf.afterimageFade ? 50.0f / (static_cast<float>(cf.afterimageFade) * 30.0f) : 1000.0f;
    SetAfterimage(1, fade, static_cast<float>(cf.afterimageRate) * 0.5f);
  } else if (cf.Effect() == 2) {
    CGCBMixCreature::SetVisible(0);
  }
  return 1;
}

int CMSwordMan::StepFence(int n) {
  const FENCEDESC* fence = CurrentFence();
  if (!fence) return 0;
  composeFrameChanged = 0;
  composeEndCounter = std::min(composeEndCounter, fenceLength - 1);
  if (fenceCounter + n > composeEndCounter) {
    if (fenceCounter < composeEndCounter) {
      n = composeEndCounter - fenceCounter;
    } else if (currentComposeFrame + 1 >= static_cast<int>(fence->frames.size())) {
      const int queued = followUpQueued;
      const int next = queuedFence;
      StopFence();
      if (queued) {
        ContinueFence(next);
      } else {
        if (CSocietyExt* society = Society())
          if (auto* cameras = dynamic_cast<CFCameras*>(society->CameraComponent())) cameras->Stop();
        PlayPose(0, -1, kImmediate, 0);
        RestoreTransform();
        ClearFollowUp();
      }
      return 0;
    } else {
      ++currentComposeFrame;
      ++fenceCounter;
      n = 0;
      composeEndCounter += fence->frames[static_cast<size_t>(currentComposeFrame)].frameCount;
      composeFrameChanged = 1;
    }
  }
  const COMPOSEFRAMEDESC& cf = fence->frames[static_cast<size_t>(currentComposeFrame)];
  if (composeFrameChanged) ApplyComposeFrame(cf);
  for (int i = 0; i < n; ++i) {
    ++fenceCounter;
    StepComposeFrame(cf);
  }
  return 1;
}

int CMSwordMan::StepComposeFrame(const COMPOSEFRAMEDESC& cf) {
  if (cf.pose >= 0 && cf.pose < poseCount) {
    const CREATUREPOSE& p = modelData->poses[static_cast<size_t>(cf.pose)];
    if (currentFrame + 1 <= p.end - cf.endMargin) CGCBMixCreature::Update(1);
    else if (cf.playMode == 1) SetFrame(p.start + cf.startOffset);
  }
  if (cf.Motion() == 2 && fenceLength > 0 && cf.frameCount > 0) {
    const float t = static_cast<float>(fenceCounter - composeStartCounter + 1) / static_cast<float>(cf.frameCount);
    const VECTOR3 at{composeStartPosition.x + (composeTarget.x - composeStartPosition.x) * t,
                     composeStartPosition.y + (composeTarget.y - composeStartPosition.y) * t,
                     composeStartPosition.z + (composeTarget.z - composeStartPosition.z) * t};
    PlaceRoot(at, composeStartDirection);
  }
  return 1;
}

int CMSwordMan::ContinueFence(int index) {
  const FENCEDESC* fence = Fence(index);
  if (!fence || fence->frames.empty()) return 0;
  continuing = 1;
  followUpQueued = 0;
  if (fence->MoveKind() == 0) RestoreTransform();
  StartFence(index);
  if (fence->ShotCode() == 0x4) PlayCameraShot(0);
  const COMPOSEFRAMEDESC& first = fence->frames[0];
  if ((first.StartKind() == 0 || first.StartKind() == 3) && first.pose >= 0 && first.pose < poseCount) {
    const CREATUREPOSE& p = modelData->poses[static_cast<size_t>(first.pose)];
    VECTOR3 position, direction;
    GetNodeWorldVectors(rootNode, &position, &direction, nullptr);
    for (int i = p.start; i < p.loopStart; ++i) Update(1);
    if (fence->MoveKind() == 1) PlaceRoot(position, direction);
  }
  return 1;
}

void CMSwordMan::GiveBackShotCamera() {
  if (!shotCamera) return;
  if (CSocietyExt* society = Society()) {
    if (auto* cameras = dynamic_cast<CFCameras*>(society->CameraComponent())) cameras->Stop();
    delete society->SetCameraComponent(shotCamera);
  } else {
    delete shotCamera;
  }
  shotCamera = nullptr;
}

int CMSwordMan::StopFence() {
  if (!playing) return 0;
  GiveBackShotCamera();
  composite.reset();
  CGCBMixCreature::SetVisible(1);
  SetRootMotion(0, 1);
  fenceCounter = 0;
  currentFence = 0;
  playing = 0;
  SetAfterimage(0, 0, 0);
  continuing = 0;
  composeFrameChanged = 0;
  followUpQueued = 0;
  return 1;
}

int CMSwordMan::GetHit() {
  const FENCEDESC* fence = CurrentFence();
  if (!playing || !fence || fence->hits.empty()) return -1;
  const auto frameOf = [](uint32_t hit) { return static_cast<int>(hit & 0xFFFF); };
  size_t final = 0;
  for (size_t i = 1; i < fence->hits.size(); ++i)
    if (frameOf(fence->hits[i]) > frameOf(fence->hits[0])) final = i;
  for (size_t i = 0; i < fence->hits.size(); ++i) {
    const int frame = frameOf(fence->hits[i]);
    if (frame <= fenceCounter && frame > lastHitFrame) {
      lastHitFrame = frame;
      const int value = static_cast<int>(fence->hits[i] >> 16) + (i == final ? 0x1000 : 0);
      return static_cast<int>(static_cast<uint32_t>(value) << 16);
    }
  }
  return -1;
}

int CMSwordMan::GetPoseProgress(int* fence, int* length, int* position) {
  const FENCEDESC* f = CurrentFence();
  if (!playing || !f) return 0;
  const int pose = f->frames[0].pose;
  const int start = pose >= 0 && pose < poseCount ? modelData->poses[static_cast<size_t>(pose)].start : 0;
  if (fence) *fence = currentFence;
  if (length) *length = fenceLength;
  if (position) *position = currentFrame - start;
  return 1;
}

int CMSwordMan::SetPoseFrame(int k) {
  if (!playing || k < 0 || k >= fenceLength) return 0;
  if (k < fenceCounter) {
    PlaceRoot(fenceStartPosition, fenceStartDirection);
    StartFence(currentFence);
  }
  // A fence that ends on the way stops the walk through it.
  while (playing && fenceCounter < k)
    if (!Update(1)) break;
  return 1;
}

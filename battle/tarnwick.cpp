#include "battle/tarnwick.h"

#include <cmath>

#include "components/efficacy.h"
#include "engine/core/walking.h"
#include "platform/message_box.h"

namespace {

float Gap(const VECTOR3& a, const VECTOR3& b) {
  const float dx = b.x - a.x, dy = b.y - a.y, dz = b.z - a.z;
  return std::sqrt(dx * dx + dy * dy + dz * dz);
}

}  // namespace

CTarnwick::CTarnwick() { Init(); }

CTarnwick::CTarnwick(const char* file, int loadAllPoses, const char* directory)
    : CMSwordMan(file, loadAllPoses, directory) {
  Init();
  effect = new CEfficacy();
}

CTarnwick::~CTarnwick() {
  delete effect;
  ClearWeapons();
}

void CTarnwick::Init() {
  actionMotion = 0;
  frozen = 0;
  hitFrame = -1;
  for (auto& v : hitVertices) v = nullptr;
  divider = 1;
  effectAccumulator = 0;
  current = ACTIONDESC();
  pending = ACTIONDESC();
  if (modelData && !modelData->Empty()) {
    if (modelData->PartCount() != 1) plat::ShowMessageBox("WARNING", "Invalid VAPart Number");
    vaPartNode = partNodes.empty() ? 0 : partNodes[0];
  }
  ClearWeapons();
}

const CREATUREPOSE* CTarnwick::PoseEntry(int pose) const {
  if (!modelData || pose < 0 || pose >= modelData->PoseCount()) return nullptr;
  return &modelData->poses[static_cast<size_t>(pose)];
}

float CTarnwick::CurrentFrameValue() const { return divider > 1 ? fractionalFrame : static_cast<float>(currentFrame); }

void CTarnwick::StartPose(const ACTIONDESC& action, int frame) {
  currentPose = action[ACTIONDESC::POSE];
  rootMotion = action[ACTIONDESC::TRACK_MOTION];
  actionMotion = action[ACTIONDESC::ACTION_MOTION];
  pending[ACTIONDESC::MODE] = 0;
  fractionalFrame = static_cast<float>(frame);
  SetFrame(frame);
}

int CTarnwick::PlayAction(const ACTIONDESC& action) {
  if (action[ACTIONDESC::KIND] == 0 && action[ACTIONDESC::ID] == current[ACTIONDESC::ID]) return 0;
  switch (action[ACTIONDESC::MODE]) {
    case 2: {
      current = action;
      pending[ACTIONDESC::MODE] = 0;
      rootMotion = action[ACTIONDESC::TRACK_MOTION];
      actionMotion = action[ACTIONDESC::ACTION_MOTION];
      if (action[ACTIONDESC::ID] != 0 && action[ACTIONDESC::POSE] > 0 && PoseEntry(action[ACTIONDESC::POSE])) {
        const int start = action[ACTIONDESC::START];
        currentPose = action[ACTIONDESC::POSE];
        playMode = action[ACTIONDESC::KIND] == 0 ? 1 : 0;
        fractionalFrame = static_cast<float>(start);
        SetFrame(start);
      }
      return 1;
    }
    case 1: {
      const CREATUREPOSE* pose = PoseEntry(currentPose);
      if (!pose || currentFrame < pose->start || currentFrame > pose->loopEnd) return 0;
      break;
    }
    case 4:
      if (currentFrame >= action.transition.latest) return 0;
      break;
    default: break;
  }
  pending = action;
  return 1;
}

void CTarnwick::SetAction(const ACTIONDESC& action) {
  if (action[ACTIONDESC::ID] == current[ACTIONDESC::ID]) return;
  current = action;
  PlayPose(action[ACTIONDESC::POSE], 1, kImmediate, 0);
  fractionalFrame = static_cast<float>(currentFrame);
}

int CTarnwick::Update(int frames) {
  if (frozen) return 1;
  if (effect) {
    effectAccumulator += frames;
    if (effectAccumulator >= divider) {
      effectAccumulator -= divider;
      if (effect->Update(1) == 0) effect->Show(0);
    }
  }
  return AdvanceFrames(frames);
}

int CTarnwick::PostUpdate(int frames) {
  ApplyMotion(frames);
  return CMSwordMan::PostUpdate(frames);
}

int CTarnwick::AdvanceFrames(int frames) {
  const int end = current[ACTIONDESC::END];
  const int start = current[ACTIONDESC::START];
  const bool repeating = current[ACTIONDESC::KIND] == 0;
  if (currentFrame >= end && (divider <= 1 || fractionalFrame >= end)) return 0;
  hitFrame = -1;
  const int hits = current.HitCount();
  if (divider <= 1) {
    int n = currentFrame + frames;
    for (int i = 0; i < hits; ++i) {
      const int h = current[ACTIONDESC::HIT_FIRST + i];
      if (currentFrame < h && h <= n) {
        hitFrame = h;
        break;
      }
    }
    if (n >= end) n = repeating ? start : end;
    fractionalFrame = static_cast<float>(n);
    SetFrame(n);
  } else {
    const float s = static_cast<float>(frames) / static_cast<float>(divider);
    for (int i = 0; i < hits; ++i) {
      const float h = static_cast<float>(current[ACTIONDESC::HIT_FIRST + i]);
      if (fractionalFrame < h && h <= fractionalFrame + s) {
        hitFrame = current[ACTIONDESC::HIT_FIRST + i];
        break;
      }
    }
    fractionalFrame += s;
    if (fractionalFrame >= static_cast<float>(end)) fractionalFrame = static_cast<float>(repeating ? start : end);
    SetFractionalFrame(fractionalFrame);
    currentFrame = static_cast<int>(fractionalFrame);
  }
  if (rootMotion)
    for (int k = 0; k < frames; ++k) TrackStep(currentFrame >= end ? start : currentFrame);
  return 1;
}

void CTarnwick::TrackStep(int frame) {
  if (!modelData || !rootNode) return;
  const int count = static_cast<int>(modelData->frameOffsets.size());
  // The track's last frame has no next one: no step there.
  if (frame < 0 || frame + 1 >= count) return;
  const VECTOR3& a = modelData->frameOffsets[static_cast<size_t>(frame)];
  const VECTOR3& b = modelData->frameOffsets[static_cast<size_t>(frame + 1)];
  const float d = static_cast<float>(divider);
  WalkNodeOnTerrain(rootNode, -(b.y - a.y) / d, 1, 0, 0, 0);
  StrafeNodeOnTerrain(rootNode, -(b.x - a.x) / d, 1, 0, 0, 0);
}

int CTarnwick::PendingStart(int n) const {
  switch (pending[ACTIONDESC::MODE]) {
    case 1: return n >= current[ACTIONDESC::RELEASE] ? pending[ACTIONDESC::MOTION_FIRST] : -2;
    case 4: return pending.transition.earliest <= n && n <= pending.transition.latest ? pending.transition.start : -2;
    case 3: return n >= current[ACTIONDESC::END] ? pending.transition.earliest : -2;
    default: return -2;
  }
}

void CTarnwick::ApplyMotion(int frames) {
  if (frozen) return;
  const int f = currentFrame;
  const int n = f + frames;
  // Without a track the distance is spread over the motion span, so the
  // steps are taken only inside it.
  const bool inSpan = rootMotion || (current[ACTIONDESC::MOTION_FIRST] < n && n <= current[ACTIONDESC::RELEASE]);
  if (actionMotion && inSpan && current[ACTIONDESC::START] < n && n < current[ACTIONDESC::END]) {
    float forward = current.Float(ACTIONDESC::FORWARD);
    float sideways = current.Float(ACTIONDESC::SIDEWAYS);
    float share = 0;
    if (rootMotion) {
      const CREATUREPOSE* pose = PoseEntry(currentPose);
      const auto& track = modelData ? modelData->frameOffsets : std::vector<VECTOR3>();
      const int last = static_cast<int>(track.size()) - 1;
      if (pose && pose->start >= 0 && pose->end <= last && f >= 0 && f < last) {
        const float whole = Gap(track[size_t(pose->start)], track[size_t(pose->end)]);
        const float segment = Gap(track[size_t(f)], track[size_t(f + 1)]);
        if (whole > 0 && segment > 0) share = segment / whole / static_cast<float>(divider);
      }
    } else {
      const int span = current[ACTIONDESC::RELEASE] - current[ACTIONDESC::MOTION_FIRST];
      if (span != 0) share = 1.0f / static_cast<float>(span);
    }
    if (share != 0 && rootNode) {
      WalkNodeOnTerrain(rootNode, forward * share, 1, 0, 0, 0);
      StrafeNodeOnTerrain(rootNode, sideways * share, 1, 0, 0, 0);
    }
    if (n >= current[ACTIONDESC::RELEASE]) actionMotion = 0;
  }
  if (n >= current[ACTIONDESC::RELEASE]) rootMotion = 0;
  const int start = PendingStart(n);
  if (start == -2) return;
  if (start == -1) {
    pending[ACTIONDESC::MODE] = 0;
    return;
  }
  current = pending;
  StartPose(current, start);
}

void CTarnwick::SetSlowMotion(int n) {
  divider = n < 1 ? 1 : n;
  effectAccumulator = 0;
  fractionalFrame = static_cast<float>(currentFrame);
}

void CTarnwick::StopMotion(int flag) {
  if (!flag) return;
  actionMotion = 0;
  rootMotion = 0;
}

int CTarnwick::IsPlaying() const { return current[ACTIONDESC::KIND] != 0 && currentFrame < current[ACTIONDESC::END]; }

int CTarnwick::IsReleased() const { return IsIdle() || currentFrame >= current[ACTIONDESC::RELEASE]; }

int CTarnwick::NearHitFrame(int* out) const {
  const int f = divider > 1 ? static_cast<int>(fractionalFrame) : currentFrame;
  for (int i = 0; i < current.HitCount(); ++i) {
    const int d = current[ACTIONDESC::HIT_FIRST + i] - f;
    if (d >= -3 && d <= 3) {
      if (out) *out = d;
      return 1;
    }
  }
  return 0;
}

// Moving the root node over the terrain, by the pose's own root offsets or
// by request.
#include "components/mix_creature.h"
#include "engine/core/node_transforms.h"
#include "engine/core/nodes.h"
#include "engine/core/walking.h"

namespace {

// The height the node keeps above the ground it walks on.
float HeightOffset(HOBJECT node) {
  const NODEDESC* n = LookupOpenNode(node);
  return n ? n->heightOffset : 0;
}

// A walk mode's bit 0 asks for the collision partners to be checked.
int Walk(HOBJECT node, float distance, int mode) {
  return WalkNodeOnTerrain(node, distance, 1, HeightOffset(node), 0, mode & 1);
}

int Strafe(HOBJECT node, float distance, int mode) {
  return StrafeNodeOnTerrain(node, distance, 1, HeightOffset(node), 0, mode & 1);
}

}  // namespace

int CGCBMixCreature::StepRootMotion(int backward) {
  int s = 0, f = 0;
  ActiveRange(&s, &f);
  if (playMode == 2 && currentFrame < playRange.loopStart) s = playRange.start;
  if (f - s <= 0 || !modelData) return -1;
  const int c = currentFrame;
  int from = c, to = c + 1;
  if (backward) {
    from = c > s ? c - 1 : s;
    to = c > s ? c : s + 1;
  } else if (c >= f) {
    from = s;
    if (playMode == 2 && playRange.start < playRange.loopStart) from = playRange.loopStart - 1;
    to = from + 1;
  }
  if (from < 0 || to < 0 || from >= frameCount || to >= frameCount) return -1;
  const VECTOR3& a = modelData->frameOffsets[from];
  const VECTOR3& b = modelData->frameOffsets[to];
  // Backward the move is the first offset minus the second, forward the
  // second minus the first; the root goes against it.
  const float mx = backward ? a.x - b.x : b.x - a.x;
  const float my = backward ? a.y - b.y : b.y - a.y;
  const int result = Walk(rootNode, -my, walkMode);
  Strafe(rootNode, -mx, walkMode);
  return result;
}

int CGCBMixCreature::PlaceRootAtFrame() {
  if (!modelData || currentFrame < 0 || currentFrame >= frameCount) return 0;
  VECTOR3 forward, up;
  GetNodeWorldVectors(rootNode, nullptr, &forward, &up);
  SetNodeDirection(rootNode, &modelData->frameOffsets[currentFrame], &forward, &up);
  return 1;
}

int CGCBMixCreature::WalkRoot(int, float distance, int flags) {
  groundDue = 1;
  return Walk(rootNode, distance, flags);
}

int CGCBMixCreature::TurnRoot(float angle, int flags) {
  groundDue = 1;
  if (angle > 0) TurnNodeOnTerrain(rootNode, angle, flags, 0);
  else TurnNodeOnTerrainReverse(rootNode, -angle, flags, 0);
  return 1;
}

int CGCBMixCreature::MoveRootBy(float dx, float dy, float dz, int onTerrain) {
  groundDue = 1;
  VECTOR3 position, forward, up;
  GetNodeWorldVectors(rootNode, &position, &forward, &up);
  if (!onTerrain) {
    const VECTOR3 to{position.x + dx, position.y + dy, position.z + dz};
    SetNodeDirection(rootNode, &to, &forward, &up);
    return 0;
  }
  const VECTOR3 north{0, 1, 0};
  SetNodeDirection(rootNode, &position, &north, &up);
  int result = 0;
  if (Walk(rootNode, dy, 1) != MOVE_DONE) result |= 1;
  if (Strafe(rootNode, dx, 1) != MOVE_DONE) result |= 2;
  GetNodeWorldVectors(rootNode, &position, nullptr, nullptr);
  position.z += dz;
  SetNodeDirection(rootNode, &position, &forward, &up);
  return result;
}

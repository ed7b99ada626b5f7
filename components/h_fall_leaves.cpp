#include "components/h_fall_leaves.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "base/game_math.h"
#include "engine/core/node_clone.h"
#include "engine/core/node_states.h"
#include "engine/core/node_transforms.h"
#include "engine/core/nodes.h"
#include "platform/crt.h"

namespace {

// The only start mode in use: a random turn about z.
constexpr int kStartTurnAboutZ = 4;

float Unit() { return static_cast<float>(plat::Rand()) / plat::kRandMax; }

float Fraction(int a, int from, int to) { return to > from ? static_cast<float>(a - from) / (to - from) : 0.0f; }

template <typename Key>
size_t KeyAtOrBefore(const std::vector<Key>& keys, int a) {
  size_t i = 0;
  while (i + 1 < keys.size() && keys[i + 1].frame <= a) ++i;
  return i;
}

// Linear between the keys around a inside the range, the last key beyond it.
VECTOR3 SampleKeys(const std::vector<VECTORKEY>& keys, const SCENEKEYTRACK& range, int a) {
  if (a > range.lastFrame) return keys.back().value;
  const size_t i = KeyAtOrBefore(keys, a);
  if (i + 1 >= keys.size()) return keys[i].value;
  const float t = Fraction(a, keys[i].frame, keys[i + 1].frame);
  const VECTOR3& p = keys[i].value;
  const VECTOR3& q = keys[i + 1].value;
  return {p.x + (q.x - p.x) * t, p.y + (q.y - p.y) * t, p.z + (q.z - p.z) * t};
}

// The key's turn as {x, y, z, w} with w negated.
void KeyTurn(const QUATERNION& q, float out[4]) { out[0] = q.x, out[1] = q.y, out[2] = q.z, out[3] = -q.w; }

void TurnBy(float rotation[9], const float q[4]) {
  float m[9];
  QuaternionToMatrix(m, q);
  MultiplyMatrix9(rotation, rotation, m);
}

}  // namespace

CHFallLeaves::CHFallLeaves(const SCENEANIMDESC* trackRecord, HOBJECT model)
    : track(trackRecord), leafModel(model ? CloneNodeDeep(model) : 0) {
  if (leafModel) ShowNode(leafModel, 0);
}

CHFallLeaves::~CHFallLeaves() {
  Clear();
  if (leafModel) DestroyNode(leafModel);
}

int CHFallLeaves::Setup(const SCENEZONE& leafZone, int count) {
  Clear();
  zone = leafZone;
  for (int i = 0; i < count; ++i) {
    Leaf leaf;
    leaf.node = leafModel ? CloneNode(leafModel) : 0;
    if (leaf.node) ShowNode(leaf.node, 0);
    leaves.push_back(leaf);
  }
  leafCount = count > 0 ? count : 0;
  started = 1;
  paused = 0;
  startMode = kStartTurnAboutZ;
  return 1;
}

int CHFallLeaves::Update(int n) {
  if (!started) return -1;
  if (paused) return 0;
  if (leavesReleased < static_cast<int>(leaves.size()) && releaseTimer >= kReleaseInterval) {
    releaseTimer = 0;
    for (Leaf& leaf : leaves) {
      if (leaf.released) continue;
      leaf.released = 1;
      ++leavesReleased;
      StartAfresh(leaf);
      if (leaf.node) ShowNode(leaf.node, 1);
      Move(leaf, 0);
      break;
    }
  }
  for (Leaf& leaf : leaves)
    if (leaf.released) Move(leaf, n);
  releaseTimer += n;
  return 1;
}

void CHFallLeaves::Clear() {
  for (const Leaf& leaf : leaves)
    if (leaf.node) DestroyNode(leaf.node);
  leaves.clear();
  started = 0;
  paused = 1;
  leavesReleased = 0;
  releaseTimer = 0;
}

void CHFallLeaves::StartAfresh(Leaf& leaf) const {
  const float angle = static_cast<float>(plat::Rand()) * 2 * std::numbers::pi_v<float> / plat::kRandMax;
  const float c = std::cos(angle), s = std::sin(angle);
  const float turn[9] = {c, s, 0, -s, c, 0, 0, 0, 1};
  std::copy(turn, turn + 9, leaf.orientation);
  const auto& p = zone.corners;
  const float r1 = Unit(), r2 = Unit(), r3 = Unit();
  leaf.start = {p[2][0] + r1 * (p[0][0] - p[2][0]) + r2 * (p[3][0] - p[2][0]),
                p[2][1] + r1 * (p[0][1] - p[2][1]) + r2 * (p[3][1] - p[2][1]),
                zone.zMax - r3 * (zone.zMax - zone.zMin)};
}

void CHFallLeaves::Move(Leaf& leaf, int n) const {
  if (!track) return;
  const SCENEANIMDESC& t = *track;
  int a = leaf.clock + n + t.firstKey;
  if (a > t.lastKey) {
    if (plat::Rand() % 2 == 0) {
      if (leaf.node) ShowNode(leaf.node, 0);
      return;
    }
    leaf.clock -= t.lastKey - t.firstKey;
    StartAfresh(leaf);
    if (leaf.node) ShowNode(leaf.node, 1);
    a = leaf.clock + n + t.firstKey;
  }
  leaf.clock += n;

  VECTOR3 position = leaf.start;
  if (!t.positionKeys.empty() && a >= t.position.firstFrame) {
    const VECTOR3 p = SampleKeys(t.positionKeys, t.position, a);
    const VECTOR3& first = t.positionKeys.front().value;
    position = {position.x + p.x - first.x, position.y + p.y - first.y, position.z + p.z - first.z};
  }
  float m[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
  if (!t.scaleKeys.empty() && a >= t.scale.firstFrame) {
    const VECTOR3 s = SampleKeys(t.scaleKeys, t.scale, a);
    m[0] = s.x, m[4] = s.y, m[8] = s.z;
  }
  const std::vector<ROTATIONKEY>& turns = t.rotationKeys;
  if (turns.size() >= 2 && a >= t.rotation.firstFrame && a <= t.rotation.lastFrame) {
    float rotation[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};
    float q[4];
    size_t i = 1;
    for (; i < turns.size() && turns[i].frame <= a; ++i) {
      KeyTurn(turns[i].value, q);
      TurnBy(rotation, q);
    }
    if (i < turns.size()) {
      float partial[4];
      KeyTurn(turns[i].value, q);
      QuaternionSlerp(nullptr, q, Fraction(a, turns[i - 1].frame, turns[i].frame), partial);
      TurnBy(rotation, partial);
    }
    std::copy(rotation, rotation + 9, m);
  }
  float composed[9];
  MultiplyMatrix9(composed, m, leaf.orientation);
  MATRIX34 matrix{};
  for (int r = 0; r < 3; ++r) matrix.row[r] = {composed[3 * r], composed[3 * r + 1], composed[3 * r + 2]};
  matrix.row[3] = position;
  if (leaf.node) SetNodeMatrix(leaf.node, &matrix, TRANSFORM_SET);
}
